// The framework's in-memory message box, shown through the platform's modal loop with the
// simulated host's string server and dialog manager; the test's idle hook acts as the user.
#include <windows.h>

#include <DialogManager.h>
#include <HostServers.h>
#include <HostServices.h>
#include <afxres.h>
#include <dlgtemplate.h>
#include <htmlhelp.h>
#include <platform/paths.h>
#include <platform/testing_htmlhelp.h>
#include <platform/testing_windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DllFolder.h"
#include "HostSession.h"
#include "PVMsgBox.h"
#include "PromptServerWrapper.h"
#include "ResourceDllManager.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;
namespace win = platform::windows;

// Style 0 is refused as "no style", so a plain OK box carries a flag that changes nothing here.
constexpr UINT kOk = MB_OK | MB_TASKMODAL;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// What the user saw of one button while the dialog was up.
struct SeenButton {
  WORD id;
  std::wstring label;
  bool isDefault;
  bool hasFocus;
};

// What the idle hook saw of the dialog the first time it was idle.
struct SeenDialog {
  HWND dialog = nullptr;
  bool ownerDisabled = false;
  std::wstring caption;
  std::wstring text;
  bool hasIcon = false;
  UINT closeState = 0;
  std::vector<SeenButton> buttons;
};

// The module instance the message box needs (a test executable has none): the fixture DLL,
// made this executable's module, with its language resource DLLs beside it.
class MsgBoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new pvtest::DllFolder{"PVTestPages.dll", "PVTestPagesENU.dll", "PVTestPagesDEU.dll"};
    s_module = LoadLibraryW(s_folder->PathOf("PVTestPages.dll").c_str());
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    state->m_hCurrentInstanceHandle = s_module;
    state->m_hCurrentResourceHandle = s_module;
  }
  static void TearDownTestSuite() {
    AfxSetModuleState(AfxGetStaticModuleState());
    GetResourceDllManager()->FreeResourceDll();
    AfxSetModuleState(nullptr);
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    state->m_hCurrentInstanceHandle = nullptr;
    state->m_hCurrentResourceHandle = nullptr;
    if (s_module) FreeLibrary(s_module);
    delete s_folder;
    s_folder = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(s_module, nullptr) << "the fixture DLL did not load";
    AfxSetModuleState(AfxGetStaticModuleState());
    m_session = std::make_unique<HostSession>();
    ASSERT_TRUE(GetResourceDllManager()->SetLanguage(1033));
    m_owner = CreateWindowExW(0, L"Static", L"page", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(m_owner, nullptr);
    win::ClearRecorders();
    platform::mfc::ClearMessageBoxCalls();
    platform::htmlhelp::ClearHtmlHelpCalls();
    m_windowsBefore = win::LiveWindowCount();
  }
  void TearDown() override {
    win::SetModalIdleHook({});
    EXPECT_EQ(win::LiveWindowCount(), m_windowsBefore) << "the dialog left windows behind";
    DestroyWindow(m_owner);
    m_session.reset();
    AfxSetModuleState(nullptr);
  }

  // Sets the hook: the first idle round records the dialog into *seen, then each round performs
  // the next action; when the actions are used up the dialog is left alone.
  void Script(SeenDialog* seen, std::vector<std::function<void(HWND)>> actions) {
    auto step = std::make_shared<size_t>(0);
    auto recorded = std::make_shared<bool>(false);
    HWND owner = m_owner;
    win::SetModalIdleHook([=](HWND dialog) {
      if (!*recorded) {
        *recorded = true;
        Record(dialog, owner, seen);
      }
      if (*step < actions.size()) actions[(*step)++](dialog);
    });
  }
  static void Record(HWND dialog, HWND owner, SeenDialog* seen) {
    seen->dialog = dialog;
    seen->ownerDisabled = !IsWindowEnabled(owner);
    seen->caption = win::TextOf(dialog);
    seen->text = win::TextOf(GetDlgItem(dialog, CPVMsgBoxDlgTemplate::kTextId));
    seen->hasIcon = GetDlgItem(dialog, CPVMsgBoxDlgTemplate::kIconId) != nullptr;
    seen->closeState = GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND);
    for (WORD id = IDOK; id <= IDHELP; ++id) {
      HWND button = GetDlgItem(dialog, id);
      if (!button) continue;
      const bool isDefault = (GetWindowLongW(button, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
      seen->buttons.push_back({id, win::TextOf(button), isDefault, GetFocus() == button});
    }
  }
  static std::function<void(HWND)> Click(WORD id) {
    return [id](HWND dialog) { win::ClickButton(GetDlgItem(dialog, id)); };
  }
  // The key on the message text: the stand-in's push button keeps F1 to itself, a static passes it on.
  static std::function<void(HWND)> PressOnText(int vk) {
    return [vk](HWND dialog) { win::PressKey(GetDlgItem(dialog, CPVMsgBoxDlgTemplate::kTextId), vk); };
  }
  static std::function<void(HWND)> Press(int vk) {
    return [vk](HWND) { win::PressKey(nullptr, vk); };
  }

  // The label the host's string server gives for the number in the language.
  static std::wstring HostLabel(LCID lcid, LONG stringId) {
    CStringServerWrapper server;
    EXPECT_EQ(Hr(S_OK), Hr(server.Initialize(&CLSID_PVButtonStringServer, &lcid)));
    server.SetAccelerators(TRUE);
    return Text(server.GetString(stringId));
  }

  static inline pvtest::DllFolder* s_folder = nullptr;
  static inline HMODULE s_module = nullptr;
  std::unique_ptr<HostSession> m_session;
  HWND m_owner = nullptr;
  size_t m_windowsBefore = 0;
};

// ---------------------------------------------------------------------------------------------
// Buttons, labels and the default

TEST_F(MsgBoxTest, EachButtonTypeShowsItsButtonsLeftToRightWithHostLabelsAndReturnsTheClickedId) {
  EXPECT_EQ(HostLabel(1033, 3), L"&Yes") << "the host numbers its labels as the box asks for them";
  EXPECT_EQ(HostLabel(1033, 5), L"&Abort");
  struct Case {
    UINT style;
    std::vector<std::pair<WORD, LONG>> buttons;  // command id, label number
  };
  const Case cases[] = {
      {kOk, {{IDOK, 1}}},
      {MB_OKCANCEL, {{IDOK, 1}, {IDCANCEL, 2}}},
      {MB_ABORTRETRYIGNORE, {{IDABORT, 5}, {IDRETRY, 6}, {IDIGNORE, 7}}},
      {MB_YESNOCANCEL, {{IDYES, 3}, {IDNO, 4}, {IDCANCEL, 2}}},
      {MB_YESNO, {{IDYES, 3}, {IDNO, 4}}},
      {MB_RETRYCANCEL, {{IDRETRY, 6}, {IDCANCEL, 2}}},
      {MB_OKCANCEL | MB_HELP, {{IDOK, 1}, {IDCANCEL, 2}, {IDHELP, 8}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
    const WORD clicked = c.buttons.back().first == IDHELP ? c.buttons[0].first : c.buttons.back().first;
    SeenDialog seen;
    Script(&seen, {Click(clicked)});
    CPVMsgBoxDlgTemplate box;
    ASSERT_TRUE(box.Init(c.style, L"Save the changes?", L"Tavelin 5000", m_owner, 0, L""));
    EXPECT_EQ(box.DoModal(), clicked);

    EXPECT_TRUE(seen.ownerDisabled) << "the owner stays enabled under a modal dialog";
    EXPECT_EQ(seen.caption, L"Tavelin 5000");
    EXPECT_EQ(seen.text, L"Save the changes?");
    ASSERT_EQ(seen.buttons.size(), c.buttons.size());
    // Buttons in list order from the row's left, 88 pixels apart.
    std::vector<const CPVMsgBoxDlgItemButton*> items;
    for (const CPVMsgBoxDlgItem* item : box.Items())
      if (auto* button = dynamic_cast<const CPVMsgBoxDlgItemButton*>(item)) items.push_back(button);
    ASSERT_EQ(items.size(), c.buttons.size());
    for (size_t i = 0; i < c.buttons.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "button " << i);
      EXPECT_EQ(items[i]->m_id, c.buttons[i].first);
      EXPECT_EQ(Text(items[i]->m_label), HostLabel(1033, c.buttons[i].second));
      EXPECT_EQ(items[i]->m_left - items[0]->m_left, static_cast<LONG>(88 * i));
      EXPECT_EQ(items[i]->m_right - items[i]->m_left, 82);
      EXPECT_EQ(items[i]->m_bottom - items[i]->m_top, 23);
    }
    for (const SeenButton& button : seen.buttons) {
      SCOPED_TRACE(testing::Message() << "button id " << button.id);
      auto it =
          std::find_if(c.buttons.begin(), c.buttons.end(), [&](auto& b) { return b.first == button.id; });
      ASSERT_NE(it, c.buttons.end()) << "a button the type does not have";
      EXPECT_EQ(button.label, HostLabel(1033, it->second));
    }
  }
}

TEST_F(MsgBoxTest, LabelsComeFromTheStringServerInTheResourceLanguage) {
  struct Case {
    LCID lcid;
    const wchar_t* ok;
    const wchar_t* cancel;
    const wchar_t* help;
  };
  const Case cases[] = {{1033, L"OK", L"Cancel", L"&Help"}, {1031, L"OK", L"Abbrechen", L"&Hilfe"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "language " << c.lcid);
    ASSERT_TRUE(GetResourceDllManager()->SetLanguage(c.lcid));
    hostsim::ResetServiceCounters();
    SeenDialog seen;
    Script(&seen, {Click(IDOK)});
    CPVMsgBoxDlgTemplate box;
    ASSERT_TRUE(box.Init(MB_OKCANCEL | MB_HELP, L"Text", L"Caption", m_owner, 0, L""));
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVButtonStringServer).lastLocale, c.lcid);
    EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVButtonStringServer).liveObjects, 0)
        << "server not released";
    ASSERT_EQ(seen.buttons.size(), 3u);
    EXPECT_EQ(seen.buttons[0].label, c.ok);
    EXPECT_EQ(seen.buttons[1].label, c.cancel);
    EXPECT_EQ(seen.buttons[2].label, c.help) << "accelerator marks are kept";
  }
}

