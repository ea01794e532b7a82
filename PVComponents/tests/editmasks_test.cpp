// The edit masks judged against a real edit window's text and selection, and the validating
// edit driven as a user types and pastes.
#include <windows.h>

#include <afxwin.h>
#include <platform/testing_windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditMask.h"
#include "HostSession.h"
#include "PVInputErrors.h"
#include "ValidateEdit.h"

namespace pw = platform::windows;
using pvtest::Hr;

namespace {

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

class EditMasks : public ::testing::Test {
 protected:
  void SetUp() override {
    m_edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP | WS_VISIBLE, 0, 0, 80, 20, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(m_edit, nullptr);
  }
  void TearDown() override { DestroyWindow(m_edit); }

  HRESULT Judge(const IEditMask& mask, const wchar_t* text, int start, int end, wchar_t c, DWORD flags) {
    SetWindowTextW(m_edit, text);
    SendMessageW(m_edit, EM_SETSEL, start, end);
    return mask.CheckChar(CWnd::FromHandle(m_edit), c, flags);
  }

  HWND m_edit = nullptr;
};

TEST_F(EditMasks, EachKeystrokeIsJudgedByTheTextItsSelectionAndTheSignFlags) {
  constexpr DWORD both = PV_SIGN_PLUS_ALLOWED | PV_SIGN_MINUS_ALLOWED;
  struct Case {
    const wchar_t* text;
    int start, end;
    wchar_t c;
    DWORD flags;
    bool integer;
    HRESULT expected;
  };
  const Case cases[] = {
      {L"12", 0, 0, L'-', PV_SIGN_MINUS_ALLOWED, false, S_OK},
      {L"12", 0, 0, L'-', PV_SIGN_PLUS_ALLOWED, false, PV_E_MINUS_NOT_ALLOWED},
      {L"12", 1, 1, L'-', both, false, PV_E_SIGN_NOT_FIRST},
      {L"12", 0, 0, L'+', PV_SIGN_MINUS_ALLOWED, false, PV_E_PLUS_NOT_ALLOWED},
      {L"-12", 0, 0, L'-', both, false, PV_E_SIGN_NOT_FIRST},
      {L"-12", 0, 1, L'-', both, false, S_OK},
      {L"-12", 0, 0, L'5', both, false, PV_E_INVALID_CHARACTER},
      {L"-12", 1, 1, L'5', both, false, S_OK},
      {L"-12", 0, 1, L'5', both, false, S_OK},
      {L"1.5", 3, 3, L'.', both, false, PV_E_DECIMAL_POINT_NOT_ALLOWED},
      {L"1.5", 1, 2, L'.', both, false, S_OK},
      {L"-15", 0, 0, L'.', both, false, PV_E_DECIMAL_POINT_NOT_ALLOWED},
      {L"-15", 2, 2, L'.', both, false, S_OK},
      {L"+15", 0, 0, L'.', both, false, PV_E_DECIMAL_POINT_NOT_ALLOWED},
      {L"+15", 2, 2, L'.', both, false, S_OK},
      {L"15", 1, 1, L'.', both, false, S_OK},
      {L"15", 1, 1, L'.', both, true, PV_E_INVALID_CHARACTER},
      {L"15", 1, 1, L'x', both, false, PV_E_INVALID_CHARACTER},
      {L"-1.5", 0, 0, 8, 0, false, S_OK},
      {L"", 0, 0, 8, 0, true, S_OK},
      {L"7", 1, 1, L'3', 0, true, S_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(std::wstring(c.text)) << " [" << c.start << ","
                                    << c.end << ") '" << static_cast<char>(c.c) << "' flags " << c.flags
                                    << (c.integer ? " integer" : " decimal"));
    const IEditMask& mask =
        c.integer ? static_cast<const IEditMask&>(*GetEditIntegerMask()) : *GetEditFloatMask();
    EXPECT_EQ(Hr(c.expected), Hr(Judge(mask, c.text, c.start, c.end, c.c, c.flags)));
  }
}

TEST_F(EditMasks, APastedTextMustBeANumberOnItsOwnAndHonourTheSignFlags) {
  struct Case {
    const wchar_t* whole;
    const wchar_t* inserted;
    DWORD flags;
    HRESULT expected;
    const wchar_t* insertedAfter;
  };
  const Case cases[] = {
      {L" 7 ", L" 7 ", 0, S_OK, L"7"},
      {L"-5", L"-5", PV_SIGN_PLUS_ALLOWED, PV_E_MINUS_NOT_ALLOWED, L"-5"},
      {L"+5", L"+5", PV_SIGN_MINUS_ALLOWED, PV_E_PLUS_NOT_ALLOWED, L"+5"},
      {L"-5", L"-", PV_SIGN_MINUS_ALLOWED, PV_E_NO_DIGIT, L"-"},
      {L"1.5", L".", 0, PV_E_NO_DIGIT, L"."},
      {L"1x", L"x", 0, PV_E_INVALID_CHARACTER, L"x"},
      {L"1 2", L" 2", 0, S_OK, L"2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.whole)));
    CString inserted = c.inserted;
    EXPECT_EQ(Hr(c.expected), Hr(GetEditFloatMask()->CheckText(c.whole, inserted, c.flags)));
    EXPECT_EQ(Text(inserted), c.insertedAfter);
  }
}

TEST(EditMaskConversion, ConvertedTextsLoseTheirLeadingZeros) {
  pvtest::HostSession host;
  CString text = L"007";
  bool changed = false;
  EXPECT_EQ(Hr(S_OK), Hr(GetEditIntegerMask()->ConvertText(text, &changed, nullptr, 0)));
  EXPECT_TRUE(changed);
  EXPECT_EQ(Text(text), L"7");
  text = L"0.5";
  EXPECT_EQ(Hr(S_OK), Hr(GetEditFloatMask()->ConvertText(text, &changed, nullptr, 0)));
  EXPECT_EQ(Text(text), L".5");
  text = L"1.5";
  EXPECT_EQ(Hr(PV_E_INVALID_INTEGER), Hr(GetEditIntegerMask()->ConvertText(text, &changed, nullptr, 0)));
  EXPECT_FALSE(changed);
}

// A decimal field that allows both signs, as the device's validated edits use it.
class CNumberEdit : public CValidateEdit {
 public:
  int textChanges = 0;
  int textJudgements = 0;
  int charJudgements = 0;

 protected:
  HRESULT ValidateText(CString& resultingText, CString& insertedText) override {
    ++textJudgements;
    return GetEditFloatMask()->CheckText(resultingText, insertedText,
                                         PV_SIGN_PLUS_ALLOWED | PV_SIGN_MINUS_ALLOWED);
  }
  HRESULT ValidateChar(wchar_t character) override {
    ++charJudgements;
    return GetEditFloatMask()->CheckChar(this, character, PV_SIGN_PLUS_ALLOWED | PV_SIGN_MINUS_ALLOWED);
  }
  void OnValidChar(UINT, UINT, UINT) override { Default(); }
  void OnTextChanged() override { ++textChanges; }
};

class ValidatingEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    pw::ClearRecorders();
    pw::ResetClipboard();
    pw::ReleaseAllKeys();
    ASSERT_TRUE(
        m_parent.CreateEx(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &m_parent, 9001));
  }
  void TearDown() override {
    m_edit.DestroyWindow();
    m_parent.DestroyWindow();
    pw::ReleaseAllKeys();
  }
  std::wstring EditText() { return pw::TextOf(m_edit.m_hWnd); }

