// The device's text-to-float converter: '.' as its decimal point whatever the C runtime's
// locale, rounding half away from zero by the first dropped digit, and the float limits with
// the framework's prompts.
#include <windows.h>

#include <gtest/gtest.h>
#include <platform/testing_locale.h>

#include <clocale>
#include <functional>
#include <string>

#include "CnvTextToFloat3.h"
#include "HostSession.h"
#include "PVInputErrors.h"
#include "PromptInfo.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

const CCnvTextToFloat3& Converter() {
  return *GetCnvTextToFloat3();
}

// Runs the check once in the "C" locale and once with a numeric locale whose decimal point
// is ','; the locale is put back afterwards.
void InBothLocales(const std::function<void()>& check) {
  {
    SCOPED_TRACE("C locale");
    check();
  }
  struct NumericLocale {
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
  } restore;
  const char* comma = platform::test_support::SetCommaNumericLocale();
  ASSERT_NE(comma, nullptr) << "no locale with ',' as decimal point; scripts/setup generates de_DE.UTF-8";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  {
    SCOPED_TRACE(comma);
    check();
  }
}

TEST(CnvTextToFloat3, RoundsTheTextByItsFirstDroppedDigitInEveryLocale) {
  struct Case {
    const wchar_t* text;
    int decimals;
    const wchar_t* rounded;
    float value;
  };
  const Case cases[] = {
      {L"2.345", 2, L"2.35", 2.35f},  {L"-2.345", 2, L"-2.35", -2.35f},
      {L"2.344", 2, L"2.34", 2.34f},  {L"0.5", 0, L"1", 1.0f},
      {L"-0.5", 0, L"-1", -1.0f},     {L"2.123456", 5, L"2.12346", 2.12346f},
      {L"2.3449", 2, L"2.34", 2.34f}, {L"7", 2, L"7.00", 7.0f},
      {L" 1.5 ", 3, L"1.500", 1.5f},  {L"+.25", 1, L"0.3", 0.3f},
      {L"12", 0, L"12", 12.0f},       {L"0.000000005", 8, L"0.00000001", 1e-8f},
  };
  InBothLocales([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message()
                   << testing::PrintToString(std::wstring(c.text)) << " decimals " << c.decimals);
      float value = 0;
      CString rounded;
      EXPECT_EQ(Hr(S_OK),
                Hr(Converter().ConvertTextToValueRounded(c.text, c.decimals, &value, &rounded, nullptr)));
      EXPECT_EQ(Text(rounded), c.rounded);
      EXPECT_FLOAT_EQ(value, c.value);
    }
  });
}

TEST(CnvTextToFloat3, ReadsAndWritesWithAFullStopInEveryLocale) {
  InBothLocales([] {
    double value = 0;
    EXPECT_EQ(Hr(S_OK), Hr(Converter().ConvertTextToDouble(L"2.345", &value, nullptr)));
    EXPECT_DOUBLE_EQ(value, 2.345);
    float single = 0;
    EXPECT_EQ(Hr(S_OK), Hr(Converter().ConvertTextToFloat(L"-0.25", &single, nullptr)));
    EXPECT_EQ(single, -0.25f);
    CString text;
    EXPECT_EQ(Hr(S_OK), Hr(Converter().ConvertFloatToText(1.5f, 3, &text)));
    EXPECT_EQ(Text(text), L"1.500");
    float rounded = 0;
    EXPECT_EQ(Hr(S_OK), Hr(Converter().RoundFloatToText(2.5f, 0, &rounded, &text, nullptr)));
    EXPECT_EQ(Text(text), L"3");
    EXPECT_EQ(rounded, 3.0f);
    EXPECT_EQ(Hr(S_OK), Hr(Converter().RoundFloatToText(-1.25f, 1, &rounded, &text, nullptr)));
    EXPECT_EQ(Text(text), L"-1.3");
    EXPECT_EQ(Hr(PV_E_MULTIPLE_DECIMAL_POINTS), Hr(Converter().ValidateText(L"1.2.3")));
    EXPECT_EQ(Hr(PV_E_INVALID_CHARACTER), Hr(Converter().IsValidChar(L',')));
    EXPECT_EQ(Hr(S_OK), Hr(Converter().IsValidChar(L'.')));
  });
}

TEST(CnvTextToFloat3, RejectedTextsGiveTheirCodeAndPromptInEveryLocale) {
  HostSession host;
  const std::wstring huge = L"34028235" + std::wstring(31, L'0');
  struct Case {
    std::wstring text;
    HRESULT code;
    std::wstring prompt;
  };
  const Case cases[] = {
      {L"", PV_E_EMPTY_TEXT, L"Please enter a value."},
      {L"  ", PV_E_EMPTY_TEXT, L"Please enter a value."},
      {L"1,5", PV_E_INVALID_DECIMAL, L"'1,5' is not a valid number."},
      {L"1.2.3", PV_E_INVALID_DECIMAL, L"'1.2.3' is not a valid number."},
      {L"-", PV_E_INVALID_DECIMAL, L"'-' is not a valid number."},
      {L"1e5", PV_E_INVALID_DECIMAL, L"'1e5' is not a valid number."},
      {huge, PV_E_ABOVE_MAXIMUM, L"The value " + huge + L" is above the maximum of 3.402823e+38."},
      {L"-" + huge, PV_E_BELOW_MINIMUM, L"The value -" + huge + L" is below the minimum of -3.402823e+38."},
  };
  InBothLocales([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::PrintToString(c.text));
      CPromptInfo prompt;
      double value = 42;
      EXPECT_EQ(Hr(c.code), Hr(Converter().ConvertTextToDouble(c.text.c_str(), &value, &prompt)));
      EXPECT_EQ(value, 42) << "output untouched";
      EXPECT_EQ(Text(prompt.m_text), c.prompt);
      float single = 42;
      CString rounded = L"untouched";
      EXPECT_EQ(Hr(c.code),
                Hr(Converter().ConvertTextToValueRounded(c.text.c_str(), 2, &single, &rounded, nullptr)));
      EXPECT_EQ(Text(rounded), L"untouched");
    }
  });
  // The largest float itself passes.
  double value = 0;
  EXPECT_EQ(Hr(S_OK),
            Hr(Converter().ConvertTextToDouble(L"340282346638528859811704183484516925440", &value, nullptr)));
}

TEST(CnvTextToFloat3, DecimalsOutsideZeroToNineChangeNothing) {
  for (const int decimals : {-1, 10, 1000}) {
    SCOPED_TRACE(decimals);
    float value = 7;
    CString text = L"untouched";
    EXPECT_EQ(Hr(E_INVALIDARG),
              Hr(Converter().ConvertTextToValueRounded(L"1.5", decimals, &value, &text, nullptr)));
    EXPECT_EQ(Hr(E_INVALIDARG), Hr(Converter().ConvertFloatToText(1.5f, decimals, &text)));
    EXPECT_EQ(Hr(E_INVALIDARG), Hr(Converter().RoundFloatToText(1.5f, decimals, &value, &text, nullptr)));
    EXPECT_EQ(Hr(E_INVALIDARG), Hr(Converter().RoundText(L"1.5", 1.5, decimals, &value, &text)));
    EXPECT_EQ(value, 7);
    EXPECT_EQ(Text(text), L"untouched");
  }
  float value = 7;
  CString text = L"untouched";
  EXPECT_EQ(Hr(E_FAIL), Hr(Converter().RoundText(L"1x", 1, 1, &value, &text)));
  EXPECT_EQ(Text(text), L"untouched");
}

}  // namespace