TEST_F(MsgBoxTest, TheDefaultButtonHasTheFocusAndAnswersReturn) {
  struct Case {
    UINT style;
    WORD expectedDefault;
  };
  const Case cases[] = {
      {MB_YESNOCANCEL, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // past the last button: the first
      {MB_OKCANCEL | MB_HELP | MB_DEFBUTTON4, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
    SeenDialog seen;
    Script(&seen, {Press(VK_RETURN)});
    EXPECT_EQ(PVMessageBox(m_owner, L"Continue?", L"Tavelin 5000", c.style, 0, L""), c.expectedDefault);
    for (const SeenButton& button : seen.buttons) {
      SCOPED_TRACE(testing::Message() << "button id " << button.id);
      EXPECT_EQ(button.isDefault, button.id == c.expectedDefault);
      EXPECT_EQ(button.hasFocus, button.id == c.expectedDefault);
    }
  }
}

TEST_F(MsgBoxTest, TheCloseBoxIsGreyedExactlyWhenThereIsNoCancelButton) {
  struct Case {
    UINT style;
    bool greyed;
  };
  const Case cases[] = {{MB_YESNO, true}, {kOk, true}, {MB_OKCANCEL, false}, {MB_YESNOCANCEL, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
    SeenDialog seen;
    Script(&seen, {Press(VK_RETURN)});
    PVMessageBox(m_owner, L"Text", L"Caption", c.style, 0, L"");
    EXPECT_EQ((seen.closeState & MF_GRAYED) != 0, c.greyed)
        << "SC_CLOSE state 0x" << std::hex << seen.closeState;
  }
}

// ---------------------------------------------------------------------------------------------
// Icons and layout

TEST_F(MsgBoxTest, IconBitsChooseTheSystemIconAndWidenTheDialog) {
  struct Case {
    UINT icon;
    WORD ordinal;  // 0: no icon item
  };
  const Case cases[] = {{0, 0},
                        {MB_ICONHAND, 32513},
                        {MB_ICONQUESTION, 32514},
                        {MB_ICONEXCLAMATION, 32515},
                        {MB_ICONASTERISK, 32516},
                        {0x50, 32513},
                        {0xF0, 32513}};
  const std::wstring text(60, L'x');  // 60 characters of 5 pixels in the message font
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "icon bits 0x" << std::hex << c.icon);
    SeenDialog seen;
    Script(&seen, {Click(IDOK)});
    CPVMsgBoxDlgTemplate box;
    ASSERT_TRUE(box.Init(kOk | c.icon, text.c_str(), L"Caption", m_owner, 0, L""));
    EXPECT_EQ(box.DoModal(), IDOK);
    EXPECT_EQ(seen.hasIcon, c.ordinal != 0);

    auto parsed =
        platform::dialogs::ParseDialogTemplate(box.GetDialogArray().data(), box.GetDialogArray().size());
    ASSERT_TRUE(parsed.has_value());
    const platform::dialogs::DialogItem* icon = nullptr;
    for (const auto& item : parsed->items)
      if (item.id == CPVMsgBoxDlgTemplate::kIconId) icon = &item;
    if (c.ordinal == 0) {
      EXPECT_EQ(icon, nullptr);
      EXPECT_EQ(box.DialogRect().right, 332);
      continue;
    }
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_ICON));
    EXPECT_EQ(icon->windowClass, platform::dialogs::NameOrOrdinal::Ordinal(0x82));
    EXPECT_EQ(icon->title, platform::dialogs::NameOrOrdinal::Ordinal(c.ordinal));
    // Icon 34 x 34 at (10, 10); the text moves to 60; W = 312 + 34 + 36; H = 34 + 51.
    const CPVMsgBoxDlgItem* text0 = box.Items()[0];
    EXPECT_EQ(text0->m_left, 60);
    EXPECT_EQ(box.DialogRect().right, 382);
    EXPECT_EQ(box.DialogRect().bottom, 85);
  }
}

