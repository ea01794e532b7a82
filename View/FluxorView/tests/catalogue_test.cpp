// FluxorView's catalogue through the door a host uses: registration and unregistration
// through the exports, DllGetClassObject for each page's CLSID and each page's factory; and
// both view DLLs in one host process: each answers for its own catalogue and the shared
// system page only, keeps its own lock count, and unregistering one leaves the shared system
// page's key to the DLL that the key names.
#include <afx.h>

#include <cwctype>
#include <string>
#include <vector>

#include "../../CorvaneView/tests/CorvaneViewHost.h"
#include "FluxorViewHost.h"

namespace {

using fluxorview::CataloguePage;
using fluxorview::ClsidFromText;
using fluxorview::kCatalogue;
using fluxorview::kSharedSystemClsid;
using pvtest::DefaultValueOf;
using pvtest::Narrow;

std::wstring ClsidKey(const wchar_t* clsid) {
  return std::wstring(L"CLSID\\") + clsid;
}

bool IsShared(const wchar_t* clsid) {
  return std::wstring(clsid) == kSharedSystemClsid;
}

// What the DLL's DllGetClassObject answers for the CLSID (the factory given back at once).
HRESULT ClassObjectAnswer(const pvtest::ComExports& exports, const wchar_t* clsid) {
  IClassFactory* factory = nullptr;
  const HRESULT hr =
      exports.getClassObject(ClsidFromText(clsid), IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (factory) factory->Release();
  return hr;
}

using FluxorViewCatalogue = fluxorview::FluxorViewHost;

TEST_F(FluxorViewCatalogue, RegisterWritesEveryPageFromTotalizerConfigBackToCommWithItsTitleAndServer) {
  ASSERT_HR(S_OK, m_exports->unregisterServer());
  EXPECT_EQ(pvtest::OrderOfKeyChanges(kCatalogue, m_exports->registerServer, true),
            pvtest::ReverseCatalogueOrder(kCatalogue));
  const std::wstring server = m_folder.PathOf("FluxorView.dll");
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(page.clsid))), Narrow(page.title));
    EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(page.clsid) + L"\\InProcServer32")), Narrow(server));
  }
}

TEST_F(FluxorViewCatalogue, UnregisterRemovesEveryPageFromTotalizerConfigBackToComm) {
  EXPECT_EQ(pvtest::OrderOfKeyChanges(kCatalogue, m_exports->unregisterServer, false),
            pvtest::ReverseCatalogueOrder(kCatalogue));
  for (const CataloguePage& page : kCatalogue) EXPECT_EQ(DefaultValueOf(ClsidKey(page.clsid)), L"<absent>");
}

TEST_F(FluxorViewCatalogue,
       EveryPageIsServedForItsClsidInAnyLetterCaseAndItsFactoryRefusesWhatAPageFactoryRefuses) {
  for (const CataloguePage& page : kCatalogue) {
    std::wstring lower = page.clsid;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    for (const std::wstring& text : {std::wstring(page.clsid), lower}) {
      SCOPED_TRACE(Narrow(text));
      IClassFactory* raw = nullptr;
      ASSERT_HR(S_OK, m_exports->getClassObject(ClsidFromText(text.c_str()), IID_IClassFactory,
                                                reinterpret_cast<void**>(&raw)));
      IClassFactoryPtr factory(raw, false);
      IPVChildPtr child;
      EXPECT_HR(S_OK, factory->CreateInstance(nullptr, __uuidof(IPVChild), reinterpret_cast<void**>(&child)));
      EXPECT_NE(child, nullptr);
      IPVProvideHelpPtr help;
      EXPECT_HR(S_OK, child->QueryInterface(__uuidof(IPVProvideHelp), reinterpret_cast<void**>(&help)));
      help = nullptr;
      child = nullptr;
      pvtest::ExpectCreateInstanceRefusals(factory);
    }
  }
  EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "no page and no lock left behind";
}

TEST_F(FluxorViewCatalogue, APageThatCannotBeAllocatedIsReportedAndLeavesNothingBehind) {
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    IClassFactory* raw = nullptr;
    ASSERT_HR(S_OK, m_exports->getClassObject(ClsidFromText(page.clsid), IID_IClassFactory,
                                              reinterpret_cast<void**>(&raw)));
    IClassFactoryPtr factory(raw, false);
    void* object = reinterpret_cast<void*>(0x1);
    platform::mfc::FailNextAllocations(1);  // the page object itself
    EXPECT_HR(E_OUTOFMEMORY, factory->CreateInstance(nullptr, __uuidof(IPVChild), &object));
    platform::mfc::FailNextAllocations(0);
    EXPECT_EQ(object, nullptr);
    factory = nullptr;
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "no page and no lock left behind";
  }
}

