// UTF-8 through MultiByteToWideChar and WideCharToMultiByte: well-formed text both ways, each
// kind of ill-formed sequence with and without the fail flag, and the argument checks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string Hex(const std::wstring& text) {
  std::string out;
  char unit[16];
  for (wchar_t c : text) {
    std::snprintf(unit, sizeof(unit), "%s%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
    out += unit;
  }
  return out;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char unit[8];
  for (char c : bytes) {
    std::snprintf(unit, sizeof(unit), "%s%02X", out.empty() ? "" : " ", static_cast<unsigned char>(c));
    out += unit;
  }
  return out;
}

// The conversion as a caller does it: the size first, then the text.
struct Decoded {
  int result;
  DWORD error;
  std::wstring text;
};
Decoded Decode(const std::string& bytes, DWORD flags) {
  SetLastError(0);
  const int size =
      MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (size == 0) return {0, GetLastError(), L""};
  std::wstring text(static_cast<size_t>(size), L'\0');
  const int written =
      MultiByteToWideChar(CP_UTF8, flags, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
  return {written, GetLastError(), text};
}

struct Encoded {
  int result;
  DWORD error;
  std::string bytes;
};
Encoded Encode(const std::wstring& text, DWORD flags) {
  SetLastError(0);
  const int size = WideCharToMultiByte(CP_UTF8, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  if (size == 0) return {0, GetLastError(), ""};
  std::string bytes(static_cast<size_t>(size), '\0');
  const int written = WideCharToMultiByte(CP_UTF8, flags, text.data(), static_cast<int>(text.size()),
                                          bytes.data(), size, nullptr, nullptr);
  return {written, GetLastError(), bytes};
}

constexpr wchar_t kReplacement = 0xFFFD;

// A code point as wide text: one unit where wchar_t has 32 bits, a surrogate pair beyond the
// basic plane where it has 16 (the platform's).
std::wstring CodePoint(char32_t c) {
  if (sizeof(wchar_t) == 4 || c <= 0xFFFF) return std::wstring(1, static_cast<wchar_t>(c));
  return {static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)),
          static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::wstring replaced;  // the result without MB_ERR_INVALID_CHARS
  bool wellFormed;
  // The platform documents that an ill-formed sequence becomes U+FFFD, not how many: where
  // implementations differ in the count, only that the text is replacements alone is checked.
  bool replacementsCounted = true;
};

const DecodeCase kDecodeCases[] = {
    {"ASCII", "abc", L"abc", true},
    {"two bytes", "\xC3\xA4", L"\u00E4", true},
    {"three bytes", "\xE2\x82\xAC", L"\u20AC", true},
    {"four bytes: one code point", "\xF0\x9F\x98\x80", CodePoint(0x1F600), true},
    {"highest code point", "\xF4\x8F\xBF\xBF", CodePoint(0x10FFFF), true},
    {"embedded terminator", std::string("a\0b", 3), std::wstring(L"a\0b", 3), true},
    {"stray continuation byte", "a\x80z", {L'a', kReplacement, L'z'}, false},
    {"overlong two-byte form", "\xC0\xAF", {kReplacement, kReplacement}, false},
    {"overlong three-byte form", "\xE0\x80\xAF", {kReplacement, kReplacement, kReplacement}, false, false},
    {"encoded surrogate", "\xED\xA0\x80", {kReplacement, kReplacement, kReplacement}, false, false},
    {"above U+10FFFF",
     "\xF4\x90\x80\x80",
     {kReplacement, kReplacement, kReplacement, kReplacement},
     false,
     false},
    {"byte that begins nothing", "\xF5x", {kReplacement, L'x'}, false},
    {"cut short at the end", "ok\xE2\x82", {L'o', L'k', kReplacement}, false},
    {"cut short by the next character",
     "\xE2\x82"
     "A",
     {kReplacement, L'A'},
     false},
    {"four-byte lead with two fitting bytes", "\xF0\x9F\x98", {kReplacement}, false},
};

TEST(MultiByteToWideChar, EachIllFormedPartIsOneReplacementOrFailsTheCallWithTheFlag) {
  for (const DecodeCase& c : kDecodeCases) {
    for (DWORD flags : {DWORD{0}, DWORD{MB_ERR_INVALID_CHARS}}) {
      SCOPED_TRACE(std::string(c.name) + (flags ? " with MB_ERR_INVALID_CHARS" : ""));
      const Decoded got = Decode(c.bytes, flags);
      if (flags && !c.wellFormed) {
        EXPECT_EQ(got.result, 0);
        EXPECT_EQ(got.error, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
        continue;
      }
      if (!c.replacementsCounted) {
        EXPECT_GT(got.result, 0);
        EXPECT_EQ(got.text.find_first_not_of(kReplacement), std::wstring::npos) << Hex(got.text);
        continue;
      }
      EXPECT_EQ(got.result, static_cast<int>(c.replaced.size()));
      EXPECT_EQ(Hex(got.text), Hex(c.replaced));
    }
  }
}

TEST(MultiByteToWideChar, MinusOneConvertsUpToAndWithTheTerminator) {
  wchar_t buffer[8] = {L'?', L'?', L'?', L'?', L'?', L'?', L'?', L'?'};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4x", -1, nullptr, 0), 3);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4x", -1, buffer, 8), 3);
  EXPECT_EQ(std::wstring(buffer), L"\u00E4x");
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "", -1, buffer, 8), 1) << "the terminator alone";
}

