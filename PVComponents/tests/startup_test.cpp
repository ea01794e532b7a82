// Start-up of a view DLL with its language resource DLLs, language switching, and the
// separation of two DLLs in one process.
#include <windows.h>

#include <platform/testing_registry.h>

#include <memory>
#include <string>

#include "DllFolder.h"
#include "fixtures/TestPages/TestPages.h"

namespace {

constexpr UINT kLanguageNameId = 1;

// The test pages DLL loaded from a folder, with its test exports.
class LoadedTestPages {
 public:
  LoadedTestPages(const pvtest::DllFolder& folder, const char* file)
      : m_module(LoadLibraryW(folder.PathOf(file).c_str())) {
    if (!m_module) return;
    setLanguage = pvtest::Export<PFN_TESTPAGESSETLANGUAGE>(m_module, "TestPagesSetLanguage");
    getLanguage = pvtest::Export<PFN_TESTPAGESGETLANGUAGE>(m_module, "TestPagesGetLanguage");
    loadString = pvtest::Export<PFN_TESTPAGESLOADSTRING>(m_module, "TestPagesLoadString");
    resourceHandle = pvtest::Export<PFN_TESTPAGESHANDLES>(m_module, "TestPagesResourceHandle");
    instanceHandle = pvtest::Export<PFN_TESTPAGESHANDLES>(m_module, "TestPagesInstanceHandle");
  }
  ~LoadedTestPages() {
    if (m_module) FreeLibrary(m_module);
  }
  LoadedTestPages(const LoadedTestPages&) = delete;
  LoadedTestPages& operator=(const LoadedTestPages&) = delete;

  HMODULE module() const { return m_module; }
  std::wstring LanguageName() const {
    wchar_t text[64] = L"";
    return loadString(kLanguageNameId, text, 64) > 0 ? text : L"<none>";
  }

  PFN_TESTPAGESSETLANGUAGE setLanguage = nullptr;
  PFN_TESTPAGESGETLANGUAGE getLanguage = nullptr;
  PFN_TESTPAGESLOADSTRING loadString = nullptr;
  PFN_TESTPAGESHANDLES resourceHandle = nullptr;
  PFN_TESTPAGESHANDLES instanceHandle = nullptr;

 private:
  HMODULE m_module;
};

bool IsModuleLoaded(const pvtest::DllFolder& folder, const char* file) {
  return GetModuleHandleW(folder.PathOf(file).c_str()) != nullptr;
}

TEST(StartUp, WithItsEnglishResourceDllTheDllStartsAndTakesResourcesFromIt) {
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll", "PVTestPagesDEU.dll"};
  LoadedTestPages pages(folder, "PVTestPages.dll");
  ASSERT_NE(pages.module(), nullptr) << "error " << GetLastError();
  EXPECT_EQ(pages.getLanguage(), 1033u);
  EXPECT_EQ(pages.LanguageName(), L"English");
  EXPECT_NE(pages.resourceHandle(), pages.instanceHandle());
  EXPECT_TRUE(IsModuleLoaded(folder, "PVTestPagesENU.dll"));
}

TEST(StartUp, WithoutItsEnglishResourceDllNoDeliverableStartsEvenWithGerman) {
  struct Deliverable {
    const char* dll;
    const char* german;
  };
  const Deliverable deliverables[] = {{"PVTestPages.dll", "PVTestPagesDEU.dll"},
                                      {"CorvaneView.dll", "CorvaneViewDEU.dll"},
                                      {"FluxorView.dll", "FluxorViewDEU.dll"},
                                      {"CorvaneTags.dll", nullptr}};
  for (const Deliverable& d : deliverables) {
    SCOPED_TRACE(d.dll);
    pvtest::DllFolder folder{d.dll};
    if (d.german) folder.Add(d.german);
    SetLastError(0);
    HMODULE module = LoadLibraryW(folder.PathOf(d.dll).c_str());
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
    EXPECT_FALSE(IsModuleLoaded(folder, d.dll));
    if (module) FreeLibrary(module);
  }
}

TEST(StartUp, EveryDeliverableStartsWithItsEnglishResourceDll) {
  const char* deliverables[][2] = {{"CorvaneView.dll", "CorvaneViewENU.dll"},
                                   {"FluxorView.dll", "FluxorViewENU.dll"},
                                   {"CorvaneTags.dll", "CorvaneTagsENU.dll"}};
  pvtest::DllFolder folder{};
  for (auto& d : deliverables) {
    folder.Add(d[0]);
    folder.Add(d[1]);
  }
  // All three in one process at once, each with its own framework state.
  HMODULE modules[3];
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(deliverables[i][0]);
    modules[i] = LoadLibraryW(folder.PathOf(deliverables[i][0]).c_str());
    EXPECT_NE(modules[i], nullptr) << "error " << GetLastError();
    EXPECT_TRUE(IsModuleLoaded(folder, deliverables[i][1]));
  }
  for (HMODULE module : modules)
    if (module) FreeLibrary(module);
  for (auto& d : deliverables) {
    EXPECT_FALSE(IsModuleLoaded(folder, d[0])) << d[0];
    EXPECT_FALSE(IsModuleLoaded(folder, d[1])) << d[1] << " freed with its module";
  }
}

