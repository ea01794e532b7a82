// The controls: edit, button, static, combo box and tooltip, each driven through its messages
// and through the user's actions, with the notifications their parent receives.
#include <gtest/gtest.h>

#include <functional>

#include "commctrl.h"
#include "fixtures/windows/message_recorder.h"
#include "fixtures/windows/probe_module.h"
#include "fixtures/windows/windows_probe_ids.h"
#include "platform/testing_windows.h"
#include "windows.h"

using namespace windows_test;
#include <algorithm>

namespace pw = platform::windows;

namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowsAtStart_ = pw::LiveWindowCount();
    host_ = recorder_.Create("host", WS_POPUP | WS_VISIBLE, nullptr, 0, {0, 0, 400, 300});
    pw::ResetClipboard();
    pw::ClearRecorders();
  }
  void TearDown() override {
    DestroyWindow(host_);
    pw::ResetClipboard();
    pw::ClearRecorders();
    EXPECT_EQ(pw::LiveWindowCount(), windowsAtStart_) << "windows left behind";
  }
  HWND Control(const wchar_t* cls, DWORD style, int id, const wchar_t* text = L"") {
    HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, 80, 20,
                                host_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr) << "error " << GetLastError();
    return hwnd;
  }
  // The parent's WM_COMMAND notifications with one of these codes, as "id,code" entries.
  std::vector<std::string> Commands(std::vector<WORD> codes) const {
    std::vector<std::string> out;
    for (const auto& entry : recorder_.seen) {
      for (WORD code : codes) {
        if (entry.ends_with("," + std::to_string(code) + ")")) out.push_back(entry.substr(entry.find('(')));
      }
    }
    return out;
  }
  static std::vector<DWORD> Selection(HWND edit) {
    DWORD start = 99, end = 99;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  Recorder recorder_;
  HWND host_ = nullptr;
  size_t windowsAtStart_ = 0;
};

TEST_F(ControlsTest, F1OnAFocusedButtonAsksItsParentForHelp) {
  HWND button = Control(L"Button", BS_DEFPUSHBUTTON, 9, L"OK");
  pw::FocusControl(button);
  recorder_.seen.clear();
  pw::PressKey(button, VK_F1);
  pw::PumpMessages();
  EXPECT_NE(std::find(recorder_.seen.begin(), recorder_.seen.end(), "host:WM_HELP"), recorder_.seen.end())
      << testing::PrintToString(recorder_.seen);
  DestroyWindow(button);
}

// ---------------------------------------------------------------------------------------
// Edit

