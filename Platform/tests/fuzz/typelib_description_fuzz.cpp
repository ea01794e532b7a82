// Type-library descriptions as the resource compiler and LoadTypeLib read them: any text is
// refused or read, never a crash; the canonical text of what reads reads back to itself.
#include <platform/typelib_format.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto library = platform::typelib::ParseDescription(text, nullptr);
  if (!library) return 0;
  const std::string canonical = platform::typelib::WriteDescription(*library);
  const auto again = platform::typelib::ParseDescription(canonical, nullptr);
  if (!again || platform::typelib::WriteDescription(*again) != canonical) std::abort();
  return 0;
}
