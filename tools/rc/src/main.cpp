// rc [-I dir]... [-D NAME[=value]]... [-l language] [-T dir] -o out.cpp|out.res [--depfile out.d]
//    script.rc
//
// Compiles a resource script into a C++ source file holding the module's resources (out.cpp),
// or into the platform's binary resource file for its images (out.res), whose type libraries
// are the compiled ones in the folder given with -T. Faults in the script are reported as
// "file:line: error: message" with exit status 1; bad arguments or files that cannot be
// written with exit status 2.
//
// rc --idl -o out.idl library.tld
//
// Writes the interface definition of a type-library description, which the toolchain's IDL
// compiler turns into the library in the platform's format.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "rc_compiler.h"

namespace {

int Usage(const char* message) {
  std::cerr << "rc: " << message << "\n"
            << "usage: rc [-I dir]... [-D NAME[=value]]... [-l language] [-T dir] -o out.cpp|out.res"
               " [--depfile out.d] script.rc\n";
  return 2;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file.flush());
}

int WriteIdl(const std::string& description, const std::string& output) {
  const auto text = rc::ReadHostFile(description);
  if (!text) {
    std::cerr << "rc: cannot read " << description << "\n";
    return 2;
  }
  std::string error;
  const auto library = platform::typelib::ParseDescription(*text, &error);
  if (!library) {
    std::cerr << description << ":" << error << "\n";
    return 1;
  }
  const size_t slash = description.rfind('/');
  std::string idl;
  try {
    idl = rc::GenerateIdl(*library, description.substr(slash == std::string::npos ? 0 : slash + 1));
  } catch (const std::exception& fault) {
    std::cerr << description << ": error: " << fault.what() << "\n";
    return 1;
  }
  if (!WriteFile(output, idl)) {
    std::cerr << "rc: cannot write " << output << "\n";
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  rc::Options options;
  std::string output, depfile, script;
  bool idl = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* what) -> std::string {
      if (i + 1 >= argc) {
        std::cerr << "rc: " << arg << " needs " << what << "\n";
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "-I") {
      options.includeDirs.push_back(value("a folder"));
    } else if (arg.rfind("-I", 0) == 0) {
      options.includeDirs.push_back(arg.substr(2));
    } else if (arg == "-D") {
      const std::string define = value("a macro");
      const size_t eq = define.find('=');
      options.defines[define.substr(0, eq)] = eq == std::string::npos ? "1" : define.substr(eq + 1);
    } else if (arg == "-l") {
      char* end = nullptr;
      const std::string text = value("a language id");
      const unsigned long language = std::strtoul(text.c_str(), &end, 0);
      if (!end || *end || language > 0xFFFF) return Usage("bad language id");
      options.language = static_cast<WORD>(language);
    } else if (arg == "--idl") {
      idl = true;
    } else if (arg == "-T") {
      options.typeLibraryDir = value("a folder");
    } else if (arg == "-o") {
      output = value("a file name");
    } else if (arg == "--depfile") {
      depfile = value("a file name");
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage(("unknown option " + arg).c_str());
    } else if (script.empty()) {
      script = arg;
    } else {
      return Usage("more than one script");
    }
  }
  if (script.empty() || output.empty()) return Usage("a script and -o are required");
  if (idl) return WriteIdl(script, output);
  const bool resourceFile = output.size() > 4 && output.compare(output.size() - 4, 4, ".res") == 0;
  if (resourceFile) options.target = rc::Target::kPlatform;
  try {
    const rc::CompileResult result = rc::CompileScript(script, options);
    const size_t slash = script.rfind('/');
    const std::string scriptName = slash == std::string::npos ? script : script.substr(slash + 1);
    std::string text;
    if (resourceFile) {
      const auto bytes = rc::BuildResourceFile(result.resources);
      text.assign(bytes.begin(), bytes.end());
    } else {
      text = rc::GenerateSource(platform::resources::BuildResourceBlob(result.resources), scriptName);
    }
    if (!WriteFile(output, text)) {
      std::cerr << "rc: cannot write " << output << "\n";
      return 2;
    }
    if (!depfile.empty() && !WriteFile(depfile, rc::GenerateDepfile(output, result.dependencies))) {
      std::cerr << "rc: cannot write " << depfile << "\n";
      return 2;
    }
  } catch (const rc::CompileError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << script << ": error: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
