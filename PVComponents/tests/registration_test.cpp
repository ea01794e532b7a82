// Page registration and the COM exports, through the door a host uses: the DLL loaded with
// LoadLibraryW, its exports by GetProcAddress, classes through CoCreateInstance.
#include <windows.h>

#include <OrvoLog.h>
#include <platform/testing_registry.h>
#include <afx.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "DllFolder.h"
#include "PVDefines.h"
#include "fixtures/TestPages/TestPages.h"

namespace {

CLSID ClsidOf(const wchar_t* text) {
  CLSID clsid{};
  EXPECT_HR(S_OK, CLSIDFromString(text, &clsid));
  return clsid;
}

using pvtest::DefaultValueOf;

bool KeyExists(const std::wstring& keyName) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring ClsidKey(const wchar_t* clsidText) {
  return std::wstring(L"CLSID\\") + clsidText;
}

class PageRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registry::Reset();
    // Keys whose close an earlier test made to fail stay open for the rest of the process.
    m_keysLeftOpen = platform::registry::OpenHandleCount();
    Load();
  }
  void TearDown() override {
    platform::registry::ClearFaults();
    Unload();
    EXPECT_EQ(platform::registry::OpenHandleCount(), m_keysLeftOpen);
    platform::registry::CloseAllHandles();  // the keys left open on purpose, for the next test
  }

  void Load() {
    m_module = LoadLibraryW(m_folder.PathOf("PVTestPages.dll").c_str());
    ASSERT_NE(m_module, nullptr) << "error " << GetLastError();
    m_exports = std::make_unique<pvtest::ComExports>(m_module);
    m_livePages = pvtest::Export<PFN_TESTPAGESLIVEPAGES>(m_module, "TestPagesLivePages");
  }
  void Unload() {
    if (m_module) FreeLibrary(m_module);
    m_module = nullptr;
  }

  IClassFactory* Factory(const wchar_t* clsidText) {
    IClassFactory* factory = nullptr;
    EXPECT_HR(S_OK, m_exports->getClassObject(ClsidOf(clsidText), IID_IClassFactory,
                                              reinterpret_cast<void**>(&factory)));
    return factory;
  }

  LONG PageNumberServedFor(const wchar_t* clsidText) {
    IClassFactory* factory = Factory(clsidText);
    if (!factory) return -1;
    ITestPageIdentity* page = nullptr;
    EXPECT_HR(S_OK,
              factory->CreateInstance(nullptr, __uuidof(ITestPageIdentity), reinterpret_cast<void**>(&page)));
    LONG number = -1;
    if (page) {
      page->GetPageNumber(&number);
      page->Release();
    }
    factory->Release();
    return number;
  }

  pvtest::DllFolder m_folder{"PVTestPages.dll", "PVTestPagesENU.dll"};
  HMODULE m_module = nullptr;
  std::unique_ptr<pvtest::ComExports> m_exports;
  PFN_TESTPAGESLIVEPAGES m_livePages = nullptr;
  int m_keysLeftOpen = 0;  // keys whose close was made to fail, in this test or before
};

TEST_F(PageRegistration, ClassObjectIsFoundWhateverTheLetterCaseOfTheClsidText) {
  EXPECT_EQ(PageNumberServedFor(kTestPage1Clsid), 1);  // registered in lower case
  wchar_t lower[] = L"{7A1C5E20-3B4D-4F6A-8E9B-0C1D2E3F4A51}";
  EXPECT_EQ(PageNumberServedFor(lower), 1);
}

TEST_F(PageRegistration, TheEntryRegisteredLastServesADuplicateClsid) {
  EXPECT_EQ(PageNumberServedFor(kTestPage2Clsid), 3);
}

TEST_F(PageRegistration, UnknownClsidIsRefusedAndTheOutPointerLeftAlone) {
  void* sentinel = reinterpret_cast<void*>(0x1234);
  void* object = sentinel;
  EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE,
            m_exports->getClassObject(ClsidOf(L"{00000000-1111-2222-3333-444444444444}"), IID_IClassFactory,
                                      &object));
  EXPECT_EQ(object, sentinel);
}

