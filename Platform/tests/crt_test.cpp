#include <windows.h>  // the C runtime's wide-string functions come with it

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <string>

namespace {

std::wstring Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  wchar_t buffer[256];
  int n = _vsnwprintf(buffer, 256, format, args);
  va_end(args);
  return n < 0 ? L"<truncated>" : std::wstring(buffer, n);
}

}  // namespace

TEST(WideFormat, UsesThePlatformMeaningOfEachConversion) {
  EXPECT_EQ(Format(L"%s|%c", L"wide", L'w'), L"wide|w");
  EXPECT_EQ(Format(L"%S|%hs", "narrow", "short"), L"narrow|short");
  EXPECT_EQ(Format(L"%ls|%lu|%ld", L"long", 4294967295u, -5), L"long|4294967295|-5");
  EXPECT_EQ(Format(L"%I64d|%lld|%llu", -1234567890123LL, 9LL, 18446744073709551615ULL),
            L"-1234567890123|9|18446744073709551615");
  EXPECT_EQ(Format(L"{%08X-%04X-%02X}", 0xAFFF48E2u, 0xFB16, 0x9D), L"{AFFF48E2-FB16-9D}");
  // The exponent has two or three digits as the runtime chooses (the system's runtime writes
  // three, the C standard's form two); what the product shows it writes in the standard form.
  const std::wstring exponent = Format(L"%0.6e", 3.4028235e38);
  EXPECT_TRUE(exponent == L"3.402823e+38" || exponent == L"3.402823e+038")
      << std::string(exponent.begin(), exponent.end());
  EXPECT_EQ(Format(L"$%x %%", 255), L"$ff %");
  EXPECT_EQ(Format(L"%s%d%c", L"a", 1, L'b'), L"a1b");
}

// Integers, characters and texts are formatted without the host library: every combination of
// flags, width and precision that the two write the same way is compared with the host
// library's own text.
std::wstring HostLibrary(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  wchar_t buffer[256];
  int n = vswprintf(buffer, 256, format, args);
  va_end(args);
  return n < 0 ? L"<failed>" : std::wstring(buffer, n);
}

TEST(WideFormat, IntegersAndTextsAreWrittenAsTheHostLibraryWritesThem) {
  const wchar_t* flags[] = {L"", L"-", L"+", L" ", L"#", L"0", L"-0", L"+0", L" #", L"#0"};
  const wchar_t* widths[] = {L"", L"1", L"5", L"12"};
  const wchar_t* precisions[] = {L"", L".", L".0", L".1", L".3", L".14"};
  const int integers[] = {0, 1, -1, 7, 42, -42, 255, 65535, 2147483647, -2147483647 - 1};
  const long long wide[] = {0, -1, 4294967296LL, -9223372036854775807LL - 1, 9223372036854775807LL};
  const wchar_t* texts[] = {L"", L"a", L"wide text", L"\u00e9t\u00e9"};
  for (const wchar_t* flag : flags) {
    for (const wchar_t* width : widths) {
      for (const wchar_t* precision : precisions) {
        const std::wstring spec = std::wstring(L"[%") + flag + width + precision;
        for (const wchar_t* conversion : {L"d", L"i", L"u", L"x", L"X", L"o"}) {
          const std::wstring format = spec + conversion + L"]";
          const std::wstring longFormat = spec + L"ll" + conversion + L"]";
          for (int value : integers) {
            SCOPED_TRACE(testing::Message()
                         << "format " << std::string(format.begin(), format.end()) << " value " << value);
            EXPECT_EQ(Format(format.c_str(), value), HostLibrary(format.c_str(), value));
          }
          for (long long value : wide) {
            SCOPED_TRACE(testing::Message() << "format " << std::string(longFormat.begin(), longFormat.end())
                                            << " value " << value);
            EXPECT_EQ(Format(longFormat.c_str(), value), HostLibrary(longFormat.c_str(), value));
          }
        }
        if (std::wstring(flag).find_first_of(L"+ #0") != std::wstring::npos) continue;
        const std::wstring textFormat = spec + L"ls]";
        const std::wstring charFormat = std::wstring(L"[%") + flag + width + L"lc]";
        for (const wchar_t* text : texts) {
          SCOPED_TRACE(testing::Message() << "format " << std::string(textFormat.begin(), textFormat.end()));
          EXPECT_EQ(Format(textFormat.c_str(), text), HostLibrary(textFormat.c_str(), text));
        }
        EXPECT_EQ(Format(charFormat.c_str(), L'\u00fc'), HostLibrary(charFormat.c_str(), L'\u00fc'));
      }
    }
  }
  // Widths and precisions from the arguments, a negative width meaning left-aligned.
  EXPECT_EQ(Format(L"[%*d|%-*d|%.*d|%*.*x]", 5, 42, 4, 7, 3, 9, -6, 2, 10),
            HostLibrary(L"[%*d|%-*d|%.*d|%*.*x]", 5, 42, 4, 7, 3, 9, -6, 2, 10));
}

TEST(WideFormat, WhatIsNotFormattedNativelyStillComesOutRight) {
  // Floats, a null text and a narrow text outside ASCII go through the host library.
  EXPECT_EQ(Format(L"%d %.2f %s", 3, 2.345, L"x"), L"3 2.35 x");
  EXPECT_EQ(Format(L"%S|%hc", "abc", 'z'), L"abc|z");
  // No hh: the system's runtime does not know that length modifier.
  EXPECT_EQ(Format(L"%hd|%hu", 70000, 70000), L"4464|4464");
  EXPECT_EQ(Format(L"%I64u|%Iu|%zd", 18446744073709551615ULL, size_t{5}, size_t{6}),
            L"18446744073709551615|5|6");
  EXPECT_EQ(Format(L"%ls", static_cast<const wchar_t*>(nullptr)),
            HostLibrary(L"%ls", static_cast<const wchar_t*>(nullptr)));
}

