#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <platform/testing_folders.h>
#include <platform/testing_hresult.h>
#include <platform/testing_shell.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using platform::test_support::Hex;
using platform::test_support::PlatformForm;

TEST(PathText, PathAppendJoinsWithExactlyOneBackslash) {
  struct Case {
    std::wstring path, more, expected;
  } cases[] = {
      {L"Z:\\a", L"b", L"Z:\\a\\b"},
      {L"Z:\\a\\", L"b", L"Z:\\a\\b"},
      {L"Z:\\a", L"\\b", L"Z:\\a\\b"},
      {L"Z:\\a\\", L"\\\\b", L"Z:\\a\\b"},
      {L"Z:\\a", L"", L"Z:\\a"},
      {L"", L"b", L"b"},
      {L"Z:\\", L"b\\c.txt", L"Z:\\b\\c.txt"},
      {L"Z:\\a\\b", L"..\\c", L"Z:\\a\\c"},
      {L"Z:\\a", L".\\c", L"Z:\\a\\c"},
      {L"Z:\\a", L"Z:\\other", L"Z:\\other"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path + L" + " + c.more));
    wchar_t buffer[MAX_PATH];
    lstrcpynW(buffer, c.path.c_str(), MAX_PATH);
    EXPECT_TRUE(PathAppendW(buffer, c.more.c_str()));
    EXPECT_EQ(std::wstring(buffer), c.expected);
  }
}

TEST(PathText, PathAppendRefusesAResultThatDoesNotFitMaxPath) {
  const std::wstring base = L"Z:\\" + std::wstring(250, L'a');  // 253 characters
  struct Case {
    size_t moreLength;
    bool fits;
  } cases[] = {{5, true}, {6, false}, {100, false}};  // base + '\' + more must stay below 260
  for (const auto& c : cases) {
    SCOPED_TRACE("appending " + std::to_string(c.moreLength) + " characters to 253");
    wchar_t buffer[MAX_PATH];
    lstrcpynW(buffer, base.c_str(), MAX_PATH);
    EXPECT_EQ(PathAppendW(buffer, std::wstring(c.moreLength, L'b').c_str()), c.fits ? TRUE : FALSE);
    if (!c.fits) {
      EXPECT_EQ(std::wstring(buffer), base) << "unchanged";
    } else {
      EXPECT_EQ(std::wstring(buffer).size(), base.size() + 1 + c.moreLength);
    }
  }
  wchar_t buffer[MAX_PATH] = L"Z:\\a";
  EXPECT_FALSE(PathAppendW(buffer, nullptr));
  EXPECT_FALSE(PathAppendW(nullptr, L"b"));
}

TEST(PathText, PathFindNextComponentStepsPastOneSeparator) {
  struct Case {
    const wchar_t* path;
    const wchar_t* next;  // null: none
  } cases[] = {
      {L"Z:\\a\\b.txt", L"a\\b.txt"},           {L"a\\b.txt", L"b.txt"}, {L"b.txt", L""}, {L"Z:\\", L""},
      {L"\\\\server\\share", L"server\\share"}, {L"", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
    const wchar_t* next = PathFindNextComponentW(c.path);
    if (!c.next) {
      EXPECT_EQ(next, nullptr);
    } else {
      ASSERT_NE(next, nullptr);
      EXPECT_EQ(std::wstring(next), c.next);
      EXPECT_TRUE(next >= c.path && next <= c.path + wcslen(c.path)) << "a pointer into the path";
    }
  }
  EXPECT_EQ(PathFindNextComponentW(nullptr), nullptr);
}

TEST(PathText, PathFindFileNameAndPathRemoveFileSpecSplitAtTheLastComponent) {
  struct Case {
    std::wstring path, fileName, removed;
    BOOL removedSomething;
  } cases[] = {
      {L"Z:\\a\\b.txt", L"b.txt", L"Z:\\a", TRUE},
      {L"Z:\\a", L"a", L"Z:\\", TRUE},
      {L"Z:\\a\\", L"a\\", L"Z:\\a", TRUE},
      {L"\\a", L"a", L"\\", TRUE},
      {L"name", L"name", L"", TRUE},
      {L"Z:\\", L"Z:\\", L"Z:\\", FALSE},
      {L"Z:name", L"name", L"Z:", TRUE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path));
    EXPECT_EQ(std::wstring(PathFindFileNameW(c.path.c_str())), c.fileName);
    wchar_t buffer[MAX_PATH];
    lstrcpynW(buffer, c.path.c_str(), MAX_PATH);
    EXPECT_EQ(PathRemoveFileSpecW(buffer), c.removedSomething);
    EXPECT_EQ(std::wstring(buffer), c.removed);
  }
}

class ShellFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "tree" / "sub");
    std::ofstream(dir_ / "tree" / "sub" / "f.txt") << "x";
    std::ofstream(dir_ / "file.txt") << "x";
  }
  void TearDown() override { platform::shell::ResetFolderPaths(); }
  platform::test_support::TempFolder folder_{"shell_test"};
  const fs::path dir_ = folder_.Path();
};

TEST_F(ShellFiles, PathIsDirectoryAnswersWithTheDirectoryAttribute) {
  EXPECT_EQ(PathIsDirectoryW(PlatformForm(dir_).c_str()), static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(PathIsDirectoryW(PlatformForm(dir_ / "file.txt").c_str()), FALSE);
  EXPECT_EQ(PathIsDirectoryW(PlatformForm(dir_ / "absent").c_str()), FALSE);
  EXPECT_TRUE(PathFileExistsW(PlatformForm(dir_ / "file.txt").c_str()));
}

TEST_F(ShellFiles, DeleteOperationRemovesAFileAndAWholeFolder) {
  std::wstring list = PlatformForm(dir_ / "tree") + L'\0' + PlatformForm(dir_ / "file.txt") + L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();  // the string's own terminator ends the list
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  EXPECT_EQ(SHFileOperationW(&operation), 0);
  EXPECT_FALSE(fs::exists(dir_ / "tree"));
  EXPECT_FALSE(fs::exists(dir_ / "file.txt"));
  EXPECT_TRUE(fs::exists(dir_));

  EXPECT_NE(SHFileOperationW(&operation), 0) << "nothing left to delete";
  const std::wstring empty(2, L'\0');
  operation.pFrom = empty.c_str();
  EXPECT_EQ(SHFileOperationW(&operation), ERROR_INVALID_PARAMETER);
  // Deleting "Z:\" is refused before anything happens; too dangerous to run here.
}

TEST_F(ShellFiles, SpecialFoldersDefaultToCreatedFoldersAndCanBeSet) {
  for (int csidl :
       {CSIDL_PROGRAM_FILES, CSIDL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_PROGRAM_FILES | CSIDL_FLAG_CREATE}) {
    SCOPED_TRACE("CSIDL " + std::to_string(csidl));
    wchar_t path[MAX_PATH];
    const HRESULT hr = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    ASSERT_EQ(hr, S_OK) << Hex(hr);
    EXPECT_EQ(std::wstring(path).substr(0, 3), L"Z:\\");
    EXPECT_NE(std::wstring(path).back(), L'\\');
    EXPECT_TRUE(PathIsDirectoryW(path));
  }

  const std::wstring programFiles = PlatformForm(dir_ / "Program Files");
  platform::shell::SetFolderPath(CSIDL_PROGRAM_FILES, programFiles);
  wchar_t path[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path), S_OK);
  EXPECT_EQ(std::wstring(path), programFiles);
  platform::shell::SetFolderPath(CSIDL_PROGRAM_FILES, L"");
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path), S_OK);
  EXPECT_NE(std::wstring(path), programFiles) << "back to the default";

  platform::shell::SetFolderPath(CSIDL_APPDATA, L"Z:\\" + std::wstring(MAX_PATH, L'x'));
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path), E_FAIL) << Hex(E_FAIL);
}

TEST(ShellFolders, UnknownFoldersAndMissingBuffersAreInvalidArguments) {
  wchar_t path[MAX_PATH] = L"#";
  HRESULT hr = SHGetFolderPathW(nullptr, 0x7F, nullptr, 0, path);
  EXPECT_EQ(hr, E_INVALIDARG) << Hex(hr);
  EXPECT_EQ(path[0], L'\0');
  hr = SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, nullptr);
  EXPECT_EQ(hr, E_INVALIDARG) << Hex(hr);
}

TEST(ShellNamespace, TheDesktopFolderIsNotAvailableSoCallersTakeThePlainPath) {
  IShellFolder* desktop = reinterpret_cast<IShellFolder*>(0x1);
  const HRESULT hr = SHGetDesktopFolder(&desktop);
  EXPECT_EQ(hr, E_NOTIMPL) << Hex(hr);
  EXPECT_EQ(desktop, nullptr);
  wchar_t path[MAX_PATH] = L"#";
  EXPECT_FALSE(SHGetPathFromIDListW(nullptr, path));
  EXPECT_EQ(path[0], L'\0');

  IMalloc* allocator = nullptr;
  ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
  ASSERT_NE(allocator, nullptr);
  void* block = allocator->Alloc(32);
  ASSERT_NE(block, nullptr);
  EXPECT_GE(allocator->GetSize(block), 32u);
  allocator->Free(block);
  allocator->Release();
}

}  // namespace
