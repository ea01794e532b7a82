// Dialogs: building from DLGTEMPLATEEX and DLGTEMPLATE resources, dialog units with the
// template font or the system font, WM_SETFONT before WM_INITDIALOG, the dialog procedure,
// the modal loop driven as a user would, and the dialog keyboard.
#include <gtest/gtest.h>

#include "fixtures/windows/message_recorder.h"
#include "fixtures/windows/probe_module.h"
#include "fixtures/windows/windows_probe_ids.h"
#include "platform/testing_windows.h"
#include "windows.h"

using namespace windows_test;
namespace pw = platform::windows;
using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;

namespace {

// What the dialog procedures saw.
std::vector<std::string> gDialogSaw;
// Checks made inside WM_INITDIALOG.
struct InitCheck {
  bool editExists = false;
  HFONT editFont = nullptr;
  HWND focusTarget = nullptr;
  LPARAM param = 0;
};
InitCheck gInit;
BOOL gInitResult = TRUE;
bool gDestroyInInit = false;
INT_PTR gEndInInit = 0;

std::string Entry(UINT msg, WPARAM wParam) {
  std::string entry = MessageName(msg);
  if (msg == WM_COMMAND)
    entry += "(" + std::to_string(LOWORD(wParam)) + "," + std::to_string(HIWORD(wParam)) + ")";
  return entry;
}

INT_PTR CALLBACK ProbeDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFONT:
    case WM_DESTROY:
      gDialogSaw.push_back(Entry(msg, wParam));
      return FALSE;
    case WM_INITDIALOG: {
      gDialogSaw.push_back(Entry(msg, wParam));
      HWND edit = GetDlgItem(hwnd, IDC_PROBE_EDIT);
      gInit.editExists = edit != nullptr;
      gInit.editFont = edit ? reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)) : nullptr;
      gInit.focusTarget = reinterpret_cast<HWND>(wParam);
      gInit.param = lParam;
      if (gDestroyInInit) DestroyWindow(hwnd);
      if (gEndInInit) EndDialog(hwnd, gEndInInit);
      return gInitResult;
    }
    case WM_HELP: {
      auto* info = reinterpret_cast<const HELPINFO*>(lParam);
      gDialogSaw.push_back("WM_HELP(" + std::to_string(info->iCtrlId) + "," +
                           std::to_string(info->dwContextId) + ")");
      return TRUE;
    }
    case WM_COMMAND:
      // The dialog's own commands; the controls' focus notifications are not part of the story.
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) < 100) gDialogSaw.push_back(Entry(msg, wParam));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

std::vector<LONG> Rect(HWND hwnd, bool client) {
  RECT r{};
  if (client) {
    GetClientRect(hwnd, &r);
  } else {
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  }
  return {r.left, r.top, r.right, r.bottom};
}

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowsAtStart_ = pw::LiveWindowCount();
    objectsAtStart_ = platform::gdi::LiveObjectCount();
    gDialogSaw.clear();
    gInit = {};
    gInitResult = TRUE;
    gDestroyInInit = false;
    gEndInInit = 0;
    host_ = recorder_.Create("host", WS_POPUP | WS_VISIBLE, nullptr, 0, {50, 40, 650, 440});
  }
  void TearDown() override {
    pw::SetModalIdleHook(nullptr);
    DestroyWindow(host_);
    pw::PumpMessages();
    EXPECT_EQ(pw::LiveWindowCount(), windowsAtStart_) << "windows left behind";
    EXPECT_EQ(platform::gdi::LiveObjectCount(), objectsAtStart_) << "fonts or contexts left behind";
  }
  HWND CreatePage() {
    return CreateDialogParamW(module_.get(), MAKEINTRESOURCEW(IDD_PROBE_PAGE), host_, ProbeDialogProc, 0x55);
  }

  ProbeModule module_;
  Recorder recorder_;
  HWND host_ = nullptr;
  size_t windowsAtStart_ = 0, objectsAtStart_ = 0;
};