TEST_F(FluxorViewCatalogue, NoClsidOfTheCoriolisMeterButTheSystemPagesIsServed) {
  for (const auto& page : corvaneview::kCatalogue) {
    SCOPED_TRACE(page.name);
    EXPECT_HR(IsShared(page.clsid) ? S_OK : CLASS_E_CLASSNOTAVAILABLE,
              ClassObjectAnswer(*m_exports, page.clsid));
  }
}

TEST_F(FluxorViewCatalogue, EveryPageOpensOnTheMetersDefinitionWithoutAFailureRecord) {
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    fluxorview::Page opened = OpenActive(page);
    EXPECT_NE(opened.Item(page.item), nullptr);
    EXPECT_EQ(pvtest::TakeLog(), pvtest::Lines{});
    EXPECT_HR(S_OK, opened.panel->Destroy());
  }
}

// Both view DLLs installed side by side and loaded into one host process.
class BothViewDlls : public fluxorview::FluxorViewHost {
 protected:
  void SetUp() override {
    FluxorViewHost::SetUp();
    for (const char* file : {"CorvaneView.dll", "CorvaneViewENU.dll", "CorvaneViewDEU.dll"})
      m_folder.Add(file);
    m_corvane = LoadLibraryW(m_folder.PathOf("CorvaneView.dll").c_str());
    ASSERT_NE(m_corvane, nullptr) << platform::modules::LastLoadDiagnostic();
    m_corvaneExports = std::make_unique<pvtest::ComExports>(m_corvane);
  }
  void TearDown() override {
    if (m_corvane) {
      EXPECT_HR(S_OK, m_corvaneExports->canUnloadNow());
      m_corvaneExports->unregisterServer();
      FreeLibrary(m_corvane);
    }
    FluxorViewHost::TearDown();
  }

  const pvtest::ComExports& Exports(const char* dll) const {
    return std::string(dll) == "FluxorView" ? *m_exports : *m_corvaneExports;
  }
  std::wstring Server(const char* dll) const { return m_folder.PathOf((std::string(dll) + ".dll").c_str()); }

  // Which DLL serves the system page that CoCreateInstance creates: the one whose module the
  // page locks ("none" when no page is created).
  std::string SystemPageServer() {
    IPVChild* child = nullptr;
    const HRESULT hr = CoCreateInstance(ClsidFromText(kSharedSystemClsid), nullptr, CLSCTX_INPROC_SERVER,
                                        __uuidof(IPVChild), reinterpret_cast<void**>(&child));
    if (FAILED(hr) || !child) return "none";
    IPVChildPtr page(child, false);
    const bool fluxor = m_exports->canUnloadNow() == S_FALSE;
    const bool corvane = m_corvaneExports->canUnloadNow() == S_FALSE;
    return fluxor && !corvane ? "FluxorView" : corvane && !fluxor ? "CorvaneView" : "both";
  }

  HMODULE m_corvane = nullptr;
  std::unique_ptr<pvtest::ComExports> m_corvaneExports;
};

TEST_F(BothViewDlls, EachAnswersForItsOwnCatalogueAndTheSharedSystemPageOnly) {
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    EXPECT_HR(S_OK, ClassObjectAnswer(*m_exports, page.clsid));
    EXPECT_HR(IsShared(page.clsid) ? S_OK : CLASS_E_CLASSNOTAVAILABLE,
              ClassObjectAnswer(*m_corvaneExports, page.clsid));
  }
  for (const auto& page : corvaneview::kCatalogue) {
    SCOPED_TRACE(page.name);
    EXPECT_HR(S_OK, ClassObjectAnswer(*m_corvaneExports, page.clsid));
    EXPECT_HR(IsShared(page.clsid) ? S_OK : CLASS_E_CLASSNOTAVAILABLE,
              ClassObjectAnswer(*m_exports, page.clsid));
  }
}

TEST_F(BothViewDlls, EachKeepsItsOwnLockCount) {
  IClassFactory* raw = nullptr;
  ASSERT_HR(S_OK, m_exports->getClassObject(ClsidFromText(kSharedSystemClsid), IID_IClassFactory,
                                            reinterpret_cast<void**>(&raw)));
  IClassFactoryPtr fluxorFactory(raw, false);
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow());
  EXPECT_HR(S_OK, m_corvaneExports->canUnloadNow());
  EXPECT_HR(S_OK, fluxorFactory->LockServer(TRUE));
  fluxorFactory = nullptr;
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow());
  EXPECT_HR(S_OK, m_corvaneExports->canUnloadNow());
  ASSERT_HR(S_OK, m_corvaneExports->getClassObject(ClsidFromText(corvaneview::kCatalogue[0].clsid),
                                                   IID_IClassFactory, reinterpret_cast<void**>(&raw)));
  IClassFactoryPtr corvaneFactory(raw, false);
  EXPECT_HR(S_FALSE, m_corvaneExports->canUnloadNow());
  corvaneFactory = nullptr;
  EXPECT_HR(S_OK, m_corvaneExports->canUnloadNow());
  ASSERT_HR(S_OK, m_exports->getClassObject(ClsidFromText(kSharedSystemClsid), IID_IClassFactory,
                                            reinterpret_cast<void**>(&raw)));
  fluxorFactory.Attach(raw);
  EXPECT_HR(S_OK, fluxorFactory->LockServer(FALSE));
  fluxorFactory = nullptr;
  EXPECT_HR(S_OK, m_exports->canUnloadNow());
}

