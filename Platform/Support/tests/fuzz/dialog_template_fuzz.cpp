// Dialog templates as the dialog code reads them from resources: any bytes are refused or
// read; a template that reads writes back to bytes that read to the same template.
#include <dlgtemplate.h>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto dialog = platform::dialogs::ParseDialogTemplate(data, size);
  if (!dialog) return 0;
  const std::vector<BYTE> written = platform::dialogs::BuildDialogTemplate(*dialog);
  const auto reread = platform::dialogs::ParseDialogTemplate(written.data(), written.size());
  if (!reread || reread->items.size() != dialog->items.size()) std::abort();
  return 0;
}
