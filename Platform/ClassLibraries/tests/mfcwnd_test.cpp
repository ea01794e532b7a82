// The class library's window layer: handle maps, subclassing, message maps with reflection and
// Default(), the pre-translate walk, CDialog with data exchange, the control classes, CFont
// and CDC.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "afxwin.h"
#include "dlgtemplate.h"
#include "fixtures/windows/message_recorder.h"
#include "fixtures/windows/probe_module.h"
#include "fixtures/windows/windows_probe_ids.h"
#include "platform/testing_windows.h"

using namespace windows_test;
namespace pw = platform::windows;

namespace {

std::vector<std::string> gCalls;

// An edit control that upper-cases what is typed and records pastes and focus.
class CUpperEdit : public CEdit {
 public:
  bool preSubclassed = false;

 protected:
  void PreSubclassWindow() override { preSubclassed = true; }
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    gCalls.push_back("OnChar");
    DefWindowProc(WM_CHAR, towupper(static_cast<wint_t>(nChar)), MAKELPARAM(nRepCnt, nFlags));
  }
  afx_msg LRESULT OnPaste(WPARAM, LPARAM) {
    gCalls.push_back("OnPaste");
    return Default();
  }
  afx_msg void OnSetFocus(CWnd* pOldWnd) {
    gCalls.push_back("OnSetFocus");
    CEdit::OnSetFocus(pOldWnd);
  }
  afx_msg void OnUpdateReflect() { gCalls.push_back("edit EN_UPDATE reflected"); }
  afx_msg void OnEnable(BOOL bEnable) {
    gCalls.push_back(bEnable ? "OnEnable(TRUE)" : "OnEnable(FALSE)");
    CEdit::OnEnable(bEnable);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpperEdit, CEdit)
ON_WM_CHAR()
ON_WM_ENABLE()
ON_MESSAGE(WM_PASTE, OnPaste)
ON_WM_SETFOCUS()
ON_CONTROL_REFLECT(EN_UPDATE, OnUpdateReflect)
END_MESSAGE_MAP()

// A button that takes its click itself (EX: returns whether the parent still sees it).
class CReflectingButton : public CButton {
 public:
  BOOL letParentSee = FALSE;

 protected:
  afx_msg BOOL OnClickedReflect() {
    gCalls.push_back("button reflected");
    return !letParentSee;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedReflect)
END_MESSAGE_MAP()

class CProbePage : public CDialog {
 public:
  CProbePage() : CDialog(IDD_PROBE_PAGE) {}
  CUpperEdit m_edit;
  CReflectingButton m_apply;
  CComboBox m_combo;
  CString m_label = L"Mass flow:";
  LRESULT m_comboCountAtExchange = -1;

 protected:
  BOOL OnInitDialog() override {
    gCalls.push_back("OnInitDialog");
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* pDX) override {
    gCalls.push_back(pDX->m_bSaveAndValidate ? "DoDataExchange(save)" : "DoDataExchange(load)");
    m_comboCountAtExchange = SendDlgItemMessageW(m_hWnd, IDC_PROBE_COMBO, CB_GETCOUNT, 0, 0);
    DDX_Control(pDX, IDC_PROBE_EDIT, m_edit);
    DDX_Control(pDX, IDC_PROBE_APPLY, m_apply);
    DDX_Control(pDX, IDC_PROBE_COMBO, m_combo);
    DDX_Text(pDX, IDC_PROBE_LABEL, m_label);
  }
  afx_msg void OnApply() { gCalls.push_back("page OnApply"); }
  afx_msg void OnEditChange() { gCalls.push_back("page EN_CHANGE"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbePage, CDialog)
ON_BN_CLICKED(IDC_PROBE_APPLY, OnApply)
ON_EN_CHANGE(IDC_PROBE_EDIT, OnEditChange)
END_MESSAGE_MAP()

class MfcWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowsAtStart_ = pw::LiveWindowCount();
    objectsAtStart_ = platform::gdi::LiveObjectCount();
    previousResources_ = AfxGetResourceHandle();
    AfxSetResourceHandle(module_.get());
    gCalls.clear();
    host_ = recorder_.Create("host", WS_POPUP | WS_VISIBLE, nullptr, 0, {0, 0, 500, 400});
    pw::ResetClipboard();
  }
  void TearDown() override {
    pw::SetModalIdleHook(nullptr);
    ::DestroyWindow(host_);
    CWnd::DeleteTempMap();
    AfxSetResourceHandle(previousResources_);
    pw::ResetClipboard();
    EXPECT_EQ(pw::LiveWindowCount(), windowsAtStart_) << "windows left behind";
    EXPECT_EQ(platform::gdi::LiveObjectCount(), objectsAtStart_) << "GDI objects left behind";
  }