TEST_F(ControlsTest, TheEditsDefaultCharacterAndPasteHandlingChangeTextSelectionAndNotify) {
  const std::string U = "(7," + std::to_string(EN_UPDATE) + ")";
  const std::string C = "(7," + std::to_string(EN_CHANGE) + ")";
  const std::string M = "(7," + std::to_string(EN_MAXTEXT) + ")";
  struct Case {
    const char* name;
    DWORD style;
    const wchar_t* text;
    int selStart, selEnd;
    int limit;                 // 0: the default
    const wchar_t* clipboard;  // null: the clipboard is busy
    std::function<void(HWND)> act;
    const wchar_t* result;
    std::vector<DWORD> selection;
    std::vector<std::string> notifications;
  } cases[] = {
      {"typing inserts at the caret",
       0,
       L"12",
       2,
       2,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"3"); },
       L"123",
       {3, 3},
       {U, C}},
      {"typing replaces the selection",
       0,
       L"12.5",
       0,
       -1,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"7"); },
       L"7",
       {1, 1},
       {U, C}},
      {"backspace deletes before the caret",
       0,
       L"12.5",
       2,
       2,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"\b"); },
       L"1.5",
       {1, 1},
       {U, C}},
      {"backspace deletes the selection",
       0,
       L"12.5",
       1,
       3,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"\b"); },
       L"15",
       {1, 1},
       {U, C}},
      {"backspace at the start does nothing",
       0,
       L"12",
       0,
       0,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"\b"); },
       L"12",
       {0, 0},
       {}},
      {"the limit stops typing",
       0,
       L"12",
       2,
       2,
       3,
       L"",
       [](HWND e) { pw::TypeText(e, L"34"); },
       L"123",
       {3, 3},
       {U, C, M}},
      {"read-only ignores typing",
       ES_READONLY,
       L"12",
       2,
       2,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"3\b"); },
       L"12",
       {2, 2},
       {}},
      {"control characters are not inserted",
       0,
       L"1",
       1,
       1,
       0,
       L"",
       [](HWND e) { pw::TypeText(e, L"\r\t"); },
       L"1",
       {1, 1},
       {}},
      {"paste replaces the selection up to a line break",
       0,
       L"12",
       0,
       -1,
       0,
       L"45\r\n67",
       [](HWND e) { pw::Paste(e); },
       L"45",
       {2, 2},
       {U, C}},
      {"paste respects the limit",
       0,
       L"12",
       2,
       2,
       4,
       L"3456",
       [](HWND e) { pw::Paste(e); },
       L"1234",
       {4, 4},
       {M, U, C}},
      {"paste on a busy clipboard does nothing",
       0,
       L"12",
       2,
       2,
       0,
       nullptr,
       [](HWND e) { pw::Paste(e); },
       L"12",
       {2, 2},
       {}},
      {"paste into a read-only control does nothing",
       ES_READONLY,
       L"12",
       2,
       2,
       0,
       L"9",
       [](HWND e) { pw::Paste(e); },
       L"12",
       {2, 2},
       {}},
      {"control-V pastes",
       0,
       L"",
       0,
       0,
       0,
       L"8",
       [](HWND e) { pw::TypeText(e, L"\x16"); },
       L"8",
       {1, 1},
       {U, C}},
      {"replace-selection honours the limit",
       0,
       L"ab",
       1,
       1,
       3,
       L"",
       [](HWND e) { SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XYZ")); },
       L"aXb",
       {2, 2},
       {M, U, C}},
      {"replace-selection works on a read-only control",
       ES_READONLY,
       L"ab",
       0,
       -1,
       0,
       L"",
       [](HWND e) { SendMessageW(e, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"c")); },
       L"c",
       {1, 1},
       {U, C}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = Control(L"Edit", c.style, 7, c.text);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.selStart), c.selEnd);
    if (c.limit) SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
    if (c.clipboard) {
      pw::PutClipboardText(c.clipboard);
    } else {
      pw::SetClipboardBusy(true);
    }
    recorder_.Watch({WM_COMMAND});
    c.act(edit);
    EXPECT_EQ(pw::TextOf(edit), c.result) << Narrow(pw::TextOf(edit));
    EXPECT_EQ(Selection(edit), c.selection);
    EXPECT_EQ(Commands({EN_UPDATE, EN_CHANGE, EN_MAXTEXT}), c.notifications) << Joined(recorder_.seen);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "the control closes the clipboard";
    pw::ResetClipboard();
    DestroyWindow(edit);
  }
}

TEST_F(ControlsTest, EditSelectionIsOrderedClampedAndMinusOneMeansTheEnd) {
  HWND edit = Control(L"Edit", 0, 7, L"Coriolis");
  struct Case {
    int start, end;
    std::vector<DWORD> selection;
  } cases[] = {{0, -1, {0, 8}},  {5, 2, {2, 5}},  {3, 3, {3, 3}},
               {20, 30, {8, 8}}, {-1, 0, {8, 8}}, {2, 4, {2, 4}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
    EXPECT_EQ(Selection(edit), c.selection);
  }
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(2, 4));
  EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 6) << "the unselected characters";
  EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 0, 0), 8);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(pw::ScrollCaretCount(edit), 1);
}

TEST_F(ControlsTest, SettingAnEditsTextNotifiesResetsTheSelectionAndForgetsTheUndo) {
  HWND edit = Control(L"Edit", 0, 7, L"abc");
  SendMessageW(edit, EM_SETSEL, 1, 2);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"X"));
  EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
  EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
  EXPECT_TRUE(SendMessageW(edit, EM_UNDO, 0, 0));
  EXPECT_EQ(pw::TextOf(edit), L"abc");
  recorder_.Watch({WM_COMMAND});
  SetWindowTextW(edit, L"12.5");
  EXPECT_EQ(Commands({EN_UPDATE, EN_CHANGE}),
            (std::vector<std::string>{"(7," + std::to_string(EN_UPDATE) + ")",
                                      "(7," + std::to_string(EN_CHANGE) + ")"}));
  EXPECT_EQ(Selection(edit), (std::vector<DWORD>{0, 0}));
  EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
  EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(ControlsTest, EditLimitAndReadOnlyAreSettable) {
  HWND edit = Control(L"Edit", 0, 7);
  EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 32767);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
  EXPECT_TRUE(SendMessageW(edit, EM_SETREADONLY, TRUE, 0));
  EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
  SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
  EXPECT_FALSE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
}

