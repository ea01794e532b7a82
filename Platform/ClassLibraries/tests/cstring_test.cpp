#include <windows.h>

#include <afx.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The string's text for printing and comparing (embedded terminators included).
std::wstring Text(const CString& s) {
  return std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()));
}

// Runs an operation that must throw the class library's memory exception; deletes it.
template <class Operation>
bool ThrowsMemoryException(Operation operation) {
  try {
    operation();
  } catch (CMemoryException* e) {
    e->Delete();
    return true;
  }
  return false;
}

class CStringTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::mfc::FailNextAllocations(0); }
};

}  // namespace

TEST_F(CStringTest, ConstructionTakesEachSourceAndANullTextIsEmpty) {
  const wchar_t* nothing = nullptr;
  const wchar_t withTerminator[] = {L'a', L'\0', L'b'};
  struct Case {
    const char* name;
    CString value;
    std::wstring expected;
  } cases[] = {
      {"default", CString(), L""},
      {"null wide text", CString(nothing), L""},
      {"wide text", CString(L"abc"), L"abc"},
      {"narrow UTF-8 text", CString("gr\xC3\xBC\xC3\x9F"), L"gr\u00FC\u00DF"},
      {"repeated character", CString(L'x', 3), L"xxx"},
      {"zero repeats", CString(L'x', 0), L""},
      {"text and length", CString(L"abcdef", 4), L"abcd"},
      {"length keeps an inner terminator", CString(withTerminator, 3), std::wstring(withTerminator, 3)},
      {"null text with a length", CString(nothing, 5), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Text(c.value), c.expected);
    EXPECT_EQ(c.value.GetLength(), static_cast<int>(c.expected.size()));
    EXPECT_EQ(c.value.IsEmpty(), c.expected.empty());
  }
}

TEST_F(CStringTest, CopiesAreIndependentAndAMovedFromStringIsEmpty) {
  CString original(L"original text");
  CString copy(original);
  copy.SetAt(0, L'O');
  EXPECT_EQ(Text(original), L"original text");
  EXPECT_EQ(Text(copy), L"Original text");

  CString moved(std::move(copy));
  EXPECT_EQ(Text(moved), L"Original text");
  EXPECT_TRUE(copy.IsEmpty()) << "moved-from: " << testing::PrintToString(Text(copy));

  CString assigned;
  assigned = original;
  const auto& itself = assigned;
  assigned = itself;  // self-assignment keeps the text
  EXPECT_EQ(Text(assigned), L"original text");
  assigned = L'c';
  EXPECT_EQ(Text(assigned), L"c");
  assigned = static_cast<const wchar_t*>(nullptr);
  EXPECT_TRUE(assigned.IsEmpty());
}

TEST_F(CStringTest, AppendingItselfAndConcatenationKeepBothParts) {
  CString s(L"abcdefgh");
  s += s;
  EXPECT_EQ(Text(s), L"abcdefghabcdefgh");
  s = L"ab";
  s += L'c';
  s += static_cast<const wchar_t*>(nullptr);
  EXPECT_EQ(Text(s), L"abc");
  EXPECT_EQ(Text(s + L"d"), L"abcd");
  EXPECT_EQ(Text(L"z" + s), L"zabc");
  EXPECT_EQ(Text(s + s), L"abcabc");
  EXPECT_EQ(Text(L'<' + s + L'>'), L"<abc>");
}

TEST_F(CStringTest, ComparisonsAreCaseSensitiveAndCompareNoCaseIsNot) {
  const CString abc(L"abc");
  EXPECT_TRUE(abc == L"abc");
  EXPECT_TRUE(L"abc" == abc);
  EXPECT_TRUE(abc != L"ABC");
  EXPECT_TRUE(abc == CString(L"abc"));
  EXPECT_TRUE(abc < CString(L"abd"));
  EXPECT_TRUE(CString(L"ABC") < abc);
  EXPECT_TRUE(abc > L"ab");
  EXPECT_TRUE(abc <= L"abc");
  EXPECT_GT(abc.Compare(L"ABC"), 0);
  EXPECT_EQ(abc.CompareNoCase(L"ABC"), 0);
  EXPECT_LT(abc.CompareNoCase(L"ABD"), 0);
  EXPECT_GT(abc.Compare(nullptr), 0) << "a null text compares as empty";
  EXPECT_EQ(CString().Compare(nullptr), 0);
}

