// The module loader through the doors callers use: LoadLibraryW/ExW, FreeLibrary,
// GetProcAddress, GetModuleHandleW/ExW, GetModuleFileNameW, and the pseudo-modules.
#include <gtest/gtest.h>
#include <platform/testing_text.h>

#include <fstream>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "libloaderapi.h"
#include "platform/testing_modules.h"
#include "shlobj.h"
#include "winerror.h"

namespace {

std::vector<std::string> g_events;

}  // namespace

// The probes' entry points and static destructors report here (found with dlsym).
extern "C" __attribute__((visibility("default"))) void LoaderProbeRecord(const char* module,
                                                                         const char* event) {
  g_events.push_back(std::string(module) + ": " + event);
}

namespace {

using platform::test_support::Narrow;

// The folder of the test executable and the probes, in platform form with a final backslash.
std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::wstring Probe(const wchar_t* name) {
  return BinFolder() + name;
}

class ModulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    initialCount_ = platform::modules::LoadedModuleCount();
  }
  void TearDown() override {
    platform::modules::ResetPseudoModules();
    EXPECT_EQ(platform::modules::LoadedModuleCount(), initialCount_) << "a test left modules loaded";
  }
  size_t initialCount_ = 0;
};

TEST_F(ModulesTest, LoadingTwiceGivesTheSameHandleAndTheLastFreeUnloads) {
  const std::wstring path = Probe(L"LoaderProbe.dll");
  HMODULE first = LoadLibraryW(path.c_str());
  ASSERT_NE(first, nullptr) << platform::modules::LastLoadDiagnostic() << ", error " << GetLastError();
  HMODULE second = LoadLibraryW(path.c_str());
  EXPECT_EQ(second, first);
  EXPECT_EQ(platform::modules::ReferenceCount(first), 2);
  const std::vector<std::string> attached = {"LoaderProbe: attach, own file name known"};
  EXPECT_EQ(g_events, attached) << "DllMain runs once, and the module is known inside it";
  // The probe loaded its language DLL during attach.
  EXPECT_TRUE(platform::modules::IsLoaded(Probe(L"LoaderProbeENU.dll").c_str()));

  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_TRUE(platform::modules::IsLoaded(path.c_str()));
  EXPECT_EQ(g_events, attached) << "no detach while a reference is left";

  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_FALSE(platform::modules::IsLoaded(path.c_str()));
  EXPECT_FALSE(platform::modules::IsLoaded(Probe(L"LoaderProbeENU.dll").c_str())) << "freed in its detach";
  const std::vector<std::string> all = {"LoaderProbe: attach, own file name known", "LoaderProbe: detach",
                                        "LoaderProbe: static destructor"};
  EXPECT_EQ(g_events, all) << "detach, then the static destructors at unload";
}

