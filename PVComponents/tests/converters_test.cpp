// Text-to-number conversion: validation, fixed-point rounding, limits, and the prompt each
// rejection fetches from the host's prompt server.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "CnvTextToValue.h"
#include "HostSession.h"
#include "PVInputErrors.h"
#include "PromptInfo.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

const CCnvTextToFloat& Float() {
  return *GetCnvTextToFloat();
}
const CCnvTextToInteger& Integer() {
  return *GetCnvTextToInteger();
}

TEST(Converters, ValidationJudgesCharactersSignsAndDecimalPoints) {
  struct Case {
    const wchar_t* text;
    HRESULT asFloat;
    HRESULT asInteger;
  };
  const Case cases[] = {
      {L"", PV_E_EMPTY_TEXT, PV_E_EMPTY_TEXT},
      {L"+", PV_E_NO_DIGIT, PV_E_NO_DIGIT},
      {L"-", PV_E_NO_DIGIT, PV_E_NO_DIGIT},
      {L".", PV_E_NO_DIGIT, PV_E_NO_DIGIT},
      {L"-.", PV_E_NO_DIGIT, PV_E_NO_DIGIT},
      {L"1-2", PV_E_SIGN_NOT_FIRST, PV_E_SIGN_NOT_FIRST},
      {L"+-1", PV_E_SIGN_NOT_FIRST, PV_E_SIGN_NOT_FIRST},
      {L"1.2.3", PV_E_MULTIPLE_DECIMAL_POINTS, PV_E_INVALID_CHARACTER},
      {L"1e5", PV_E_INVALID_CHARACTER, PV_E_INVALID_CHARACTER},
      {L"1,5", PV_E_INVALID_CHARACTER, PV_E_INVALID_CHARACTER},
      {L" 1", PV_E_INVALID_CHARACTER, PV_E_INVALID_CHARACTER},
      {L"-1.5", S_OK, PV_E_INVALID_CHARACTER},
      {L"+007", S_OK, S_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(Hr(c.asFloat), Hr(Float().ValidateText(c.text)));
    EXPECT_EQ(Hr(c.asInteger), Hr(Integer().ValidateText(c.text)));
  }
}

TEST(Converters, EachRejectedTextGivesItsCodeAndFormattedPrompt) {
  HostSession host;
  const std::wstring huge = L"34028235" + std::wstring(31, L'0');
  struct Case {
    std::wstring text;
    HRESULT code;
    const wchar_t* prompt;
  };
  const Case cases[] = {
      {L"", PV_E_EMPTY_TEXT, L"Please enter a value."},
      {L"   ", PV_E_EMPTY_TEXT, L"Please enter a value."},
      {L"+", PV_E_INVALID_DECIMAL, L"'+' is not a valid number."},
      {L" -.", PV_E_INVALID_DECIMAL, L"' -.' is not a valid number."},
      {L"1e5", PV_E_INVALID_DECIMAL, L"'1e5' is not a valid number."},
      {huge, PV_E_ABOVE_MAXIMUM, nullptr},
      {L"-" + huge, PV_E_BELOW_MINIMUM, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text));
    CPromptInfo prompt;
    float value = 42.0f;
    EXPECT_EQ(Hr(c.code), Hr(Float().ConvertTextToFloat(c.text.c_str(), &value, &prompt)));
    EXPECT_EQ(value, 42.0f) << "output untouched";
    if (c.prompt) {
      EXPECT_EQ(Text(prompt.m_text), c.prompt);
    }
  }
  CPromptInfo prompt;
  float value = 0;
  Float().ConvertTextToFloat(huge.c_str(), &value, &prompt);
  EXPECT_EQ(Text(prompt.m_text), L"The value " + huge + L" is above the maximum of 3.402823e+38.");
  Float().ConvertTextToFloat((L"-" + huge).c_str(), &value, &prompt);
  EXPECT_EQ(Text(prompt.m_text), L"The value -" + huge + L" is below the minimum of -3.402823e+38.");
}

TEST(Converters, ScaledValuesRoundHalfAwayFromZeroOnTheFirstDroppedDigit) {
  struct Case {
    const wchar_t* text;
    int decimals;
    bool round;
    int64_t scaled;
  };
  const Case cases[] = {
      {L"12.345", 2, true, 1235},  {L"12.344", 2, true, 1234},    {L"-12.345", 2, true, -1235},
      {L"12.3449", 2, true, 1234}, {L"12.349", 2, false, 1234},   {L"0.005", 2, true, 1},
      {L"-0.005", 2, true, -1},    {L"7", 2, true, 700},          {L".5", 1, true, 5},
      {L" -1.5 ", 1, true, -15},   {L"2.5", 0, true, 3},          {L"-2.5", 0, true, -3},
      {L"1.5", 3, true, 1500},     {L"+3.14159", 4, true, 31416},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.text)) << " decimals "
                                    << c.decimals);
    int64_t scaled = -99;
    uint64_t scale = 1;
    for (int i = 0; i < c.decimals; ++i) scale *= 10;
    EXPECT_EQ(Hr(S_OK),
              Hr(Float().ConvertTextToScaledInt64(c.text, c.decimals, scale, c.round, &scaled, nullptr)));
    EXPECT_EQ(scaled, c.scaled);
  }
}