TEST_F(DialogsTest, APageFromADialogExResourceIsAChildWithItsControlsInTemplateFontUnits) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr) << "error " << GetLastError();
  EXPECT_EQ(GetParent(page), host_);
  EXPECT_EQ(pw::ClassNameOf(page), L"#32770");
  // The 8-point template font has base units 5 x 13: 186 x 95 units are 233 x 154 pixels.
  EXPECT_EQ(Rect(page, true), (std::vector<LONG>{0, 0, 233, 154}));
  struct Control {
    int id;
    const wchar_t* className;
    std::vector<LONG> rect;  // in the page's client coordinates
    const wchar_t* text;
  } controls[] = {
      {IDC_PROBE_LABEL, L"Static", {9, 15, 72, 28}, L"Flow rate:"},
      {IDC_PROBE_EDIT, L"Edit", {75, 11, 150, 34}, L""},
      {IDC_PROBE_COMBO, L"ComboBox", {75, 41, 150, 122}, L""},
      {IDC_PROBE_CHECK, L"Button", {9, 73, 84, 89}, L"Enabled"},
      {IDC_PROBE_ICON, L"Static", {175, 65, 207, 97}, L""},  // takes the icon's 32 x 32
      {IDC_PROBE_APPLY, L"Button", {161, 11, 224, 34}, L"Apply"},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.id);
    HWND control = GetDlgItem(page, c.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(pw::ClassNameOf(control), c.className);
    EXPECT_EQ(Rect(control, false), c.rect);
    EXPECT_EQ(pw::TextOf(control), c.text);
    EXPECT_TRUE(GetWindowLongW(control, GWL_STYLE) & WS_CHILD);
  }
  EXPECT_EQ(GetWindowContextHelpId(GetDlgItem(page, IDC_PROBE_EDIT)), 5001u) << "the item's help id";
  EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageW(page, IDC_PROBE_ICON, STM_GETICON, 0, 0)),
            LoadIconW(nullptr, IDI_EXCLAMATION));
  RECT units{0, 0, 4, 8};
  ASSERT_TRUE(MapDialogRect(page, &units));
  EXPECT_EQ((std::vector<LONG>{units.right, units.bottom}), (std::vector<LONG>{5, 13}));
  EXPECT_EQ(SendMessageW(page, DM_GETDEFID, 0, 0), MAKELONG(IDC_PROBE_APPLY, DC_HASDEFID));
  EXPECT_FALSE(IsWindowVisible(page)) << "the template has no WS_VISIBLE";
  DestroyWindow(page);
}

TEST_F(DialogsTest, TheDialogGetsWmSetFontThenWmInitDialogWithItsControlsAlreadyInTheFont) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(gDialogSaw, (std::vector<std::string>{"WM_SETFONT", "WM_INITDIALOG"})) << Joined(gDialogSaw);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(gInit.editExists);
  EXPECT_EQ(gInit.editFont, font) << "controls have their WM_SETFONT before WM_INITDIALOG";
  EXPECT_EQ(gInit.param, 0x55);
  EXPECT_EQ(gInit.focusTarget, GetDlgItem(page, IDC_PROBE_EDIT)) << "the first tab stop";
  EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_PROBE_EDIT)) << "TRUE from WM_INITDIALOG focuses it";
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_STREQ(lf.lfFaceName, L"Probe Sans");
  DestroyWindow(page);
}

TEST_F(DialogsTest, AnOldFormTemplateWithoutAFontUsesTheDialogBaseUnits) {
  EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(6, 16));
  gInitResult = FALSE;
  SetFocus(host_);
  HWND page =
      CreateDialogParamW(module_.get(), MAKEINTRESOURCEW(IDD_PROBE_OLDFORM), host_, ProbeDialogProc, 0);
  ASSERT_NE(page, nullptr) << "error " << GetLastError();
  EXPECT_EQ(gDialogSaw, std::vector<std::string>{"WM_INITDIALOG"}) << "no WM_SETFONT: " << Joined(gDialogSaw);
  EXPECT_EQ(Rect(page, false), (std::vector<LONG>{15, 20, 165, 100}));
  EXPECT_EQ(Rect(GetDlgItem(page, IDC_PROBE_APPLY), false), (std::vector<LONG>{6, 40, 66, 68}));
  EXPECT_EQ(SendMessageW(page, WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(GetFocus(), host_) << "FALSE from WM_INITDIALOG leaves the focus";
  DestroyWindow(page);
}

TEST_F(DialogsTest, DialogUnitsFollowTheTemplateFontInBothForms) {
  struct Case {
    bool extended;
    WORD pointSize;      // 0: no font block
    LONG width, height;  // of 40 x 16 units
  } cases[] = {
      {true, 8, 50, 26},  {false, 8, 50, 26},  // base 5 x 13
      {true, 10, 60, 32}, {false, 0, 60, 32},  // base 6 x 16, as the system font's
      {true, 12, 70, 38},                      // base 7 x 19
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "extended " << c.extended << " points " << c.pointSize);
    DialogTemplate t;
    t.extended = c.extended;
    t.style = WS_CHILD | (c.pointSize ? DS_SETFONT : 0);
    t.cx = 40;
    t.cy = 16;
    t.pointSize = c.pointSize;
    t.typeface = L"Probe Sans";
    t.title = NameOrOrdinal::Text(L"Caption text");
    std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplate(t);
    HWND dialog = CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), host_,
                                             ProbeDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Rect(dialog, true), (std::vector<LONG>{0, 0, c.width, c.height}));
    EXPECT_EQ(pw::TextOf(dialog), L"Caption text") << "the caption is the template's title";
    DestroyWindow(dialog);
  }
}