TEST_F(MsgBoxTest, AOneLineTextGivesTheLayoutInPixelsAndDialogUnits) {
  SeenDialog seen;
  Script(&seen, {Click(IDOK)});
  CPVMsgBoxDlgTemplate box;
  ASSERT_TRUE(box.Init(kOk, std::wstring(60, L'x').c_str(), L"Caption", m_owner, 0, L""));
  EXPECT_EQ(box.DoModal(), IDOK);

  // The message font (lfHeight -12): 5 pixels a character, lines 14 high. Text 300 + 12 by
  // 14 + 5; W = 312 + 20; H = 19 + 51; the row at 19 + 18, the OK button at (332 - 82) / 2.
  const RECT dialog = box.DialogRect();
  EXPECT_EQ(dialog.left, 0);
  EXPECT_EQ(dialog.top, 0);
  EXPECT_EQ(dialog.right, 332);
  EXPECT_EQ(dialog.bottom, 70);
  ASSERT_EQ(box.Items().size(), 2u);
  const CPVMsgBoxDlgItem* text = box.Items()[0];
  const CPVMsgBoxDlgItem* ok = box.Items()[1];
  EXPECT_EQ(text->m_id, 1001);
  EXPECT_EQ(text->m_left, 10);
  EXPECT_EQ(text->m_top, 10);
  EXPECT_EQ(text->m_right, 322);
  EXPECT_EQ(text->m_bottom, 29);
  EXPECT_EQ(ok->m_left, 125);
  EXPECT_EQ(ok->m_top, 37);
  EXPECT_EQ(ok->m_right, 207);
  EXPECT_EQ(ok->m_bottom, 60);

  // Dialog units with the base units 6 x 16: x * 4 / 6 and y * 8 / 16, edges first.
  const std::vector<BYTE> bytes = box.GetDialogArray();
  auto parsed = platform::dialogs::ParseDialogTemplate(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed.has_value());
  EXPECT_FALSE(parsed->extended) << "the plain DLGTEMPLATE header";
  DWORD headerStyle = 0;
  memcpy(&headerStyle, bytes.data(), sizeof(headerStyle));
  EXPECT_EQ(headerStyle, 0x90C80880u) << "the style is the template's first field";
  EXPECT_EQ(parsed->style, 0x90C80880u);
  EXPECT_FALSE(parsed->HasFont());
  EXPECT_EQ(parsed->title.text, L"Caption");
  EXPECT_EQ(parsed->cx, MulDiv(332, 4, 6));
  EXPECT_EQ(parsed->cy, MulDiv(70, 8, 16));
  ASSERT_EQ(parsed->items.size(), 2u);
  const auto& button = parsed->items[1];
  EXPECT_EQ(button.x, MulDiv(125, 4, 6));
  EXPECT_EQ(button.y, MulDiv(37, 8, 16));
  EXPECT_EQ(button.cx, MulDiv(207, 4, 6) - MulDiv(125, 4, 6));
  EXPECT_EQ(button.cy, MulDiv(60, 8, 16) - MulDiv(37, 8, 16));
  EXPECT_EQ(button.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON));
  EXPECT_EQ(button.windowClass, platform::dialogs::NameOrOrdinal::Ordinal(0x80));
  EXPECT_EQ(parsed->items[0].style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_LEFT));
}

