#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Bstr, NullCountsAsEmptyString) {
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  SysFreeString(nullptr);  // allowed, does nothing
}

TEST(Bstr, LengthsCountCharactersAndBytesWithoutTheTerminator) {
  struct Case {
    const wchar_t* name;
    BSTR bstr;
    UINT characters;
  };
  const Case cases[] = {
      {L"empty text", SysAllocString(L""), 0},
      {L"plain text", SysAllocString(L"Flow"), 4},
      {L"embedded NUL", SysAllocStringLen(L"a\0b", 3), 3},
      {L"zeroed by length", SysAllocStringLen(nullptr, 5), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + std::wcslen(c.name)));
    ASSERT_NE(c.bstr, nullptr);
    EXPECT_EQ(SysStringLen(c.bstr), c.characters);
    EXPECT_EQ(SysStringByteLen(c.bstr), c.characters * sizeof(OLECHAR));
    EXPECT_EQ(c.bstr[c.characters], L'\0') << "terminated after its length";
    SysFreeString(c.bstr);
  }
}

TEST(Bstr, EmbeddedNulIsKept) {
  BSTR bstr = SysAllocStringLen(L"a\0b", 3);
  EXPECT_EQ(std::wstring(bstr, SysStringLen(bstr)), std::wstring(L"a\0b", 3));
  SysFreeString(bstr);
}

TEST(Bstr, ByteLengthNeedNotBeAWholeNumberOfCharacters) {
  BSTR bstr = SysAllocStringByteLen("abcde", 5);
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringByteLen(bstr), 5u);
  EXPECT_EQ(SysStringLen(bstr), 5u / sizeof(OLECHAR));
  EXPECT_EQ(std::memcmp(bstr, "abcde", 5), 0);
  SysFreeString(bstr);

  BSTR zeroed = SysAllocStringByteLen(nullptr, 3);
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(SysStringByteLen(zeroed), 3u);
  SysFreeString(zeroed);
}

TEST(Bstr, ReAllocReplacesAndMayReadFromTheOldString) {
  BSTR bstr = SysAllocString(L"measure");
  ASSERT_EQ(SysReAllocString(&bstr, bstr + 2), TRUE);  // a part of the string it replaces
  EXPECT_STREQ(bstr, L"asure");
  EXPECT_EQ(SysStringLen(bstr), 5u);
  ASSERT_EQ(SysReAllocStringLen(&bstr, L"xy\0z", 4), TRUE);
  EXPECT_EQ(SysStringLen(bstr), 4u);
  SysFreeString(bstr);
  EXPECT_EQ(SysReAllocString(nullptr, L"x"), FALSE);
}

}  // namespace

namespace {

TEST(Bstr, ReAllocToALongerLengthFromTheOldStringKeepsItsText) {
  // The platform copies len characters from psz: what follows the old text is not defined, only
  // the old text, the length and the terminator are.
  constexpr UINT kLong = 1000000;
  BSTR bstr = SysAllocString(L"measure");
  ASSERT_EQ(SysReAllocStringLen(&bstr, bstr, kLong), TRUE);
  ASSERT_EQ(SysStringLen(bstr), kLong);
  EXPECT_EQ(std::wstring(bstr, 7), L"measure");
  EXPECT_EQ(bstr[kLong], L'\0');

  // From inside the old text: its characters up to its end.
  BSTR part = SysAllocString(L"flow");
  ASSERT_EQ(SysReAllocStringLen(&part, part + 2, 5), TRUE);
  ASSERT_EQ(SysStringLen(part), 5u);
  EXPECT_EQ(std::wstring(part, 2), L"ow");
  EXPECT_EQ(part[5], L'\0');
  SysFreeString(part);
  SysFreeString(bstr);
}

}  // namespace
