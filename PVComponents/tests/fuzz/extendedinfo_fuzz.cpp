// The panel's extended-information reader and the sub-item document on any text: the text up to
// the first NUL byte is read as extended information, the rest (or the whole text without a NUL)
// is handed in as the module's sub-item fragment. Read or refused, never a crash; a refused
// fragment leaves the caller's text as it was.
#include <objbase.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "OrvoWinApp.h"
#include "PVPanel.h"

namespace {

// The application whose language the reader asks for.
COrvoWinApp theApp;

class FuzzPanel : public CPVPanel {
 public:
  FuzzPanel() : CPVPanel(1) {}
  ~FuzzPanel() override = default;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool comReady = SUCCEEDED(CoInitialize(nullptr));
  if (!comReady) std::abort();
  const std::wstring text(data, data + size);  // each byte one character
  const size_t split = text.find(L'\0');
  const std::wstring info = text.substr(0, split);
  const std::wstring fragment = split == std::wstring::npos ? text : text.substr(split + 1);
  FuzzPanel panel;
  BSTR xml = SysAllocStringLen(info.data(), static_cast<UINT>(info.size()));
  panel.SetExtendedInfo(xml);
  SysFreeString(xml);
  xml = SysAllocStringLen(fragment.data(), static_cast<UINT>(fragment.size()));
  const std::wstring before(xml, SysStringLen(xml));
  if (FAILED(panel.AddPageClsidAndXMLHeader(&xml)) && std::wstring(xml, SysStringLen(xml)) != before)
    std::abort();
  SysFreeString(xml);
  return 0;
}