TEST(Converters, NormalizedTextsKeepExactlyTheirDecimals) {
  struct Case {
    const wchar_t* text;
    int decimals;
    int64_t scaled;
    const wchar_t* normalized;
  };
  const Case cases[] = {
      {L"0.005", 2, 1, L"0.01"},   {L"-0.005", 2, -1, L"-0.01"},     {L"7", 2, 700, L"7.00"},
      {L"1.5", 3, 1500, L"1.500"}, {L"0.12345", 4, 1235, L"0.1235"}, {L"0", 0, 0, L"0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    int64_t scaled = 0;
    CString normalized;
    EXPECT_EQ(Hr(S_OK), Hr(Float().NormalizeText(c.text, c.decimals, &scaled, &normalized, nullptr)));
    EXPECT_EQ(scaled, c.scaled);
    EXPECT_EQ(Text(normalized), c.normalized);
    float value = 0;
    CString rounded;
    EXPECT_EQ(Hr(S_OK), Hr(Float().ConvertTextToValueRounded(c.text, c.decimals, &value, &rounded, nullptr)));
    EXPECT_EQ(Text(rounded), c.normalized);
  }
  CString text;
  EXPECT_EQ(Hr(S_OK), Hr(Float().ConvertScaledInt64ToText(INT64_MIN, 0, &text)));
  EXPECT_EQ(Text(text), L"-9223372036854775808");
  Float().ConvertScaledInt64ToText(5, 2, &text);
  EXPECT_EQ(Text(text), L"0.05");
}

TEST(Converters, FloatsPrintWithOneMoreDigitThatRoundsTheText) {
  struct Case {
    float value;
    int decimals;
    const wchar_t* text;
  };
  const Case cases[] = {{1.005f, 2, L"1.01"}, {2.5f, 0, L"3"}, {-2.5f, 0, L"-3"}, {0.0f, 3, L"0.000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " decimals " << c.decimals);
    CString text;
    EXPECT_EQ(Hr(S_OK), Hr(Float().ConvertFloatToText(c.value, c.decimals, &text)));
    EXPECT_EQ(Text(text), c.text);
  }
}

TEST(Converters, ProductsBeyondSixtyFourBitsFailWithALogRecordAndNoPrompt) {
  HostSession host;
  CString text = L"untouched";
  EXPECT_EQ(Hr(E_FAIL), Hr(Float().ConvertFloatToText(1e17f, 3, &text)));
  EXPECT_EQ(Text(text), L"untouched");
  // 2 to the 63 is no 64-bit value.
  CPromptInfo prompt;
  int64_t scaled = 7;
  orvolog::ClearRecords();
  EXPECT_EQ(Hr(E_FAIL),
            Hr(Float().ConvertTextToScaledInt64(L"9223372036854775808", 0, 1, true, &scaled, &prompt)));
  EXPECT_EQ(scaled, 7);
  EXPECT_TRUE(prompt.m_text.IsEmpty());
  const auto logged = pvtest::LoggedSinceClear();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(
      logged[0],
      L"CCnvTextToFloat::ConvertTextToScaledInt64: Error: Conversion of float 9223372036854775808 exceeded "
      L"_INT64 data type!\r\n");
}

// The digits of a magnitude with a decimal point placed decimals digits from the end.
std::wstring WithDecimals(const std::wstring& digits, int decimals, bool negative) {
  std::wstring text = digits;
  if (decimals > 0) text.insert(text.size() - static_cast<size_t>(decimals), L".");
  return (negative ? L"-" : L"") + text;
}

// The range is judged on the exact number each text names, whatever its float rounds to: every
// bound of a 64-bit integer passes, one step beyond fails on either side, with every number of
// decimals a caller passes and its scale.
TEST(Converters, SixtyFourBitBoundsPassAndOneBeyondFailsAtEveryScale) {
  HostSession host;
  struct Case {
    const wchar_t* magnitude;
    bool negative;
    const wchar_t* extraDigit;  // appended after the last digit the scale keeps
    bool round;
    bool fits;
    int64_t scaled;
  };
  const Case cases[] = {
      {L"9223372036854775807", false, L"", true, true, INT64_MAX},
      {L"9223372036854775806", false, L"", true, true, INT64_MAX - 1},
      {L"9223372036854775808", false, L"", true, false, 0},
      {L"9223372036854775808", true, L"", true, true, INT64_MIN},
      {L"9223372036854775809", true, L"", true, false, 0},
      {L"9223372036854775900", true, L"", true, false, 0},
      {L"18446744073709551616", false, L"", true, false, 0},
      {L"9223372036854775807", false, L"4", true, true, INT64_MAX},
      {L"9223372036854775807", false, L"5", true, false, 0},
      {L"9223372036854775807", false, L"9", false, true, INT64_MAX},
      {L"9223372036854775808", true, L"4", true, true, INT64_MIN},
      {L"9223372036854775808", true, L"5", true, false, 0},
  };
  for (const Case& c : cases) {
    uint64_t scale = 1;
    for (int decimals = 0; decimals <= 9; ++decimals, scale *= 10) {
      std::wstring text = WithDecimals(c.magnitude, decimals, c.negative);
      if (*c.extraDigit) text += (decimals == 0 ? L"." : L"") + std::wstring(c.extraDigit);
      SCOPED_TRACE(testing::Message() << testing::PrintToString(text) << " decimals " << decimals
                                      << (c.round ? " rounded" : " cut"));
      CPromptInfo prompt;
      int64_t scaled = 7;
      orvolog::ClearRecords();
      const HRESULT hr =
          Float().ConvertTextToScaledInt64(text.c_str(), decimals, scale, c.round, &scaled, &prompt);
      EXPECT_TRUE(prompt.m_text.IsEmpty());
      if (c.fits) {
        EXPECT_EQ(Hr(S_OK), Hr(hr));
        EXPECT_EQ(scaled, c.scaled);
        EXPECT_TRUE(pvtest::LoggedSinceClear().empty());
        continue;
      }
      EXPECT_EQ(Hr(E_FAIL), Hr(hr));
      EXPECT_EQ(scaled, 7) << "output untouched";
      const auto logged = pvtest::LoggedSinceClear();
      ASSERT_EQ(logged.size(), 1u);
      EXPECT_EQ(logged[0], L"CCnvTextToFloat::ConvertTextToScaledInt64: Error: Conversion of float " + text +
                               L" exceeded _INT64 data type!\r\n");
    }
  }
  // Normalizing a bound gives the bound back as text.
  int64_t scaled = 0;
  CString normalized;
  EXPECT_EQ(Hr(S_OK), Hr(Float().NormalizeText(L"9223372036854775807", 0, &scaled, &normalized, nullptr)));
  EXPECT_EQ(Text(normalized), L"9223372036854775807");
  EXPECT_EQ(Hr(S_OK), Hr(Float().NormalizeText(L"-9223372036.854775808", 9, &scaled, &normalized, nullptr)));
  EXPECT_EQ(Text(normalized), L"-9223372036.854775808");
}

TEST(Converters, TooManyDecimalPlacesFailWithPromptSeven) {
  HostSession host;
  CPromptInfo prompt;
  float value = 1;
  CString text = L"untouched";
  EXPECT_EQ(Hr(E_FAIL), Hr(Float().ConvertTextToValueRounded(L"1.5", 10, &value, &text, &prompt)));
  EXPECT_EQ(Text(prompt.m_text), L"10 is not a valid number of decimal places.");
  EXPECT_EQ(Text(text), L"untouched");
  const auto logged = pvtest::LoggedSinceClear();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0], L"CCnvTextToFloat::ConvertTextToValueRounded: Invalid number of decimal places.");
}