TEST_F(ControlsTest, CopyAndCutPutTheSelectionOnTheClipboard) {
  HWND edit = Control(L"Edit", 0, 7, L"flow rate");
  SendMessageW(edit, EM_SETSEL, 0, 4);
  SendMessageW(edit, WM_COPY, 0, 0);
  EXPECT_EQ(pw::ClipboardText(), L"flow");
  SendMessageW(edit, EM_SETSEL, 4, -1);
  SendMessageW(edit, WM_CUT, 0, 0);
  EXPECT_EQ(pw::ClipboardText(), L" rate");
  EXPECT_EQ(pw::TextOf(edit), L"flow");
}

TEST_F(ControlsTest, FocusingAnEditNotifiesItsParent) {
  HWND a = Control(L"Edit", 0, 7);
  HWND b = Control(L"Edit", 0, 8);
  recorder_.Watch({WM_COMMAND});
  pw::FocusControl(a);
  pw::FocusControl(b);
  std::vector<std::string> expected = {"(7," + std::to_string(EN_SETFOCUS) + ")",
                                       "(7," + std::to_string(EN_KILLFOCUS) + ")",
                                       "(8," + std::to_string(EN_SETFOCUS) + ")"};
  EXPECT_EQ(Commands({EN_SETFOCUS, EN_KILLFOCUS}), expected) << Joined(recorder_.seen);
  EnableWindow(a, FALSE);
  EXPECT_FALSE(pw::FocusControl(a));
  EXPECT_FALSE(pw::TypeText(a, L"1"));
}

// ---------------------------------------------------------------------------------------
// Button

TEST_F(ControlsTest, ClickingAButtonFocusesItAndSendsBnClickedUnlessItIsDisabledOrHidden) {
  HWND ok = Control(L"Button", BS_DEFPUSHBUTTON, IDOK, L"OK");
  recorder_.Watch({WM_COMMAND});
  EXPECT_TRUE(pw::ClickButton(ok));
  EXPECT_EQ(recorder_.seen, std::vector<std::string>{"host:WM_COMMAND(1,0)"}) << Joined(recorder_.seen);
  EXPECT_EQ(GetFocus(), ok);
  EXPECT_EQ(SendMessageW(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(SendMessageW(ok, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  recorder_.Watch({WM_COMMAND});
  EnableWindow(ok, FALSE);
  EXPECT_FALSE(pw::ClickButton(ok));
  EnableWindow(ok, TRUE);
  ShowWindow(host_, SW_HIDE);
  EXPECT_FALSE(pw::ClickButton(ok)) << "the parent is hidden";
  ShowWindow(host_, SW_SHOW);
  EXPECT_TRUE(recorder_.seen.empty()) << Joined(recorder_.seen);
  SendMessageW(ok, BM_CLICK, 0, 0);
  EXPECT_EQ(recorder_.seen, std::vector<std::string>{"host:WM_COMMAND(1,0)"}) << Joined(recorder_.seen);
}

TEST_F(ControlsTest, AutomaticCheckBoxesToggleAndRadioButtonsCheckOnlyOneOfTheirGroup) {
  HWND check = Control(L"Button", BS_AUTOCHECKBOX, 10, L"Check");
  HWND r1 = Control(L"Button", BS_AUTORADIOBUTTON | WS_GROUP, 11, L"A");
  HWND r2 = Control(L"Button", BS_AUTORADIOBUTTON, 12, L"B");
  HWND r3 = Control(L"Button", BS_AUTORADIOBUTTON, 13, L"C");
  HWND other = Control(L"Button", BS_AUTORADIOBUTTON | WS_GROUP, 14, L"Other group");
  pw::ClickButton(check);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  pw::ClickButton(check);
  EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
  pw::ClickButton(r1);
  pw::ClickButton(r3);
  std::vector<LRESULT> checks;
  for (HWND r : {r1, r2, r3, other}) checks.push_back(SendMessageW(r, BM_GETCHECK, 0, 0));
  EXPECT_EQ(checks, (std::vector<LRESULT>{0, 0, 1, 1}));
}

// ---------------------------------------------------------------------------------------
// Static

TEST_F(ControlsTest, AStaticKeepsItsTextFontAndStyleBits) {
  HWND label = Control(L"Static", SS_LEFT, 20, L"Density:");
  EXPECT_EQ(pw::TextOf(label), L"Density:");
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), font);
  SetWindowLongW(label, GWL_STYLE, GetWindowLongW(label, GWL_STYLE) | SS_ENDELLIPSIS);
  EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & SS_ELLIPSISMASK, static_cast<LONG>(SS_ENDELLIPSIS));
  EXPECT_EQ(pw::TextOf(label), L"Density:");
}

TEST_F(ControlsTest, AnIconStaticWithAnOrdinalTitleLoadsTheSystemIconOrStaysEmpty) {
  struct Case {
    WORD ordinal;
    bool icon;
  } cases[] = {{32513, true}, {32514, true}, {32515, true}, {32516, true}, {4711, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ordinal);
    const wchar_t title[] = {static_cast<wchar_t>(0xFFFF), static_cast<wchar_t>(c.ordinal), 0};
    HWND icon = Control(L"Static", SS_ICON, 21, title);
    ASSERT_NE(icon, nullptr) << "creation succeeds either way";
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)),
              c.icon ? LoadIconW(nullptr, MAKEINTRESOURCEW(c.ordinal)) : nullptr);
    EXPECT_EQ(pw::TextOf(icon), L"");
    DestroyWindow(icon);
  }
}