TEST_F(BothViewDlls, PagesOfBothMetersOpenInOneProcess) {
  ASSERT_HR(S_OK, m_corvaneExports->registerServer());
  for (const CataloguePage& page : kCatalogue) {
    if (IsShared(page.clsid)) continue;
    SCOPED_TRACE(page.name);
    fluxorview::Page opened = OpenActive(page);
    EXPECT_NE(opened.Item(page.item), nullptr);
    EXPECT_HR(S_OK, opened.panel->Destroy());
  }
  // A Coriolis page beside them, from the other DLL.
  fluxorview::Page coriolis =
      OpenPage<fluxorview::Page>(ClsidFromText(corvaneview::kCatalogue[1].clsid), true, true);
  EXPECT_NE(coriolis.Item(corvaneview::kCatalogue[1].item), nullptr);
  EXPECT_HR(S_FALSE, m_corvaneExports->canUnloadNow());
  EXPECT_HR(S_OK, m_exports->canUnloadNow());
  EXPECT_HR(S_OK, coriolis.panel->Destroy());
  coriolis.Release();
  pvtest::TakeLog();
}

// The shared system page's key after registering first and then second and unregistering one
// of them: the key names the DLL registered last until that DLL is unregistered; a DLL that
// the key does not name leaves it as it is (nothing reconciles it otherwise).
TEST_F(BothViewDlls, UnregisteringOneDllLeavesTheSharedKeyToTheDllItNames) {
  struct Case {
    const char* first;
    const char* second;
    const char* unregistered;
    const char* keyNames;  // "" when the key is gone
  };
  const Case cases[] = {
      {"CorvaneView", "FluxorView", "CorvaneView", "FluxorView"},
      {"CorvaneView", "FluxorView", "FluxorView", ""},
      {"FluxorView", "CorvaneView", "FluxorView", "CorvaneView"},
      {"FluxorView", "CorvaneView", "CorvaneView", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("register ") + c.first + ", then " + c.second + ", unregister " +
                 c.unregistered);
    ASSERT_HR(S_OK, m_exports->unregisterServer());
    ASSERT_HR(S_OK, m_corvaneExports->unregisterServer());
    ASSERT_HR(S_OK, Exports(c.first).registerServer());
    ASSERT_HR(S_OK, Exports(c.second).registerServer());
    EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(kSharedSystemClsid) + L"\\InProcServer32")),
              Narrow(Server(c.second)));
    EXPECT_HR(S_OK, Exports(c.unregistered).unregisterServer())
        << "a key left to the other DLL is no failure";
    if (*c.keyNames) {
      EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(kSharedSystemClsid))), "PVPageCorvaneSYSTEM Page");
      EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(kSharedSystemClsid) + L"\\InProcServer32")),
                Narrow(Server(c.keyNames)));
      EXPECT_EQ(SystemPageServer(), c.keyNames);
    } else {
      EXPECT_EQ(DefaultValueOf(ClsidKey(kSharedSystemClsid)), L"<absent>");
      EXPECT_EQ(SystemPageServer(), "none");
    }
    // The unregistered DLL's own keys are gone; the other DLL's stay.
    const char* kept = std::string(c.unregistered) == "FluxorView" ? "CorvaneView" : "FluxorView";
    const std::wstring fluxorOnly = kCatalogue[0].clsid, corvaneOnly = corvaneview::kCatalogue[0].clsid;
    EXPECT_EQ(DefaultValueOf(ClsidKey(fluxorOnly.c_str())) == L"<absent>", std::string(kept) != "FluxorView");
    EXPECT_EQ(DefaultValueOf(ClsidKey(corvaneOnly.c_str())) == L"<absent>",
              std::string(kept) != "CorvaneView");
  }
}

TEST_F(BothViewDlls, AKeyNamingTheDllInAnotherLetterCaseIsItsOwn) {
  ASSERT_HR(S_OK, m_corvaneExports->unregisterServer());
  HKEY key = nullptr;
  const std::wstring serverKey = ClsidKey(kSharedSystemClsid) + L"\\InProcServer32";
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, serverKey.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  std::wstring upper = Server("FluxorView");
  for (wchar_t& ch : upper) ch = static_cast<wchar_t>(std::towupper(ch));
  ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(upper.c_str()),
                           static_cast<DWORD>((upper.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_HR(S_OK, m_exports->unregisterServer());
  EXPECT_EQ(DefaultValueOf(ClsidKey(kSharedSystemClsid)), L"<absent>");
}

}  // namespace
