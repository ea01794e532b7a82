#include <windows.h>
#include <shlwapi.h>
#include <platform/testing_folders.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using platform::test_support::PlatformForm;

void WriteFile(const fs::path& path, const std::string& contents) {
  std::ofstream(path) << contents;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A fresh folder per test, and the current directory put back afterwards.
class Files : public ::testing::Test {
 protected:
  void SetUp() override { savedCwd_ = fs::current_path(); }
  void TearDown() override { fs::current_path(savedCwd_); }
  std::wstring Z(const std::string& relative = "") const {
    return PlatformForm(relative.empty() ? dir_ : dir_ / relative);
  }
  platform::test_support::TempFolder folder_{"files_test"};
  const fs::path dir_ = folder_.Path();
  fs::path savedCwd_;
};

TEST_F(Files, TheCurrentDirectoryIsTheHostsOnDriveZ) {
  fs::current_path(dir_);
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
  EXPECT_EQ(std::wstring(buffer), Z());
  EXPECT_EQ(length, Z().size());

  ASSERT_TRUE(SetCurrentDirectoryW(L"Z:\\"));
  EXPECT_EQ(fs::current_path(), fs::path("/"));
  GetCurrentDirectoryW(MAX_PATH, buffer);
  EXPECT_EQ(std::wstring(buffer), L"Z:\\");

  ASSERT_TRUE(SetCurrentDirectoryW(Z().c_str()));
  EXPECT_EQ(fs::current_path(), dir_);
}

TEST_F(Files, GetCurrentDirectoryWithASmallBufferReturnsTheSizeNeeded) {
  fs::current_path(dir_);
  const DWORD needed = static_cast<DWORD>(Z().size() + 1);
  EXPECT_EQ(GetCurrentDirectoryW(0, nullptr), needed);
  wchar_t buffer[4] = {L'#', L'#', L'#', L'#'};
  EXPECT_EQ(GetCurrentDirectoryW(4, buffer), needed);
  EXPECT_EQ(buffer[0], L'#') << "nothing is written";
}

TEST_F(Files, WhatTheHostCreatesIsFoundOnZAndTheOtherWayRound) {
  WriteFile(dir_ / "file.txt", "x");
  EXPECT_EQ(GetFileAttributesW(Z("file.txt").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(Z().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(GetFileAttributesW((Z() + L"\\").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  std::wstring forward = Z("file.txt");
  for (auto& c : forward)
    if (c == L'\\') c = L'/';
  EXPECT_EQ(GetFileAttributesW(forward.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL))
      << "'/' separates too";

  ASSERT_TRUE(CreateDirectoryW(Z("made").c_str(), nullptr)) << GetLastError();
  EXPECT_TRUE(fs::is_directory(dir_ / "made"));

  fs::current_path(dir_);
  EXPECT_EQ(GetFileAttributesW(L"file.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL))
      << "relative to the cwd";
}

TEST_F(Files, AMissingFileOrFolderReportsWhichOneIsMissing) {
  WriteFile(dir_ / "file.txt", "x");
  struct Case {
    std::wstring path;
    DWORD error;
  } cases[] = {
      {Z("absent.txt"), ERROR_FILE_NOT_FOUND},
      {Z("absent\\file.txt"), ERROR_PATH_NOT_FOUND},
      {Z("file.txt\\below"), ERROR_PATH_NOT_FOUND},
      {L"C:\\Windows\\system.ini", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path));
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesW(c.path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_FALSE(PathFileExistsW(c.path.c_str()));
    wchar_t buffer[MAX_PATH];
    SetLastError(0);
    EXPECT_EQ(GetLongPathNameW(c.path.c_str(), buffer, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(Files, GetFullPathNameResolvesTheTextAgainstTheCurrentDirectory) {
  fs::current_path(dir_);
  const std::wstring cwd = Z();
  struct Case {
    std::wstring input;
    std::wstring full;
    std::wstring filePart;  // empty: none
  } cases[] = {
      {L"a\\b.txt", cwd + L"\\a\\b.txt", L"b.txt"},
      {L"a/b.txt", cwd + L"\\a\\b.txt", L"b.txt"},
      {L".\\a\\..\\b", cwd + L"\\b", L"b"},
      {L"Z:rel", cwd + L"\\rel", L"rel"},
      {L"\\x\\y", L"Z:\\x\\y", L"y"},
      {L"Z:\\a\\.\\b\\..\\c", L"Z:\\a\\c", L"c"},
      {L"Z:\\a\\\\b", L"Z:\\a\\b", L"b"},
      {L"Z:\\..\\..", L"Z:\\", L""},
      {L"Z:\\dir\\", L"Z:\\dir\\", L""},
      {L"C:\\x\\..\\y", L"C:\\y", L"y"},
      {L"C:rel", L"C:\\rel", L"rel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.input));
    wchar_t buffer[MAX_PATH];
    LPWSTR filePart = reinterpret_cast<LPWSTR>(0x1);
    const DWORD length = GetFullPathNameW(c.input.c_str(), MAX_PATH, buffer, &filePart);
    EXPECT_EQ(std::wstring(buffer), c.full);
    EXPECT_EQ(length, c.full.size());
    if (c.filePart.empty())
      EXPECT_EQ(filePart, nullptr);
    else
      EXPECT_EQ(std::wstring(filePart ? filePart : L"<null>"), c.filePart);
  }
}

TEST_F(Files, GetFullPathNameWithASmallBufferReturnsTheSizeNeededWithTheTerminator) {
  const std::wstring full = L"Z:\\a\\b.txt";
  const DWORD needed = static_cast<DWORD>(full.size() + 1);
  wchar_t buffer[16];
  std::fill(std::begin(buffer), std::end(buffer), L'#');
  EXPECT_EQ(GetFullPathNameW(full.c_str(), 0, nullptr, nullptr), needed);
  EXPECT_EQ(GetFullPathNameW(full.c_str(), needed - 1, buffer, nullptr), needed);
  EXPECT_EQ(buffer[0], L'#') << "nothing is written";
  EXPECT_EQ(GetFullPathNameW(full.c_str(), needed, buffer, nullptr), needed - 1);
  EXPECT_EQ(std::wstring(buffer), full);
  SetLastError(0);
  EXPECT_EQ(GetFullPathNameW(L"", 16, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(Files, GetLongPathNameCopiesAnExistingPathEvenInPlace) {
  WriteFile(dir_ / "Some Long Name.txt", "x");
  const std::wstring path = Z("Some Long Name.txt");
  const DWORD needed = static_cast<DWORD>(path.size() + 1);
  wchar_t buffer[MAX_PATH + 1];
  lstrcpynW(buffer, path.c_str(), MAX_PATH + 1);
  EXPECT_EQ(GetLongPathNameW(buffer, buffer, MAX_PATH + 1), needed - 1);
  EXPECT_EQ(std::wstring(buffer), path);
  wchar_t small[4] = {L'#'};
  EXPECT_EQ(GetLongPathNameW(path.c_str(), small, 4), needed);
  EXPECT_EQ(small[0], L'#');
}

TEST_F(Files, CreateDirectoryRefusesAnExistingNameAndAMissingParent) {
  struct Case {
    std::wstring path;
    DWORD error;
  } cases[] = {
      {Z(), ERROR_ALREADY_EXISTS},
      {Z("missing\\child"), ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path));
    SetLastError(0);
    EXPECT_FALSE(CreateDirectoryW(c.path.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), c.error);
  }
  ASSERT_TRUE(CreateDirectoryW(Z("sub").c_str(), nullptr));
  WriteFile(dir_ / "sub" / "f", "x");
  SetLastError(0);
  EXPECT_FALSE(RemoveDirectoryW(Z("sub").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
}

TEST_F(Files, DeleteFileRemovesAFileButRefusesAFolder) {
  WriteFile(dir_ / "f.txt", "x");
  EXPECT_TRUE(DeleteFileW(Z("f.txt").c_str()));
  EXPECT_FALSE(fs::exists(dir_ / "f.txt"));
  struct Case {
    std::wstring path;
    DWORD error;
  } cases[] = {{Z("f.txt"), ERROR_FILE_NOT_FOUND}, {Z(), ERROR_ACCESS_DENIED}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.path));
    SetLastError(0);
    EXPECT_FALSE(DeleteFileW(c.path.c_str()));
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(fs::is_directory(dir_));
}

TEST_F(Files, CopyFileCopiesAndReplacesOnlyWhenAllowed) {
  WriteFile(dir_ / "a.dll", "first");
  WriteFile(dir_ / "b.dll", "other");
  ASSERT_TRUE(CopyFileW(Z("a.dll").c_str(), Z("copy.dll").c_str(), TRUE)) << GetLastError();
  EXPECT_EQ(ReadFile(dir_ / "copy.dll"), "first");

  SetLastError(0);
  EXPECT_FALSE(CopyFileW(Z("b.dll").c_str(), Z("copy.dll").c_str(), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(ReadFile(dir_ / "copy.dll"), "first");
  EXPECT_TRUE(CopyFileW(Z("b.dll").c_str(), Z("copy.dll").c_str(), FALSE));
  EXPECT_EQ(ReadFile(dir_ / "copy.dll"), "other");

  struct Case {
    std::wstring from, to;
    DWORD error;
  } cases[] = {
      {Z("absent.dll"), Z("x.dll"), ERROR_FILE_NOT_FOUND},
      {Z("a.dll"), Z("missing\\x.dll"), ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.from + L" -> " + c.to));
    SetLastError(0);
    EXPECT_FALSE(CopyFileW(c.from.c_str(), c.to.c_str(), FALSE));
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3) << "no temporary left";
}

TEST(WideStrings, LstrcpynCopiesAtMostOneLessThanTheSizeAndTerminates) {
  struct Case {
    int size;
    std::wstring expected;
  } cases[] = {{1, L""}, {3, L"ab"}, {6, L"abcde"}, {7, L"abcde"}};
  for (const auto& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size));
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(lstrcpynW(buffer, L"abcde", c.size), buffer);
    EXPECT_EQ(std::wstring(buffer), c.expected);
    EXPECT_EQ(buffer[c.size], L'#') << "nothing beyond the size";
  }
  wchar_t buffer[2] = {L'#', L'#'};
  EXPECT_EQ(lstrcpynW(buffer, L"x", 0), nullptr);
  EXPECT_EQ(buffer[0], L'#');
  EXPECT_EQ(lstrlenW(nullptr), 0);
  EXPECT_EQ(lstrlenW(L"four"), 4);
}

}  // namespace
