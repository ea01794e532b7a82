// The synthetic font engine, text measurement and layout, device contexts and objects.
#include <gtest/gtest.h>

#include "fixtures/windows/message_recorder.h"
#include "platform/testing_windows.h"
#include "windows.h"

using windows_test::Narrow;

namespace {

class GdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    objectsAtStart_ = platform::gdi::LiveObjectCount();
    dc_ = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(dc_, nullptr);
  }
  void TearDown() override {
    EXPECT_TRUE(DeleteDC(dc_));
    for (HFONT font : fonts_) EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(platform::gdi::LiveObjectCount(), objectsAtStart_) << "objects left behind";
  }
  HFONT Font(LONG height, LONG weight = FW_NORMAL) {
    HFONT font =
        CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Any Face");
    EXPECT_NE(font, nullptr);
    fonts_.push_back(font);
    SelectObject(dc_, font);
    return font;
  }
  SIZE Extent(const wchar_t* text) {
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32W(dc_, text, static_cast<int>(wcslen(text)), &size));
    return size;
  }

  HDC dc_ = nullptr;
  std::vector<HFONT> fonts_;
  size_t objectsAtStart_ = 0;
};

TEST_F(GdiTest, TextMetricsFollowTheOneRuleFromTheHeight) {
  struct Case {
    LONG height, weight;
    LONG tmHeight, internal, external, average, maximum;
  } cases[] = {
      {-11, FW_NORMAL, 13, 2, 1, 5, 7},   // 8 points
      {-13, FW_NORMAL, 16, 3, 1, 6, 9},   // 10 points
      {-16, FW_NORMAL, 19, 3, 2, 7, 11},  // 12 points
      {0, FW_NORMAL, 13, 2, 1, 5, 7},     // the default height
      {13, FW_NORMAL, 13, 2, 1, 5, 7},    // a cell height: the largest em that fits
      {16, FW_NORMAL, 16, 3, 1, 6, 9},   {-11, FW_BOLD, 13, 2, 1, 6, 8},  // bold adds 1 to each width
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "height " << c.height << " weight " << c.weight);
    Font(c.height, c.weight);
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(dc_, &tm));
    EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmInternalLeading, tm.tmExternalLeading, tm.tmAveCharWidth,
                                 tm.tmMaxCharWidth}),
              (std::vector<LONG>{c.tmHeight, c.internal, c.external, c.average, c.maximum}));
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  }
}

TEST_F(GdiTest, TextExtentSumsTheCharacterWidthsByClass) {
  HFONT font = Font(-11);
  struct Case {
    const wchar_t* text;
    LONG width;
  } cases[] = {
      {L"", 0},      {L"i", 2}, {L"x", 5}, {L"M", 7}, {L"Flow rate", 38},  // F5 l2 o5 w7 space2 r5 a5 t2 e5
      {L"12.5", 17},  // digits are ordinary, the point narrow
      {L"a\tb", 10},  // a tab measures nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.text));
    SIZE size = Extent(c.text);
    EXPECT_EQ(size.cx, c.width);
    EXPECT_EQ(size.cy, 13);
  }
  EXPECT_EQ(platform::gdi::CharacterWidth(font, L'W'), 7);
  SIZE size;
  EXPECT_TRUE(GetTextExtentPoint32W(dc_, L"Flow", 2, &size));
  EXPECT_EQ(size.cx, 7) << "only the count given";
  EXPECT_FALSE(GetTextExtentPoint32W(dc_, nullptr, 1, &size));
  EXPECT_FALSE(GetTextExtentPoint32W(nullptr, L"x", 1, &size));
}

TEST_F(GdiTest, DrawTextCalcRectWrapsAtWordsAndBreaksOverlongWords) {
  Font(-11);
  const UINT wrap = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX;
  struct Case {
    const char* name;
    const wchar_t* text;
    LONG width;  // of the rectangle given
    UINT format;
    LONG right, height;
  } cases[] = {
      {"fits on one line", L"aaa bbb", 100, wrap, 32, 13},
      {"wraps before the word that passes the edge", L"aaa bbb ccc", 40, wrap, 32, 26},
      {"trailing spaces do not count", L"aaa    bbb", 17, wrap, 15, 26},
      {"an overlong word breaks between characters", L"aaaa", 10, wrap, 10, 26},
      {"line breaks start new lines", L"one\r\ntwo\nthree", 200, wrap, 22, 39},
      {"a single line ignores line breaks", L"ab\ncd", 5, DT_CALCRECT | DT_SINGLELINE, 20, 13},
      {"without word breaks a line stays whole", L"aaa bbb ccc", 10, DT_CALCRECT, 49, 13},
      {"a prefix character is hidden", L"&Flow", 200, DT_CALCRECT, 19, 13},
      {"a doubled prefix shows one", L"a&&b", 200, DT_CALCRECT, 15, 13},
      {"no-prefix keeps the character", L"&Flow", 200, DT_CALCRECT | DT_NOPREFIX, 24, 13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RECT r{10, 20, 10 + c.width, 20};
    int height = DrawTextW(dc_, c.text, -1, &r, c.format);
    EXPECT_EQ(height, c.height);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{10, 20, 10 + c.right, 20 + c.height}));
  }
  RECT r{0, 0, 100, 0};
  EXPECT_EQ(DrawTextW(dc_, L"aaa bbb", 3, &r, wrap), 13);
  EXPECT_EQ(r.right, 15) << "only the count given";
}