TEST(WideFormat, CountedFormattingReturnsMinusOneWhenTheTextDoesNotFit) {
  wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
  EXPECT_EQ(_snwprintf(buffer, 3, L"%s", L"abcd"), -1);
  EXPECT_EQ(std::wstring(buffer, 3), L"abc");
  EXPECT_EQ(_snwprintf(buffer, 4, L"%s", L"abcd"), 4);  // fits exactly, unterminated
  EXPECT_EQ(swprintf_s(buffer, 4, L"%s", L"abcd"), -1);
  EXPECT_EQ(buffer[0], L'\0');
  EXPECT_EQ(_scwprintf(L"%s-%d", L"abc", 12345), 9);
}

TEST(WideCompare, IgnoresCase) {
  EXPECT_EQ(_wcsicmp(L"InProcServer32", L"INPROCSERVER32"), 0);
  EXPECT_LT(_wcsicmp(L"abc", L"ABD"), 0);
  EXPECT_GT(_wcsicmp(L"abcd", L"ABC"), 0);
  EXPECT_EQ(_wcsnicmp(L"abcX", L"ABCY", 3), 0);
}

TEST(WideNumbers, SixtyFourBitTextConversionsReportOverflowThroughErrno) {
  struct Case {
    const wchar_t* text;
    int64_t value;
    int error;
  };
  const Case cases[] = {
      {L"05", 5, 0},
      {L"  -42", -42, 0},
      {L"9223372036854775807", INT64_MAX, 0},
      {L"-9223372036854775808", INT64_MIN, 0},
      {L"9223372036854775808", INT64_MAX, ERANGE},
      {L"-99999999999999999999", INT64_MIN, ERANGE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    ASSERT_EQ(_set_errno(0), 0);
    wchar_t* end = nullptr;
    EXPECT_EQ(_wcstoi64(c.text, &end, 10), c.value);
    int error = -1;
    ASSERT_EQ(_get_errno(&error), 0);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(*end, L'\0');
  }
  _set_errno(0);
  EXPECT_EQ(_wcstoui64(L"-1", nullptr, 10), UINT64_MAX) << "a leading minus negates";
  EXPECT_EQ(_wcstoui64(L"18446744073709551616", nullptr, 10), UINT64_MAX);
  int error = 0;
  _get_errno(&error);
  EXPECT_EQ(error, ERANGE);
  EXPECT_EQ(_get_errno(nullptr), EINVAL);
}

TEST(WideNumbers, SixtyFourBitIntegersToText) {
  wchar_t buffer[70];
  EXPECT_STREQ(_i64tow(INT64_MIN, buffer, 10), L"-9223372036854775808");
  EXPECT_STREQ(_i64tow(1235, buffer, 10), L"1235");
  EXPECT_STREQ(_i64tow(-1, buffer, 16), L"ffffffffffffffff");
  EXPECT_STREQ(_ui64tow(UINT64_MAX, buffer, 10), L"18446744073709551615");
  EXPECT_STREQ(_ui64tow(0, buffer, 2), L"0");
}

#if !defined(_WIN32)
// The locale scripts/setup generates, whose decimal point is ','. The names are the host C
// library's, and the toolchain's import library has no _wcstod_l: Linux only.
TEST(WideLocale, TheLocaleFormsUseTheirLocaleWhateverTheCurrentOneIs) {
  _locale_t classic = _create_locale(LC_NUMERIC, "C");
  ASSERT_NE(classic, nullptr);
  _locale_t comma = _create_locale(LC_NUMERIC, "de_DE.UTF-8");
  ASSERT_NE(comma, nullptr) << "scripts/setup generates de_DE.UTF-8";
  EXPECT_EQ(_create_locale(LC_NUMERIC, "xx_NOWHERE"), nullptr);
  EXPECT_EQ(_create_locale(12345, "C"), nullptr);
  struct NumericLocale {
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
  } restore;
  for (const char* current : {"C", "de_DE.UTF-8"}) {
    SCOPED_TRACE(current);
    ASSERT_NE(std::setlocale(LC_NUMERIC, current), nullptr);
    wchar_t* end = nullptr;
    const wchar_t text[] = L"2.5,75";
    EXPECT_EQ(_wcstod_l(text, &end, classic), 2.5);
    EXPECT_EQ(end, text + 3);
    EXPECT_EQ(_wcstod_l(L"2,75", nullptr, comma), 2.75);
    wchar_t buffer[16];
    EXPECT_EQ(_swprintf_s_l(buffer, 16, L"%0.2f|%s", classic, 1.5, L"x"), 6);
    EXPECT_EQ(std::wstring(buffer), L"1.50|x");
    EXPECT_EQ(_swprintf_s_l(buffer, 16, L"%0.1f", comma, 1.5), 3);
    EXPECT_EQ(std::wstring(buffer), L"1,5");
    EXPECT_EQ(_swprintf_s_l(buffer, 3, L"%0.2f", classic, 1.5), -1);
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(_scwprintf_l(L"%0.3f", classic, 1.0), 5);
  }
  EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the current locale is left alone";
  _free_locale(comma);
  _free_locale(classic);
  _free_locale(nullptr);
}
#endif
