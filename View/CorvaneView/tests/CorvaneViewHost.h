// Test support for CorvaneView's pages: the catalogue as the DLL must serve it, and the DLL
// installed in a folder of its own with both language DLLs, loaded and registered, with the
// simulated host around it. Pages are opened as the host opens them (CoCreateInstance, Init,
// Create); every test ends with the module unlocked (no page, factory or server lock left)
// and no window left.
#pragma once

#include <string>

#include "../../../PVComponents/tests/PageHost.h"

namespace corvaneview {

// One page of the catalogue: its class, title, CLSID and dialog template, and one dialog item
// of its control table that its template holds (and, for the one page whose items repeat
// another page's, an item of that other page that it lacks; 0 for none).
struct CataloguePage {
  const char* name;
  const wchar_t* title;
  const wchar_t* clsid;
  UINT templateId;
  int item;
  int lackedItem;
};

// In catalogue order.
inline constexpr CataloguePage kCatalogue[] = {
    {"CPVPageCorvaneCALC", L"PVPageCorvaneCALC Page", L"{AFFF48E2-FB16-4E64-9D21-BAAB3F636C60}", 9104, 9061,
     0},
    {"CPVPageCorvaneCOMM", L"PVPageCorvaneCOMM Page", L"{D73FEEF5-A372-4053-AA90-D3C277068B3B}", 9014, 9025,
     0},
    {"CPVPageCorvaneCOMP", L"PVPageCorvaneCOMP Page", L"{1D1F6029-EDA7-4232-B848-6EC5571FEC43}", 9070, 9066,
     0},
    {"CPVPageCorvaneCONC", L"PVPageCorvaneCONC Page", L"{3015F621-77B6-41AD-82A7-FB17192B6B2B}", 9109, 9200,
     0},
    {"CPVPageCorvaneLOWFLOW", L"PVPageCorvaneLOWFLOW Page", L"{E1E497CB-DD71-417E-AF17-99FDB923DCE8}", 9102,
     9058, 0},
    {"CPVPageCorvaneMEDIUM", L"PVPageCorvaneMEDIUM Page", L"{61349E45-C423-4FE2-9532-33E0522F0BE1}", 9010,
     9020, 0},
    {"CPVPageCorvanePARTIALLY", L"PVPageCorvanePARTIALLY Page", L"{D0EE7E4C-2518-48F6-BEA1-1FBC0637D614}",
     9103, 9059, 0},
    {"CPVPageCorvanePETRO", L"PVPageCorvanePETRO Page", L"{CB9C6C75-EDFE-4932-B2BF-0DA3DB1C8D09}", 9112, 9306,
     0},
    {"CPVPageCorvanePROCESS", L"PVPageCorvanePROCESS Page", L"{318B2043-1F2B-4633-91F4-184669CD2911}", 9100,
     9141, 0},
    {"CPVPageCorvaneSENSOR", L"PVPageCorvaneSENSOR Page", L"{F0266437-6A33-46C1-AF26-CB848BEDA5DB}", 9101,
     9126, 0},
    {"CPVPageCorvaneSYSTEM", L"PVPageCorvaneSYSTEM Page", L"{DD0EDE23-6EC7-48A7-B293-49D91FF352C0}", 9067,
     9128, 0},
    {"CPVPageCorvaneSYSTEM2", L"PVPageCorvaneSYSTEM2 Page", L"{8DB8F1AB-FF61-405F-BF91-50F20B00DE1C}", 9108,
     9164, 0},
    {"CPVPageCorvaneSYSUNIT", L"PVPageCorvaneSYSUNIT Page", L"{BCFAC6B6-CDE4-4224-B8FA-4D8CD2B38C29}", 9072,
     9132, 9083},
    {"CPVPageCorvaneSYSUNIT2", L"PVPageCorvaneSYSUNIT2 Page", L"{A2877AB7-A61A-4FE4-8CDA-7FD2F32DE31B}", 9106,
     9083, 0},
    {"CPVPageCorvaneTotalizerConfig", L"PVPageCorvaneTotalizerConfig Page",
     L"{CC47BA1F-0B66-498E-B451-17027D56ECC6}", 9012, 9327, 0},
    {"CPVPageCorvaneViscosity", L"PVPageCorvaneViscosity Page", L"{A61B89EA-0D94-4CE4-AB4E-ED21A372435F}",
     9110, 9396, 0},
};

using pvtest::ClsidFromText;

// A page as the host holds it; CorvaneView's pages have no test interface.
using Page = pvtest::HostedPageOf<IUnknownPtr>;

class CorvaneViewHost : public pvtest::PageHost {
 protected:
  CorvaneViewHost() : PageHost("CorvaneView.dll", nullptr) {}

  void TearDown() override {
    PageHost::TearDown();
    ExpectNoWindowLeft();
  }

  // The catalogue page opened as the host does it (each step optional).
  Page Open(const CataloguePage& page, bool init = true, bool create = true) {
    return OpenPage<Page>(ClsidFromText(page.clsid), init, create);
  }

  // The host over a module of this definition, in place of the built-in one.
  void UseModule(const hostsim::ModuleDefinition& definition) {
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create(definition));
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
  }

  hostsim::ConfigurationTag* StandardTag() const { return m_module->StandardTag(); }
};

}  // namespace corvaneview