// Every way NormalizeText and ConvertTextToValueRounded can fail leaves their outputs as they
// were.
TEST(Converters, NormalizingFailuresLeaveEveryOutputUntouched) {
  HostSession host;
  const std::wstring huge = L"34028235" + std::wstring(31, L'0');
  struct Case {
    std::wstring text;
    int decimals;
    HRESULT code;
  };
  const Case cases[] = {
      {L"", 2, PV_E_EMPTY_TEXT},
      {L"  ", 2, PV_E_EMPTY_TEXT},
      {L"-.", 2, PV_E_INVALID_DECIMAL},
      {L"1-2", 2, PV_E_INVALID_DECIMAL},
      {L"1.2.3", 2, PV_E_INVALID_DECIMAL},
      {huge, 0, PV_E_ABOVE_MAXIMUM},
      {L"-" + huge, 0, PV_E_BELOW_MINIMUM},
      {L"9223372036854775808", 0, E_FAIL},
      {L"-92233720368547758.09", 2, E_FAIL},
      {L"1.5", 10, E_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.text) << " decimals " << c.decimals);
    if (c.decimals <= 9) {
      int64_t scaled = 7;
      CString normalized = L"untouched";
      EXPECT_EQ(Hr(c.code),
                Hr(Float().NormalizeText(c.text.c_str(), c.decimals, &scaled, &normalized, nullptr)));
      EXPECT_EQ(scaled, 7);
      EXPECT_EQ(Text(normalized), L"untouched");
    }
    CPromptInfo prompt;
    float value = 42.0f;
    CString rounded = L"untouched";
    EXPECT_EQ(Hr(c.code),
              Hr(Float().ConvertTextToValueRounded(c.text.c_str(), c.decimals, &value, &rounded, &prompt)));
    EXPECT_EQ(value, 42.0f);
    EXPECT_EQ(Text(rounded), L"untouched");
  }
}

