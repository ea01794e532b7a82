// Resource scripts as the resource compiler reads them: the text up to the first NUL byte is the
// script, the rest the header "ids.h" it may include. Compiled or refused with a fault in the
// script, never a crash, another exception or a hang.
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
  try {
    rc::CompileScript("/src/main.rc", rc::Options{}, reader);
  } catch (const rc::CompileError&) {
    // A fault in the script, reported with its file and line.
  }
  return 0;
}
