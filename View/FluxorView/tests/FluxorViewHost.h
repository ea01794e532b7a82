// Test support for FluxorView's pages: the catalogue as the DLL must serve it, and the DLL
// installed in a folder of its own with both language DLLs, loaded and registered, with the
// simulated host around it over the electromagnetic meter's built-in module definition. Pages
// are opened as the host opens them (CoCreateInstance, Init, Create); every test ends with
// the module unlocked and no window left.
#pragma once

#include <ModuleDefinition.h>

#include "../../../PVComponents/tests/PageHost.h"

namespace fluxorview {

// One page of the catalogue: its class, title, CLSID and dialog template, and one dialog item
// of its control table.
struct CataloguePage {
  const char* name;
  const wchar_t* title;
  const wchar_t* clsid;
  UINT templateId;
  int item;
};

// In catalogue order.
inline constexpr CataloguePage kCatalogue[] = {
    {"CPVPageCorvaneCOMM", L"PVPageCorvaneCOMM Page", L"{ADD2A464-6ACD-47C9-95BB-6109A75029EA}", 9014, 9025},
    {"CPVPageCorvaneCOMP", L"PVPageCorvaneCOMP Page", L"{93F8D9CD-143F-4F23-8BF4-FE6073D10411}", 9070, 9066},
    {"CPVPageCorvaneLOWFLOW", L"PVPageCorvaneLOWFLOW Page", L"{C53794A4-371D-44AC-8C96-631460F00399}", 9102,
     9058},
    {"CPVPageCorvanePARTIALLY", L"PVPageCorvanePARTIALLY Page", L"{12C69F58-BE1C-4CEF-8BFE-FFF8D0DA979F}",
     9103, 9059},
    {"CPVPageCorvanePROCESS", L"PVPageCorvanePROCESS Page", L"{F61765BB-44DC-4727-875A-522F86302B1C}", 9100,
     9141},
    {"CPVPageCorvaneSENSOR", L"PVPageCorvaneSENSOR Page", L"{6C5B779D-BAD4-4119-9704-74220EDEE3EC}", 9101,
     9126},
    {"CPVPageCorvaneSYSTEM", L"PVPageCorvaneSYSTEM Page", L"{DD0EDE23-6EC7-48A7-B293-49D91FF352C0}", 9067,
     9128},
    {"CPVPageCorvaneSYSTEM2", L"PVPageCorvaneSYSTEM2 Page", L"{A099DBE0-AE8D-47B7-8279-AF644F952C04}", 9108,
     9164},
    {"CPVPageCorvaneSYSUNIT2", L"PVPageCorvaneSYSUNIT2 Page", L"{513BABBD-18C7-49A3-919E-7FB68AE9950E}", 9106,
     9021},
    {"CPVPageCorvaneTotalizerConfig", L"PVPageCorvaneTotalizerConfig Page",
     L"{4558D5AA-B042-49D9-9139-09254A1FA14D}", 9012, 9327},
};

// The system page's CLSID, which CorvaneView registers too.
inline constexpr const wchar_t* kSharedSystemClsid = L"{DD0EDE23-6EC7-48A7-B293-49D91FF352C0}";

using pvtest::ClsidFromText;

// A page as the host holds it; FluxorView's pages have no test interface.
using Page = pvtest::HostedPageOf<IUnknownPtr>;

class FluxorViewHost : public pvtest::PageHost {
 protected:
  FluxorViewHost() : PageHost("FluxorView.dll", nullptr) {}

  void SetUp() override {
    PageHost::SetUp();
    UseModule(hostsim::HostModule::CreateFromFile(hostsim::ElectromagneticDefinitionFile()));
  }

  void TearDown() override {
    PageHost::TearDown();
    ExpectNoWindowLeft();
  }

  // The catalogue page opened as the host does it (each step optional).
  Page Open(const CataloguePage& page, bool init = true, bool create = true) {
    return OpenPage<Page>(ClsidFromText(page.clsid), init, create);
  }

  // The page opened, shown and activated as the host does before the user sees it.
  Page OpenActive(const CataloguePage& page) {
    Page opened = Open(page);
    EXPECT_HR(S_OK, opened.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, opened.child->PreInitialActivate());
    EXPECT_HR(S_OK, opened.child->OnActivate());
    return opened;
  }

  // The host over this module (one reference taken over), in place of the current one.
  void UseModule(hostsim::HostModule* module) {
    ASSERT_NE(module, nullptr);
    m_module = hostsim::Ref<hostsim::HostModule>(module);
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
  }

  hostsim::ConfigurationTag* StandardTag() const { return m_module->StandardTag(); }
};

}  // namespace fluxorview
