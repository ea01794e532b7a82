// The input-error codes and their prompts from the framework's prompt server, formatted with
// their inserts.
#include <windows.h>

#include <HostServices.h>

#include <gtest/gtest.h>

#include <string>

#include "HostSession.h"
#include "PVInputErrors.h"
#include "PromptInfo.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

TEST(IsPVErrorCode, ExactlyTheFortyFourCodesFrom0x80040200AreInputErrors) {
  for (ULONG code = 0x800401F0u; code <= 0x80040240u; ++code) {
    SCOPED_TRACE(testing::Message() << std::hex << code);
    const bool inRange = code >= 0x80040200u && code <= 0x8004022Bu;
    EXPECT_EQ(IsPVErrorCode(static_cast<HRESULT>(code)), inRange);
  }
  for (HRESULT other : {S_OK, S_FALSE, E_FAIL, E_INVALIDARG, static_cast<HRESULT>(0x00040200)}) {
    SCOPED_TRACE(testing::Message() << std::hex << static_cast<ULONG>(other));
    EXPECT_FALSE(IsPVErrorCode(other));
  }
  for (HRESULT used : {PV_E_INVALID_CHARACTER, PV_E_SIGN_NOT_FIRST, PV_E_MULTIPLE_DECIMAL_POINTS,
                       PV_E_DECIMAL_POINT_NOT_ALLOWED, PV_E_MINUS_NOT_ALLOWED, PV_E_PLUS_NOT_ALLOWED,
                       PV_E_NO_DIGIT, PV_E_EMPTY_TEXT, PV_E_INVALID_INTEGER, PV_E_INVALID_DECIMAL,
                       PV_E_ABOVE_MAXIMUM, PV_E_BELOW_MINIMUM}) {
    SCOPED_TRACE(testing::Message() << std::hex << static_cast<ULONG>(used));
    EXPECT_TRUE(IsPVErrorCode(used));
  }
}

// Each code in use, its prompt, the inserts its raiser passes, and the text the user reads.
TEST(FormatErrorPromptInfo, EachPromptIsFormattedWithItsInsertsInTheServersLanguage) {
  HostSession session;
  struct Case {
    HRESULT code;
    LONG prompt;
    int inserts;
    const wchar_t* insert1;
    const wchar_t* insert2;
    const wchar_t* text;
    const wchar_t* caption;
  };
  const Case cases[] = {
      {PV_E_EMPTY_TEXT, PV_PROMPT_EMPTY_TEXT, 0, nullptr, nullptr, L"Please enter a value.",
       L"Invalid Input"},
      {PV_E_INVALID_INTEGER, PV_PROMPT_INVALID_INTEGER, 1, L"12a", nullptr,
       L"'12a' is not a valid whole number.", L"Invalid Input"},
      {PV_E_INVALID_DECIMAL, PV_PROMPT_INVALID_DECIMAL, 1, L"1.2.3", nullptr,
       L"'1.2.3' is not a valid number.", L"Invalid Input"},
      {PV_E_ABOVE_MAXIMUM, PV_PROMPT_ABOVE_MAXIMUM, 2, L"3000000000", L"2147483647",
       L"The value 3000000000 is above the maximum of 2147483647.", L"Value Too Large"},
      {PV_E_BELOW_MINIMUM, PV_PROMPT_BELOW_MINIMUM, 2, L"-5", L"0",
       L"The value -5 is below the minimum of 0.", L"Value Too Small"},
      {PV_E_ABOVE_MAXIMUM, PV_PROMPT_ABOVE_MAXIMUM, 2, L"1e39", L"3.402823e+038",
       L"The value 1e39 is above the maximum of 3.402823e+038.", L"Value Too Large"},
      {E_FAIL, PV_PROMPT_INVALID_DECIMALS, 1, L"12", nullptr, L"12 is not a valid number of decimal places.",
       L"Invalid Input"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "prompt " << c.prompt << " for 0x" << std::hex
                                    << static_cast<ULONG>(c.code));
    CPromptInfo prompt;
    HRESULT hr = E_UNEXPECTED;
    if (c.inserts == 0) hr = GetErrorPromptInfo(c.prompt, &prompt);
    if (c.inserts == 1) hr = FormatErrorPromptInfo(c.prompt, c.insert1, &prompt);
    if (c.inserts == 2) hr = FormatErrorPromptInfo2(c.prompt, c.insert1, c.insert2, &prompt);
    ASSERT_EQ(Hr(S_OK), Hr(hr));
    EXPECT_EQ(Text(prompt.m_text), c.text);
    EXPECT_EQ(Text(prompt.m_caption), c.caption);
    EXPECT_EQ(prompt.m_type, 0x20000 + c.prompt);
  }
  // One server object per call, each set to 1033 (no module instance) and released.
  const hostsim::ServiceCounters counters = hostsim::GetServiceCounters(CLSID_PVInputPromptServer);
  EXPECT_EQ(counters.objectsCreated, 7);
  EXPECT_EQ(counters.localeCalls, 7);
  EXPECT_EQ(counters.lastLocale, 1033u);
  EXPECT_EQ(counters.liveObjects, 0);
}