TEST_F(CStringTest, PartsClampCountsAndPositionsToTheString) {
  const CString s(L"abcdef");
  struct Case {
    const char* name;
    CString part;
    const wchar_t* expected;
  } cases[] = {
      {"Left(2)", s.Left(2), L"ab"},
      {"Left(-1)", s.Left(-1), L""},
      {"Left(99)", s.Left(99), L"abcdef"},
      {"Mid(2)", s.Mid(2), L"cdef"},
      {"Mid(6)", s.Mid(6), L""},
      {"Mid(99)", s.Mid(99), L""},
      {"Mid(-3)", s.Mid(-3), L"abcdef"},
      {"Mid(1,2)", s.Mid(1, 2), L"bc"},
      {"Mid(4,99)", s.Mid(4, 99), L"ef"},
      {"Mid(1,-1)", s.Mid(1, -1), L""},
      {"Mid(-2,3)", s.Mid(-2, 3), L"abc"},
      {"Right(2)", s.Right(2), L"ef"},
      {"Right(99)", s.Right(99), L"abcdef"},
      {"Right(-1)", s.Right(-1), L""},
      {"SpanIncluding(cba)", s.SpanIncluding(L"cba"), L"abc"},
      {"SpanIncluding(x)", s.SpanIncluding(L"x"), L""},
      {"SpanExcluding(dx)", s.SpanExcluding(L"dx"), L"abc"},
      {"SpanExcluding(xyz)", s.SpanExcluding(L"xyz"), L"abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Text(c.part), c.expected);
  }
}

TEST_F(CStringTest, FindAndReverseFindGivePositionsOrMinusOne) {
  const CString s(L"a\\b\\c.txt");
  struct Case {
    const char* name;
    int found;
    int expected;
  } cases[] = {
      {"Find char", s.Find(L'\\'), 1},
      {"Find char from a start", s.Find(L'\\', 2), 3},
      {"Find char absent", s.Find(L'z'), -1},
      {"Find char from the end", s.Find(L'a', 9), -1},
      {"Find char from beyond the end", s.Find(L'a', 99), -1},
      {"Find char from a negative start", s.Find(L'a', -4), 0},
      {"Find text", s.Find(L".txt"), 5},
      {"Find text from after it", s.Find(L"b", 3), -1},
      {"Find empty text is found at the start", s.Find(L"", 4), 4},
      {"Find null text", s.Find(static_cast<const wchar_t*>(nullptr)), -1},
      {"Find text from beyond the end", s.Find(L"a", 10), -1},
      {"ReverseFind", s.ReverseFind(L'\\'), 3},
      {"ReverseFind absent", s.ReverseFind(L'/'), -1},
      {"ReverseFind in an empty string", CString().ReverseFind(L'a'), -1},
      {"FindOneOf", s.FindOneOf(L".c"), 4},
      {"FindOneOf none", s.FindOneOf(L"qrs"), -1},
      {"FindOneOf empty set", s.FindOneOf(L""), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.found, c.expected);
  }
}

TEST_F(CStringTest, TrimRemovesWhiteSpaceACharacterOrASetFromTheChosenEnds) {
  enum Form { kBoth, kLeft, kRight };
  struct Case {
    const wchar_t* text;
    Form form;
    int what;  // 0 white space, 1 the character 'x', 2 the set "xy"
    const wchar_t* expected;
  } cases[] = {
      {L" \t a b \r\n", kBoth, 0, L"a b"},
      {L" \t a b \r\n", kLeft, 0, L"a b \r\n"},
      {L" \t a b \r\n", kRight, 0, L" \t a b"},
      {L"   ", kBoth, 0, L""},
      {L"", kBoth, 0, L""},
      {L"xxaxbxx", kBoth, 1, L"axb"},
      {L"xxaxbxx", kLeft, 1, L"axbxx"},
      {L"xxaxbxx", kRight, 1, L"xxaxb"},
      {L"xyyxaxy", kBoth, 2, L"a"},
      {L"xyyxaxy", kLeft, 2, L"axy"},
      {L"xyyxaxy", kRight, 2, L"xyyxa"},
      {L"xyyx", kBoth, 2, L""},
      {L" xa ", kBoth, 2, L" xa "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.text)) << " form " << c.form
                                    << " what " << c.what);
    CString s(c.text);
    CString& result = [&]() -> CString& {
      switch (c.form * 3 + c.what) {
        case 0:
          return s.Trim();
        case 1:
          return s.Trim(L'x');
        case 2:
          return s.Trim(L"xy");
        case 3:
          return s.TrimLeft();
        case 4:
          return s.TrimLeft(L'x');
        case 5:
          return s.TrimLeft(L"xy");
        case 6:
          return s.TrimRight();
        case 7:
          return s.TrimRight(L'x');
        default:
          return s.TrimRight(L"xy");
      }
    }();
    EXPECT_EQ(&result, &s);
    EXPECT_EQ(Text(s), c.expected);
  }
}