  ProbeModule module_;
  Recorder recorder_;
  HWND host_ = nullptr;
  HINSTANCE previousResources_ = nullptr;
  size_t windowsAtStart_ = 0, objectsAtStart_ = 0;
};

TEST_F(MfcWndTest, FromHandleGivesATemporaryObjectUntilOneIsAttachedAndThenThePermanentOne) {
  CWnd* temporary = CWnd::FromHandle(host_);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->m_hWnd, host_);
  EXPECT_EQ(CWnd::FromHandle(host_), temporary) << "one temporary object per handle";
  EXPECT_EQ(CWnd::FromHandlePermanent(host_), nullptr);
  CWnd permanent;
  ASSERT_TRUE(permanent.Attach(host_));
  EXPECT_EQ(CWnd::FromHandle(host_), &permanent);
  EXPECT_EQ(CWnd::FromHandlePermanent(host_), &permanent);
  CWnd other;
  EXPECT_FALSE(other.Attach(host_)) << "one permanent object per handle";
  EXPECT_EQ(permanent.Detach(), host_);
  EXPECT_EQ(CWnd::FromHandlePermanent(host_), nullptr);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  CWnd::DeleteTempMap();
  EXPECT_TRUE(::IsWindow(host_)) << "deleting temporary objects leaves their windows";
}

TEST_F(MfcWndTest, AnotherThreadsLookupsFollowEachAttachAndDetachOfAHandle) {
  // The other thread asks twice at each step, so that an answer it kept from an earlier step
  // would be given if a change here did not reach it.
  CWnd permanent;
  std::atomic<int> step{0};
  CWnd* seen[3] = {&permanent, nullptr, &permanent};
  std::thread asker([&] {
    for (int i = 0; i < 3; ++i) {
      while (step.load() != 2 * i + 1) std::this_thread::yield();
      CWnd::FromHandlePermanent(host_);
      seen[i] = CWnd::FromHandlePermanent(host_);
      step.store(2 * i + 2);
    }
  });
  auto letItAsk = [&](int next) {
    step.store(next);
    while (step.load() != next + 1) std::this_thread::yield();
  };
  letItAsk(1);
  ASSERT_TRUE(permanent.Attach(host_));
  letItAsk(3);
  EXPECT_EQ(permanent.Detach(), host_);
  letItAsk(5);
  asker.join();
  EXPECT_EQ(seen[0], nullptr);
  EXPECT_EQ(seen[1], &permanent);
  EXPECT_EQ(seen[2], nullptr);
}

TEST_F(MfcWndTest, ASubclassedControlMapsBackToItsObjectAndItsMapSeesTheUsersInput) {
  HWND hwnd = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, host_,
                                reinterpret_cast<HMENU>(7), nullptr, nullptr);
  {
    CUpperEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(7, CWnd::FromHandle(host_)));
    EXPECT_TRUE(edit.preSubclassed);
    EXPECT_EQ(CWnd::FromHandle(hwnd), &edit);
    pw::TypeText(hwnd, L"ab");
    pw::PutClipboardText(L"c");
    pw::Paste(hwnd);
    EXPECT_EQ(pw::TextOf(hwnd), L"ABc") << "typed through OnChar, pasted through Default()";
    edit.EnableWindow(FALSE);
    edit.EnableWindow(TRUE);
    std::vector<std::string> expected = {"OnSetFocus", "OnChar",          "OnChar",
                                         "OnPaste",    "OnEnable(FALSE)", "OnEnable(TRUE)"};
    EXPECT_EQ(gCalls, expected) << Joined(gCalls);
    EXPECT_EQ(edit.UnsubclassWindow(), hwnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    gCalls.clear();
    pw::TypeText(hwnd, L"d");
    EXPECT_TRUE(gCalls.empty()) << "the old procedure is back";
  }
  EXPECT_TRUE(::IsWindow(hwnd)) << "an unsubclassed object leaves the window when it goes";
  ::DestroyWindow(hwnd);
}

