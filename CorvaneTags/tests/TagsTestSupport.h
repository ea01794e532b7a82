// Test support: CorvaneTags.dll installed in a fresh folder and registered, the host's type
// libraries registered, and the simulated host object over the Coriolis module's default
// configuration tag, with the extension created through the registry and aggregated in it.
#pragma once

#include <windows.h>
#include <platform/testing_text.h>

#include <platform/paths.h>
#include <platform/testing_hresult.h>
#include <platform/testing_registry.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "ConfigurationTag.h"
#include "PVLiveObjects.h"
#include "ModuleDefinition.h"
#include "TagExtensionHost.h"

namespace tagstest {

inline constexpr CLSID kExtensionClsid = platform::GuidFromText("3D72AD1A-B9EE-46EB-8E32-E929007240BA");
inline constexpr HRESULT kNotAttached = static_cast<HRESULT>(0x80040300);
inline constexpr HRESULT kUnreadable = static_cast<HRESULT>(0x80040200);
inline constexpr wchar_t kProgId[] = L"CorvaneTags.Corvane300TagExt.1";
// The English text of string 102.
inline constexpr wchar_t kNotPossibleText[] =
    L"The module configuration could not be validated: a configuration value could not be read.";

using ::platform::test_support::Hex;

using platform::test_support::Narrow;

inline std::filesystem::path BuiltBinaries() {
  const char* bin = std::getenv("PROJECT_BIN_DIR");
  return bin ? std::filesystem::path(bin) : std::filesystem::current_path();
}

// A folder with copies of the DLL and its language DLLs; removed with the object.
class InstallFolder {
 public:
  explicit InstallFolder(std::initializer_list<const char*> files) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = std::filesystem::temp_directory_path() / "tagstest" /
               (std::string(test ? test->name() : "test") + "." + std::to_string(::getpid()));
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder);
    for (const char* file : files)
      std::filesystem::copy_file(BuiltBinaries() / file, m_folder / file,
                                 std::filesystem::copy_options::overwrite_existing);
  }
  ~InstallFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  InstallFolder(const InstallFolder&) = delete;
  InstallFolder& operator=(const InstallFolder&) = delete;

  void Remove(const char* file) { std::filesystem::remove(m_folder / file); }
  std::wstring PathOf(const char* file) const {
    return platform::PlatformPathFromHost((m_folder / file).string());
  }

 private:
  std::filesystem::path m_folder;
};

typedef HRESULT (*PFN_DLLFUNCTION)();

// Calls one of the DLL's parameterless exports, loading it for the call.
inline HRESULT CallExport(const std::wstring& dll, const char* name) {
  HMODULE module = LoadLibraryW(dll.c_str());
  if (!module) return HRESULT_FROM_WIN32(GetLastError());
  auto fn = reinterpret_cast<PFN_DLLFUNCTION>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  const HRESULT hr = fn ? fn() : E_NOTIMPL;
  FreeLibrary(module);
  return hr;
}

inline hostsim::ModuleDefinition CoriolisDefinition() {
  std::string error;
  auto definition = hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  EXPECT_TRUE(definition.has_value()) << error;
  return definition ? *definition : hostsim::ModuleDefinition{};
}

// The registered extension attached to a host object over the default Coriolis tag.
class ExtensionFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registry::Reset();
    ASSERT_EQ(Hex(S_OK), Hex(CoInitialize(nullptr)));
    ASSERT_EQ(Hex(S_OK), Hex(CallExport(m_folder.PathOf("CorvaneTags.dll"), "DllRegisterServer")));
    ASSERT_EQ(Hex(S_OK), Hex(hostsim::RegisterHostTypeLibraries()));
    m_definition = CoriolisDefinition();
    ASSERT_FALSE(m_definition.tags.empty());
    AdjustDefinition(m_definition.tags.front());
    m_tag = hostsim::ConfigurationTag::Create(m_definition.tags.front());
    m_host = hostsim::TagExtensionHost::Create(m_tag);
    ASSERT_EQ(Hex(S_OK), Hex(m_host->CreateExtension(kExtensionClsid)));
  }
  // A test's change of the default definition before the tag is made.
  virtual void AdjustDefinition(hostsim::TagDefinition&) {}

  void TearDown() override {
    if (m_host) m_host->Release();
    if (m_tag) m_tag->Release();
    if (HMODULE module = GetModuleHandleW(m_folder.PathOf("CorvaneTags.dll").c_str())) {
      EXPECT_EQ(CPVLiveObjects(module).Report(), "") << "objects of the extension left alive";
    }
    CoUninitialize();
  }

  InstallFolder m_folder{"CorvaneTags.dll", "CorvaneTagsENU.dll", "CorvaneTagsDEU.dll"};
  hostsim::ModuleDefinition m_definition;
  hostsim::ConfigurationTag* m_tag = nullptr;
  hostsim::TagExtensionHost* m_host = nullptr;
};

}  // namespace tagstest
