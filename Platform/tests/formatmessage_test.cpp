// FormatMessageW, and the kernel's other small services it stands on: the last error, local and
// global memory, MulDiv.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Result {
  DWORD length;
  DWORD error;
  std::wstring text;
};

Result FromString(const wchar_t* text, const std::vector<DWORD_PTR>& args, DWORD flags = 0) {
  wchar_t buffer[512];
  SetLastError(0);
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | flags, text, 0, 0, buffer, 512,
      args.empty() ? nullptr : reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(args.data())));
  return {length, GetLastError(), length ? std::wstring(buffer, length) : std::wstring()};
}

std::wstring FromList(const wchar_t* text, ...) {
  va_list args;
  va_start(args, text);
  wchar_t buffer[256];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_STRING, text, 0, 0, buffer, 256, &args);
  va_end(args);
  return length ? std::wstring(buffer, length) : L"<failed " + std::to_wstring(GetLastError()) + L">";
}

Result FromSystem(DWORD id, DWORD language = 0, DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS) {
  wchar_t buffer[512];
  SetLastError(0);
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | flags, nullptr, id, language, buffer, 512, nullptr);
  return {length, GetLastError(), length ? std::wstring(buffer, length) : std::wstring()};
}

DWORD_PTR Text(const wchar_t* text) {
  return reinterpret_cast<DWORD_PTR>(text);
}

TEST(FormatMessage, InsertsTakeTheirArgumentsWithThePrintfSpecification) {
  struct Case {
    const wchar_t* format;
    std::vector<DWORD_PTR> args;
    std::wstring expected;
  } cases[] = {
      {L"%1 and %2", {Text(L"a"), Text(L"b")}, L"a and b"},
      {L"%2 before %1", {Text(L"a"), Text(L"b")}, L"b before a"},
      {L"[%1!s!]", {Text(L"wide")}, L"[wide]"},
      {L"[%1!5s!]", {Text(L"ab")}, L"[   ab]"},
      {L"%1!X!", {0xBEEF}, L"BEEF"},
      {L"%1!08X!", {0xBEEF}, L"0000BEEF"},
      {L"%1!d!", {static_cast<DWORD_PTR>(-5)}, L"-5"},
      {L"%1!d!", {static_cast<DWORD>(-5)}, L"-5"},
      {L"%1!lu!", {0xFFFFFFFFu}, L"4294967295"},
      {L"%1!u!", {static_cast<DWORD_PTR>(0x100000002ull)}, L"2"},
      {L"%1!I64d!", {static_cast<DWORD_PTR>(-1234567890123ll)}, L"-1234567890123"},
      {L"%1!*d!", {4, 7}, L"   7"},
      {L"%1!c!%2!c!", {L'o', L'k'}, L"ok"},
      {L"%1!S!", {reinterpret_cast<DWORD_PTR>("narrow")}, L"narrow"},
      {L"%1%1", {Text(L"x")}, L"xx"},
      {L"%10|%1",
       {Text(L"1"), Text(L"2"), Text(L"3"), Text(L"4"), Text(L"5"), Text(L"6"), Text(L"7"), Text(L"8"),
        Text(L"9"), Text(L"ten")},
       L"ten|1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.format)));
    const Result r = FromString(c.format, c.args);
    EXPECT_EQ(r.text, c.expected) << "error " << r.error;
    EXPECT_EQ(r.length, c.expected.size());
  }
}

TEST(FormatMessage, EscapesStandForTheirCharacters) {
  struct Case {
    const wchar_t* format;
    std::wstring expected;
  } cases[] = {
      {L"100%% done%.", L"100% done."},
      {L"a%nb", L"a\r\nb"},
      {L"a%0b", L"a"},
      {L"%!x%!", L"!x!"},
      {L"a% b", L"a b"},
      {L"t%tx%r", L"t\tx\r"},
      {L"a\r\nb\nc\rd", L"a\r\nb\r\nc\r\nd"},
      {L"a\n\rb", L"a\r\n\r\nb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.format)));
    EXPECT_EQ(FromString(c.format, {}).text, c.expected);
  }
}

TEST(FormatMessage, AVaListIsReadInArgumentOrderWhateverTheOrderOfTheInserts) {
  EXPECT_EQ(FromList(L"%1!d! %2!s! %3!c!", 7, L"x", L'z'), L"7 x z");
  EXPECT_EQ(FromList(L"%2!s! then %1!d!", 3, L"y"), L"y then 3");
  EXPECT_EQ(FromList(L"%1!I64u!/%2!d!", 18446744073709551615ull, -1), L"18446744073709551615/-1");
}

TEST(FormatMessage, IgnoredInsertsAreCopiedUnchanged) {
  // Only %0, %n, %r and %t still act; every other escape is copied as it stands too.
  struct Case {
    const wchar_t* format;
    std::wstring expected;
  } cases[] = {
      {L"%1!d! of %2 is 50%%", L"%1!d! of %2 is 50%%"},
      {L"test%1%2!*.*s!%99", L"test%1%2!*.*s!%99"},
      {L"%%% %.%!", L"%%% %.%!"},
      {L"%n%r%t", L"\r\n\r\t"},
      {L"test%0test", L"test"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.format)));
    EXPECT_EQ(FromString(c.format, {}, FORMAT_MESSAGE_IGNORE_INSERTS).text, c.expected);
  }
}

