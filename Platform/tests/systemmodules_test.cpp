// The common controls library as the loader offers it: always there, read as a data file for
// the property sheet's page template and its font, and absent when a test says so.
#include <gtest/gtest.h>

#include "dlgtemplate.h"
#include "platform/testing_modules.h"
#include "windows.h"

namespace {

class CommonControlsModule : public ::testing::Test {
 protected:
  void TearDown() override { platform::modules::ResetPseudoModules(); }
};

TEST_F(CommonControlsModule, ItsPageTemplateCarriesThePropertySheetsFontForEveryDataFileLoad) {
  const DWORD flagSets[] = {LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE,
                            LOAD_LIBRARY_AS_DATAFILE, 0};
  for (DWORD flags : flagSets) {
    SCOPED_TRACE(flags);
    HMODULE library = LoadLibraryExW(L"COMCTL32.DLL", nullptr, flags);
    ASSERT_NE(library, nullptr);
    const int references = platform::modules::ReferenceCount(library);
    HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(1006), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    const auto dialog = platform::dialogs::ParseDialogTemplate(LockResource(LoadResource(library, found)),
                                                               SizeofResource(library, found));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_TRUE(dialog->HasFont());
    EXPECT_EQ(dialog->pointSize, 9);
    EXPECT_EQ(dialog->typeface, L"System Sans");
    EXPECT_EQ(FindResourceW(library, MAKEINTRESOURCEW(1007), RT_DIALOG), nullptr);
    EXPECT_EQ(GetProcAddress(library, "SHGetFolderPathW"), nullptr) << "it exports nothing the servers call";
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_EQ(platform::modules::ReferenceCount(library), references - 1);
  }
}

TEST_F(CommonControlsModule, MadeAbsentItCannotBeLoadedUntilReset) {
  ASSERT_TRUE(platform::modules::SetPseudoModuleAvailable(L"comctl32", false));
  SetLastError(0);
  EXPECT_EQ(LoadLibraryExW(L"COMCTL32.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  platform::modules::ResetPseudoModules();
  HMODULE library = LoadLibraryExW(L"COMCTL32.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_NE(library, nullptr);
  if (library) FreeLibrary(library);
}

}  // namespace
