// The registry's text form, as the host command line reads it from its file: any input is
// refused or loaded, never a crash; what loads saves and reloads to the same text.
#include <platform/testing_registry.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::registry::Reset();
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (platform::registry::LoadFromText(text) != ERROR_SUCCESS) return 0;
  const std::string saved = platform::registry::SaveToText();
  platform::registry::Reset();
  if (platform::registry::LoadFromText(saved) != ERROR_SUCCESS || platform::registry::SaveToText() != saved)
    std::abort();
  return 0;
}