TEST_F(ModulesTest, WhenDllMainFailsTheLoadFailsAfterDetachAndUnload) {
  const std::wstring path = Probe(L"LoaderProbeFails.dll");
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(path.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  const std::vector<std::string> expected = {"LoaderProbeFails: attach, own file name known",
                                             "LoaderProbeFails: detach",
                                             "LoaderProbeFails: static destructor"};
  EXPECT_EQ(g_events, expected);
  EXPECT_FALSE(platform::modules::IsLoaded(path.c_str()));
  EXPECT_EQ(GetModuleHandleW(L"LoaderProbeFails.dll"), nullptr);
}

TEST_F(ModulesTest, LoadFailsWithThePlatformsErrors) {
  const std::string textFile = "/tmp/modules_test_not_a_module.dll";
  std::ofstream(textFile) << "not a shared object\n";
  struct Case {
    const wchar_t* what;
    std::wstring name;
    DWORD error;
  } cases[] = {
      {L"a missing path", BinFolder() + L"NoSuchModule.dll", ERROR_MOD_NOT_FOUND},
      {L"a missing bare name", L"NoSuchModule.dll", ERROR_MOD_NOT_FOUND},
      {L"another drive", L"C:\\Windows\\NoSuchModule.dll", ERROR_MOD_NOT_FOUND},
      {L"an empty name", L"", ERROR_INVALID_PARAMETER},
      {L"a file that is no shared object", L"Z:\\tmp\\modules_test_not_a_module.dll", ERROR_BAD_FORMAT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.what));
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(c.name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
    SetLastError(0);
    EXPECT_EQ(LoadLibraryExW(c.name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  std::remove(textFile.c_str());
}

TEST_F(ModulesTest, BareNamesResolveInTheExecutablesFolderWithDllAdded) {
  HMODULE byPath = LoadLibraryW(Probe(L"LoaderProbe.dll").c_str());
  ASSERT_NE(byPath, nullptr) << platform::modules::LastLoadDiagnostic();
  for (const wchar_t* name : {L"LoaderProbe.dll", L"LoaderProbe"}) {
    SCOPED_TRACE(Narrow(name));
    HMODULE byName = LoadLibraryW(name);
    EXPECT_EQ(byName, byPath);
    EXPECT_TRUE(FreeLibrary(byName));
  }
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(L"LoaderProbe."), nullptr) << "a final dot means: no extension";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(byPath));
}

TEST_F(ModulesTest, DataFileLoadsRunNoCodeAndGiveTaggedHandles) {
  const std::wstring path = Probe(L"LoaderProbe.dll");
  struct Case {
    DWORD flags;
    bool image;
  } cases[] = {{LOAD_LIBRARY_AS_DATAFILE, false},
               {LOAD_LIBRARY_AS_IMAGE_RESOURCE, true},
               {LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE, false},
               {LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE("flags 0x" + std::to_string(c.flags));
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, c.flags);
    ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
    EXPECT_TRUE(LDR_IS_RESOURCE(module));
    EXPECT_EQ(LDR_IS_IMAGEMAPPING(module) != 0, c.image);
    EXPECT_TRUE(g_events.empty()) << "DllMain ran: " << g_events.front();
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "LoaderProbeAnswer"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    wchar_t name[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(module, name, MAX_PATH), 0u);
    EXPECT_EQ(GetModuleHandleW(L"LoaderProbe.dll"), nullptr) << "data files are not in the module list";
    EXPECT_TRUE(platform::modules::IsLoaded(path.c_str()));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(platform::modules::IsLoaded(path.c_str()));
  }
  EXPECT_TRUE(g_events.empty());
  SetLastError(0);
  EXPECT_EQ(LoadLibraryExW(path.c_str(), INVALID_HANDLE_VALUE, LOAD_LIBRARY_AS_DATAFILE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "hFile must be null";
}

TEST_F(ModulesTest, DataFileLoadOfALoadedModuleCountsAReferenceOnItsHandle) {
  const std::wstring path = Probe(L"LoaderProbe.dll");
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  HMODULE data = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_EQ(data, module);
  EXPECT_EQ(platform::modules::ReferenceCount(module), 2);
  EXPECT_TRUE(FreeLibrary(data));
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_FALSE(platform::modules::IsLoaded(path.c_str()));
}

TEST_F(ModulesTest, GetModuleFileNameGivesThePlatformFormAndTruncatesAsThePlatformDoes) {
  const std::wstring path = Probe(L"LoaderProbe.dll");
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  wchar_t name[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, name, MAX_PATH);
  EXPECT_EQ(std::wstring(name), path);
  EXPECT_EQ(length, path.size());
  EXPECT_EQ(path.substr(0, 3), L"Z:\\") << Narrow(path);
  EXPECT_EQ(path.find(L'/'), std::wstring::npos) << Narrow(path);

  struct Case {
    DWORD size;
    DWORD result;
    std::wstring text;
    DWORD error;
  } cases[] = {
      {static_cast<DWORD>(path.size() + 1), static_cast<DWORD>(path.size()), path, 0},
      {static_cast<DWORD>(path.size()), static_cast<DWORD>(path.size()), path.substr(0, path.size() - 1),
       ERROR_INSUFFICIENT_BUFFER},
      {4, 4, L"Z:\\", ERROR_INSUFFICIENT_BUFFER},
      {1, 1, L"", ERROR_INSUFFICIENT_BUFFER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size));
    std::vector<wchar_t> buffer(c.size + 1, L'#');
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(module, buffer.data(), c.size), c.result);
    EXPECT_EQ(std::wstring(buffer.data()), c.text) << Narrow(buffer.data());
    EXPECT_EQ(buffer[c.size], L'#') << "wrote past the buffer";
    EXPECT_EQ(GetLastError(), c.error);
  }
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(module, name, 0), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_TRUE(FreeLibrary(module));

  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(module, name, MAX_PATH), 0u) << "a freed handle is unknown";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModulesTest, GetModuleFileNameOfNullIsTheExecutable) {
  wchar_t name[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, name, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::wstring path(name, length);
  EXPECT_EQ(path.substr(0, 3), L"Z:\\") << Narrow(path);
  EXPECT_NE(path.find(L"platform_modules_test"), std::wstring::npos) << Narrow(path);
  EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleW(path.c_str()));
}

TEST_F(ModulesTest, GetModuleHandleFindsLoadedModulesByNameWithoutCountingAReference) {
  const std::wstring path = Probe(L"LoaderProbe.dll");
  HMODULE module = LoadLibraryW(path.c_str());
  ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  for (const std::wstring& name : {std::wstring(L"LoaderProbe.dll"), std::wstring(L"loaderprobe.DLL"),
                                   std::wstring(L"LOADERPROBE"), path}) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_EQ(GetModuleHandleW(name.c_str()), module);
  }
  EXPECT_EQ(platform::modules::ReferenceCount(module), 1);
  EXPECT_TRUE(FreeLibrary(module));
  SetLastError(0);
  EXPECT_EQ(GetModuleHandleW(L"LoaderProbe.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModulesTest, GetModuleHandleExFindsTheModuleOfAnAddress) {
  HMODULE module = LoadLibraryW(Probe(L"LoaderProbe.dll").c_str());
  ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  const FARPROC answer = GetProcAddress(module, "LoaderProbeAnswer");
  ASSERT_NE(answer, nullptr);
  HMODULE found = nullptr;
  EXPECT_TRUE(GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(answer), &found));
  EXPECT_EQ(found, module);
  EXPECT_EQ(platform::modules::ReferenceCount(module), 1);
  EXPECT_TRUE(
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(answer), &found));
  EXPECT_EQ(platform::modules::ReferenceCount(module), 2) << "counted without UNCHANGED_REFCOUNT";
  EXPECT_TRUE(FreeLibrary(found));
  static int executableData = 0;
  EXPECT_TRUE(GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&executableData), &found));
  EXPECT_EQ(found, GetModuleHandleW(nullptr));
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModulesTest, GetProcAddressFindsExportsAndFailsWithThePlatformsErrors) {
  HMODULE module = LoadLibraryW(Probe(L"LoaderProbe.dll").c_str());
  ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  auto answer =
      reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "LoaderProbeAnswer")));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  struct Case {
    const char* what;
    HMODULE module;
    const char* name;
    DWORD error;
  } cases[] = {
      {"a hidden function", module, "Record", ERROR_PROC_NOT_FOUND},
      {"a missing export", module, "NoSuchExport", ERROR_PROC_NOT_FOUND},
      {"an ordinal", module, reinterpret_cast<const char*>(1), ERROR_PROC_NOT_FOUND},
      {"a null module", nullptr, "LoaderProbeAnswer", ERROR_MOD_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(c.module, c.name), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(FreeLibrary(module));
  SetLastError(0);
  EXPECT_FALSE(FreeLibrary(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ModulesTest, PseudoModulesAreAlwaysLoadedAndExportThePlatformsFunctions) {
  struct Case {
    const wchar_t* name;
    const char* function;
    void* address;
  } cases[] = {
      {L"KERNEL32", "GetLongPathNameW", reinterpret_cast<void*>(&GetLongPathNameW)},
      {L"kernel32.dll", "GetLongPathNameW", reinterpret_cast<void*>(&GetLongPathNameW)},
      {L"KERNEL32.DLL", "GetLongPathNameW", reinterpret_cast<void*>(&GetLongPathNameW)},
      {L"shfolder.dll", "SHGetFolderPathW", reinterpret_cast<void*>(&SHGetFolderPathW)},
      {L"SHFOLDER", "SHGetFolderPathW", reinterpret_cast<void*>(&SHGetFolderPathW)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    HMODULE handle = GetModuleHandleW(c.name);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(handle, c.function)), c.address);
    HMODULE loaded = LoadLibraryW(c.name);
    EXPECT_EQ(loaded, handle);
    EXPECT_TRUE(FreeLibrary(loaded));
    EXPECT_TRUE(FreeLibrary(loaded)) << "never unloaded";
    EXPECT_EQ(GetModuleHandleW(c.name), handle);
  }
  EXPECT_EQ(GetModuleHandleW(L"KERNEL32"), GetModuleHandleW(L"kernel32.dll"));
  EXPECT_NE(GetModuleHandleW(L"KERNEL32"), GetModuleHandleW(L"shfolder.dll"));
}

TEST_F(ModulesTest, TestHooksMakePseudoModulesFailAsCallersMustHandle) {
  ASSERT_TRUE(platform::modules::SetPseudoModuleExport(L"KERNEL32", "GetLongPathNameW", nullptr));
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(GetModuleHandleW(L"KERNEL32"), "GetLongPathNameW"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

  static int replacement = 0;
  ASSERT_TRUE(platform::modules::SetPseudoModuleExport(L"shfolder.dll", "SHGetFolderPathW", &replacement));
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"shfolder"), "SHGetFolderPathW")),
            static_cast<void*>(&replacement));

  ASSERT_TRUE(platform::modules::SetPseudoModuleAvailable(L"shfolder.dll", false));
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(L"shfolder.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(GetModuleHandleW(L"shfolder.dll"), nullptr);
  EXPECT_FALSE(platform::modules::SetPseudoModuleAvailable(L"user32.dll", false)) << "not a pseudo-module";

  platform::modules::ResetPseudoModules();
  EXPECT_NE(GetProcAddress(GetModuleHandleW(L"KERNEL32"), "GetLongPathNameW"), nullptr);
  HMODULE shellFolder = LoadLibraryW(L"shfolder.dll");
  ASSERT_NE(shellFolder, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(shellFolder, "SHGetFolderPathW")),
            reinterpret_cast<void*>(&SHGetFolderPathW));
  EXPECT_TRUE(FreeLibrary(shellFolder));
}

}  // namespace