  // What a plain edit with the same text, selection and style makes of the message: the
  // default handling the validating edit leaves it to.
  std::wstring PlainEditResult(UINT message, WPARAM wParam) {
    int start = 0, end = 0;
    m_edit.GetSel(start, end);
    HWND plain = CreateWindowExW(0, L"Edit", EditText().c_str(), WS_CHILD | (m_edit.GetStyle() & ES_READONLY),
                                 0, 0, 80, 20, m_parent.m_hWnd, nullptr, nullptr, nullptr);
    SendMessageW(plain, EM_SETSEL, start, end);
    SendMessageW(plain, message, wParam, 0);
    const std::wstring text = pw::TextOf(plain);
    DestroyWindow(plain);
    return text;
  }

  CWnd m_parent;
  CNumberEdit m_edit;
};

TEST_F(ValidatingEdit, ARefusedCharacterIsDroppedSilently) {
  pw::TypeText(m_edit.m_hWnd, L"1x2.5.-");
  EXPECT_EQ(EditText(), L"12.5");
  EXPECT_TRUE(pw::MessageBeeps().empty());
  EXPECT_GT(m_edit.textChanges, 0) << "EN_UPDATE reported through reflection";
}

TEST_F(ValidatingEdit, ARefusedPasteBeepsAndLeavesTheText) {
  pw::TypeText(m_edit.m_hWnd, L"12");
  ASSERT_TRUE(pw::PutClipboardText(L"abc"));
  pw::Paste(m_edit.m_hWnd);
  EXPECT_EQ(EditText(), L"12");
  EXPECT_EQ(pw::MessageBeeps(), std::vector<UINT>{0});
}

