// Test support: a fresh folder holding copies of built DLLs, laid out as an installation
// would be, and the host's road into them (LoadLibraryW and the exports).
#pragma once

#include <windows.h>

#include <platform/paths.h>
#include <platform/testing_hresult.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace pvtest {

inline std::filesystem::path BuiltBinaries() {
  const char* bin = std::getenv("PROJECT_BIN_DIR");
  return bin ? std::filesystem::path(bin) : std::filesystem::current_path();
}

class DllFolder {
 public:
  explicit DllFolder(std::initializer_list<const char*> files) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = std::filesystem::temp_directory_path() / "pvtest" /
               (std::string(test ? test->test_suite_name() : "suite") + "." + (test ? test->name() : "test") +
                "." + std::to_string(::getpid()));
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder);
    for (const char* file : files) Add(file);
  }
  ~DllFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  DllFolder(const DllFolder&) = delete;
  DllFolder& operator=(const DllFolder&) = delete;

  void Add(const char* file) {
    std::filesystem::copy_file(BuiltBinaries() / file, m_folder / file,
                               std::filesystem::copy_options::overwrite_existing);
  }
  void Remove(const char* file) { std::filesystem::remove(m_folder / file); }

  // The file's path in the platform's form.
  std::wstring PathOf(const char* file) const {
    return platform::PlatformPathFromHost((m_folder / file).string());
  }

 private:
  std::filesystem::path m_folder;
};

template <class Fn>
Fn Export(HMODULE module, const char* name) {
  auto proc = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  EXPECT_NE(proc, nullptr) << "missing export " << name;
  return proc;
}

typedef HRESULT (*PFN_DLLGETCLASSOBJECT)(REFCLSID, REFIID, void**);
typedef HRESULT (*PFN_DLLFUNCTION)();

// The four exports of a loaded DLL.
struct ComExports {
  explicit ComExports(HMODULE module)
      : getClassObject(Export<PFN_DLLGETCLASSOBJECT>(module, "DllGetClassObject")),
        canUnloadNow(Export<PFN_DLLFUNCTION>(module, "DllCanUnloadNow")),
        registerServer(Export<PFN_DLLFUNCTION>(module, "DllRegisterServer")),
        unregisterServer(Export<PFN_DLLFUNCTION>(module, "DllUnregisterServer")) {}
  PFN_DLLGETCLASSOBJECT getClassObject;
  PFN_DLLFUNCTION canUnloadNow;
  PFN_DLLFUNCTION registerServer;
  PFN_DLLFUNCTION unregisterServer;
};

// What every page factory refuses: aggregation (out pointer null), a null out pointer, and
// an interface the page does not answer (IClassFactory; out pointer null, the page deleted).
inline void ExpectCreateInstanceRefusals(IClassFactory* factory) {
  void* object = reinterpret_cast<void*>(0x1);
  EXPECT_HR(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory, IID_IUnknown, &object));
  EXPECT_EQ(object, nullptr);
  EXPECT_HR(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
  object = reinterpret_cast<void*>(0x1);
  EXPECT_HR(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &object));
  EXPECT_EQ(object, nullptr);
}

// The default value of the key under HKEY_CLASSES_ROOT; "<absent>" without the key,
// "<no value>" without a default value.
inline std::wstring DefaultValueOf(const std::wstring& keyName) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return L"<absent>";
  wchar_t text[512] = L"";
  DWORD size = sizeof(text);
  const LONG result = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? text : L"<no value>";
}

using ::platform::test_support::Hex;

}  // namespace pvtest
