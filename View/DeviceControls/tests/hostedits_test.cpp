// The device's validated host edits: the value text kept apart from the window text, the
// characters each takes, and what a disabled window shows.
#include <windows.h>

#include <afxwin.h>
#include <gtest/gtest.h>
#include <platform/testing_hresult.h>
#include <platform/testing_windows.h>

#include <string>

#include "HostEdits.h"
#include "PVInputErrors.h"

namespace {

namespace pw = platform::windows;
using ::platform::test_support::Hr;

const std::wstring kAsterisks(45, L'*');

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

template <class Edit>
class HostEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pw::ReleaseAllKeys();
    ASSERT_TRUE(
        m_parent.CreateEx(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &m_parent, 9001));
  }
  void TearDown() override {
    m_edit.DestroyWindow();
    m_parent.DestroyWindow();
  }
  std::wstring WindowText() { return pw::TextOf(m_edit.m_hWnd); }
  std::wstring ValueText(HRESULT expected = S_OK) {
    CString text = L"untouched";
    EXPECT_EQ(Hr(expected), Hr(m_edit.GetValueText(&text)));
    return Text(text);
  }

  CWnd m_parent;
  Edit m_edit;
};

using RegulatorTest = HostEditTest<CHostRegulatorReal>;
using TimeTest = HostEditTest<CHostTime>;

TEST_F(RegulatorTest, TakesDigitsMinusAndPointUpToTenCharacters) {
  EXPECT_EQ(m_edit.GetLimitText(), 10u);
  pw::TypeText(m_edit.m_hWnd, L"-1a2,.5+e 34567890");
  EXPECT_EQ(WindowText(), L"-12.534567");
  EXPECT_EQ(ValueText(), L"-12.534567") << "what is typed becomes the value";
  struct Case {
    wchar_t character;
    HRESULT result;
  };
  for (const Case& c :
       {Case{L'7', S_OK}, Case{L'-', S_OK}, Case{L'.', S_OK}, Case{L'+', PV_E_INVALID_CHARACTER},
        Case{L',', PV_E_INVALID_CHARACTER}, Case{L'e', PV_E_INVALID_CHARACTER}}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(1, c.character)));
    EXPECT_EQ(Hr(c.result), Hr(m_edit.IsValidChar(c.character)));
  }
  EXPECT_EQ(Hr(PV_E_INVALID_CHARACTER), Hr(m_edit.CheckValueText(L"1.5x")));
  EXPECT_EQ(Hr(S_OK), Hr(m_edit.CheckValueText(L"")));
}

TEST_F(RegulatorTest, ASetValueLeavesTheWindowTextToItsOwner) {
  m_edit.SetWindowText(L"shown");
  EXPECT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"2.5")));
  EXPECT_EQ(WindowText(), L"shown");
  EXPECT_EQ(ValueText(), L"2.5");
  EXPECT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"")));
  EXPECT_EQ(WindowText(), L"") << "no value, nothing shown";
  EXPECT_EQ(ValueText(), L"");
}

TEST_F(RegulatorTest, ASetValueWithALetterClearsTheValueAndEmptiesTheWindow) {
  ASSERT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"2.5")));
  m_edit.SetWindowText(L"2.5");
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(m_edit.SetValueText(L"2x5")));
  EXPECT_EQ(WindowText(), L"");
  EXPECT_EQ(ValueText(), L"");
}

TEST_F(RegulatorTest, DisabledWithoutShowWhenDisabledShowsNothingButKeepsTheValue) {
  pw::TypeText(m_edit.m_hWnd, L"4.75");
  m_edit.SetShowWhenDisabled(0);
  m_edit.EnableWindow(FALSE);
  EXPECT_EQ(WindowText(), L"");
  EXPECT_EQ(ValueText(), L"");
  m_edit.EnableWindow(TRUE);
  EXPECT_EQ(ValueText(), L"4.75") << "the value stayed stored";
  EXPECT_EQ(WindowText(), L"") << "the owner writes the window text again";
}

TEST_F(RegulatorTest, DisabledWithShowWhenDisabledKeepsWhatIsShown) {
  pw::TypeText(m_edit.m_hWnd, L"4.75");
  m_edit.EnableWindow(FALSE);
  EXPECT_EQ(WindowText(), L"4.75");
  EXPECT_EQ(ValueText(), L"4.75");
  EXPECT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"1")));
  EXPECT_EQ(ValueText(), L"1");
}

TEST_F(RegulatorTest, APasteIsJudgedOnTheTextItLeaves) {
  pw::TypeText(m_edit.m_hWnd, L"12");
  ASSERT_TRUE(pw::PutClipboardText(L"3a"));
  pw::Paste(m_edit.m_hWnd);
  EXPECT_EQ(WindowText(), L"12");
  ASSERT_TRUE(pw::PutClipboardText(L".5"));
  pw::Paste(m_edit.m_hWnd);
  EXPECT_EQ(WindowText(), L"12.5");
  pw::ResetClipboard();
}

TEST_F(TimeTest, ASetValueShowsOnlyAsterisks) {
  EXPECT_EQ(m_edit.GetLimitText(), 2u);
  EXPECT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"42")));
  EXPECT_EQ(WindowText(), kAsterisks);
  EXPECT_EQ(ValueText(), L"42");
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(m_edit.SetValueText(L"4.2")));
  EXPECT_EQ(WindowText(), L"");
  EXPECT_EQ(ValueText(), L"");
}

TEST_F(TimeTest, TypingReplacesTheHiddenValue) {
  ASSERT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"42")));
  m_edit.SetSel(0, -1);
  pw::TypeText(m_edit.m_hWnd, L"1-7");
  EXPECT_EQ(WindowText(), L"17");
  EXPECT_EQ(ValueText(), L"17");
  m_edit.SetSel(0, -1);
  m_edit.Clear();
  EXPECT_EQ(ValueText(), L"") << "an emptied enabled window has no value";
}

TEST_F(TimeTest, EnablingShowsTheAsterisksAgain) {
  ASSERT_EQ(Hr(S_OK), Hr(m_edit.SetValueText(L"05")));
  m_edit.SetShowWhenDisabled(0);
  m_edit.EnableWindow(FALSE);
  EXPECT_EQ(WindowText(), L"");
  m_edit.EnableWindow(TRUE);
  EXPECT_EQ(WindowText(), kAsterisks);
  EXPECT_EQ(ValueText(), L"05");
}

}  // namespace
