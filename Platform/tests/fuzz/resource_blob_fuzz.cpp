// A module's resource section as the loader reads it: any bytes are refused or read, and
// every resource found lies inside the section.
#include <platform/resource_format.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The loader hands the reader an aligned copy of the section.
  std::vector<uint32_t> aligned((size + 3) / 4);
  if (size) std::memcpy(aligned.data(), data, size);
  const BYTE* blob = reinterpret_cast<const BYTE*>(aligned.data());
  const auto found = platform::resources::ParseResourceBlob(blob, size);
  if (!found) return 0;
  for (const auto& resource : *found)
    if (resource.data < blob || resource.data + resource.size > blob + size) std::abort();
  return 0;
}
