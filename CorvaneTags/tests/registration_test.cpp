// Registration of CorvaneTags.dll through its exports: exactly the keys of its two registry
// scripts and its type library, and unregistration that keeps what the scripts keep.
#include "TagsTestSupport.h"

namespace {

using tagstest::CallExport;
using tagstest::Narrow;

std::wstring Escaped(const std::wstring& path) {
  std::wstring out;
  for (wchar_t c : path) out += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
  return out;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registry::Reset();
    CoInitialize(nullptr);
  }
  void TearDown() override { CoUninitialize(); }

  // What the two scripts and the type library write, for the DLL in the folder.
  std::wstring ExpectedKeys() const {
    const std::wstring dll = Escaped(m_folder.PathOf("CorvaneTags.dll"));
    const std::wstring folder = dll.substr(0, dll.rfind(L"\\\\"));
    return L"HKEY_CLASSES_ROOT\n"
           L"  AppID\n"
           L"    CorvaneTags.DLL\n"
           L"      AppID = REG_SZ \"{872419B9-51EC-4FBE-A4EF-B0CD4BE95A04}\\0\"\n"
           L"    {872419B9-51EC-4FBE-A4EF-B0CD4BE95A04}\n"
           L"      @ = REG_SZ \"CorvaneTags\\0\"\n"
           L"  CLSID\n"
           L"    {3D72AD1A-B9EE-46EB-8E32-E929007240BA}\n"
           L"      @ = REG_SZ \"Corvane300TagExt Class\\0\"\n"
           L"      AppID = REG_SZ \"{872419B9-51EC-4FBE-A4EF-B0CD4BE95A04}\\0\"\n"
           L"      InprocServer32\n"
           L"        @ = REG_SZ \"" +
           dll +
           L"\\0\"\n"
           L"        ThreadingModel = REG_SZ \"Apartment\\0\"\n"
           L"      ProgID\n"
           L"        @ = REG_SZ \"CorvaneTags.Corvane300TagExt.1\\0\"\n"
           L"      Programmable\n"
           L"      TypeLib\n"
           L"        @ = REG_SZ \"{DCAA8F19-84A4-4ACA-A296-4797F7D06C55}\\0\"\n"
           L"      VersionIndependentProgID\n"
           L"        @ = REG_SZ \"CorvaneTags.Corvane300TagExt\\0\"\n"
           L"  CorvaneTags.Corvane300TagExt\n"
           L"    @ = REG_SZ \"Corvane300TagExt Class\\0\"\n"
           L"    CLSID\n"
           L"      @ = REG_SZ \"{3D72AD1A-B9EE-46EB-8E32-E929007240BA}\\0\"\n"
           L"    CurVer\n"
           L"      @ = REG_SZ \"CorvaneTags.Corvane300TagExt.1\\0\"\n"
           L"  CorvaneTags.Corvane300TagExt.1\n"
           L"    @ = REG_SZ \"Corvane300TagExt Class\\0\"\n"
           L"    CLSID\n"
           L"      @ = REG_SZ \"{3D72AD1A-B9EE-46EB-8E32-E929007240BA}\\0\"\n"
           L"  TypeLib\n"
           L"    {DCAA8F19-84A4-4ACA-A296-4797F7D06C55}\n"
           L"      1.0\n"
           L"        @ = REG_SZ \"CorvaneTags 1.0 Type Library\\0\"\n"
           L"        0\n"
           L"          win32\n"
           L"            @ = REG_SZ \"" +
           dll +
           L"\\0\"\n"
           L"        FLAGS\n"
           L"          @ = REG_SZ \"0\\0\"\n"
           L"        HELPDIR\n"
           L"          @ = REG_SZ \"" +
           folder +
           L"\\0\"\n"
           L"HKEY_CURRENT_USER\n"
           L"HKEY_LOCAL_MACHINE\n";
  }

  void CreateKey(const wchar_t* path) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegCloseKey(key);
  }

  tagstest::InstallFolder m_folder{"CorvaneTags.dll", "CorvaneTagsENU.dll"};
};

TEST_F(Registration, RegisterWritesExactlyTheKeysOfBothScriptsAndTheTypeLibrary) {
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer"));
  EXPECT_EQ(Narrow(ExpectedKeys()), Narrow(platform::registry::Dump()));
  // Again: the same keys (ForceRemove rewrites the class key).
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer"));
  EXPECT_EQ(Narrow(ExpectedKeys()), Narrow(platform::registry::Dump()));
}

TEST_F(Registration, RegisterReplacesWhatAnOlderRegistrationLeftUnderTheClassKey) {
  CreateKey(L"CLSID\\{3D72AD1A-B9EE-46EB-8E32-E929007240BA}\\Stale");
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer"));
  EXPECT_EQ(Narrow(ExpectedKeys()), Narrow(platform::registry::Dump()));
}

// The shared TypeLib key stays, as on the platform; the library's own key goes.
TEST_F(Registration, UnregisterRemovesTheScriptsKeysAndKeepsTheNoRemoveKeys) {
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer"));
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllUnregisterServer"));
  EXPECT_EQ(
      "HKEY_CLASSES_ROOT\n"
      "  AppID\n"
      "  CLSID\n"
      "  TypeLib\n"
      "HKEY_CURRENT_USER\n"
      "HKEY_LOCAL_MACHINE\n",
      Narrow(platform::registry::Dump()));
}