TEST_F(MsgBoxTest, ASystemModalBoxIsMarkedSysModalInTheTemplate) {
  win::SetModalIdleHook([](HWND dialog) { win::ClickButton(GetDlgItem(dialog, IDOK)); });
  CPVMsgBoxDlgTemplate box;
  ASSERT_TRUE(box.Init(kOk | MB_SYSTEMMODAL | MB_ICONQUESTION, L"Text", L"Caption", m_owner, 0, L""));
  EXPECT_EQ(box.DoModal(), IDOK);
  const std::vector<BYTE> bytes = box.GetDialogArray();
  auto parsed = platform::dialogs::ParseDialogTemplate(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->style, 0x90C80880u | DS_SYSMODAL);
}

// The block is sized to the template: a text of more than 2048 bytes is shown whole.
TEST_F(MsgBoxTest, ATextLongerThan2048BytesIsShownWhole) {
  std::wstring text;
  for (int i = 0; i < 120; ++i) text += L"Der Messwert liegt au\u00dferhalb. ";
  ASSERT_GT(text.size() * sizeof(WCHAR), 2048u * 4);
  SeenDialog seen;
  Script(&seen, {Click(IDOK)});
  CPVMsgBoxDlgTemplate box;
  ASSERT_TRUE(box.Init(kOk | MB_ICONEXCLAMATION, text.c_str(), L"Tavelin 5000", m_owner, 0, L""));
  EXPECT_EQ(box.DoModal(), IDOK);
  EXPECT_GT(box.GetDialogArray().size(), 2048u);
  EXPECT_EQ(seen.text, text);
  // Wrapped within half the screen less the icon (1920 / 2 + 84 - 32), on many lines of 14.
  const CPVMsgBoxDlgItem* item = box.Items()[0];
  const LONG width = item->m_right - item->m_left - 12;
  const LONG height = item->m_bottom - item->m_top - 5;
  EXPECT_LE(width, 1012) << "widest line";
  EXPECT_GT(width, 900) << "widest line";
  EXPECT_EQ(height % 14, 0) << "height " << height;
  EXPECT_GT(height / 14, 10) << "height " << height;
}

