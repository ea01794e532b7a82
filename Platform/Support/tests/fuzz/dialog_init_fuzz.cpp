// Dialog-init data as the class library reads it from resources: any bytes are read up to
// their end at most; complete data writes back to the very bytes it was read from.
#include <dlgtemplate.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto parsed = platform::dialogs::ParseDialogInit(data, size);
  size_t consumed = parsed.complete ? sizeof(WORD) : 0;
  for (const auto& entry : parsed.entries) {
    consumed += 2 * sizeof(WORD) + sizeof(DWORD) + entry.data.size();
    if (entry.controlId == 0) std::abort();
    platform::dialogs::DialogInitText(entry);
  }
  if (consumed > size) std::abort();
  if (parsed.complete) {
    const auto written = platform::dialogs::BuildDialogInit(parsed.entries);
    if (written.size() != consumed || std::memcmp(written.data(), data, consumed) != 0) std::abort();
  }
  return 0;
}