TEST_F(GdiTest, SelectObjectReturnsThePreviousFontStartingWithTheSystemFont) {
  HGDIOBJ system = GetStockObject(SYSTEM_FONT);
  HFONT first = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"First");
  HFONT second = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Second");
  EXPECT_EQ(SelectObject(dc_, first), system);
  EXPECT_EQ(SelectObject(dc_, second), first);
  EXPECT_EQ(SelectObject(dc_, system), second);
  EXPECT_EQ(SelectObject(dc_, reinterpret_cast<HGDIOBJ>(dc_)), nullptr) << "a context is not a font";
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_FALSE(DeleteObject(first)) << "already deleted";
  EXPECT_EQ(SelectObject(dc_, first), nullptr);
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_TRUE(DeleteObject(system)) << "a stock object is accepted";
  EXPECT_EQ(GetStockObject(SYSTEM_FONT), system);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(dc_, &tm));
  EXPECT_EQ((std::vector<LONG>{tm.tmHeight, tm.tmAveCharWidth}), (std::vector<LONG>{16, 6}));
}

TEST_F(GdiTest, GetObjectGivesTheFontsDescriptionBack) {
  LOGFONTW in{};
  in.lfHeight = -13;
  in.lfWeight = FW_BOLD;
  in.lfItalic = TRUE;
  in.lfCharSet = DEFAULT_CHARSET;
  wmemset(in.lfFaceName, L'f', LF_FACESIZE);  // not terminated: the copy ends it
  HFONT font = CreateFontIndirectW(&in);
  fonts_.push_back(font);
  EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
  LOGFONTW out{};
  ASSERT_EQ(GetObjectW(font, sizeof out, &out), static_cast<int>(sizeof out));
  EXPECT_EQ((std::vector<LONG>{out.lfHeight, out.lfWeight, out.lfItalic}),
            (std::vector<LONG>{-13, FW_BOLD, 1}));
  EXPECT_EQ(wcslen(out.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
  LONG height = 0;
  EXPECT_EQ(GetObjectW(font, sizeof height, &height), static_cast<int>(sizeof height));
  EXPECT_EQ(height, -13);
  EXPECT_EQ(GetObjectW(reinterpret_cast<HANDLE>(dc_), sizeof out, &out), 0);
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

TEST_F(GdiTest, ContextsComeFromGetDcAndCreateDcAndGoBackTheWayTheyCame) {
  windows_test::Recorder recorder;
  HWND window = recorder.Create("w", WS_POPUP, nullptr);
  HDC screen = GetDC(nullptr);
  HDC own = GetDC(window);
  ASSERT_NE(screen, nullptr);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(GetDeviceCaps(own, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
  EXPECT_FALSE(DeleteDC(own)) << "a GetDC context is released, not deleted";
  EXPECT_EQ(ReleaseDC(window, own), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
  EXPECT_EQ(ReleaseDC(nullptr, dc_), 0) << "a CreateDC context is deleted, not released";
  HDC memory = CreateCompatibleDC(dc_);
  EXPECT_NE(memory, nullptr);
  EXPECT_TRUE(DeleteDC(memory));
  DestroyWindow(window);
  EXPECT_EQ(GetDC(window), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(GdiTest, AContextKeepsItsTextColourFromBlackOn) {
  EXPECT_EQ(GetTextColor(dc_), 0u);
  EXPECT_EQ(SetTextColor(dc_, 0x00A5FF), 0u) << "the previous colour";
  EXPECT_EQ(GetTextColor(dc_), 0x00A5FFu);
  HDC other = CreateCompatibleDC(dc_);
  EXPECT_EQ(GetTextColor(other), 0u) << "each context has its own";
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_EQ(SetTextColor(other, 0xFF), CLR_INVALID);
  EXPECT_EQ(GetTextColor(other), CLR_INVALID);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), 0u);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0x00FFFFFFu);
}

TEST(MulDivTest, LayoutArithmeticRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(186, 5, 4), 233);
  EXPECT_EQ(MulDiv(95, 13, 8), 154);
  EXPECT_EQ(-MulDiv(8, 96, 72), -11);
}

}  // namespace
