// Test support for the configuration page tests: the configuration test pages DLL installed
// in a folder of its own and registered, the simulated host around it (the built-in module
// with its standard and safety tags, the parent, the host window), and the page opened
// through the door a host uses (CoCreateInstance, Init, Create).
#pragma once

#include <string>
#include <vector>

#include "../../PVComponents/tests/PageHost.h"
#include "PVGetSetInterfaces.h"
#include "fixtures/ConfigPages/ConfigPages.h"
#include "fixtures/ConfigPages/resource.h"

_COM_SMARTPTR_TYPEDEF(IConfigTestPage, __uuidof(IConfigTestPage));

namespace configpage {

using pvtest::ComboSelection;
using pvtest::EntriesOf;
using pvtest::Lines;
using pvtest::Narrow;
using pvtest::Retype;
using pvtest::TakeLog;

// The object's reference count as it stands (one reference taken and given back).
inline ULONG ReferencesOf(IUnknown* object) {
  if (!object) return 0;
  object->AddRef();
  return object->Release();
}

// The page as the host holds it, with the fixture page's test interface.
struct ConfigPage : pvtest::HostedPageOf<IConfigTestPagePtr> {
  // The panel's standard (0) or safety (1) adapter, borrowed; null when it has none.
  IPVGetSetAdapter* Adapter(LONG which, ULONG* references = nullptr) const {
    IUnknown* adapter = nullptr;
    ULONG count = 0;
    EXPECT_EQ(pvtest::Hex(S_OK), pvtest::Hex(test->GetAdapter(which, &adapter, &count)));
    if (references) *references = count;
    return static_cast<IPVGetSetAdapter*>(adapter);
  }
};

// The configuration pages DLL and the host around it; every test also ends with no window
// left.
class ConfigPageHost : public pvtest::PageHost {
 protected:
  ConfigPageHost() : PageHost("PVConfigPages.dll", "ConfigPagesLivePages") {}

  void TearDown() override {
    PageHost::TearDown();
    ExpectNoWindowLeft();
  }

  // The page opened as the host does it (each step optional).
  ConfigPage Open(bool init = true, bool create = true) {
    CLSID clsid{};
    EXPECT_HR(S_OK, CLSIDFromString(kConfigPageClsid, &clsid));
    return OpenPage<ConfigPage>(clsid, init, create);
  }

  // The page opened, shown and activated as the host does it.
  ConfigPage OpenActive() {
    ConfigPage page = Open();
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    EXPECT_HR(S_OK, page.child->OnActivate());
    return page;
  }

  hostsim::ConfigurationTag* StandardTag() const { return m_module->StandardTag(); }
  hostsim::ConfigurationTag* SafetyTag() const { return m_module->SafetyTag(); }
};

}  // namespace configpage
