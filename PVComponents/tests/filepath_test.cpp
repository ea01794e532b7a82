// File paths and the language file names built from them.
#include <windows.h>

#include <platform/testing_shell.h>

#include <gtest/gtest.h>

#include "FilePath.h"
#include "OrvoWinApp.h"

namespace {

std::wstring Text(const CString& s) {
  return std::wstring(static_cast<const wchar_t*>(s));
}

TEST(FilePath, SplitsAModulePathIntoDirectoryAndName) {
  struct Case {
    const wchar_t* path;
    const wchar_t* directory;
    const wchar_t* name;
    const wchar_t* nameWithExtension;
  };
  const Case cases[] = {
      {L"Z:\\opt\\profiles\\CorvaneView.dll", L"Z:\\opt\\profiles", L"CorvaneView", L"CorvaneView.dll"},
      {L"Z:\\opt\\profiles\\README", L"Z:\\opt\\profiles", L"README", L"README"},
      {L"Z:\\opt\\profiles\\", L"Z:\\opt\\profiles", L"", L""},
      {L"CorvaneView.dll", L"", L"CorvaneView", L"CorvaneView.dll"},
      {L"Z:\\opt\\name.", L"Z:\\opt", L"name", L"name"},
      {L"", L"", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "path " << testing::PrintToString(std::wstring(c.path)));
    CFilePath path(c.path);
    EXPECT_EQ(Text(path.GetDirectory()), c.directory);
    EXPECT_EQ(Text(path.GetFileName(false)), c.name);
    EXPECT_EQ(Text(path.GetFileName(true)), c.nameWithExtension);
  }
}

TEST(FilePath, IsValidAcceptsADriveLetterColonOnlyAtIndexOne) {
  struct Case {
    const wchar_t* path;
    bool valid;
  };
  const Case cases[] = {
      {L"C:\\Program Files\\Profiles\\a.dll", true},
      {L"profiles\\a.dll", true},
      {L"a.dll", true},
      {L"\\profiles\\a:dll", false},
      {L"C:\\a:b", false},
      {L"C:\\a?.dll", false},
      {L"C:/a.dll", false},
      {L"a*b", false},
      {L"a\"b", false},
      {L"a<b>", false},
      {L"a|b", false},
      {L"ab:", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
    EXPECT_EQ(CFilePath::IsValid(c.path), c.valid);
    EXPECT_EQ(CFilePath(c.path).IsValid(), c.valid);
  }
}

TEST(FilePath, ComparisonIgnoresCase) {
  CFilePath a(L"Z:\\Opt\\Profiles\\CorvaneView.DLL");
  EXPECT_TRUE(a == CFilePath(L"z:\\opt\\profiles\\corvaneview.dll"));
  EXPECT_TRUE(a == L"Z:\\OPT\\PROFILES\\CORVANEVIEW.DLL");
  EXPECT_TRUE(a != L"Z:\\opt\\profiles\\FluxorView.dll");
  CFilePath b;
  b = a;
  const auto& itself = b;
  b = itself;
  EXPECT_TRUE(a == b);
}

TEST(FilePath, AModuleWithoutAFileNameLeavesThePathEmpty) {
  int notAModule = 0;
  CFilePath path(reinterpret_cast<HMODULE>(&notAModule));
  EXPECT_TRUE(path.GetPath().IsEmpty());
  EXPECT_FALSE(path.Exists());
  EXPECT_FALSE(path.IsDirectory());
  EXPECT_FALSE(path.IsFile());
}

TEST(FilePath, TheExecutableIsAnExistingFileInItsLongForm) {
  CFilePath path(static_cast<HMODULE>(nullptr));
  EXPECT_TRUE(path.IsFile()) << testing::PrintToString(Text(path.GetPath()));
  EXPECT_FALSE(CFilePath(path.GetDirectory()).IsFile());
  EXPECT_TRUE(CFilePath(path.GetDirectory()).IsDirectory());
}

TEST(HelpFiles, ProgramFilesPathDropsEveryLeadingBackslash) {
  platform::shell::SetFolderPath(CSIDL_PROGRAM_FILES, L"Z:\\opt\\Program Files");
  EXPECT_EQ(Text(GetHelpFilePathInProgramFiles(L"\\\\Vendor\\Help\\Corvane", 1033)),
            L"Z:\\opt\\Program Files\\Vendor\\Help\\CorvaneENU.chm");
  EXPECT_EQ(Text(GetHelpFilePathInProgramFiles(L"Help\\Corvane", 1031)),
            L"Z:\\opt\\Program Files\\Help\\CorvaneDEU.chm");
  platform::shell::ResetFolderPaths();
}

TEST(HelpFiles, ContextOffsetsAreTheClassLibraryHelpIdBases) {
  EXPECT_EQ(HelpIdFromPrompt(5), 0x30005u);
  EXPECT_EQ(HelpIdFromCommand(5), 0x10005u);
  EXPECT_EQ(HelpIdFromResource(5), 0x20005u);
  EXPECT_EQ(HelpIdFromDialog(5), 0x20005u);
  EXPECT_EQ(HelpIdFromControl(5), 0x50005u);
}

TEST(Languages, AbbreviationComesFromThePlatformAndIsEmptyForAnUnknownId) {
  EXPECT_EQ(Text(GetLanguageAbbreviation(1033)), L"ENU");
  EXPECT_EQ(Text(GetLanguageAbbreviation(1031)), L"DEU");
  EXPECT_EQ(Text(GetLanguageAbbreviation(0x1234)), L"");
}

TEST(Languages, GetFolderPathRefusesANullOutput) {
  EXPECT_EQ(GetFolderPath(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, nullptr), E_INVALIDARG);
}

}  // namespace
