#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Info(LCID lcid, LCTYPE kind) {
  wchar_t buffer[80];
  return GetLocaleInfoW(lcid, kind, buffer, 80) ? std::wstring(buffer) : L"<failed>";
}

TEST(Locale, AbbreviatedLanguageNamesAreThePlatformsThreeLetters) {
  struct Case {
    LCID lcid;
    const wchar_t* abbreviation;
  } cases[] = {
      {1033, L"ENU"},
      {2057, L"ENG"},
      {1031, L"DEU"},
      {1036, L"FRA"},
      {1040, L"ITA"},
      {1034, L"ESP"},
      {3082, L"ESN"},
      {1041, L"JPN"},
      {2052, L"CHS"},
      {1028, L"CHT"},
      {1042, L"KOR"},
      {1046, L"PTB"},
      {1049, L"RUS"},
      {1043, L"NLD"},
      {1045, L"PLK"},
      {1053, L"SVE"},
      {LOCALE_USER_DEFAULT, L"ENU"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("LCID " + std::to_string(c.lcid));
    EXPECT_EQ(Info(c.lcid, LOCALE_SABBREVLANGNAME | LOCALE_NOUSEROVERRIDE), c.abbreviation);
    EXPECT_EQ(Info(c.lcid, LOCALE_SABBREVLANGNAME), c.abbreviation);
  }
}

TEST(Locale, TheResultCountsTheTerminatorAndASmallBufferFails) {
  EXPECT_EQ(GetLocaleInfoW(1031, LOCALE_SABBREVLANGNAME, nullptr, 0), 4) << "the size needed";
  wchar_t buffer[4] = {L'#', L'#', L'#', L'#'};
  SetLastError(0);
  EXPECT_EQ(GetLocaleInfoW(1031, LOCALE_SABBREVLANGNAME, buffer, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetLocaleInfoW(1031, LOCALE_SABBREVLANGNAME, buffer, 4), 4);
  EXPECT_EQ(std::wstring(buffer), L"DEU");
}

TEST(Locale, AnUnknownLocaleOrKindFailsWithItsError) {
  struct Case {
    LCID lcid;
    LCTYPE kind;
    DWORD error;
  } cases[] = {
      {0xFFFF, LOCALE_SABBREVLANGNAME, ERROR_INVALID_PARAMETER},
      {0xFFFF, LOCALE_SABBREVLANGNAME | LOCALE_NOUSEROVERRIDE, ERROR_INVALID_PARAMETER},
      {1033, 0x7777, ERROR_INVALID_FLAGS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("LCID " + std::to_string(c.lcid) + ", kind " + std::to_string(c.kind));
    wchar_t buffer[8] = L"#";
    SetLastError(0);
    EXPECT_EQ(GetLocaleInfoW(c.lcid, c.kind, buffer, 8), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(Locale, LanguageNamesComeFromTheSameTable) {
  EXPECT_EQ(Info(1031, LOCALE_SENGLANGUAGE), L"German");
  EXPECT_EQ(Info(1031, LOCALE_SLANGUAGE), L"German (Germany)");
  EXPECT_EQ(Info(2057, LOCALE_SENGCOUNTRY), L"United Kingdom");
  EXPECT_EQ(Info(2057, LOCALE_SISO639LANGNAME), L"en");
  EXPECT_EQ(Info(2057, LOCALE_SISO3166CTRYNAME), L"GB");
  EXPECT_EQ(Info(3082, LOCALE_ILANGUAGE), L"0c0a");
}

TEST(Locale, TheUsersAndTheSystemsLanguageIsUsEnglish) {
  EXPECT_EQ(GetUserDefaultLCID(), 1033u);
  EXPECT_EQ(GetSystemDefaultLCID(), 1033u);
  EXPECT_EQ(GetUserDefaultUILanguage(), 1033);
  EXPECT_EQ(GetSystemDefaultLangID(), 1033);
}

TEST(Locale, LanguageIdsAreBuiltAndTakenApartAsOnThePlatform) {
  EXPECT_EQ(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), 1033);
  EXPECT_EQ(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 1031);
  EXPECT_EQ(MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), 3082);
  EXPECT_EQ(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), 2052);
  EXPECT_EQ(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), 0x400);
  EXPECT_EQ(PRIMARYLANGID(2057), LANG_ENGLISH);
  EXPECT_EQ(SUBLANGID(2057), SUBLANG_ENGLISH_UK);
  EXPECT_EQ(MAKELCID(1031, SORT_DEFAULT), 1031u);
  EXPECT_EQ(LANGIDFROMLCID(MAKELCID(1031, 1)), 1031);
}

}  // namespace