TEST_F(CStringTest, TokenizeSkipsDelimiterRunsAndEndsWithMinusOne) {
  struct Case {
    const wchar_t* text;
    const wchar_t* delimiters;
    std::vector<std::wstring> tokens;
  } cases[] = {
      {L"a,b;c", L",;", {L"a", L"b", L"c"}},
      {L",,a,,b,,", L",", {L"a", L"b"}},
      {L"word", L",", {L"word"}},
      {L",,,", L",", {}},
      {L"", L",", {}},
      {L"rest of it", L"", {L"rest of it"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    const CString s(c.text);
    std::vector<std::wstring> tokens;
    int position = 0;
    for (int guard = 0; guard < 10; ++guard) {
      CString token = s.Tokenize(c.delimiters, position);
      if (position == -1) {
        EXPECT_TRUE(token.IsEmpty()) << "the end gives an empty token, got "
                                     << testing::PrintToString(Text(token));
        break;
      }
      tokens.push_back(Text(token));
    }
    EXPECT_EQ(position, -1);
    EXPECT_EQ(tokens, c.tokens);
  }
}

TEST_F(CStringTest, ReplaceAndRemoveReturnHowManyWereReplaced) {
  struct Case {
    const wchar_t* text;
    const wchar_t* from;
    const wchar_t* to;
    int count;
    const wchar_t* expected;
  } cases[] = {
      {L"a.b.c", L".", L"\\", 2, L"a\\b\\c"},
      {L"aaaa", L"aa", L"b", 2, L"bb"},
      {L"aaa", L"aa", L"aaaa", 1, L"aaaaa"},
      {L"abc", L"x", L"y", 0, L"abc"},
      {L"abc", L"", L"y", 0, L"abc"},
      {L"abcb", L"b", nullptr, 2, L"ac"},
      {L"ab", L"ab", L"a long replacement", 1, L"a long replacement"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    CString s(c.text);
    EXPECT_EQ(s.Replace(c.from, c.to), c.count);
    EXPECT_EQ(Text(s), c.expected);
  }

  CString s(L"banana");
  EXPECT_EQ(s.Replace(L'a', L'o'), 3);
  EXPECT_EQ(Text(s), L"bonono");
  EXPECT_EQ(s.Replace(L'o', L'o'), 0);
  EXPECT_EQ(s.Remove(L'o'), 3);
  EXPECT_EQ(Text(s), L"bnn");
  EXPECT_EQ(s.Remove(L'z'), 0);
}

TEST_F(CStringTest, InsertAndDeleteClampAndReturnTheNewLength) {
  struct Case {
    const char* name;
    int (*edit)(CString&);
    int length;
    const wchar_t* expected;
  } cases[] = {
      {"Insert text", [](CString& s) { return s.Insert(1, L"XY"); }, 6, L"aXYbcd"},
      {"Insert char at the end", [](CString& s) { return s.Insert(4, L'!'); }, 5, L"abcd!"},
      {"Insert beyond the end appends", [](CString& s) { return s.Insert(99, L'!'); }, 5, L"abcd!"},
      {"Insert before the start prepends", [](CString& s) { return s.Insert(-5, L"<"); }, 5, L"<abcd"},
      {"Delete one", [](CString& s) { return s.Delete(1); }, 3, L"acd"},
      {"Delete a run", [](CString& s) { return s.Delete(1, 2); }, 2, L"ad"},
      {"Delete past the end", [](CString& s) { return s.Delete(2, 99); }, 2, L"ab"},
      {"Delete from beyond the end", [](CString& s) { return s.Delete(9, 1); }, 4, L"abcd"},
      {"Delete a negative count", [](CString& s) { return s.Delete(1, -1); }, 4, L"abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CString s(L"abcd");
    EXPECT_EQ(c.edit(s), c.length);
    EXPECT_EQ(Text(s), c.expected);
  }
}

TEST_F(CStringTest, CaseAndOrderChangesWorkInPlace) {
  CString s(L"Mixed Case 1");
  EXPECT_EQ(Text(s.MakeUpper()), L"MIXED CASE 1");
  EXPECT_EQ(Text(s.MakeLower()), L"mixed case 1");
  EXPECT_EQ(Text(s.MakeReverse()), L"1 esac dexim");
  s.Truncate(3);
  EXPECT_EQ(Text(s), L"1 e");
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
}

TEST_F(CStringTest, FormatUsesThePlatformMeaningOfPercentS) {
  CString s;
  s.Format(L"%s=%d [%08X]", L"wide", -12, 0xBEEFu);
  EXPECT_EQ(Text(s), L"wide=-12 [0000BEEF]");

  const CString name(L"CorvaneView");
  s.Format(L"%s.dll", name);  // a CString argument passes its text
  EXPECT_EQ(Text(s), L"CorvaneView.dll");

  s.AppendFormat(L" (%c%hs)", L'v', "1");
  EXPECT_EQ(Text(s), L"CorvaneView.dll (v1)");

  s.Format(L"no arguments");
  EXPECT_EQ(Text(s), L"no arguments");
  s.Format(L"%s", L"");
  EXPECT_TRUE(s.IsEmpty()) << testing::PrintToString(Text(s));
}

TEST_F(CStringTest, FormatGivesTheWholeTextAtAnyLengthWithArgumentsAfterALongOne) {
  for (size_t length : {0u, 1u, 254u, 255u, 256u, 257u, 1000u, 5000u}) {
    SCOPED_TRACE(length);
    const std::wstring filler(length, L'x');
    CString s;
    s.Format(L"%s|%d|%s", filler.c_str(), 42, L"end");
    EXPECT_EQ(Text(s), filler + L"|42|end");
    s.AppendFormat(L"%s%d", filler.c_str(), 7);
    EXPECT_EQ(Text(s), filler + L"|42|end" + filler + L"7");
  }
}

TEST_F(CStringTest, FormatMessageFillsNumberedInserts) {
  CString s;
  s.FormatMessage(L"%2!s! before %1!s!, %3!d! times", L"first", L"second", 3);
  EXPECT_EQ(Text(s), L"second before first, 3 times");

  const CString value(L"42");
  s.FormatMessage(L"value %1", value);
  EXPECT_EQ(Text(s), L"value 42");
}

TEST_F(CStringTest, BufferAccessTakesTheLengthAtRelease) {
  CString s(L"abc");
  wchar_t* buffer = s.GetBuffer(10);
  EXPECT_EQ(std::wstring(buffer), L"abc");
  wcscpy(buffer, L"0123456789");
  s.ReleaseBuffer();
  EXPECT_EQ(Text(s), L"0123456789");

  buffer = s.GetBuffer(2);  // smaller than the text: the text stays
  buffer[4] = L'\0';
  s.ReleaseBuffer();
  EXPECT_EQ(Text(s), L"0123");

  buffer = s.GetBufferSetLength(2);
  EXPECT_EQ(s.GetLength(), 2);
  buffer[0] = L'x';
  s.ReleaseBufferSetLength(1);
  EXPECT_EQ(Text(s), L"x");

  buffer = s.GetBuffer(5);
  wcscpy(buffer, L"hello");
  s.ReleaseBuffer(3);
  EXPECT_EQ(Text(s), L"hel");
  EXPECT_EQ(std::wstring(s.LockBuffer()), L"hel");
  s.UnlockBuffer();
}

TEST_F(CStringTest, SysStringsCarryTheWholeText) {
  const CString s(L"bstr text");
  BSTR b = s.AllocSysString();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SysStringLen(b), 9u);
  EXPECT_EQ(std::wstring(b), L"bstr text");

  const CString other(L"next");
  EXPECT_EQ(other.SetSysString(&b), b);
  EXPECT_EQ(std::wstring(b), L"next");
  SysFreeString(b);

  BSTR empty = CString().AllocSysString();
  ASSERT_NE(empty, nullptr) << "an empty CString gives an empty BSTR, not null";
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

TEST_F(CStringTest, AnOutOfMemoryThrowsTheMemoryExceptionAndKeepsTheString) {
  const CString source(L"a text longer than the inline storage");
  CString target(L"kept");

  platform::mfc::FailNextAllocations(1);
  EXPECT_TRUE(ThrowsMemoryException([&] { CString copy(source); }));
  EXPECT_FALSE(ThrowsMemoryException([&] { CString copy(source); })) << "only the next allocation fails";

  struct Case {
    const char* name;
    void (*operation)(CString& target, const CString& source);
  } cases[] = {
      {"assignment", [](CString& t, const CString& s) { t = s; }},
      {"append", [](CString& t, const CString& s) { t += s; }},
      {"insert", [](CString& t, const CString& s) { t.Insert(0, s); }},
      {"replace", [](CString& t, const CString& s) { t.Replace(L"kept", s); }},
      {"format", [](CString& t, const CString& s) { t.Format(L"%s", s); }},
      {"buffer", [](CString& t, const CString&) { t.GetBuffer(100); }},
      {"BSTR", [](CString& t, const CString&) { SysFreeString(t.AllocSysString()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::mfc::FailNextAllocations(1);
    EXPECT_TRUE(ThrowsMemoryException([&] { c.operation(target, source); }));
    EXPECT_EQ(Text(target), L"kept");
  }
  platform::mfc::FailNextAllocations(0);
}

TEST_F(CStringTest, TheAllocationHookCanLetSomeAllocationsThroughFirst) {
  const CString source(L"a text longer than the inline storage");
  platform::mfc::FailNextAllocations(1, 2);
  CString first(source), second(source);
  EXPECT_EQ(Text(second), Text(source));
  EXPECT_TRUE(ThrowsMemoryException([&] { CString third(source); }));
  EXPECT_FALSE(ThrowsMemoryException([&] { CString fourth(source); }));
}