TEST_F(PageRegistration, FactoryAnswersOnlyUnknownAndClassFactory) {
  IClassFactory* factory = Factory(kTestPage1Clsid);
  ASSERT_NE(factory, nullptr);
  IUnknown* unknown = nullptr;
  EXPECT_HR(S_OK, factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
  ASSERT_NE(unknown, nullptr);
  unknown->Release();
  void* other = reinterpret_cast<void*>(0x1);
  EXPECT_HR(E_NOINTERFACE, factory->QueryInterface(__uuidof(IPVChild), &other));
  EXPECT_EQ(other, nullptr);
  EXPECT_HR(E_POINTER, factory->QueryInterface(IID_IUnknown, nullptr));
  factory->Release();
}

TEST_F(PageRegistration, ClassObjectIsHandedOutOnlyForUnknownAndClassFactory) {
  for (const IID* iid : {&IID_IUnknown, &IID_IClassFactory}) {
    IUnknown* object = nullptr;
    EXPECT_HR(S_OK,
              m_exports->getClassObject(ClsidOf(kTestPage1Clsid), *iid, reinterpret_cast<void**>(&object)));
    ASSERT_NE(object, nullptr);
    IClassFactory* factory = nullptr;
    EXPECT_HR(S_OK, object->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(static_cast<IUnknown*>(factory), object) << "one object answers both";
    if (factory) factory->Release();
    object->Release();
  }
  void* object = reinterpret_cast<void*>(0x1);
  EXPECT_HR(E_NOINTERFACE, m_exports->getClassObject(ClsidOf(kTestPage1Clsid), __uuidof(IPVChild), &object));
  EXPECT_EQ(object, nullptr);
  EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "the refused factory is gone";
}

TEST_F(PageRegistration, CanUnloadNowWaitsForFactoriesServerLocksAndPages) {
  EXPECT_HR(S_OK, m_exports->canUnloadNow());
  IClassFactory* factory = Factory(kTestPage1Clsid);
  ASSERT_NE(factory, nullptr);
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow());

  EXPECT_HR(S_OK, factory->LockServer(TRUE));
  factory->Release();
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow()) << "the server lock keeps the module";

  factory = Factory(kTestPage1Clsid);
  EXPECT_HR(S_OK, factory->LockServer(FALSE));
  IPVChild* page = nullptr;
  EXPECT_HR(S_OK, factory->CreateInstance(nullptr, __uuidof(IPVChild), reinterpret_cast<void**>(&page)));
  factory->Release();
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow()) << "the live page keeps the module";
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(m_livePages(), 1);
  page->Release();
  EXPECT_EQ(m_livePages(), 0);
  EXPECT_HR(S_OK, m_exports->canUnloadNow());
}

TEST_F(PageRegistration, CreateInstanceRefusesAggregationNullOutAndUnknownInterfaces) {
  IClassFactory* factory = Factory(kTestPage1Clsid);
  ASSERT_NE(factory, nullptr);
  pvtest::ExpectCreateInstanceRefusals(factory);
  EXPECT_EQ(m_livePages(), 0) << "the refused page deleted itself";
  factory->Release();
  EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "no lock left behind";
}

TEST_F(PageRegistration, RegisterWritesEveryPageWithItsTitleAndTheModulePath) {
  ASSERT_HR(S_OK, m_exports->registerServer());
  const std::wstring modulePath = m_folder.PathOf("PVTestPages.dll");
  EXPECT_EQ(DefaultValueOf(ClsidKey(kTestPage1Clsid)), L"Test Page 1");
  EXPECT_EQ(DefaultValueOf(ClsidKey(kTestPage1Clsid) + L"\\InProcServer32"), modulePath);
  // The walk runs from the last registration back; the earlier page's write comes last.
  EXPECT_EQ(DefaultValueOf(ClsidKey(kTestPage2Clsid)), L"Test Page 2");
  EXPECT_EQ(DefaultValueOf(ClsidKey(kTestPage2Clsid) + L"\\InprocServer32"), modulePath);
}