// ---------------------------------------------------------------------------------------
// Combo box

TEST_F(ControlsTest, AComboBoxKeepsItemsWithDataAndTheSelection) {
  HWND combo = Control(L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 30);
  auto add = [&](const wchar_t* text) {
    return SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  };
  EXPECT_EQ(add(L"kg/s"), 0);
  EXPECT_EQ(add(L"lb/min"), 1);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"g/s")), 0);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"t/h")),
            3);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(L"x")), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  wchar_t text[16];
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_STREQ(text, L"kg/s");
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 2, 0), 6);
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 4, 0), CB_ERR);
  EXPECT_EQ(
      SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"KG/S")), 1);
  EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"kg")),
            CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 3, 0x77), TRUE);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 3, 0), 0x77);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 7, 0), CB_ERR);

  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(pw::TextOf(combo), L"lb/min") << "a drop-down list shows its selected item";
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1) << "the selection follows its item";
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 1, 0), 2);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "deleting the selected item clears it";
  EXPECT_EQ(pw::TextOf(combo), L"");
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 5, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_RESETCONTENT, 0, 0), CB_OKAY);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ControlsTest, ASortedComboBoxAddsInOrderIgnoringCase) {
  HWND combo = Control(L"ComboBox", CBS_DROPDOWNLIST | CBS_SORT, 30);
  for (const wchar_t* text : {L"beta", L"Alpha", L"gamma", L"alpha"}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  std::vector<std::wstring> items;
  for (int i = 0; i < 4; ++i) {
    wchar_t text[16];
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  EXPECT_EQ(items, (std::vector<std::wstring>{L"Alpha", L"alpha", L"beta", L"gamma"}));
}

TEST_F(ControlsTest, OnlyTheUsersSelectionSendsCbnSelChange) {
  HWND combo = Control(L"ComboBox", CBS_DROPDOWNLIST, 30);
  for (const wchar_t* text : {L"Off", L"On"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  recorder_.Watch({WM_COMMAND});
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  EXPECT_TRUE(Commands({CBN_SELCHANGE}).empty()) << Joined(recorder_.seen);
  EXPECT_TRUE(pw::SelectComboItem(combo, 1));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
  std::vector<std::string> expected = {
      "(30," + std::to_string(CBN_SETFOCUS) + ")", "(30," + std::to_string(CBN_SELCHANGE) + ")",
      "(30," + std::to_string(CBN_SELENDOK) + ")", "(30," + std::to_string(CBN_CLOSEUP) + ")"};
  EXPECT_EQ(Commands({CBN_SETFOCUS, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}), expected)
      << Joined(recorder_.seen);
  EXPECT_FALSE(pw::SelectComboItem(combo, 2));
  EnableWindow(combo, FALSE);
  EXPECT_FALSE(pw::SelectComboItem(combo, 0));
}

// ---------------------------------------------------------------------------------------
// Tooltip

TEST_F(ControlsTest, ATooltipCopiesItsToolsTextsAndKeepsItsSettings) {
  ProbeModule module;
  HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, host_,
                             nullptr, nullptr, nullptr);
  ASSERT_NE(tip, nullptr);
  HWND edit = Control(L"Edit", 0, 7);
  wchar_t text[32] = L"Mass flow";
  TOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = host_;
  info.uId = reinterpret_cast<UINT_PTR>(edit);
  info.lpszText = text;
  EXPECT_EQ(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
  wcscpy(text, L"changed afterwards");
  TOOLINFOW small = info;
  small.cbSize = TTTOOLINFOW_V1_SIZE - 1;
  EXPECT_EQ(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&small)), FALSE);
  TOOLINFOW fromResource = info;
  fromResource.uId = 99;
  fromResource.uFlags = 0;
  fromResource.hinst = module.get();
  fromResource.lpszText = MAKEINTRESOURCEW(IDS_PROBE_TIP);
  EXPECT_EQ(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&fromResource)), TRUE);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

  pw::TooltipState state;
  ASSERT_TRUE(pw::GetTooltipState(tip, &state));
  ASSERT_EQ(state.tools.size(), 2u);
  EXPECT_EQ(state.tools[0].text, L"Mass flow") << "the text was copied";
  EXPECT_EQ(state.tools[0].flags, static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
  EXPECT_EQ(state.tools[1].text, L"Tip from the string table");

  TOOLINFOW update = info;
  update.lpszText = const_cast<LPWSTR>(L"Volume flow");
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
  wchar_t read[32] = L"";
  TOOLINFOW get = info;
  get.lpszText = read;
  SendMessageW(tip, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&get));
  EXPECT_STREQ(read, L"Volume flow");

  EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 300), -1);
  EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 200), 300);
  SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(50, 0));
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(30000, 0));
  MSG relayed{edit, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
  SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  ASSERT_TRUE(pw::GetTooltipState(tip, &state));
  EXPECT_FALSE(state.active);
  EXPECT_EQ(state.maxTipWidth, 200);
  EXPECT_EQ((std::vector<int>{state.initialDelay, state.autopopDelay, state.reshowDelay}),
            (std::vector<int>{50, 30000, 100}));
  EXPECT_EQ(state.relayedEvents, 1);
  EXPECT_EQ(state.lastRelayedMessage, static_cast<UINT>(WM_MOUSEMOVE));
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(-1, 0));
  EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000) << "-1 restores the defaults";
  EXPECT_FALSE(pw::GetTooltipState(edit, &state)) << "not a tooltip";
  DestroyWindow(tip);
}

