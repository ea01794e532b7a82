// What the resource compiler writes: the source file with the blob, and the dependency file.
#include <cstdio>

#include "rc_compiler.h"

namespace rc {

std::string GenerateSource(const std::vector<BYTE>& blob, const std::string& scriptName) {
  std::string out;
  out +=
      "// The resources compiled from " + scriptName + " by the project's resource compiler. Do not edit.\n";
  out += "// The bytes are the module's resource blob (platform/resource_format.h) in the section that\n";
  out += "// the module loader reads. Nothing is exported and there is no code.\n";
  out += "#if defined(_WIN32)\n";
  out += "#error \"this build's resource blob: a platform image takes the platform resource file (.res)\"\n";
  out += "#endif\n";
  out +=
      "__attribute__((section(\".rsrc\"), used, aligned(4))) static const unsigned char kModuleResources[" +
      std::to_string(blob.size()) + "] = {";
  char byte[8];
  for (size_t i = 0; i < blob.size(); ++i) {
    if (i % 16 == 0) out += "\n   ";
    std::snprintf(byte, sizeof byte, " 0x%02x,", blob[i]);
    out += byte;
  }
  out += "\n};\n";
  return out;
}

namespace {
std::string Escaped(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}
}  // namespace

std::string GenerateDepfile(const std::string& target, const std::vector<std::string>& dependencies) {
  std::string out = Escaped(target) + ":";
  for (const auto& dependency : dependencies) out += " \\\n  " + Escaped(dependency);
  return out + "\n";
}

}  // namespace rc