TEST(MultiByteToWideChar, ArgumentsAndBufferSizesAreCheckedAsThePlatformDoes) {
  wchar_t buffer[4];
  struct Case {
    const char* name;
    UINT codePage;
    DWORD flags;
    const char* text;
    int bytes;
    wchar_t* out;
    int capacity;
    DWORD error;
  };
  const Case cases[] = {
      {"a code page that does not exist", 0xDEADBEEF, 0, "abc", 3, buffer, 4, ERROR_INVALID_PARAMETER},
      {"null text", CP_UTF8, 0, nullptr, 3, buffer, 4, ERROR_INVALID_PARAMETER},
      {"no bytes", CP_UTF8, 0, "abc", 0, buffer, 4, ERROR_INVALID_PARAMETER},
      {"negative capacity", CP_UTF8, 0, "abc", 3, buffer, -1, ERROR_INVALID_PARAMETER},
      {"null buffer with a capacity", CP_UTF8, 0, "abc", 3, nullptr, 4, ERROR_INVALID_PARAMETER},
      {"too small", CP_UTF8, 0, "abcde", 5, buffer, 4, ERROR_INSUFFICIENT_BUFFER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(c.codePage, c.flags, c.text, c.bytes, c.out, c.capacity), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcd", 4, buffer, 4), 4) << "an exact fit";
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -2002, buffer, 4), 4) << "any negative count is -1";
  EXPECT_EQ(std::wstring(buffer), L"abc");
}

TEST(MultiByteToWideChar, TheTextAndTheBufferMustNotBeTheSame) {
  char same[16] = "abc";
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, same, 3, reinterpret_cast<wchar_t*>(same), 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(MultiByteToWideChar, ATextThatOnlyOverlapsTheBufferIsConverted) {
  // The text at the end of the memory the result fills from its start, as the platform's own
  // conformance tests place them.
  const char text[] = "just a test";
  alignas(wchar_t) char memory[sizeof(text) * sizeof(wchar_t)];
  char* source = memory + sizeof(memory) - sizeof(text);
  std::memcpy(source, text, sizeof(text));
  auto* wide = reinterpret_cast<wchar_t*>(memory);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, source, -1, wide, static_cast<int>(sizeof(text))),
            static_cast<int>(sizeof(text)));
  EXPECT_EQ(std::wstring(wide), L"just a test");
}

TEST(MultiByteToWideChar, Utf8TakesNoFlagButTheFailFlag) {
  wchar_t buffer[4];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0x1 /* MB_PRECOMPOSED */, "abc", 3, buffer, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

struct EncodeCase {
  const char* name;
  std::wstring text;
  std::string replaced;  // the result without WC_ERR_INVALID_CHARS
  bool wellFormed;
};

const EncodeCase kEncodeCases[] = {
    {"ASCII", L"abc", "abc", true},
    {"two and three bytes", L"\u00E4\u20AC", "\xC3\xA4\xE2\x82\xAC", true},
    {"a code point beyond the basic plane", CodePoint(0x1F600), "\xF0\x9F\x98\x80", true},
    {"a surrogate pair is one code point",
     {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)},
     "\xF0\x9F\x98\x80",
     true},
    {"lone high surrogate",
     {L'a', static_cast<wchar_t>(0xD800), L'b'},
     "a\xEF\xBF\xBD"
     "b",
     false},
    {"lone low surrogate", {static_cast<wchar_t>(0xDC00)}, "\xEF\xBF\xBD", false},
    {"high surrogate at the end", {L'a', static_cast<wchar_t>(0xDBFF)}, "a\xEF\xBF\xBD", false},
};