TEST_F(MfcWndTest, DeletingAnAttachedObjectDestroysItsWindowAndADestroyedWindowDetachesItsObject) {
  auto edit = std::make_unique<CEdit>();
  ASSERT_TRUE(edit->Create(WS_VISIBLE, CRect(0, 0, 50, 20), CWnd::FromHandle(host_), 9));
  HWND hwnd = edit->m_hWnd;
  edit.reset();
  EXPECT_FALSE(::IsWindow(hwnd));
  CEdit second;
  ASSERT_TRUE(second.Create(WS_VISIBLE, CRect(0, 0, 50, 20), CWnd::FromHandle(host_), 9));
  ::DestroyWindow(second.m_hWnd);
  EXPECT_EQ(second.m_hWnd, nullptr);
}

TEST_F(MfcWndTest, AModelessDialogFromTheResourceHandleRunsOnInitDialogAndTheDataExchange) {
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  EXPECT_EQ(::GetParent(page.m_hWnd), host_);
  // TRUE from OnInitDialog focuses the first control, which is subclassed by then.
  EXPECT_EQ(gCalls, (std::vector<std::string>{"OnInitDialog", "DoDataExchange(load)", "OnSetFocus"}))
      << Joined(gCalls);
  EXPECT_EQ(page.m_edit.m_hWnd, ::GetDlgItem(page.m_hWnd, IDC_PROBE_EDIT));
  EXPECT_EQ(CWnd::FromHandle(page.m_edit.m_hWnd), &page.m_edit);
  EXPECT_EQ(CWnd::FromHandle(page.m_hWnd), &page);
  EXPECT_EQ(pw::TextOf(::GetDlgItem(page.m_hWnd, IDC_PROBE_LABEL)), L"Mass flow:");
  EXPECT_EQ(page.m_nIDHelp, static_cast<UINT>(IDD_PROBE_PAGE));
  SetDlgItemTextW(page.m_hWnd, IDC_PROBE_LABEL, L"Changed:");
  gCalls.clear();
  EXPECT_TRUE(page.UpdateData(TRUE));
  EXPECT_EQ(page.m_label, CString(L"Changed:"));
  EXPECT_TRUE(page.DestroyWindow());
  EXPECT_EQ(page.m_hWnd, nullptr);
  EXPECT_EQ(page.m_edit.m_hWnd, nullptr) << "the control's object is detached with its window";
}

std::vector<std::wstring> ComboStrings(HWND dialog, int id) {
  std::vector<std::wstring> strings;
  const auto count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[64] = {};
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    strings.emplace_back(text);
  }
  return strings;
}

TEST_F(MfcWndTest, TheTemplatesDialogInitDataFillsItsComboBoxBeforeTheDataExchange) {
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  EXPECT_EQ(page.m_comboCountAtExchange, 2) << "the strings are there when DoDataExchange runs";
  EXPECT_EQ(ComboStrings(page.m_hWnd, IDC_PROBE_COMBO),
            (std::vector<std::wstring>{L"Mass", L"Dichte \x00E4"}))
      << "UTF-8 converted; the entry with another message skipped";
  EXPECT_TRUE(page.ExecuteDlgInit(MAKEINTRESOURCEW(IDD_PROBE_MODAL))) << "a dialog without dialog-init data";
  EXPECT_TRUE(page.DestroyWindow());
}