namespace {

int32_t CountOfExecutable(const char*) {
  return 7;
}
size_t ReportOfExecutable(char* buffer, size_t size) {
  if (buffer && size > 0) buffer[0] = '\0';
  return 0;
}

TEST(LiveObjectReaders, AreFoundByTheModuleHoldingTheirCodeUntilUnregistered) {
  const platform::modules::LiveObjectReaders readers{&CountOfExecutable, &ReportOfExecutable};
  platform::modules::LiveObjectReaders found{};
  EXPECT_FALSE(platform::modules::FindLiveObjectReaders(GetModuleHandleW(nullptr), &found));
  platform::modules::RegisterLiveObjectReaders(readers);
  ASSERT_TRUE(platform::modules::FindLiveObjectReaders(GetModuleHandleW(nullptr), &found));
  EXPECT_EQ(found.count("any"), 7);
  EXPECT_FALSE(platform::modules::FindLiveObjectReaders(nullptr, &found));
  HMODULE kernel = GetModuleHandleW(L"KERNEL32");
  EXPECT_FALSE(kernel && platform::modules::FindLiveObjectReaders(kernel, &found)) << "another module's";
  platform::modules::UnregisterLiveObjectReaders(readers);
  EXPECT_FALSE(platform::modules::FindLiveObjectReaders(GetModuleHandleW(nullptr), &found));
}

}  // namespace