TEST(WideCharToMultiByte, IllFormedCharactersBecomeTheReplacementOrFailTheCallWithTheFlag) {
  std::vector<EncodeCase> cases(std::begin(kEncodeCases), std::end(kEncodeCases));
  // A unit above U+10FFFF, which only a 32-bit wchar_t can hold.
  if (sizeof(wchar_t) == 4)
    cases.push_back(
        {"above U+10FFFF", std::wstring(1, static_cast<wchar_t>(0x110000)), "\xEF\xBF\xBD", false});
  for (const EncodeCase& c : cases) {
    for (DWORD flags : {DWORD{0}, DWORD{WC_ERR_INVALID_CHARS}}) {
      SCOPED_TRACE(std::string(c.name) + (flags ? " with WC_ERR_INVALID_CHARS" : ""));
      const Encoded got = Encode(c.text, flags);
      if (flags && !c.wellFormed) {
        EXPECT_EQ(got.result, 0);
        EXPECT_EQ(got.error, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
        continue;
      }
      EXPECT_EQ(got.result, static_cast<int>(c.replaced.size()));
      EXPECT_EQ(Hex(got.bytes), Hex(c.replaced));
    }
  }
}

TEST(WideCharToMultiByte, WellFormedTextGoesBackToItselfThroughBothConversions) {
  for (const DecodeCase& c : kDecodeCases) {
    if (!c.wellFormed) continue;
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(Encode(Decode(c.bytes, MB_ERR_INVALID_CHARS).text, WC_ERR_INVALID_CHARS).bytes),
              Hex(c.bytes));
  }
}

TEST(WideCharToMultiByte, ArgumentsAndBufferSizesAreCheckedAsThePlatformDoes) {
  char buffer[4];
  struct Case {
    const char* name;
    UINT codePage;
    DWORD flags;
    const wchar_t* text;
    int characters;
    char* out;
    int capacity;
    const char* defaultChar;
    BOOL* usedDefaultChar;
    DWORD error;
  };
  const Case cases[] = {
      {"a code page that does not exist", 0xDEADBEEF, 0, L"abc", 3, buffer, 4, nullptr, nullptr,
       ERROR_INVALID_PARAMETER},
      {"null text", CP_UTF8, 0, nullptr, 3, buffer, 4, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {"no characters", CP_UTF8, 0, L"abc", 0, buffer, 4, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {"negative capacity", CP_UTF8, 0, L"abc", 3, buffer, -1, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {"null buffer with a capacity", CP_UTF8, 0, L"abc", 3, nullptr, 4, nullptr, nullptr,
       ERROR_INVALID_PARAMETER},
      {"too small", CP_UTF8, 0, L"\u20AC\u20AC", 2, buffer, 4, nullptr, nullptr, ERROR_INSUFFICIENT_BUFFER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(c.codePage, c.flags, c.text, c.characters, c.out, c.capacity, c.defaultChar,
                                  c.usedDefaultChar),
              0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00E4x", -1, nullptr, 0, nullptr, nullptr), 4)
      << "two bytes, one, and the terminator";
  char text[8];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00E4x", -1, text, 8, nullptr, nullptr), 4);
  EXPECT_STREQ(text, "\xC3\xA4x");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00E4x", -2002, text, 8, nullptr, nullptr), 4)
      << "any negative count is -1";
  EXPECT_STREQ(text, "\xC3\xA4x");
}

// A default character means nothing for UTF-8: the platform's documentation refuses both
// arguments with ERROR_INVALID_PARAMETER, and its later versions accept them and convert.
TEST(WideCharToMultiByte, Utf8RefusesADefaultCharacterOrConvertsWithoutIt) {
  char buffer[4];
  BOOL usedDefault = FALSE;
  struct Case {
    const char* name;
    const char* defaultChar;
    BOOL* usedDefaultChar;
  };
  const Case cases[] = {{"a default character", "?", nullptr},
                        {"asks whether the default was used", nullptr, &usedDefault}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, buffer, 4, c.defaultChar, c.usedDefaultChar);
    if (written == 0) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    } else {
      EXPECT_EQ(written, 3);
      EXPECT_EQ(std::string(buffer, 3), "abc");
    }
  }
}

TEST(WideCharToMultiByte, Utf8TakesNoFlagButTheFailFlag) {
  char buffer[4];
  SetLastError(0);
  EXPECT_EQ(
      WideCharToMultiByte(CP_UTF8, 0x400 /* WC_NO_BEST_FIT_CHARS */, L"abc", 3, buffer, 4, nullptr, nullptr),
      0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

}  // namespace
