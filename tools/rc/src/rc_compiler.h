// The project's resource compiler: reads a resource script (a subset of the platform's
// resource-script syntax) and writes the module's resources as a C++ source file whose only
// content is the resource blob in the ".rsrc" section (platform/resource_format.h).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/resource_format.h"

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

struct Options {
  std::vector<std::string> includeDirs;        // searched after the including file's own folder
  std::map<std::string, std::string> defines;  // as #define NAME value before the script
  WORD language = 0x0409;                      // until a LANGUAGE statement
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

// A make-style dependency file: "target: dep dep ...".
std::string GenerateDepfile(const std::string& target, const std::vector<std::string>& dependencies);

}  // namespace rc