TEST_F(DialogsTest, CreationFailsForAMalformedTemplateAMissingResourceAnUnknownClassOrADestroyingProcedure) {
  // An extended template of an unknown version (the reader has no size here, so the fault must
  // show inside the template's own bytes).
  BYTE garbage[64] = {2, 0, 0xFF, 0xFF};
  SetLastError(0);
  EXPECT_EQ(
      CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(garbage), host_, nullptr, 0),
      nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(CreateDialogParamW(module_.get(), MAKEINTRESOURCEW(IDD_PROBE_MISSING), host_, nullptr, 0),
            nullptr);

  DialogTemplate t;
  t.style = WS_CHILD;
  DialogItem item;
  item.windowClass = NameOrOrdinal::Text(L"NoSuchControl");
  t.items = {item};
  std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplate(t);
  EXPECT_EQ(
      CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), host_, nullptr, 0),
      nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));

  gDestroyInInit = true;
  EXPECT_EQ(CreatePage(), nullptr);
  // TearDown checks that none of these left a window or a font.
}

TEST_F(DialogsTest, DialogItemHelpersReadAndWriteTheControls) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(SetDlgItemTextW(page, IDC_PROBE_LABEL, L"Density:"));
  wchar_t text[32];
  EXPECT_EQ(GetDlgItemTextW(page, IDC_PROBE_LABEL, text, 32), 8u);
  EXPECT_STREQ(text, L"Density:");
  EXPECT_EQ(GetDlgItemTextW(page, 4242, text, 32), 0u);
  EXPECT_STREQ(text, L"");
  EXPECT_TRUE(CheckDlgButton(page, IDC_PROBE_CHECK, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(page, IDC_PROBE_CHECK), static_cast<UINT>(BST_CHECKED));
  DestroyWindow(page);
}

TEST_F(DialogsTest, TabMovesTheFocusAmongTabStopsAndAnEditSelectsAll) {
  HWND page = CreatePage();
  ASSERT_NE(page, nullptr);
  ShowWindow(page, SW_SHOW);
  HWND edit = GetDlgItem(page, IDC_PROBE_EDIT);
  SetWindowTextW(edit, L"12.5");
  const int order[] = {IDC_PROBE_COMBO,  IDC_PROBE_CHECK, IDC_PROBE_RADIO1,
                       IDC_PROBE_RADIO2, IDC_PROBE_APPLY, IDC_PROBE_EDIT};
  for (int id : order) {
    SCOPED_TRACE(id);
    pw::PressKey(nullptr, VK_TAB);
    pw::PumpMessages();
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), id);
  }
  DWORD start = 9, end = 9;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ((std::vector<DWORD>{start, end}), (std::vector<DWORD>{0, 4}));
  DestroyWindow(page);
}

// ---------------------------------------------------------------------------------------
// Modal dialogs

class ModalTest : public DialogsTest {
 protected:
  INT_PTR Run() {
    return DialogBoxParamW(module_.get(), MAKEINTRESOURCEW(IDD_PROBE_MODAL), host_, ProbeDialogProc, 0);
  }
};

