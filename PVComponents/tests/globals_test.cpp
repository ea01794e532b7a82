// The framework's free helpers and the prompt type.
#include <windows.h>

#include <OrvoLog.h>
#include <afxwin.h>
#include <platform/paths.h>
#include <platform/testing_htmlhelp.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "HostSession.h"
#include "PVComponentsGlobals.h"
#include "PromptInfo.h"

namespace {

using pvtest::Hr;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

constexpr GUID kSample = {0x0BB3D2EB, 0xBFE7, 0x4A95, {0xA1, 0xE3, 0xD8, 0xCA, 0x38, 0x79, 0xE0, 0x70}};

TEST(Clsid2String, GivesTheBracedUpperCaseTextAndReadsBack) {
  EXPECT_EQ(Text(Clsid2String(kSample)), L"{0BB3D2EB-BFE7-4A95-A1E3-D8CA3879E070}");
  EXPECT_TRUE(String2Clsid(L"{0bb3d2eb-bfe7-4a95-a1e3-d8ca3879e070}") == kSample);
}

TEST(String2Clsid, MalformedAndOverlongTextsAreLoggedAndGiveNull) {
  const std::wstring overlong = L"{0BB3D2EB-BFE7-4A95-A1E3-D8CA3879E070}" + std::wstring(30, L' ');
  for (const std::wstring& text : {std::wstring(L"not a guid"), std::wstring(L""), overlong}) {
    SCOPED_TRACE(testing::PrintToString(text));
    orvolog::ClearRecords();
    EXPECT_TRUE(String2Clsid(text.c_str()) == GUID_NULL);
    EXPECT_EQ(pvtest::LoggedSinceClear(),
              std::vector<std::wstring>{L"String2Clsid: Error: CLSIDFromString failed!"});
  }
}

TEST(IsOnlineVexilMode, OnlyModesOneToSixAreOnline) {
  for (LONG mode = -2; mode <= 9; ++mode) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(IsOnlineVexilMode(mode), mode >= 1 && mode <= 6 ? TRUE : FALSE);
  }
}

TEST(BoolConversions, OnlyVariantTrueIsTrueAndAnyNonZeroBoolIsVariantTrue) {
  const struct {
    VARIANT_BOOL value;
    BOOL expected;
  } variantCases[] = {{VARIANT_TRUE, TRUE}, {VARIANT_FALSE, FALSE}, {1, FALSE}, {-2, FALSE}};
  for (const auto& c : variantCases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(VariantBoolToBool(c.value), c.expected);
  }
  for (BOOL value : {1, 2, -1}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(BoolToVariantBool(value), VARIANT_TRUE);
    EXPECT_EQ(Hr(S_OK), Hr(BoolToHResult(value)));
  }
  EXPECT_EQ(BoolToVariantBool(FALSE), VARIANT_FALSE);
  EXPECT_EQ(Hr(E_FAIL), Hr(BoolToHResult(FALSE)));
  EXPECT_TRUE(HResultSucceeded(S_OK));
  EXPECT_TRUE(HResultSucceeded(S_FALSE));
  EXPECT_FALSE(HResultSucceeded(E_FAIL));
}

TEST(FormatHResult, UpperCaseHexadecimalWithoutLeadingZeros) {
  EXPECT_EQ(Text(FormatHResult(E_FAIL)), L"0x80004005");
  EXPECT_EQ(Text(FormatHResult(S_OK)), L"0x0");
  EXPECT_EQ(Text(FormatHResult(0x0000ABCD)), L"0xABCD");
}

TEST(FormatLastErrorText, TheSystemTextWithoutItsLineBreak) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  const std::wstring text = Text(FormatLastErrorText());
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), L'\n');
  EXPECT_NE(text.back(), L'\r');
  SetLastError(0x2FFFFFFF);
  EXPECT_EQ(Text(FormatLastErrorText()), L"Unknown error 805306367");
}

TEST(InterfaceIsValid, NullIsLogged) {
  orvolog::ClearRecords();
  int object = 0;
  EXPECT_TRUE(InterfaceIsValid(&object));
  EXPECT_FALSE(InterfaceIsValid(nullptr));
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{L"InterfaceIsValid: Error: Interface pointer check failed!"});
  const auto records = orvolog::RecentRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].level, 0);
  EXPECT_EQ(records[0].sourceFile, L"PVComponentsGlobals");
}