TEST_F(MfcWndTest, DialogInitDataThatEndsEarlyOrClaimsTooMuchStopsTheRunWithoutReadingPastIt) {
  using platform::dialogs::DialogInitEntry;
  auto text = [](const char* t) { return std::vector<BYTE>(t, t + std::strlen(t) + 1); };
  const std::vector<BYTE> whole = platform::dialogs::BuildDialogInit(
      {{IDC_PROBE_COMBO, 0x0403, text("one")}, {IDC_PROBE_COMBO, 0x0403, text("two")}});
  const size_t firstEntry = 8 + 4;
  std::vector<BYTE> claimsTooMuch = whole;
  const DWORD claimed = 1000;
  std::memcpy(claimsTooMuch.data() + firstEntry + 4, &claimed, sizeof claimed);
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    BOOL result;
    std::vector<std::wstring> strings;
  } cases[] = {
      {"whole", whole, TRUE, {L"one", L"two"}},
      {"without its end mark", {whole.begin(), whole.end() - 2}, FALSE, {L"one", L"two"}},
      {"ending inside the second entry's fields",
       {whole.begin(), whole.begin() + firstEntry + 5},
       FALSE,
       {L"one"}},
      {"ending inside the second text", {whole.begin(), whole.begin() + firstEntry + 8 + 2}, FALSE, {L"one"}},
      {"claiming more than it holds", claimsTooMuch, FALSE, {L"one"}},
      {"another message only",
       platform::dialogs::BuildDialogInit({{IDC_PROBE_COMBO, 0x0401, text("x")}}),
       TRUE,
       {}},
      {"empty", {}, FALSE, {}},
  };
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SendDlgItemMessageW(page.m_hWnd, IDC_PROBE_COMBO, CB_RESETCONTENT, 0, 0);
    // The bytes are a copy of exactly their size, so that the sanitizer sees a read past them.
    const std::vector<BYTE> bytes = c.bytes;
    EXPECT_EQ(page.ExecuteDlgInit(bytes.empty() ? nullptr : bytes.data(), static_cast<DWORD>(bytes.size())),
              c.result);
    EXPECT_EQ(ComboStrings(page.m_hWnd, IDC_PROBE_COMBO), c.strings);
  }
  EXPECT_TRUE(page.DestroyWindow());
}