TEST(FormatErrorPromptInfo3, NumbersAreInsertedAsTheFormatSays) {
  HostSession session;
  CPromptInfo prompt;
  ASSERT_EQ(Hr(S_OK), Hr(FormatErrorPromptInfo3(8, -10, 250, 5, &prompt)));
  EXPECT_EQ(Text(prompt.m_text), L"Enter a value from -10 to 250 in steps of 5.");
}

TEST(FormatErrorPromptInfo, APromptNamingMoreInsertsThanGivenGetsEmptyOnes) {
  HostSession session;
  CPromptInfo prompt;
  ASSERT_EQ(Hr(S_OK), Hr(FormatErrorPromptInfo(PV_PROMPT_ABOVE_MAXIMUM, L"7", &prompt)));
  EXPECT_EQ(Text(prompt.m_text), L"The value 7 is above the maximum of .");
}

TEST(FormatErrorPromptInfo, WithoutThePromptServerTheFailureIsReturnedAndThePromptKept) {
  HostSession session;
  hostsim::RevokeHostServers();
  CPromptInfo prompt(L"kept", L"caption", 3);
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG), Hr(GetErrorPromptInfo(PV_PROMPT_EMPTY_TEXT, &prompt)));
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG), Hr(FormatErrorPromptInfo(PV_PROMPT_INVALID_INTEGER, L"x", &prompt)));
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG),
            Hr(FormatErrorPromptInfo2(PV_PROMPT_ABOVE_MAXIMUM, L"x", L"y", &prompt)));
  EXPECT_EQ(prompt, CPromptInfo(L"kept", L"caption", 3));
}

TEST(GetErrorPromptInfo, ANullPromptIsRefusedBeforeTheServerIsCreated) {
  HostSession session;
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(GetErrorPromptInfo(PV_PROMPT_EMPTY_TEXT, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(FormatErrorPromptInfo(PV_PROMPT_INVALID_INTEGER, L"x", nullptr)));
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).objectsCreated, 0);
}

TEST(PrefixPromptText, PutsTheMemberNameAColonAndTwoBlanksInFrontWithNothingTrimmed) {
  struct Case {
    const wchar_t* text;
    const wchar_t* member;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"Please enter a value.", L"Reference_temperature", L"Reference_temperature:  Please enter a value."},
      {L" padded ", L" name ", L" name :   padded "},
      {L"", L"Member", L"Member:  "},
      {L"unchanged", nullptr, L"unchanged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.text)));
    CPromptInfo prompt(c.text, L"caption", 4);
    PrefixPromptText(&prompt, c.member);
    EXPECT_EQ(Text(prompt.m_text), c.expected);
    EXPECT_EQ(Text(prompt.m_caption), L"caption");
  }
  PrefixPromptText(nullptr, L"Member");  // nothing to change
}

}  // namespace