TEST(FormatMessage, AFloatingPointInsertIsNotWritten) {
  // The platform takes no floating-point conversion in an insert: whatever it answers, the
  // number is not there.
  double value = 3.14159;
  DWORD_PTR bits;
  std::memcpy(&bits, &value, sizeof bits);
  EXPECT_EQ(FromString(L"%1!0.2f!", {bits}).text.find(L"3.14"), std::wstring::npos);
}

TEST(FormatMessage, BadInsertsAndMissingArgumentsAreInvalidParameters) {
  for (const wchar_t* format : {L"%1", L"%1!d", L"end%"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(format)));
    const std::vector<DWORD_PTR> args = {1};
    const Result r = FromString(format, std::wstring(format) == L"%1" ? std::vector<DWORD_PTR>{} : args);
    EXPECT_EQ(r.length, 0u);
    EXPECT_EQ(r.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST(FormatMessage, TheBufferMustHoldTheTextAndItsTerminator) {
  wchar_t buffer[8];
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING, L"abcdefgh", 0, 0, buffer, 8, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING, L"abcdefg", 0, 0, buffer, 8, nullptr), 7u);
  EXPECT_EQ(std::wstring(buffer), L"abcdefg");
}

TEST(FormatMessage, AnAllocatedBufferComesFromLocalAlloc) {
  LPWSTR text = nullptr;
  const DWORD_PTR args[] = {Text(L"world")};
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      L"hello %1", 0, 0, reinterpret_cast<LPWSTR>(&text), 0,
      reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(args)));
  ASSERT_EQ(length, 11u);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(text), L"hello world");
  EXPECT_GE(LocalSize(text), 12 * sizeof(WCHAR));
  EXPECT_EQ(LocalFree(text), nullptr);
}

TEST(FormatMessage, TheWidthTurnsTheTextsLineBreaksIntoSpacesAndWraps) {
  const Result system =
      FromSystem(ERROR_FILE_NOT_FOUND, 0, FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK);
  EXPECT_EQ(system.text, L"The system cannot find the file specified. ");
  EXPECT_EQ(FromString(L"a\r\nb%nc", {}, FORMAT_MESSAGE_MAX_WIDTH_MASK).text, L"a b\r\nc");
  EXPECT_EQ(FromString(L"aaa bbb ccc ddd", {}, 8).text, L"aaa bbb\r\nccc ddd");
  EXPECT_EQ(FromString(L"abcdefghij", {}, 4).text, L"abcd\r\nefgh\r\nij");
}

TEST(FormatMessage, SystemTextsDescribeTheCommonErrors) {
  struct Case {
    DWORD id;
    const wchar_t* text;
  } cases[] = {
      {ERROR_SUCCESS, L"The operation succeeded.\r\n"},
      {ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified.\r\n"},
      {ERROR_PATH_NOT_FOUND, L"The system cannot find the folder path specified.\r\n"},
      {ERROR_ACCESS_DENIED, L"Access was denied.\r\n"},
      {static_cast<DWORD>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)),
       L"The system cannot find the file specified.\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("message " + std::to_string(c.id));
    for (DWORD language : {0x0u, 0x400u}) {
      const Result r = FromSystem(c.id, language);
      EXPECT_EQ(r.text, c.text) << "error " << r.error;
    }
  }
  // Every text the table has is a sentence followed by a line break.
  for (DWORD id : {0u,   2u,   3u,   5u,   6u,    8u,    13u,   87u,   120u,  122u,        126u,
                   127u, 234u, 259u, 317u, 1114u, 1812u, 1813u, 1814u, 1815u, 0x80004005u, 0x80004001u}) {
    SCOPED_TRACE("message " + std::to_string(id));
    const std::wstring text = FromSystem(id).text;
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 3), L".\r\n");
  }
}