TEST_F(MfcWndTest, ChildNotificationsAreReflectedToTheChildsMapBeforeTheParentsMap) {
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  ::ShowWindow(page.m_hWnd, SW_SHOW);
  struct Case {
    BOOL letParentSee;
    std::vector<std::string> calls;
  } cases[] = {{FALSE, {"button reflected"}}, {TRUE, {"button reflected", "page OnApply"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letParentSee);
    page.m_apply.letParentSee = c.letParentSee;
    gCalls.clear();
    EXPECT_TRUE(pw::ClickButton(page.m_apply.m_hWnd));
    EXPECT_EQ(gCalls, c.calls) << Joined(gCalls);
  }
  gCalls.clear();
  page.m_edit.SetWindowText(L"1");
  EXPECT_EQ(gCalls, (std::vector<std::string>{"edit EN_UPDATE reflected", "page EN_CHANGE"}))
      << Joined(gCalls);
  page.DestroyWindow();
}

TEST_F(MfcWndTest, ThePreTranslateWalkGoesUpToTheStopWindow) {
  struct CCatcher : CWnd {
    std::string name;
    bool catches = false;
    BOOL PreTranslateMessage(MSG*) override {
      gCalls.push_back(name);
      return catches;
    }
  };
  HWND page = recorder_.Create("page", WS_CHILD | WS_VISIBLE, host_);
  HWND control = recorder_.Create("control", WS_CHILD | WS_VISIBLE, page);
  CCatcher hostObject, pageObject, controlObject;
  hostObject.name = "host";
  pageObject.name = "page";
  controlObject.name = "control";
  ASSERT_TRUE(hostObject.Attach(host_) && pageObject.Attach(page) && controlObject.Attach(control));
  MSG msg{control, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
  EXPECT_FALSE(CWnd::WalkPreTranslateTree(page, &msg));
  EXPECT_EQ(gCalls, (std::vector<std::string>{"control", "page"}))
      << "the host is above the stop: " << Joined(gCalls);
  gCalls.clear();
  pageObject.catches = true;
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(host_, &msg));
  EXPECT_EQ(gCalls, (std::vector<std::string>{"control", "page"})) << Joined(gCalls);
  controlObject.Detach();
  pageObject.Detach();
  hostObject.Detach();
}

TEST_F(MfcWndTest, DoModalEndsWithOkAfterSavingTheData) {
  class CQuestion : public CDialog {
   public:
    CQuestion() : CDialog(IDD_PROBE_MODAL) {}
    void DoDataExchange(CDataExchange* pDX) override {
      gCalls.push_back(pDX->m_bSaveAndValidate ? "save" : "load");
      DDX_Text(pDX, IDC_PROBE_EDIT, m_value);
    }
    CString m_value = L"1.0";
  } question;
  question.m_pParentWnd = CWnd::FromHandle(host_);
  pw::SetModalIdleHook([](HWND dialog) {
    pw::TypeText(::GetDlgItem(dialog, IDC_PROBE_EDIT), L"5");
    pw::ClickButton(::GetDlgItem(dialog, IDOK));
  });
  EXPECT_EQ(question.DoModal(), IDOK);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"load", "save"})) << Joined(gCalls);
  EXPECT_EQ(question.m_value, CString(L"5")) << "typing replaced the selected text";
  EXPECT_EQ(question.m_hWnd, nullptr);
}

TEST_F(MfcWndTest, TheToolTipClassAddsWindowToolsThatSubclassAndKeepsItsSettings) {
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&page, TTS_ALWAYSTIP));
  EXPECT_TRUE(tip.AddTool(&page.m_edit, L"Enter the flow"));
  EXPECT_TRUE(tip.AddTool(&page.m_combo, IDS_PROBE_TIP));
  tip.UpdateTipText(L"Enter the rate", &page.m_edit);
  tip.SetMaxTipWidth(250);
  tip.SetDelayTime(TTDT_AUTOPOP, 20000);
  tip.Activate(FALSE);
  pw::TooltipState state;
  ASSERT_TRUE(pw::GetTooltipState(tip.m_hWnd, &state));
  ASSERT_EQ(state.tools.size(), 2u);
  EXPECT_EQ(state.tools[0].hwnd, page.m_hWnd);
  EXPECT_EQ(state.tools[0].id, reinterpret_cast<UINT_PTR>(page.m_edit.m_hWnd));
  EXPECT_EQ(state.tools[0].flags, static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
  EXPECT_EQ(state.tools[0].text, L"Enter the rate");
  EXPECT_EQ(state.tools[1].text, L"Tip from the string table");
  EXPECT_EQ(state.maxTipWidth, 250);
  EXPECT_EQ(state.autopopDelay, 20000);
  EXPECT_FALSE(state.active);
  EXPECT_EQ(::GetWindow(tip.m_hWnd, GW_OWNER), host_) << "owned by the page's top-level window";
  tip.DestroyWindow();
  page.DestroyWindow();
}

