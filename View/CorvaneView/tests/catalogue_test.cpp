// CorvaneView's catalogue through the door a host uses: registration and unregistration
// through the exports, DllGetClassObject for each page's CLSID, and each page's factory.
#include <platform/testing_registry.h>

#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "CorvaneViewHost.h"

namespace {

using corvaneview::CataloguePage;
using corvaneview::ClsidFromText;

using corvaneview::kCatalogue;
using pvtest::Narrow;

std::wstring ClsidKey(const wchar_t* clsid) {
  return std::wstring(L"CLSID\\") + clsid;
}

using pvtest::DefaultValueOf;

class CorvaneViewCatalogue : public corvaneview::CorvaneViewHost {
 protected:
  IClassFactoryPtr Factory(const CataloguePage& page) {
    IClassFactory* factory = nullptr;
    EXPECT_HR(S_OK, m_exports->getClassObject(ClsidFromText(page.clsid), IID_IClassFactory,
                                              reinterpret_cast<void**>(&factory)));
    return IClassFactoryPtr(factory, false);
  }
};

TEST_F(CorvaneViewCatalogue, RegisterWritesEveryPageFromViscosityBackToCalcWithItsTitleAndServer) {
  ASSERT_HR(S_OK, m_exports->unregisterServer());
  EXPECT_EQ(pvtest::OrderOfKeyChanges(kCatalogue, m_exports->registerServer, true),
            pvtest::ReverseCatalogueOrder(kCatalogue));
  const std::wstring server = m_folder.PathOf("CorvaneView.dll");
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(page.clsid))), Narrow(page.title));
    EXPECT_EQ(Narrow(DefaultValueOf(ClsidKey(page.clsid) + L"\\InProcServer32")), Narrow(server));
  }
}

TEST_F(CorvaneViewCatalogue, UnregisterRemovesEveryPageFromViscosityBackToCalcAndKeepsOtherKeys) {
  const std::wstring other = L"CLSID\\{11111111-2222-3333-4444-555555555555}\\InProcServer32";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, other.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(pvtest::OrderOfKeyChanges(kCatalogue, m_exports->unregisterServer, false),
            pvtest::ReverseCatalogueOrder(kCatalogue));
  for (const CataloguePage& page : kCatalogue) EXPECT_EQ(DefaultValueOf(ClsidKey(page.clsid)), L"<absent>");
  EXPECT_NE(DefaultValueOf(other), L"<absent>");
}

TEST_F(CorvaneViewCatalogue, EveryPageIsServedForItsClsidInAnyLetterCase) {
  for (const CataloguePage& page : kCatalogue) {
    std::wstring lower = page.clsid, mixed = page.clsid;
    for (size_t i = 0; i < lower.size(); ++i) {
      lower[i] = static_cast<wchar_t>(std::towlower(lower[i]));
      if (i % 2) mixed[i] = lower[i];
    }
    for (const std::wstring& text : {std::wstring(page.clsid), lower, mixed}) {
      SCOPED_TRACE(Narrow(text));
      IClassFactoryPtr factory;
      IClassFactory* raw = nullptr;
      ASSERT_HR(S_OK, m_exports->getClassObject(ClsidFromText(text.c_str()), IID_IClassFactory,
                                                reinterpret_cast<void**>(&raw)));
      factory.Attach(raw);
      IPVChildPtr child;
      EXPECT_HR(S_OK, factory->CreateInstance(nullptr, __uuidof(IPVChild), reinterpret_cast<void**>(&child)));
      EXPECT_NE(child, nullptr);
    }
  }
}

TEST_F(CorvaneViewCatalogue, NoOtherClsidIsServed) {
  std::vector<std::wstring> others = {
      L"{00000000-0000-0000-0000-000000000000}",
      // The other meter's pages (its system page shares CorvaneView's CLSID and is not here).
      L"{ADD2A464-6ACD-47C9-95BB-6109A75029EA}",
      L"{93F8D9CD-143F-4F23-8BF4-FE6073D10411}",
      L"{C53794A4-371D-44AC-8C96-631460F00399}",
      L"{12C69F58-BE1C-4CEF-8BFE-FFF8D0DA979F}",
      L"{F61765BB-44DC-4727-875A-522F86302B1C}",
      L"{6C5B779D-BAD4-4119-9704-74220EDEE3EC}",
      L"{A099DBE0-AE8D-47B7-8279-AF644F952C04}",
      L"{513BABBD-18C7-49A3-919E-7FB68AE9950E}",
      L"{4558D5AA-B042-49D9-9139-09254A1FA14D}",
  };
  // Every page's CLSID with its last digit changed.
  for (const CataloguePage& page : kCatalogue) {
    std::wstring nearby = page.clsid;
    wchar_t& last = nearby[nearby.size() - 2];
    last = last == L'0' ? L'1' : L'0';
    others.push_back(nearby);
  }
  for (const std::wstring& text : others) {
    SCOPED_TRACE(Narrow(text));
    void* sentinel = reinterpret_cast<void*>(0x1234);
    void* object = sentinel;
    EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE,
              m_exports->getClassObject(ClsidFromText(text.c_str()), IID_IClassFactory, &object));
    EXPECT_EQ(object, sentinel);
  }
}

TEST_F(CorvaneViewCatalogue, ClassObjectIsHandedOutOnlyAsUnknownOrClassFactory) {
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    for (const IID* iid : {&IID_IUnknown, &IID_IClassFactory}) {
      IUnknown* object = nullptr;
      ASSERT_HR(S_OK, m_exports->getClassObject(ClsidFromText(page.clsid), *iid,
                                                reinterpret_cast<void**>(&object)));
      IClassFactoryPtr factory(object);
      EXPECT_NE(factory, nullptr);
      object->Release();
    }
    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_HR(E_NOINTERFACE,
              m_exports->getClassObject(ClsidFromText(page.clsid), __uuidof(IPVChild), &object));
    EXPECT_EQ(object, nullptr);
    EXPECT_HR(E_POINTER, m_exports->getClassObject(ClsidFromText(page.clsid), IID_IClassFactory, nullptr));
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "no factory left behind";
  }
}

TEST_F(CorvaneViewCatalogue, FactoryRefusesAggregationAndNullOutAndLeavesNothingForAnUnansweredInterface) {
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    IClassFactoryPtr factory = Factory(page);
    ASSERT_NE(factory, nullptr);
    pvtest::ExpectCreateInstanceRefusals(factory);
    factory = nullptr;
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "no page and no lock left behind";
  }
}

TEST_F(CorvaneViewCatalogue, AServerLockKeepsTheModuleUntilItIsGivenBack) {
  IClassFactoryPtr factory = Factory(kCatalogue[0]);
  ASSERT_NE(factory, nullptr);
  EXPECT_HR(S_OK, factory->LockServer(TRUE));
  factory = nullptr;
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow());
  factory = Factory(kCatalogue[0]);
  EXPECT_HR(S_OK, factory->LockServer(FALSE));
  factory = nullptr;
  EXPECT_HR(S_OK, m_exports->canUnloadNow());
}

TEST_F(CorvaneViewCatalogue, EveryPageOffersHelp) {
  for (const CataloguePage& page : kCatalogue) {
    SCOPED_TRACE(page.name);
    corvaneview::Page opened = Open(page, false, false);
    IPVProvideHelpPtr help;
    EXPECT_HR(S_OK, opened.child->QueryInterface(__uuidof(IPVProvideHelp), reinterpret_cast<void**>(&help)));
  }
}

}  // namespace