// ---------------------------------------------------------------------------------------------
// Help

TEST_F(MsgBoxTest, TheHelpButtonAndF1OpenTheHelpContextInTheCompiledHelpFile) {
  const auto dir = std::filesystem::temp_directory_path() / ("pvmsgbox." + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "Corvane.chm") << "help";
  const std::wstring chm = platform::PlatformPathFromHost((dir / "Corvane.chm").string());
  const std::wstring hlp = chm.substr(0, chm.size() - 3) + L"HlP";
  struct Case {
    const char* name;
    std::function<void(HWND)> action;
    std::wstring file;
  };
  const Case cases[] = {{"click Help", Click(IDHELP), chm},
                        {"press F1", PressOnText(VK_F1), chm},
                        {"a .hlp name", Click(IDHELP), hlp}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::htmlhelp::ClearHtmlHelpCalls();
    SeenDialog seen;
    Script(&seen, {c.action, Click(IDOK)});
    EXPECT_EQ(PVMessageBox(m_owner, L"Text", L"Caption", kOk, 0x30005, c.file.c_str()), IDOK);
    ASSERT_EQ(seen.buttons.size(), 2u) << "a help id above 0x30000 adds Help";
    EXPECT_EQ(seen.buttons[1].id, IDHELP);
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].caller, m_owner);
    EXPECT_EQ(calls[0].file, chm);
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
    EXPECT_EQ(calls[0].data, 0x30005u);
    EXPECT_NE(calls[0].result, nullptr);
  }
  std::filesystem::remove_all(dir);
}

