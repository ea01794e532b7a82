// Resource scripts as the resource compiler reads them: the text up to the first NUL byte is the
// script, the rest the header "ids.h" it may include. Compiled or refused with a fault in the
// script, never a crash, another exception or a hang, for this build's modules and for the
// platform's resource file alike.
#include <cstdint>
#include <optional>
#include <string>

#include "rc_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string script = input.substr(0, split);
  const std::string header = split == std::string::npos ? std::string() : input.substr(split + 1);
  const rc::FileReader reader = [&](const std::string& path) -> std::optional<std::string> {
    if (path == "/src/main.rc") return script;
    if (path == "/src/ids.h") return header;
    return std::nullopt;
  };
  for (const rc::Target target : {rc::Target::kModule, rc::Target::kPlatform}) {
    rc::Options options;
    options.target = target;
    options.typeLibraryDir = "/lib";
    try {
      const auto result = rc::CompileScript("/src/main.rc", options, reader);
      if (target == rc::Target::kPlatform) rc::BuildResourceFile(result.resources);
    } catch (const rc::CompileError&) {
      // A fault in the script, reported with its file and line.
    }
  }
  return 0;
}