TEST_F(PageRegistration, UnregisterRemovesEachPageKeyWithItsServerKeyAndKeepsOthers) {
  HKEY other = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{11111111-2222-3333-4444-555555555555}\\InProcServer32", 0,
                      nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(other);
  ASSERT_HR(S_OK, m_exports->registerServer());
  ASSERT_HR(S_OK, m_exports->unregisterServer());
  EXPECT_FALSE(KeyExists(ClsidKey(kTestPage1Clsid)));
  EXPECT_FALSE(KeyExists(ClsidKey(kTestPage2Clsid)));
  EXPECT_TRUE(KeyExists(L"CLSID\\{11111111-2222-3333-4444-555555555555}\\InProcServer32"));
}

TEST_F(PageRegistration, UnregisterOfPagesNeverRegisteredSucceeds) {
  HKEY clsid = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &clsid, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(clsid);
  EXPECT_HR(S_OK, m_exports->unregisterServer());
}

struct RegistryFault {
  const wchar_t* function;
  int nthCall;
  bool duringRegister;
};

TEST_F(PageRegistration, ARegistryFailureSwitchesRegistrationOffForTheRestOfTheProcess) {
  const RegistryFault faults[] = {
      {L"RegCreateKeyExW", 1, true}, {L"RegSetValueExW", 1, true}, {L"RegCreateKeyExW", 2, true},
      {L"RegSetValueExW", 2, true},  {L"RegCloseKey", 1, true},    {L"RegCloseKey", 2, true},
      {L"RegCreateKeyExW", 5, true}, {L"RegOpenKeyExW", 1, false},
  };
  for (const RegistryFault& fault : faults) {
    SCOPED_TRACE(testing::Message() << std::string(fault.function, fault.function + wcslen(fault.function))
                                    << " #" << fault.nthCall
                                    << (fault.duringRegister ? " in register" : " in unregister"));
    Unload();  // a fresh process-wide state for each case
    platform::registry::Reset();
    Load();
    if (!fault.duringRegister) {
      ASSERT_HR(S_OK, m_exports->registerServer());
    }
    platform::registry::FailNthCall(fault.function, fault.nthCall, ERROR_ACCESS_DENIED);
    EXPECT_HR(E_FAIL, fault.duringRegister ? m_exports->registerServer() : m_exports->unregisterServer());
    platform::registry::ClearFaults();
    // A key whose close failed stays open; every other key is closed on the failure path.
    if (std::wstring_view(fault.function) == L"RegCloseKey") ++m_keysLeftOpen;
    EXPECT_EQ(platform::registry::OpenHandleCount(), m_keysLeftOpen) << "keys closed on the failure path";
    EXPECT_HR(E_FAIL, m_exports->registerServer());
    EXPECT_HR(E_FAIL, m_exports->unregisterServer());
    EXPECT_EQ(PageNumberServedFor(kTestPage1Clsid), 1) << "the pushed entries still serve";
  }
}

// Every registry call of an unregistration made to fail in turn, counting every Reg* call
// from the first. A success leaves the registry as a clean unregistration does and keeps
// registration on; a call whose failure leaves keys behind, and every failing open or close,
// is reported as E_FAIL and switches registration off.
TEST_F(PageRegistration, EveryRegistryCallOfUnregistrationFailingInTurnIsReportedWhenKeysRemain) {
  const auto registerAfresh = [&] {
    Unload();  // a fresh process-wide state for each run
    platform::registry::Reset();
    Load();
    EXPECT_HR(S_OK, m_exports->registerServer());
  };
  const auto unregister = [&] { return m_exports->unregisterServer(); };
  m_keysLeftOpen = platform::registry::OpenHandleCount();  // what earlier tests left open
  registerAfresh();
  ASSERT_HR(S_OK, unregister());
  const std::wstring clean = platform::registry::Dump();
  platform::registry::FailEachCallInTurn(
      ERROR_ACCESS_DENIED, registerAfresh, unregister, [&](int n, const std::wstring& failed, HRESULT hr) {
        SCOPED_TRACE(testing::Message() << "call " << n << ": " << std::string(failed.begin(), failed.end()));
        if (failed == L"RegCloseKey") ++m_keysLeftOpen;
        EXPECT_EQ(platform::registry::OpenHandleCount(), m_keysLeftOpen) << "keys closed on the failure path";
        const bool keysRemain = platform::registry::Dump() != clean;
        if (keysRemain || failed == L"RegOpenKeyExW" || failed == L"RegCloseKey") {
          EXPECT_HR(E_FAIL, hr);
        } else {
          EXPECT_HR(S_OK, hr) << "a call that fails anyway (a key with subkeys, the end of the subkeys)";
        }
        EXPECT_HR(FAILED(hr) ? E_FAIL : S_OK, unregister()) << "registration switched off";
      });
}

