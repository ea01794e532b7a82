#include "crtwide.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(Format(L"%0.6e", 3.4028235e38), L"3.402823e+38");
  EXPECT_EQ(Format(L"$%x %%", 255), L"$ff %");
  EXPECT_EQ(Format(L"%s%d%c", L"a", 1, L'b'), L"a1b");
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