TEST_F(Registration, UnregisterKeepsOtherServersKeysBesideItsOwn) {
  CreateKey(L"CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32");
  CreateKey(L"AppID\\{66666666-7777-8888-9999-AAAAAAAAAAAA}");
  CreateKey(L"TypeLib\\{DCAA8F19-84A4-4ACA-A296-4797F7D06C55}\\2.0");
  const std::wstring before = platform::registry::Dump();
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer"));
  ASSERT_HR(S_OK, CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllUnregisterServer"));
  EXPECT_EQ(Narrow(before), Narrow(platform::registry::Dump()));
}

TEST_F(Registration, WhenTheRegistryRefusesAWriteThenRegisterFailsAndLeavesNoClassKeys) {
  platform::registry::FailNthCall(L"RegSetValueExW", 5, ERROR_ACCESS_DENIED);
  EXPECT_HR(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED),
            CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer"));
  platform::registry::ClearFaults();
  const std::string dump = Narrow(platform::registry::Dump());
  EXPECT_EQ(std::string::npos, dump.find("Corvane300TagExt")) << dump;
}

// Every registry call of an unregistration through the registrar made to fail in turn: a
// success leaves the registry as a clean unregistration does; a failure that leaves keys
// behind is returned.
TEST_F(Registration, EveryRegistryCallOfUnregistrationFailingInTurnIsReportedWhenKeysRemain) {
  const std::wstring dll = m_folder.PathOf("CorvaneTags.dll");
  const auto registerAfresh = [&] {
    platform::registry::Reset();
    EXPECT_HR(S_OK, CallExport(dll, "DllRegisterServer"));
  };
  const auto unregister = [&] { return CallExport(dll, "DllUnregisterServer"); };
  registerAfresh();
  ASSERT_HR(S_OK, unregister());
  const std::wstring clean = platform::registry::Dump();
  platform::registry::FailEachCallInTurn(
      ERROR_ACCESS_DENIED, registerAfresh, unregister, [&](int n, const std::wstring& failed, HRESULT hr) {
        SCOPED_TRACE(testing::Message() << "call " << n << ": " << Narrow(failed));
        const std::wstring after = platform::registry::Dump();
        if (SUCCEEDED(hr)) {
          EXPECT_EQ(Narrow(clean), Narrow(after)) << "a success removes everything a clean run removes";
        }
        if (after != clean) {
          EXPECT_TRUE(FAILED(hr)) << Narrow(after);
        }
      });
}

// The host's interfaces belong to the host's type libraries: registering and unregistering
// CorvaneTags, before or after the host registers its libraries, leaves their interface keys
// naming the host's libraries.
TEST_F(Registration, TheHostsInterfaceKeysKeepNamingTheHostsLibraries) {
  struct HostInterface {
    const wchar_t* key;
    const wchar_t* library;
  };
  const HostInterface interfaces[] = {
      {L"Interface\\{790C88CF-6401-40E8-A6F1-1DA0060C5F9A}", L"{EF64B5A8-320C-457D-9876-8276AD7B9FD8}"},
      {L"Interface\\{C9126836-879D-4181-AC62-92B59A42DDD7}", L"{34E3C1CE-8DA1-4031-B5A6-454C0B26FC80}"},
  };
  const std::wstring dll = m_folder.PathOf("CorvaneTags.dll");
  const auto expectHostKeys = [&](const char* after) {
    for (const auto& entry : interfaces) {
      SCOPED_TRACE(testing::Message() << "after " << after << ", " << Narrow(entry.key));
      HKEY key = nullptr;
      ASSERT_EQ(ERROR_SUCCESS,
                RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(entry.key) + L"\\TypeLib").c_str(), 0,
                              KEY_READ, &key));
      wchar_t library[64] = {};
      DWORD size = sizeof library - sizeof(wchar_t);
      const LONG read =
          RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(library), &size);
      RegCloseKey(key);
      ASSERT_EQ(ERROR_SUCCESS, read);
      EXPECT_EQ(Narrow(entry.library), Narrow(library));
    }
  };
  struct Order {
    const char* name;
    bool hostFirst;
  };
  for (const Order order :
       {Order{"the host registering first", true}, Order{"CorvaneTags registering first", false}}) {
    SCOPED_TRACE(order.name);
    platform::registry::Reset();
    if (order.hostFirst) {
      ASSERT_HR(S_OK, hostsim::RegisterHostTypeLibraries());
    }
    ASSERT_HR(S_OK, CallExport(dll, "DllRegisterServer"));
    if (!order.hostFirst) {
      ASSERT_HR(S_OK, hostsim::RegisterHostTypeLibraries());
    }
    expectHostKeys("DllRegisterServer");
    ASSERT_HR(S_OK, CallExport(dll, "DllUnregisterServer"));
    expectHostKeys("DllUnregisterServer");
  }
}

}  // namespace