// Before deleting a page key, unregistration reads which server the key names. A failure of
// that read leaves the owner unknown and the keys in place: it is reported, not skipped as a
// key of another server.
TEST_F(PageRegistration, UnregisterReportsAFailureToReadWhichServerAKeyNames) {
  const RegistryFault faults[] = {{L"RegOpenKeyExW", 2, false}, {L"RegQueryValueExW", 0, false}};
  for (const RegistryFault& fault : faults) {
    SCOPED_TRACE(std::string(fault.function, fault.function + wcslen(fault.function)));
    Unload();  // a fresh process-wide state for each case
    platform::registry::Reset();
    Load();
    ASSERT_HR(S_OK, m_exports->registerServer());
    const std::wstring function = fault.function;
    int calls = 0;  // the hook is copied for each call: its count lives here
    // nthCall 0: every call of the function fails; otherwise every call from the nth on.
    platform::registry::SetFaultHook([&function, &calls, from = fault.nthCall](std::wstring_view called) {
      if (called != function) return LONG{ERROR_SUCCESS};
      return ++calls >= from ? LONG{ERROR_ACCESS_DENIED} : LONG{ERROR_SUCCESS};
    });
    EXPECT_HR(E_FAIL, m_exports->unregisterServer());
    platform::registry::ClearFaults();
    EXPECT_TRUE(KeyExists(ClsidKey(kTestPage1Clsid) + L"\\InProcServer32"));
    EXPECT_TRUE(KeyExists(ClsidKey(kTestPage2Clsid) + L"\\InProcServer32"));
    EXPECT_EQ(platform::registry::OpenHandleCount(), m_keysLeftOpen) << "keys closed on the failure path";
    EXPECT_HR(E_FAIL, m_exports->unregisterServer()) << "registration switched off";
  }
}

TEST_F(PageRegistration, RegisteredPagesAreCreatedThroughCoCreateInstance) {
  ASSERT_HR(S_OK, m_exports->registerServer());
  ASSERT_HR(S_OK, CoInitialize(nullptr));
  ITestPageIdentity* page = nullptr;
  ASSERT_HR(S_OK, CoCreateInstance(ClsidOf(kTestPage1Clsid), nullptr,
                                   CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                       CLSCTX_REMOTE_SERVER,
                                   __uuidof(ITestPageIdentity), reinterpret_cast<void**>(&page)));
  LONG number = 0;
  page->GetPageNumber(&number);
  EXPECT_EQ(number, 1);
  page->Release();
  CoUninitialize();
}

TEST(PageRegistrationOutOfMemory, AFailedEntrySwitchesRegistrationOffAndLaterPagesPushNothing) {
  platform::registry::Reset();
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll"};
  // The first page's entry is allocated; the second page's allocation fails.
  platform::mfc::FailNextAllocations(1, 1);
  HMODULE module = LoadLibraryW(folder.PathOf("PVTestPages.dll").c_str());
  platform::mfc::FailNextAllocations(0);
  ASSERT_NE(module, nullptr) << "error " << GetLastError();
  pvtest::ComExports exports(module);
  IClassFactory* factory = nullptr;
  EXPECT_HR(S_OK, exports.getClassObject(ClsidOf(kTestPage1Clsid), IID_IClassFactory,
                                         reinterpret_cast<void**>(&factory)));
  if (factory) factory->Release();
  EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE, exports.getClassObject(ClsidOf(kTestPage2Clsid), IID_IClassFactory,
                                                              reinterpret_cast<void**>(&factory)));
  EXPECT_HR(E_FAIL, exports.registerServer());
  EXPECT_HR(E_FAIL, exports.unregisterServer());
  EXPECT_FALSE(KeyExists(L"CLSID"));
  FreeLibrary(module);
}

