// The class library's help for dialogs: WM_COMMANDHELP runs the application's HTML Help with
// the context given, or the dialog's own help id.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "afxpriv.h"
#include "afxwin.h"
#include "fixtures/windows/probe_module.h"
#include "fixtures/windows/windows_probe_ids.h"
#include "platform/paths.h"
#include "platform/testing_htmlhelp.h"
#include "platform/testing_windows.h"

namespace {

class MfcHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AfxSetResourceHandle(m_probe.get());
    m_app.EnableHtmlHelp();
    std::filesystem::create_directories(m_folder);
    free(const_cast<wchar_t*>(m_app.m_pszHelpFilePath));
    m_app.m_pszHelpFilePath =
        wcsdup(platform::PlatformPathFromHost((m_folder / "Probe.chm").string()).c_str());
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::mfc::ClearMessageBoxCalls();
  }
  void TearDown() override {
    std::filesystem::remove_all(m_folder);
    EXPECT_EQ(platform::windows::LiveWindowCount(), m_windowsAtStart);
  }
  void InstallHelpFile() { std::ofstream(m_folder / "Probe.chm") << "help"; }

  windows_test::ProbeModule m_probe;
  AFX_MODULE_STATE m_state{};
  AFX_MAINTAIN_STATE2 m_switch{&m_state};
  CWinApp m_app{nullptr, &m_state};
  std::filesystem::path m_folder =
      std::filesystem::temp_directory_path() / ("mfchelp." + std::to_string(::getpid()));
  size_t m_windowsAtStart = platform::windows::LiveWindowCount();
};

TEST_F(MfcHelpTest, ADialogAnswersCommandHelpWithTheContextGivenOrItsOwn) {
  struct Case {
    const char* name;
    LPARAM context;
    UINT dialogHelpId;
    bool installed;
    LRESULT answer;
    DWORD_PTR shown;    // 0: HTML Help not asked
    bool failureShown;  // AFX_IDP_FAILED_TO_LAUNCH_HELP
  };
  const Case cases[] = {
      {"the dialog's own help id, file missing", 0, IDD_PROBE_MODAL, false, TRUE, 0x20000 + IDD_PROBE_MODAL,
       true},
      {"the dialog's own help id", 0, IDD_PROBE_MODAL, true, TRUE, 0x20000 + IDD_PROBE_MODAL, false},
      {"a context given", 0x30005, IDD_PROBE_MODAL, true, TRUE, 0x30005, false},
      {"no context at all", 0, 0, true, FALSE, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.installed) InstallHelpFile();
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::mfc::ClearMessageBoxCalls();
    CDialog dialog(IDD_PROBE_MODAL);
    ASSERT_TRUE(dialog.Create(IDD_PROBE_MODAL));
    dialog.m_nIDHelp = c.dialogHelpId;
    EXPECT_EQ(dialog.SendMessage(WM_COMMANDHELP, 0, c.context), c.answer);
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    if (c.shown) {
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].caller, dialog.m_hWnd);
      EXPECT_EQ(calls[0].file, std::wstring(m_app.m_pszHelpFilePath));
      EXPECT_EQ(calls[0].command, 0x000Fu);
      EXPECT_EQ(calls[0].data, c.shown);
    } else {
      EXPECT_TRUE(calls.empty());
    }
    const auto boxes = platform::mfc::MessageBoxCalls();
    ASSERT_EQ(boxes.size(), c.failureShown ? 1u : 0u);
    if (c.failureShown) {
      EXPECT_EQ(boxes[0].nIDPrompt, static_cast<UINT>(AFX_IDP_FAILED_TO_LAUNCH_HELP));
    }
    dialog.DestroyWindow();
  }
}

TEST_F(MfcHelpTest, TheOlderHelpEngineIsNotThereSoItsModeShowsNothing) {
  m_app.SetHelpMode(afxWinHelp);
  CDialog dialog(IDD_PROBE_MODAL);
  ASSERT_TRUE(dialog.Create(IDD_PROBE_MODAL));
  EXPECT_EQ(dialog.SendMessage(WM_COMMANDHELP, 0, 0), TRUE);
  EXPECT_TRUE(platform::htmlhelp::HtmlHelpCalls().empty());
  EXPECT_TRUE(platform::mfc::MessageBoxCalls().empty());
  dialog.DestroyWindow();
}

}  // namespace
