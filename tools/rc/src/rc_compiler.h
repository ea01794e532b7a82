// The project's resource compiler: reads a resource script (a subset of the platform's
// resource-script syntax) and writes the module's resources, either as a C++ source file whose
// only content is the resource blob in the ".rsrc" section (platform/resource_format.h), for the
// modules of this build, or as the platform's binary resource file (.res), for its images.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/resource_format.h"
#include "platform/typelib_format.h"

namespace rc {

// A fault in the script, with the place it was found. what() is "file:line: error: message".
class CompileError : public std::runtime_error {
 public:
  CompileError(const std::string& file, int line, const std::string& message)
      : std::runtime_error(file + ":" + std::to_string(line) + ": error: " + message),
        file_(file),
        line_(line) {}
  const std::string& file() const { return file_; }
  int line() const { return line_; }

 private:
  std::string file_;
  int line_;
};

// Reads a whole file; nullopt when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& path)>;
std::optional<std::string> ReadHostFile(const std::string& path);

// Whom the resources are for: the modules of this build, which read WCHAR text units and the
// project's type-library description, or the platform's images, which read 16-bit text units,
// string blocks without the padding word, and type libraries in the platform's own format.
enum class Target { kModule, kPlatform };

struct Options {
  std::vector<std::string> includeDirs;        // searched after the including file's own folder
  std::map<std::string, std::string> defines;  // as #define NAME value before the script
  WORD language = 0x0409;                      // until a LANGUAGE statement
  Target target = Target::kModule;
  // kPlatform: the folder of the compiled type libraries; TYPELIB "X.tld" stores X.tlb from it.
  std::string typeLibraryDir;
};

struct CompileResult {
  std::vector<platform::resources::ResourceItem> resources;
  std::vector<std::string> dependencies;  // every file read: the script, its headers, data files
};

// Compiles the script at path. Throws CompileError for a fault in the script.
CompileResult CompileScript(const std::string& path, const Options& options,
                            const FileReader& reader = ReadHostFile);

// The C++ source that holds blob in the ".rsrc" section, exporting nothing.
std::string GenerateSource(const std::vector<BYTE>& blob, const std::string& scriptName);

// The platform's binary resource file of items (for Target::kPlatform): the empty resource
// that marks the format, then each item's header and data, DWORD-aligned.
std::vector<BYTE> BuildResourceFile(const std::vector<platform::resources::ResourceItem>& items);

// The interface definition (IDL) of a type-library description, for the toolchain's IDL
// compiler; descriptionName names the source in the text's first line.
std::string GenerateIdl(const platform::typelib::LibraryDescription& library,
                        const std::string& descriptionName);

// A make-style dependency file: "target: dep dep ...".
std::string GenerateDepfile(const std::string& target, const std::vector<std::string>& dependencies);

}  // namespace rc