TEST(PVDefines, StringFromGUIDWritesUpperCaseBracedTextOrRefusesASmallBuffer) {
  const GUID guid = {0xAFFF48E2, 0xFB16, 0x4E64, {0x9D, 0x21, 0xBA, 0xAB, 0x3F, 0x63, 0x6C, 0x60}};
  wchar_t text[128];
  EXPECT_EQ(PVStringFromGUID(guid, text, 128), 38);
  EXPECT_STREQ(text, L"{AFFF48E2-FB16-4E64-9D21-BAAB3F636C60}");
  wchar_t exact[38];
  EXPECT_EQ(PVStringFromGUID(guid, exact, 38), -1) << "no room for the terminator";
  EXPECT_EQ(PVStringFromGUID(guid, text, 39), 38);
}

// The text and the result are the platform formatter's for the same format, for any GUID and
// any buffer size: digits of every value (leading zeros, all of A to F), truncated texts
// terminated in the last place.
TEST(PVDefines, StringFromGUIDGivesTheFormattersTextAndResult) {
  std::mt19937 random(28);
  for (int round = 0; round < 2000; ++round) {
    GUID guid;
    guid.Data1 = static_cast<unsigned long>(random());
    guid.Data2 = static_cast<unsigned short>(random());
    guid.Data3 = static_cast<unsigned short>(random());
    for (unsigned char& byte : guid.Data4) byte = static_cast<unsigned char>(random());
    if (round == 0) guid = GUID{};
    if (round == 1) guid = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    for (int size : {1, 2, 37, 38, 39, 128}) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", buffer of " << size);
      wchar_t expected[128];
      wmemset(expected, L'#', 128);
      wchar_t actual[128];
      wmemset(actual, L'#', 128);
      int written = _snwprintf(expected, static_cast<size_t>(size),
                               L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                               guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                               guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
      if (written < 0 || written >= size) {
        expected[size - 1] = L'\0';
        written = -1;
      }
      ASSERT_EQ(written, PVStringFromGUID(guid, actual, size));
      ASSERT_EQ(std::wstring_view(expected, 128), std::wstring_view(actual, 128));
    }
  }
  wchar_t untouched[4] = L"abc";
  EXPECT_EQ(-1, PVStringFromGUID(GUID{}, untouched, 0));
  EXPECT_STREQ(L"abc", untouched);
}

TEST(PVDefines, CLSIDFromStringFailureIsLogged) {
  orvolog::ClearRecords();
  CLSID clsid{};
  PVCLSIDFromString(L"{d73feef5-a372-4053-aa90-d3c277068b3b}", &clsid);
  EXPECT_EQ(clsid.Data1, 0xD73FEEF5u);
  EXPECT_TRUE(orvolog::RecentRecords().empty());
  const wchar_t* bad[] = {
      L"not a clsid", L"{D73FEEF5-A372-4053-AA90-D3C277068B3}",
      L"{D73FEEF5-A372-4053-AA90-D3C277068B3B}-and-much-more-text-than-the-buffer-holds-xxxxx"};
  for (const wchar_t* text : bad) {
    orvolog::ClearRecords();
    PVCLSIDFromString(text, &clsid);
    auto records = orvolog::RecentRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, L"Error: CLSIDFromString failed!");
    EXPECT_EQ(records[0].function, L"PVCLSIDFromString");
    EXPECT_EQ(records[0].sourceFile, L"PVDefines");
    EXPECT_EQ(records[0].level, 0);
  }
}

}  // namespace