TEST_F(ModalTest, ClickingOkEndsTheLoopWithTheOwnerDisabledMeanwhileAndEnabledAfter) {
  struct Seen {
    bool ownerEnabled = true;
    bool visible = false;
    std::wstring caption;
    int calls = 0;
  } seen;
  pw::SetModalIdleHook([&](HWND dialog) {
    seen.calls++;
    seen.ownerEnabled = IsWindowEnabled(host_);
    seen.visible = IsWindowVisible(dialog);
    seen.caption = pw::TextOf(dialog);
    EXPECT_TRUE(pw::ClickButton(GetDlgItem(dialog, IDOK)));
  });
  EXPECT_EQ(Run(), IDOK);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(seen.visible);
  EXPECT_EQ(seen.caption, L"Probe question");
  EXPECT_TRUE(IsWindowEnabled(host_));
  std::vector<std::string> expected = {"WM_SETFONT", "WM_INITDIALOG", "WM_COMMAND(1,0)", "WM_DESTROY"};
  EXPECT_EQ(gDialogSaw, expected) << Joined(gDialogSaw);
}

TEST_F(ModalTest, KeysActAsInADialogEscapeCancelsReturnTakesTheDefaultF1AsksForHelp) {
  struct Case {
    const char* name;
    std::vector<int> keys;  // pressed one per idle round, then Cancel is clicked
    INT_PTR result;
    std::vector<std::string> saw;  // between WM_INITDIALOG and WM_DESTROY
  } cases[] = {
      {"escape", {VK_ESCAPE}, IDCANCEL, {"WM_COMMAND(2,0)"}},
      {"return on the edit", {VK_RETURN}, IDOK, {"WM_COMMAND(1,0)"}},
      {"F1 then cancel", {VK_F1}, IDCANCEL, {"WM_HELP(1001,0)", "WM_COMMAND(2,0)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    gDialogSaw.clear();
    size_t round = 0;
    pw::SetModalIdleHook([&](HWND dialog) {
      if (round < c.keys.size()) {
        pw::PressKey(nullptr, c.keys[round++]);
      } else {
        pw::ClickButton(GetDlgItem(dialog, IDCANCEL));
      }
    });
    EXPECT_EQ(Run(), c.result);
    std::vector<std::string> expected = {"WM_SETFONT", "WM_INITDIALOG"};
    expected.insert(expected.end(), c.saw.begin(), c.saw.end());
    expected.push_back("WM_DESTROY");
    EXPECT_EQ(gDialogSaw, expected) << Joined(gDialogSaw);
  }
}

TEST_F(ModalTest, EndDialogInWmInitDialogReturnsWithoutTheLoopRunning) {
  gEndInInit = 42;
  int calls = 0;
  pw::SetModalIdleHook([&](HWND) { ++calls; });
  EXPECT_EQ(Run(), 42);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(IsWindowEnabled(host_));
}

TEST_F(ModalTest, WithoutAUserTheLoopGivesUpWithMinusOneRatherThanHang) {
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_OPERATION));
  EXPECT_TRUE(IsWindowEnabled(host_));
  int calls = 0;
  pw::SetModalIdleHook([&](HWND) { ++calls; });
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(calls, 1000) << "a hook that never ends the dialog is given up on";
}

TEST_F(ModalTest, ANestedModalDialogRunsInsideTheOuterOneAndTheHookSeesTheInnermost) {
  std::vector<std::string> order;
  INT_PTR inner = 0;
  pw::SetModalIdleHook([&](HWND dialog) {
    if (order.empty()) {
      order.push_back("outer idle");
      inner = DialogBoxParamW(module_.get(), MAKEINTRESOURCEW(IDD_PROBE_MODAL), dialog, ProbeDialogProc, 0);
      order.push_back("inner ended");
      pw::ClickButton(GetDlgItem(dialog, IDOK));
    } else {
      order.push_back(IsWindowEnabled(GetWindow(dialog, GW_OWNER)) ? "owner enabled" : "inner idle");
      pw::ClickButton(GetDlgItem(dialog, IDCANCEL));
    }
  });
  EXPECT_EQ(Run(), IDOK);
  EXPECT_EQ(inner, IDCANCEL);
  EXPECT_EQ(order, (std::vector<std::string>{"outer idle", "inner idle", "inner ended"})) << Joined(order);
}

}  // namespace
