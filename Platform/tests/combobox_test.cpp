// The drop-down list of a combo box in a modeless dialog: opening, choosing with the mouse or
// the keys, committing with Return and abandoning with Escape or the loss of the focus, as
// the owner sees it in its notifications, and the list's width.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dlgtemplate.h"
#include "platform/testing_windows.h"
#include "windows.h"

namespace pw = platform::windows;
using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;

namespace {

constexpr int kCombo = 40;
constexpr int kEdit = 41;

// Each WM_COMMAND the dialog receives, as "name" or "name*" when the list was open at the time.
std::vector<std::string> gSeen;

std::string Name(WORD code) {
  switch (code) {
    case CBN_SELCHANGE:
      return "SELCHANGE";
    case CBN_SETFOCUS:
      return "SETFOCUS";
    case CBN_KILLFOCUS:
      return "KILLFOCUS";
    case CBN_DROPDOWN:
      return "DROPDOWN";
    case CBN_CLOSEUP:
      return "CLOSEUP";
    case CBN_SELENDOK:
      return "SELENDOK";
    case CBN_SELENDCANCEL:
      return "SELENDCANCEL";
    default:
      return std::to_string(code);
  }
}

INT_PTR CALLBACK RecordingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == IDCANCEL) {
    gSeen.push_back("IDCANCEL");
  } else if (LOWORD(wParam) == kCombo) {
    const bool open = SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETDROPPEDSTATE, 0, 0) != 0;
    gSeen.push_back(Name(HIWORD(wParam)) + (open ? "*" : ""));
  }
  return TRUE;
}

class ComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowsAtStart_ = pw::LiveWindowCount();
    DialogTemplate t;
    t.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    t.cx = 200;
    t.cy = 100;
    t.pointSize = 8;
    t.typeface = L"Probe Sans";
    auto item = [&](int id, WORD cls, DWORD style) {
      DialogItem i;
      i.id = static_cast<DWORD>(id);
      i.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | style;
      i.x = 10;
      i.y = static_cast<short>(10 + 20 * t.items.size());
      i.cx = 60;
      i.cy = 12;
      i.windowClass = NameOrOrdinal::Ordinal(cls);
      t.items.push_back(i);
    };
    item(kCombo, 0x0085, CBS_DROPDOWNLIST);
    item(kEdit, 0x0081, 0);
    std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplateEx(t);
    dialog_ = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr,
                                         RecordingDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    combo_ = GetDlgItem(dialog_, kCombo);
    for (const wchar_t* text : {L"Off", L"Low", L"High"})
      SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(combo_, CB_SETCURSEL, 0, 0);
    pw::FocusControl(GetDlgItem(dialog_, kEdit));
    gSeen.clear();
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    pw::PumpMessages();
    EXPECT_EQ(pw::LiveWindowCount(), windowsAtStart_) << "windows left behind";
  }
  int Selection() const { return static_cast<int>(SendMessageW(combo_, CB_GETCURSEL, 0, 0)); }
  bool Open() const { return SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  // The notifications so far, and a fresh record.
  static std::vector<std::string> Take() { return std::exchange(gSeen, {}); }

  HWND dialog_ = nullptr;
  HWND combo_ = nullptr;
  size_t windowsAtStart_ = 0;
};

TEST_F(ComboBoxTest, TheMouseOpensTheListChoosesAndClosesIt) {
  ASSERT_TRUE(pw::SelectComboItem(combo_, 2));
  EXPECT_EQ(Selection(), 2);
  EXPECT_FALSE(Open());
  EXPECT_EQ(Take(),
            (std::vector<std::string>{"SETFOCUS", "DROPDOWN*", "SELCHANGE*", "SELENDOK*", "CLOSEUP"}));
}

TEST_F(ComboBoxTest, ReturnCommitsAndEscapeAbandonsTheOpenListWithoutReachingTheDialog) {
  struct Case {
    const char* name;
    int closeKey;
    std::string end;
  } cases[] = {
      {"Return", VK_RETURN, "SELENDOK*"},
      {"Escape", VK_ESCAPE, "SELENDCANCEL*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SendMessageW(combo_, CB_SETCURSEL, 0, 0);
    pw::FocusControl(GetDlgItem(dialog_, kEdit));
    Take();
    ASSERT_TRUE(pw::ChooseComboItemByKeys(combo_, 2, c.closeKey));
    EXPECT_EQ(Take(), (std::vector<std::string>{"SETFOCUS", "DROPDOWN*", "SELCHANGE*", "SELCHANGE*", c.end,
                                                "CLOSEUP"}));
    EXPECT_FALSE(Open());
    EXPECT_EQ(Selection(), 2) << "the list does not put the selection back itself";
  }
  // With the list closed, Escape is the dialog's again.
  pw::PressKey(combo_, VK_ESCAPE);
  pw::PumpMessages();
  EXPECT_EQ(Take(), std::vector<std::string>{"IDCANCEL"});
}

TEST_F(ComboBoxTest, LosingTheFocusAbandonsTheOpenList) {
  pw::FocusControl(combo_);
  SendMessageW(combo_, CB_SHOWDROPDOWN, TRUE, 0);
  Take();
  pw::FocusControl(GetDlgItem(dialog_, kEdit));
  EXPECT_FALSE(Open());
  EXPECT_EQ(Take(), (std::vector<std::string>{"SELENDCANCEL*", "CLOSEUP", "KILLFOCUS"}));
  pw::FocusControl(combo_);
  Take();
  pw::FocusControl(GetDlgItem(dialog_, kEdit));
  EXPECT_EQ(Take(), std::vector<std::string>{"KILLFOCUS"}) << "a closed list ends nothing";
}

TEST_F(ComboBoxTest, TheListIsNeverNarrowerThanTheComboBox) {
  RECT r{};
  GetWindowRect(combo_, &r);
  const LRESULT comboWidth = r.right - r.left;
  ASSERT_GT(comboWidth, 20);
  EXPECT_EQ(SendMessageW(combo_, CB_GETDROPPEDWIDTH, 0, 0), comboWidth);
  struct Case {
    int width;
    LRESULT answer, after;
  } cases[] = {
      {static_cast<int>(comboWidth) + 40, comboWidth + 40, comboWidth + 40},
      {10, comboWidth, comboWidth},
      {-1, CB_ERR, comboWidth},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(SendMessageW(combo_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(c.width), 0), c.answer);
    EXPECT_EQ(SendMessageW(combo_, CB_GETDROPPEDWIDTH, 0, 0), c.after);
  }
}

}  // namespace
