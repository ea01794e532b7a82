// Test support for the panel tests: the panel test pages DLL installed in a folder and
// registered, the simulated host (module, parent, host window), and pages opened through the
// door a host uses (CoCreateInstance, Init, Create).
#pragma once

#include <string>

#include "PageHost.h"
#include "fixtures/PanelPages/PanelPages.h"

_COM_SMARTPTR_TYPEDEF(IPanelTestPage, __uuidof(IPanelTestPage));

namespace pvtest {

// A page as the host holds it, with the fixture page's test interface.
struct HostedPage : HostedPageOf<IPanelTestPagePtr> {
  // The calls its controls received since the last look, and a fresh record.
  std::wstring TakeCalls() const {
    _bstr_t calls;
    if (test) test->GetCalls(calls.GetAddress());
    if (test) test->ClearCalls();
    return calls.length() ? std::wstring(static_cast<const wchar_t*>(calls)) : std::wstring();
  }
};

// The panel test pages DLL and the host around it.
class PanelHost : public PageHost {
 protected:
  PanelHost() : PageHost("PVPanelPages.dll", "PanelPagesLivePages") {}

  // A page opened as the host does it (each step optional), its controls' record cleared.
  HostedPage Open(const wchar_t* clsidText, bool init = true, bool create = true) {
    HostedPage page = OpenPage<HostedPage>(ClsidFromText(clsidText), init, create);
    page.TakeCalls();
    return page;
  }
};

}  // namespace pvtest
