// Module-definition files as the simulated host reads them: any text is refused or read,
// never a crash; what reads has a valid default for every member.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ModuleDefinition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const auto module =
      hostsim::ParseModuleDefinition(std::string(reinterpret_cast<const char*>(data), size), &error);
  if (!module) return 0;
  for (const auto& tag : module->tags)
    for (const auto& member : tag.members)
      if (member.type == hostsim::MemberType::kEnumeration && member.entries.empty()) std::abort();
  return 0;
}