TEST(FormatMessage, UnknownMessagesLanguagesAndModuleTablesFailWithTheirErrors) {
  struct Case {
    DWORD flags;
    DWORD id;
    DWORD language;
    DWORD error;
  } cases[] = {
      {FORMAT_MESSAGE_FROM_SYSTEM, 0x12345, 0, ERROR_MR_MID_NOT_FOUND},
      // A language the system has no texts in (which languages it has depends on the machine).
      {FORMAT_MESSAGE_FROM_SYSTEM, ERROR_FILE_NOT_FOUND, 0x481, ERROR_RESOURCE_LANG_NOT_FOUND},
      {0, 1, 0, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("flags " + std::to_string(c.flags) + ", message " + std::to_string(c.id));
    wchar_t buffer[64];
    SetLastError(0);
    EXPECT_EQ(FormatMessageW(c.flags | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, c.id, c.language, buffer, 64,
                             nullptr),
              0u);
    EXPECT_EQ(GetLastError(), c.error);
  }
  // The program's own image has no message table: a resource error, which one depending on
  // whether the image has resources at all.
  wchar_t buffer[64];
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 1, 0, buffer,
                           64, nullptr),
            0u);
  EXPECT_TRUE(GetLastError() == ERROR_RESOURCE_TYPE_NOT_FOUND ||
              GetLastError() == ERROR_RESOURCE_DATA_NOT_FOUND)
      << GetLastError();
  const Result r =
      FromSystem(ERROR_FILE_NOT_FOUND, 0, FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_HMODULE);
  EXPECT_EQ(r.text, FromSystem(ERROR_FILE_NOT_FOUND).text) << "the system after the module";
}

// ---------------------------------------------------------------------------------------------

TEST(LastError, EachThreadHasItsOwn) {
  // Any platform call may set the last error when it succeeds, so each thread reads its own
  // back with nothing but the flags between: both have set theirs before either reads.
  std::atomic<int> set{0};
  std::atomic<int> read{0};
  DWORD seenInThread = 0;
  std::thread other([&] {
    SetLastError(ERROR_FILE_NOT_FOUND);
    set.fetch_add(1);
    while (set.load() < 2) {
    }
    seenInThread = GetLastError();
    read.fetch_add(1);
  });
  SetLastError(ERROR_ACCESS_DENIED);
  set.fetch_add(1);
  while (set.load() < 2) {
  }
  const DWORD seenHere = GetLastError();
  read.fetch_add(1);
  other.join();
  EXPECT_EQ(seenHere, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(seenInThread, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(GlobalMemory, AMoveableBlockIsReachedThroughItsLockCount) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 10);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 10u);
  auto* bytes = static_cast<BYTE*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_NE(static_cast<void*>(bytes), block) << "a moveable block's handle is not its address";
  for (int i = 0; i < 10; ++i) EXPECT_EQ(bytes[i], 0) << "byte " << i;
  EXPECT_EQ(GlobalLock(block), bytes);
  EXPECT_TRUE(GlobalUnlock(block)) << "still locked once";
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, AFixedBlocksHandleIsItsAddress) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_GE(GlobalSize(block), 16u) << "a block may be larger than asked";
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

#if !defined(_WIN32)
// What the platform leaves undefined (a pointer it never handed out, a second free), the
// stand-in refuses rather than corrupting its heap.
TEST(GlobalMemory, TheStandInRefusesStrangers) {
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalFree(block), nullptr);

  int stranger = 0;
  SetLastError(0);
  EXPECT_EQ(GlobalFree(&stranger), &stranger);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalFree(block), block) << "a second free";
  EXPECT_EQ(GlobalLock(&stranger), nullptr);
}
#endif

TEST(MulDiv, RoundsHalfAwayFromZeroWithA64BitIntermediate) {
  struct Case {
    int number, numerator, denominator, expected;
  } cases[] = {
      {10, 3, 2, 15},       {5, 1, 2, 3},        {-5, 1, 2, -3},   {5, -1, 2, -3},
      {5, 1, -2, -3},       {-5, -1, 2, 3},      {7, 1, 3, 2},     {-7, 1, 3, -2},
      {8, 1, 3, 3},         {-8, 1, 3, -3},      {12, 96, 72, 16}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {-1, 1, 1, -1},       {1, 2, 0, -1},       {0, 0, 0, -1},    {INT_MAX, 2, 1, -1},
      {INT_MIN, -1, 1, -1}, {INT_MIN, 2, 1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("MulDiv(" + std::to_string(c.number) + ", " + std::to_string(c.numerator) + ", " +
                 std::to_string(c.denominator) + ")");
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected);
  }
}

// -1 is kept for an overflow: a result of exactly INT_MIN fits in 32 bits and is returned.
TEST(MulDiv, AResultOfExactlyIntMinIsReturned) {
  EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
  EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, INT_MIN), INT_MIN);
}

}  // namespace