TEST_F(MfcWndTest, ControlClassesWrapTheirMessages) {
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  CEdit& edit = page.m_edit;
  edit.SetWindowText(L"Coriolis");
  edit.SetSel(2, 5);
  int start = 0, end = 0;
  edit.GetSel(start, end);
  EXPECT_EQ((std::vector<int>{start, end}), (std::vector<int>{2, 5}));
  EXPECT_EQ(edit.LineLength(), 5);
  edit.ReplaceSel(L"--", TRUE);
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, CString(L"Co--lis"));
  EXPECT_TRUE(edit.CanUndo());
  page.m_combo.ResetContent();  // the template's dialog-init strings
  page.m_combo.AddString(L"kg/s");
  page.m_combo.AddString(L"g/s");
  page.m_combo.GetLBText(1, text);
  EXPECT_EQ(text, CString(L"g/s"));
  page.m_combo.GetLBText(5, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(page.m_combo.GetCount(), 2);
  CButton check;
  ASSERT_TRUE(check.SubclassDlgItem(IDC_PROBE_CHECK, &page));
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  page.DestroyWindow();
}

TEST_F(MfcWndTest, FontsAndDeviceContextsMeasureWithTheSelectedFontAndCleanUp) {
  CFont font;
  ASSERT_TRUE(font.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Probe Sans"));
  LOGFONT lf{};
  EXPECT_EQ(font.GetLogFont(&lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);
  {
    CClientDC dc(CWnd::FromHandle(host_));
    CFont* previous = dc.SelectObject(&font);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->m_hObject, GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(dc.GetTextExtent(CString(L"Flow rate")).cx, 38);
    TEXTMETRIC tm{};
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, 13);
    dc.SelectObject(previous);
  }
  CWnd::FromHandle(host_)->SetFont(&font);
  EXPECT_EQ(CWnd::FromHandle(host_)->GetFont(), nullptr) << "a plain window keeps no font";
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
  EXPECT_EQ(memory.GetDeviceCaps(LOGPIXELSY), 96);
  // The destructors delete the font and the context; TearDown counts the objects.
}

}  // namespace

namespace {

// A button that records the timers it receives and stops the first one it sees.
class CTimedButton : public CButton {
 public:
  std::vector<UINT_PTR> fired;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    fired.push_back(nIDEvent);
    if (fired.size() == 1) KillTimer(nIDEvent);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimedButton, CButton)
ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST_F(MfcWndTest, AWindowsTimerReachesItsOnTimerWithItsIdOnTheTestClock) {
  CProbePage page;
  ASSERT_TRUE(page.Create(IDD_PROBE_PAGE, CWnd::FromHandle(host_)));
  CTimedButton button;
  ASSERT_TRUE(button.SubclassDlgItem(IDC_PROBE_CHECK, &page));
  pw::PumpMessages();

  EXPECT_EQ(button.SetTimer(IDC_PROBE_CHECK, 300), static_cast<UINT_PTR>(IDC_PROBE_CHECK));
  EXPECT_EQ(button.SetTimer(77, 500), static_cast<UINT_PTR>(77));
  pw::AdvanceClock(299);
  pw::PumpMessages();
  EXPECT_TRUE(button.fired.empty()) << "no timer is due before its time";
  pw::AdvanceClock(1);
  pw::PumpMessages();
  EXPECT_EQ(button.fired, (std::vector<UINT_PTR>{IDC_PROBE_CHECK}));
  pw::AdvanceClock(300);
  pw::PumpMessages();
  EXPECT_EQ(button.fired, (std::vector<UINT_PTR>{IDC_PROBE_CHECK, 77})) << "the first one killed itself";
  EXPECT_TRUE(button.KillTimer(77));
  EXPECT_FALSE(button.KillTimer(77)) << "no such timer any more";
  pw::AdvanceClock(1000);
  pw::PumpMessages();
  EXPECT_EQ(button.fired.size(), 2u);

  // A window whose map has no entry passes WM_TIMER on to its procedure (Default()).
  CButton plain;
  ASSERT_TRUE(plain.SubclassDlgItem(IDC_PROBE_RADIO1, &page));
  EXPECT_EQ(plain.SetTimer(5, 10), static_cast<UINT_PTR>(5));
  pw::AdvanceClock(10);
  EXPECT_GE(pw::PumpMessages(), 1);
  EXPECT_TRUE(plain.KillTimer(5));
  page.DestroyWindow();
}