TEST_F(MsgBoxTest, AHelpIdOf0x30000AddsNoHelpButton) {
  SeenDialog seen;
  Script(&seen, {Click(IDOK)});
  EXPECT_EQ(PVMessageBox(m_owner, L"Text", L"Caption", kOk, 0x30000, L""), IDOK);
  ASSERT_EQ(seen.buttons.size(), 1u);
  EXPECT_EQ(seen.buttons[0].id, IDOK);
}

TEST_F(MsgBoxTest, AHelpFileThatDoesNotOpenIsLoggedAndReportedWithTheLibrarysMessage) {
  SeenDialog seen;
  Script(&seen, {Click(IDHELP), Click(IDOK)});
  EXPECT_EQ(PVMessageBox(m_owner, L"Text", L"Caption", kOk, 0x30007, L"Z:\\nowhere\\missing.chm"), IDOK);
  const auto calls = platform::mfc::MessageBoxCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].nIDPrompt, static_cast<UINT>(AFX_IDP_FAILED_TO_LAUNCH_HELP));
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{
                L"CPVMsgBoxDlgTemplate::OnHelp: Error: Failed to display help - HtmlHelp: "
                L"HelpFile = Z:\\nowhere\\missing.chm, HH_HELP_CONTEXT: = $f, HelpID: = 196615."});
}

// ---------------------------------------------------------------------------------------------
// The dialog manager, the fallbacks and the refusals

TEST_F(MsgBoxTest, TheDialogManagerIsToldWhenTheDialogIsShownAndDestroyed) {
  hostsim::DialogManager* manager = hostsim::DialogManager::Create();
  SeenDialog seen;
  Script(&seen, {Click(IDNO)});
  EXPECT_EQ(PVMessageBox2(manager, m_owner, L"Text", L"Caption", MB_YESNO, 0, L""), IDNO);
  ASSERT_NE(seen.dialog, nullptr);
  EXPECT_EQ(manager->shown, std::vector<HWND>{seen.dialog});
  EXPECT_EQ(manager->destroyed, std::vector<HWND>{seen.dialog});
  manager->Release();
}

// A box opened from inside another (say, from its help) is the current one while it is up; on
// closing the outer one is current again and still receives its own messages.
TEST_F(MsgBoxTest, ANestedBoxReplacesTheCurrentOneAndRestoresItOnClosing) {
  hostsim::DialogManager* manager = hostsim::DialogManager::Create();
  HWND outer = nullptr;
  HWND inner = nullptr;
  const CPVMsgBoxDlgTemplate* outerBox = nullptr;
  const CPVMsgBoxDlgTemplate* currentAfterInner = nullptr;
  int innerResult = 0;
  win::SetModalIdleHook([&](HWND dialog) {
    if (win::TextOf(dialog) == L"Inner") {
      inner = dialog;
      EXPECT_NE(CPVMsgBoxDlgTemplate::Current(), outerBox);
      win::ClickButton(GetDlgItem(dialog, IDOK));
      return;
    }
    if (!outer) {
      outer = dialog;
      outerBox = CPVMsgBoxDlgTemplate::Current();
      innerResult = PVMessageBox(dialog, L"Nested", L"Inner", kOk, 0, L"");
      currentAfterInner = CPVMsgBoxDlgTemplate::Current();
      return;
    }
    win::ClickButton(GetDlgItem(dialog, IDCANCEL));
  });
  EXPECT_EQ(PVMessageBox2(manager, m_owner, L"Text", L"Outer", MB_OKCANCEL, 0, L""), IDCANCEL);
  EXPECT_EQ(innerResult, IDOK);
  ASSERT_NE(outerBox, nullptr);
  EXPECT_EQ(currentAfterInner, outerBox);
  EXPECT_EQ(CPVMsgBoxDlgTemplate::Current(), nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(manager->shown, std::vector<HWND>{outer});
  EXPECT_EQ(manager->destroyed, std::vector<HWND>{outer});
  manager->Release();
}

TEST_F(MsgBoxTest, WithoutADialogManagerTheSecondEntryRefusesAndShowsNothing) {
  bool shown = false;
  win::SetModalIdleHook([&](HWND) { shown = true; });
  EXPECT_EQ(PVMessageBox2(nullptr, m_owner, L"Text", L"Caption", kOk, 0, L""), -1);
  EXPECT_FALSE(shown);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            (std::vector<std::wstring>{
                L"CPVMsgBoxDlgTemplate2::Init: Error: Pointer to m_spIPVDlgManager is invalid"}));
}