TEST(Converters, IntegersMeetTheirThirtyTwoAndSixtyFourBitLimits) {
  HostSession host;
  struct Case {
    const wchar_t* text;
    HRESULT code;
    const wchar_t* prompt;
  };
  const Case cases[] = {
      {L"2147483647", S_OK, L""},
      {L"-2147483648", S_OK, L""},
      {L"2147483648", PV_E_ABOVE_MAXIMUM, L"The value 2147483648 is above the maximum of 2147483647."},
      {L"-2147483649", PV_E_BELOW_MINIMUM, L"The value -2147483649 is below the minimum of -2147483648."},
      {L"1.5", PV_E_INVALID_INTEGER, L"'1.5' is not a valid whole number."},
      {L"", PV_E_EMPTY_TEXT, L"Please enter a value."},
      {L"99999999999999999999", E_FAIL, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    CPromptInfo prompt;
    int32_t value = 77;
    orvolog::ClearRecords();
    const HRESULT hr = Integer().ConvertTextToLong(c.text, &value, &prompt);
    EXPECT_EQ(Hr(c.code), Hr(hr));
    EXPECT_EQ(Text(prompt.m_text), c.prompt);
    if (FAILED(hr)) {
      EXPECT_EQ(value, 77) << "output untouched";
    }
  }
  const auto logged = pvtest::LoggedSinceClear();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0],
            L"CCnvTextToInteger::ConvertTextToValue: Error: Conversion of text 99999999999999999999 exceeded "
            L"__int64 "
            L"data type!");
  uint64_t unsignedValue = 3;
  EXPECT_EQ(Hr(E_FAIL), Hr(Integer().ConvertTextToUInt64(L"-5", &unsignedValue, nullptr)));
  EXPECT_EQ(Hr(E_FAIL), Hr(Integer().ConvertTextToUInt64(L"99999999999999999999", &unsignedValue, nullptr)));
  EXPECT_EQ(unsignedValue, 3u);
  EXPECT_EQ(Hr(S_OK), Hr(Integer().ConvertTextToUInt64(L"18446744073709551615", &unsignedValue, nullptr)));
  EXPECT_EQ(unsignedValue, UINT64_MAX);
}

TEST(Converters, ValuesBecomeTextWithoutLeadingZeros) {
  CString text;
  Integer().ConvertValueToText(int32_t{-5}, &text);
  EXPECT_EQ(Text(text), L"-5");
  Integer().ConvertValueToText(int64_t{0}, &text);
  EXPECT_EQ(Text(text), L"0");
  Integer().ConvertValueToText(UINT32_MAX, &text);
  EXPECT_EQ(Text(text), L"4294967295");
  struct Case {
    const wchar_t* before;
    const wchar_t* after;
    bool changed;
  };
  const Case cases[] = {{L"0.5", L".5", true},   {L"007", L"7", true}, {L"000", L"0", true},
                        {L"-05", L"-05", false}, {L"", L"", false},    {L"0", L"0", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.before)));
    CString value = c.before;
    EXPECT_EQ(StripLeadingZeros(value), c.changed);
    EXPECT_EQ(Text(value), c.after);
  }
}

// The limits' prompts show "%0.6e" of the limit with the C standard's exponent digits, also
// where the runtime writes three (the Windows build's msvcrt.dll).
TEST(Converters, ExponentsKeepTwoDigitsOrAsManyAsTheyNeed) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"3.402823e+038", L"3.402823e+38"},
                                                             {L"-3.402823e+038", L"-3.402823e+38"},
                                                             {L"1.5E-007", L"1.5E-07"},
                                                             {L"3.402823e+38", L"3.402823e+38"},
                                                             {L"1.0e+100", L"1.0e+100"},
                                                             {L"1e+05", L"1e+05"},
                                                             {L"12.5", L"12.5"},
                                                             {L"", L""}};
  for (const auto& [written, standard] : cases)
    EXPECT_EQ(Text(StandardExponent(written)), standard) << testing::PrintToString(std::wstring(written));
}

}  // namespace