TEST(TimeUnits, MillisecondsAndSecondsConvertWithTruncationAndLimits) {
  EXPECT_FLOAT_EQ(MillisecondsToSeconds(1500), 1.5f);
  EXPECT_FLOAT_EQ(MillisecondsToSeconds(-250), -0.25f);
  const struct {
    float seconds;
    int expected;
  } cases[] = {{1.5f, 1500},
               {0.0019f, 1},
               {-0.0019f, -1},
               {2.0e7f, std::numeric_limits<int>::max()},
               {-2.0e7f, std::numeric_limits<int>::min()},
               {std::nanf(""), 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(SecondsToMilliseconds(c.seconds), c.expected);
  }
}

TEST(ShowHtmlHelp, WithoutAnApplicationItShowsTheLaunchFailureAndFails) {
  orvolog::ClearRecords();
  platform::mfc::ClearMessageBoxCalls();
  platform::htmlhelp::ClearHtmlHelpCalls();
  ASSERT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(Hr(E_FAIL), Hr(ShowHtmlHelp(0x30017, HH_HELP_CONTEXT)));
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{L"ShowHtmlHelp: Internal error, invlaid pApp\n"});
  const auto boxes = platform::mfc::MessageBoxCalls();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].nIDPrompt, static_cast<UINT>(AFX_IDP_FAILED_TO_LAUNCH_HELP));
  EXPECT_EQ(boxes[0].nType, static_cast<UINT>(MB_OK));
  EXPECT_TRUE(platform::htmlhelp::HtmlHelpCalls().empty());
}

// An application object in the test executable's module state, with a help path a test sets.
class HelpApp : public CWinApp {
 public:
  HelpApp() : CWinApp(nullptr, AfxGetModuleState()) {}
  void SetHelpPath(const std::wstring& path) {
    free(const_cast<wchar_t*>(m_pszHelpFilePath));
    m_pszHelpFilePath = _wcsdup(path.c_str());
  }
};

TEST(ShowHtmlHelp, OpensTheApplicationsHelpFileAndFailsWhenItIsMissing) {
  HelpApp app;
  ASSERT_EQ(AfxGetApp(), &app);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "pvtest-globals-help.chm";
  { std::ofstream(file) << "help"; }
  const std::wstring existing = platform::PlatformPathFromHost(file.string());
  const std::wstring missing = existing + L".missing";
  struct Case {
    const std::wstring* path;
    HRESULT expected;
    size_t boxes;
  };
  const Case cases[] = {{&existing, S_OK, 0}, {&missing, E_FAIL, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(*c.path));
    platform::mfc::ClearMessageBoxCalls();
    platform::htmlhelp::ClearHtmlHelpCalls();
    app.SetHelpPath(*c.path);
    EXPECT_EQ(Hr(c.expected), Hr(ShowHtmlHelp(0x30017, HH_HELP_CONTEXT)));
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].caller, nullptr);
    EXPECT_EQ(calls[0].file, *c.path);
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
    EXPECT_EQ(calls[0].data, 0x30017u);
    EXPECT_EQ(platform::mfc::MessageBoxCalls().size(), c.boxes);
  }
  std::filesystem::remove(file);
}

TEST(CPromptInfo, EqualityComparesAllThreeFieldsCaseSensitively) {
  const CPromptInfo base(L"Text", L"Caption", 3);
  EXPECT_TRUE(base == CPromptInfo(L"Text", L"Caption", 3));
  EXPECT_TRUE(base != CPromptInfo(L"text", L"Caption", 3));
  EXPECT_TRUE(base != CPromptInfo(L"Text", L"caption", 3));
  EXPECT_TRUE(base != CPromptInfo(L"Text", L"Caption", 4));
  CPromptInfo copy = base;
  EXPECT_TRUE(copy == base);
  copy.Clear();
  EXPECT_TRUE(copy == CPromptInfo());
  EXPECT_EQ(copy.m_type, 0);
}

}  // namespace