TEST_F(MsgBoxTest, RefusedArgumentsReturnMinusOneAndAreLogged) {
  struct Case {
    const char* name;
    UINT style;
    const wchar_t* text;
    const wchar_t* caption;
    bool owner;
  };
  // Style 0 (MB_OK and nothing else) counts as no style.
  const Case cases[] = {{"style 0", 0, L"Text", L"Caption", true},
                        {"empty text", kOk | MB_ICONHAND, L"", L"Caption", true},
                        {"empty caption", MB_OKCANCEL, L"Text", L"", true},
                        {"no owner", MB_OKCANCEL, L"Text", L"Caption", false}};
  bool shown = false;
  win::SetModalIdleHook([&](HWND) { shown = true; });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    orvolog::ClearRecords();
    EXPECT_EQ(PVMessageBox(c.owner ? m_owner : nullptr, c.text, c.caption, c.style, 0, L""), -1);
    EXPECT_EQ(
        pvtest::LoggedSinceClear(),
        std::vector<std::wstring>{L"CPVMsgBoxDlgTemplate::Init: Error: Invalid argument initialization"});
  }
  EXPECT_FALSE(shown);
}

TEST_F(MsgBoxTest, ASystemModalHandBoxIsThePlatformsMessageBox) {
  bool shown = false;
  win::SetModalIdleHook([&](HWND) { shown = true; });
  win::SetMessageBoxAnswer(IDRETRY);
  const UINT style = MB_RETRYCANCEL | MB_ICONHAND | MB_SYSTEMMODAL;
  EXPECT_EQ(PVMessageBox(m_owner, L"Device lost", L"Tavelin 5000", style, 0, L""), IDRETRY);
  EXPECT_FALSE(shown);
  const auto calls = win::MessageBoxCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].owner, m_owner);
  EXPECT_EQ(calls[0].text, L"Device lost");
  EXPECT_EQ(calls[0].caption, L"Tavelin 5000");
  EXPECT_EQ(calls[0].type, style);
}

TEST_F(MsgBoxTest, AnUnknownButtonTypeShowsNoDialogAndGivesZero) {
  bool shown = false;
  win::SetModalIdleHook([&](HWND) { shown = true; });
  const UINT styles[] = {6u, 15u, 6u | MB_HELP};
  for (UINT style : styles) {
    SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << style);
    CPVMsgBoxDlgTemplate box;
    ASSERT_TRUE(box.Init(style, L"Text", L"Caption", m_owner, 0, L""));
    EXPECT_EQ(box.DoModal(), 0);
  }
  EXPECT_FALSE(shown);
}

TEST_F(MsgBoxTest, WithoutTheStringServerNoDialogIsShownAndDoModalGivesZero) {
  hostsim::RevokeHostServers();
  bool shown = false;
  win::SetModalIdleHook([&](HWND) { shown = true; });
  CPVMsgBoxDlgTemplate box;
  ASSERT_TRUE(box.Init(kOk, L"Text", L"Caption", m_owner, 0, L""));
  orvolog::ClearRecords();
  EXPECT_EQ(box.DoModal(), 0);
  EXPECT_FALSE(shown);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            (std::vector<std::wstring>{L"CPVMsgBoxDlgTemplate::CreateItems: Error: Initializing string "
                                       L"server used to obtain button labels",
                                       L"CPVMsgBoxDlgTemplate::DoModal: Error: Creating items for dialog"}));
}

}  // namespace