TEST(Language, SwitchingLoadsTheNewDllBeforeFreeingTheOld) {
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll", "PVTestPagesDEU.dll"};
  LoadedTestPages pages(folder, "PVTestPages.dll");
  ASSERT_NE(pages.module(), nullptr);
  EXPECT_TRUE(pages.setLanguage(1031));
  EXPECT_EQ(pages.getLanguage(), 1031u);
  EXPECT_EQ(pages.LanguageName(), L"Deutsch");
  EXPECT_FALSE(IsModuleLoaded(folder, "PVTestPagesENU.dll"));
  EXPECT_TRUE(pages.setLanguage(1031)) << "the current language again changes nothing";
  EXPECT_EQ(pages.LanguageName(), L"Deutsch");
  EXPECT_TRUE(pages.setLanguage(1033));
  EXPECT_EQ(pages.LanguageName(), L"English");
  EXPECT_FALSE(IsModuleLoaded(folder, "PVTestPagesDEU.dll"));
}

TEST(Language, ALanguageWithoutItsDllLeavesTheCurrentOne) {
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll"};
  LoadedTestPages pages(folder, "PVTestPages.dll");
  ASSERT_NE(pages.module(), nullptr);
  EXPECT_FALSE(pages.setLanguage(1031));
  EXPECT_FALSE(pages.setLanguage(1036));
  EXPECT_EQ(pages.getLanguage(), 1033u);
  EXPECT_EQ(pages.LanguageName(), L"English");
}

TEST(Language, AnUnknownLanguageMakesTheModuleItsOwnResourceSourceForGood) {
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll"};
  const LCID unknown = 0x1234;
  {
    LoadedTestPages pages(folder, "PVTestPages.dll");
    ASSERT_NE(pages.module(), nullptr);
    EXPECT_TRUE(pages.setLanguage(unknown)) << "the name rule gives the module's own file";
    EXPECT_EQ(pages.getLanguage(), unknown);
    EXPECT_EQ(pages.resourceHandle(), pages.instanceHandle());
    EXPECT_FALSE(IsModuleLoaded(folder, "PVTestPagesENU.dll"));
    EXPECT_TRUE(pages.setLanguage(1033));
    EXPECT_EQ(pages.LanguageName(), L"English");
  }
  // The manager never frees the module itself, so its own load keeps it loaded.
  EXPECT_TRUE(IsModuleLoaded(folder, "PVTestPages.dll"));
}

TEST(Language, FreeingTheLanguageDllTwiceFreesItOnce) {
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll"};
  {
    LoadedTestPages pages(folder, "PVTestPages.dll");
    ASSERT_NE(pages.module(), nullptr);
    auto freeResourceDll = pvtest::Export<PFN_TESTPAGESFREERESOURCEDLL>(pages.module(), "TestPagesFreeResourceDll");
    EXPECT_TRUE(freeResourceDll());
    EXPECT_FALSE(IsModuleLoaded(folder, "PVTestPagesENU.dll"));
    EXPECT_EQ(pages.resourceHandle(), pages.instanceHandle());
    EXPECT_FALSE(freeResourceDll()) << "the freed DLL is forgotten";
  }
  // Unloading the module does not free the language DLL a second time.
  EXPECT_FALSE(IsModuleLoaded(folder, "PVTestPages.dll"));
}

TEST(Separation, TwoDllsInOneProcessKeepTheirOwnLanguageAndLocks) {
  pvtest::DllFolder folder{"PVTestPages.dll",     "PVTestPagesENU.dll",     "PVTestPagesDEU.dll",
                           "PVTestPagesTwin.dll", "PVTestPagesTwinENU.dll", "PVTestPagesTwinDEU.dll"};
  LoadedTestPages first(folder, "PVTestPages.dll");
  LoadedTestPages twin(folder, "PVTestPagesTwin.dll");
  ASSERT_NE(first.module(), nullptr);
  ASSERT_NE(twin.module(), nullptr);
  ASSERT_NE(first.module(), twin.module());

  EXPECT_TRUE(first.setLanguage(1031));
  EXPECT_EQ(first.LanguageName(), L"Deutsch");
  EXPECT_EQ(twin.LanguageName(), L"English");
  EXPECT_EQ(twin.getLanguage(), 1033u);

  pvtest::ComExports firstExports(first.module()), twinExports(twin.module());
  IClassFactory* factory = nullptr;
  CLSID clsid{};
  ASSERT_HR(S_OK, CLSIDFromString(kTestPage1Clsid, &clsid));
  ASSERT_HR(S_OK, firstExports.getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
  EXPECT_HR(S_FALSE, firstExports.canUnloadNow());
  EXPECT_HR(S_OK, twinExports.canUnloadNow());
  factory->Release();
  EXPECT_HR(S_OK, firstExports.canUnloadNow());

  // A registry failure switches registration off in the DLL that met it only.
  platform::registry::Reset();
  platform::registry::FailNthCall(L"RegCreateKeyExW", 1, ERROR_ACCESS_DENIED);
  EXPECT_HR(E_FAIL, firstExports.registerServer());
  platform::registry::ClearFaults();
  EXPECT_HR(E_FAIL, firstExports.registerServer());
  EXPECT_HR(S_OK, twinExports.registerServer());
  EXPECT_HR(S_OK, twinExports.unregisterServer());
}

}  // namespace