TEST_F(ValidatingEdit, AnAcceptedPasteReplacesTheSelectionWithTheTrimmedText) {
  pw::TypeText(m_edit.m_hWnd, L"1299");
  m_edit.SetSel(2, 4);
  ASSERT_TRUE(pw::PutClipboardText(L" 34 "));
  pw::Paste(m_edit.m_hWnd);
  EXPECT_EQ(EditText(), L"1234");
  EXPECT_TRUE(pw::MessageBeeps().empty());
}

TEST_F(ValidatingEdit, CtrlASelectsEverythingAndOtherControlKeysGoToTheEdit) {
  pw::TypeText(m_edit.m_hWnd, L"-1.5");
  pw::SetKeyDown(VK_CONTROL, true);
  m_edit.SendMessage(WM_CHAR, 1, 0);
  int start = -1, end = -1;
  m_edit.GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 4);
  EXPECT_EQ(EditText(), L"-1.5");
}

// A paste the edit cannot judge (the clipboard held by another program or without text, a
// read-only or disabled edit) goes to the edit's own handling: nothing is judged, nothing
// beeps, and the clipboard is not left open.
TEST_F(ValidatingEdit, APasteThatCannotBeJudgedIsLeftToTheEditsOwnHandling) {
  const struct {
    const char* name;
    bool busy;
    const wchar_t* clipboard;  // null: no text on it
    bool readOnly;
    bool enabled;
  } cases[] = {
      {"clipboard held by another program", true, L"34", false, true},
      {"no text on the clipboard", false, nullptr, false, true},
      {"read-only", false, L"abc", true, true},
      {"disabled", false, L"abc", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    pw::ResetClipboard();
    m_edit.SetWindowText(L"12");
    m_edit.SetSel(2, 2);
    m_edit.SetReadOnly(c.readOnly);
    m_edit.EnableWindow(c.enabled);
    if (c.clipboard) {
      ASSERT_TRUE(pw::PutClipboardText(c.clipboard));
    }
    pw::SetClipboardBusy(c.busy);
    m_edit.textJudgements = 0;
    const std::wstring expected = PlainEditResult(WM_PASTE, 0);
    EXPECT_EQ(m_edit.SendMessage(WM_PASTE), 0);
    EXPECT_EQ(EditText(), expected);
    if (c.busy || !c.clipboard || c.readOnly) {
      EXPECT_EQ(EditText(), L"12");
    }
    EXPECT_EQ(m_edit.textJudgements, 0);
    EXPECT_TRUE(pw::MessageBeeps().empty());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "the clipboard is not left open";
    m_edit.SetReadOnly(FALSE);
    m_edit.EnableWindow(TRUE);
  }
  // An enabled edit and a free clipboard: the paste is judged and goes through.
  m_edit.SetWindowText(L"12");
  m_edit.SetSel(2, 2);
  pw::SetClipboardBusy(false);
  ASSERT_TRUE(pw::PutClipboardText(L"34"));
  m_edit.SendMessage(WM_PASTE);
  EXPECT_EQ(EditText(), L"1234");
}

TEST_F(ValidatingEdit, WhenAnotherWindowHoldsTheClipboardOpenThenThePasteReadsItAndLeavesItOpen) {
  pw::TypeText(m_edit.m_hWnd, L"12");
  ASSERT_TRUE(pw::PutClipboardText(L"34"));
  ASSERT_TRUE(OpenClipboard(m_parent.m_hWnd));
  m_edit.SendMessage(WM_PASTE);
  EXPECT_EQ(EditText(), L"1234");
  EXPECT_EQ(GetOpenClipboardWindow(), m_parent.m_hWnd);
  CloseClipboard();
}

// With Alt down (and Ctrl up) and with Ctrl down, every character but Ctrl+A goes to the edit's
// own handling unjudged; Ctrl+V then arrives as WM_PASTE and that paste is judged.
TEST_F(ValidatingEdit, AltAndControlKeysGoToTheEditsOwnHandlingUnjudged) {
  const struct {
    const char* name;
    bool control;
    bool alt;
    wchar_t character;
  } cases[] = {
      {"Alt+x", false, true, L'x'},       {"Alt+5", false, true, L'5'},  {"Ctrl+C", true, false, 0x03},
      {"Ctrl+X", true, false, 0x18},      {"Ctrl+Z", true, false, 0x1A}, {"Ctrl+Alt+X", true, true, 0x18},
      {"Ctrl+Backspace", true, false, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    pw::ReleaseAllKeys();
    pw::ResetClipboard();
    m_edit.SetWindowText(L"-1.5");
    m_edit.SetSel(1, 2);
    const std::wstring expected = PlainEditResult(WM_CHAR, c.character);
    const std::wstring expectedClipboard = pw::ClipboardText();
    pw::ResetClipboard();
    pw::SetKeyDown(VK_CONTROL, c.control);
    pw::SetKeyDown(VK_MENU, c.alt);
    m_edit.charJudgements = 0;
    m_edit.SendMessage(WM_CHAR, c.character, 0);
    EXPECT_EQ(EditText(), expected);
    EXPECT_EQ(pw::ClipboardText(), expectedClipboard);
    EXPECT_EQ(m_edit.charJudgements, 0);
  }
  // Ctrl+V: the edit's handling sends WM_PASTE, and that paste is judged.
  m_edit.SetWindowText(L"-1.5");
  pw::ReleaseAllKeys();
  pw::SetKeyDown(VK_CONTROL, true);
  ASSERT_TRUE(pw::PutClipboardText(L"abc"));
  m_edit.textJudgements = 0;
  m_edit.SendMessage(WM_CHAR, 0x16, 0);
  EXPECT_EQ(m_edit.textJudgements, 1);
  EXPECT_EQ(EditText(), L"-1.5");
  EXPECT_EQ(pw::MessageBeeps(), std::vector<UINT>{0});
}

TEST_F(ValidatingEdit, TheTextChangeIsReportedOnlyWhenTheTextDiffersFromTheLastReported) {
  pw::TypeText(m_edit.m_hWnd, L"1");
  EXPECT_EQ(m_edit.textChanges, 1);
  m_edit.SetWindowText(L"1");         // EN_UPDATE with the same text
  pw::TypeText(m_edit.m_hWnd, L"x");  // refused: no change
  EXPECT_EQ(m_edit.textChanges, 1);
  m_edit.SetWindowText(L"2");
  EXPECT_EQ(m_edit.textChanges, 2);
  m_edit.SetWindowText(L"1");  // differs from the last reported, though typed before
  EXPECT_EQ(m_edit.textChanges, 3);
}

}  // namespace