TEST_F(ControlsTest, ASubclassToolsWindowRelaysItsMouseMessagesToTheTooltip) {
  auto makeTip = [&] {
    return CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, host_, nullptr, nullptr,
                           nullptr);
  };
  HWND tip = makeTip(), plainTip = makeTip();
  HWND edit = Control(L"Edit", 0, 7);
  TOOLINFOW onHost{};
  onHost.cbSize = sizeof onHost;
  onHost.uFlags = TTF_SUBCLASS;
  onHost.hwnd = host_;
  onHost.uId = 5;
  TOOLINFOW onEdit = onHost;
  onEdit.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
  onEdit.uId = reinterpret_cast<UINT_PTR>(edit);
  TOOLINFOW notSubclassed = onHost;
  notSubclassed.uFlags = 0;
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&onHost));
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&onEdit));
  SendMessageW(plainTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&notSubclassed));
  auto relayed = [](HWND tooltip) {
    pw::TooltipState state;
    return pw::GetTooltipState(tooltip, &state) ? state.relayedEvents : -1;
  };

  recorder_.seen.clear();
  SendMessageW(host_, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  SendMessageW(host_, WM_KEYDOWN, VK_SPACE, 0);  // not a mouse message
  SendMessageW(edit, WM_LBUTTONUP, 0, 0);        // the tool window named by TTF_IDISHWND
  EXPECT_EQ(relayed(tip), 2);
  EXPECT_EQ(relayed(plainTip), 0) << "a tool without TTF_SUBCLASS relays nothing";
  EXPECT_EQ(recorder_.seen.size(), 2u) << "the window's own procedure still sees its messages";

  SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&onHost));
  SendMessageW(host_, WM_MOUSEMOVE, 0, 0);
  SendMessageW(edit, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(relayed(tip), 3) << "the host's last subclass tool is gone, the edit's stays";

  DestroyWindow(tip);
  SendMessageW(edit, WM_MOUSEMOVE, 0, 0);  // the destroyed tooltip is not reached
  recorder_.seen.clear();
  SendMessageW(host_, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(recorder_.seen.size(), 1u);
  DestroyWindow(edit);
  DestroyWindow(plainTip);
}

}  // namespace
