// The control base, the static text and the push button, driven as a page drives them: a
// small page of the test's own (a dialog over an in-memory template that forwards its control
// services to the simulated host parent, as a panel does) subclasses its items into the
// controls; the simulated module answers the safety and module-state questions.
#include <windows.h>

#include <HostParent.h>
#include <dlgtemplate.h>
#include <oleauto.h>
#include <platform/testing_windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "HostSession.h"
#include "PVButtonCtrl.h"
#include "PVCtrl.h"
#include "PVCtrlStatic.h"
#include "PromptInfo.h"
#include "WindowsHelpers.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;
namespace win = platform::windows;
namespace dlg = platform::dialogs;

constexpr int kOneLineStatic = 9001;
constexpr int kMultiLineStatic = 9002;
constexpr int kButton = 9003;
constexpr int kCombo = 9004;
constexpr int kCtrlA = 9005;
constexpr int kCtrlB = 9006;
constexpr int kThirdStatic = 9007;
constexpr int kMissingItem = 9099;  // no item of the page has it

// The page's 8-point font measures by the platform's font rule: em 11, tmHeight 13, 5 pixels
// for most characters, 7 for M and W, 2 for i, l, t and blanks.
constexpr int kLineHeight = 13;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

int IdOf(CWnd* window) {
  return window ? window->GetDlgCtrlID() : 0;
}

// An ordinary page control (a push button) that writes what it is asked into a journal.
class TestCtrl : public CButton, public CPVCtrl {
 public:
  TestCtrl(int itemId, std::vector<std::wstring>* journal) : CPVCtrl(itemId), m_journal(journal) {}

  STDMETHODIMP Refresh() override {
    Note(L"Refresh dirty=" + std::to_wstring(m_bDirty));
    return refreshResult;
  }
  STDMETHODIMP ClearDirty() override {
    Note(L"ClearDirty");
    return FAILED(clearResult) ? clearResult : CPVCtrl::ClearDirty();
  }
  STDMETHODIMP OnChangedCtrlData(CWnd*, int changedItemId) override {
    Note(L"OnChangedCtrlData(" + std::to_wstring(changedItemId) + L")");
    return S_OK;
  }
  void ExemptFromSafety() { m_bSafetyExempt = 1; }

  HRESULT refreshResult = S_OK;
  HRESULT clearResult = S_OK;

 private:
  void Note(const std::wstring& what) { m_journal->push_back(std::to_wstring(m_nID) + L"." + what); }
  std::vector<std::wstring>* m_journal;
};

// A control with nothing overridden: the defaults as they stand.
class PlainCtrl : public CButton, public CPVCtrl {
 public:
  explicit PlainCtrl(int itemId) : CPVCtrl(itemId) {}
};

// The static with its tooltip in view.
class TestStatic : public CPVCtrlStatic {
 public:
  using CPVCtrlStatic::CPVCtrlStatic;
  HWND Tooltip() const { return m_toolTip.m_hWnd; }
  const TOOLINFOW& ToolInfo() const { return m_toolInfo; }
};

// The page: its controls' services forwarded to the host parent, as a panel forwards them;
// CtrlModified reaches every control, the sender included.
class TestPage : public CDialog, public IPVPropPageEnum {
 public:
  TestPage(hostsim::HostParent* parent, std::vector<std::wstring>* journal)
      : m_parent(parent), m_journal(journal) {}

  bool CreateIn(HWND host) {
    dlg::DialogTemplate t;
    t.style = WS_CHILD | WS_VISIBLE | DS_SETFONT;
    t.cx = 300;
    t.cy = 200;
    t.pointSize = 8;
    t.typeface = L"Page Sans";
    auto item = [&](DWORD id, WORD cls, DWORD style) {
      dlg::DialogItem i;
      i.id = id;
      i.style = WS_CHILD | WS_VISIBLE | style;
      i.cx = 50;
      i.cy = 10;
      i.windowClass = dlg::NameOrOrdinal::Ordinal(cls);
      t.items.push_back(i);
    };
    constexpr WORD kButtonClass = 0x0080, kStaticClass = 0x0082, kComboClass = 0x0085;
    item(kOneLineStatic, kStaticClass, SS_LEFT);
    item(kMultiLineStatic, kStaticClass, SS_LEFT);
    item(kButton, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP);
    item(kCombo, kComboClass, CBS_DROPDOWNLIST);
    item(kCtrlA, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP);
    item(kCtrlB, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP);
    item(kThirdStatic, kStaticClass, SS_LEFT);
    m_template = dlg::BuildDialogTemplateEx(t);
    return CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data()), CWnd::FromHandle(host)) !=
           FALSE;
  }

  // The control joins the page's list (its page link set) and, when it has a window class,
  // its dialog item.
  void Add(IPVCtrl* control) {
    EXPECT_EQ(Hr(S_OK), Hr(control->SetIPVPropPageEnum(this)));
    controls.push_back(control);
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = riid == IID_IUnknown || riid == __uuidof(IPVPropPageEnum) ? static_cast<IPVPropPageEnum*>(this)
                                                                     : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP ForwardParentRequest() override { return m_parent->ForwardParentRequest(); }
  STDMETHODIMP CtrlModified(CWnd* sender, int changedItemId, VARIANT_BOOL markDirty) override {
    m_journal->push_back(L"page.CtrlModified(" + std::to_wstring(IdOf(sender)) + L", " +
                         std::to_wstring(changedItemId) + (markDirty ? L", dirty)" : L", clean)"));
    HRESULT result = S_OK;
    for (IPVCtrl* control : controls) {
      const HRESULT hr = control->OnChangedCtrlData(sender, changedItemId);
      if (FAILED(hr)) result = hr;
    }
    return result;
  }
  STDMETHODIMP OnFocusChange(CWnd* control) override {
    m_journal->push_back(L"page.OnFocusChange(" + std::to_wstring(IdOf(control)) + L")");
    return focusChangeResult;
  }
  STDMETHODIMP RequestInputFocus(CWnd* control) override {
    m_journal->push_back(L"page.RequestInputFocus(" + std::to_wstring(IdOf(control)) + L")");
    if (!control) return E_INVALIDARG;
    const HRESULT hr = m_parent->RequestInputFocus(nullptr);
    if (SUCCEEDED(hr)) control->SetFocus();
    return hr;
  }
  STDMETHODIMP GetPropPageEnumCWnd(CWnd** window) override {
    if (!window) return E_INVALIDARG;
    *window = answersWindow ? this : nullptr;
    return answersWindow ? S_OK : E_FAIL;
  }
  STDMETHODIMP ShowErrorDlg(BSTR text, BSTR caption, LONG helpContext) override {
    return m_parent->ShowErrorDlg(text, caption, helpContext);
  }
  STDMETHODIMP QueryParentFlag(VARIANT_BOOL* flag, LONG value) override {
    BOOL answer = FALSE;
    const HRESULT hr = m_parent->QueryFlag(&answer, value);
    if (SUCCEEDED(hr) && flag) *flag = answer ? VARIANT_TRUE : VARIANT_FALSE;
    return hr;
  }
  STDMETHODIMP GetVexilMode(LONG* mode) override { return m_parent->GetVexilMode(mode); }
  STDMETHODIMP GetRedundancyState(LONG* state) override { return m_parent->GetRedundancyState(state); }
  STDMETHODIMP GetIPVDlgManager(IPVDialogManager** manager) override {
    return m_parent->GetDialogManager(manager);
  }
  STDMETHODIMP_(int)
  ShowMessageDlg(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) override {
    return m_parent->ShowMessageDlg(owner, text, style, helpContext, caption);
  }
  STDMETHODIMP GetHostService(REFCLSID clsid, IUnknown** service) override {
    return m_parent->GetHostService(clsid, service);
  }

  std::vector<IPVCtrl*> controls;
  bool answersWindow = true;
  HRESULT focusChangeResult = S_OK;

 private:
  hostsim::HostParent* m_parent;
  std::vector<std::wstring>* m_journal;
  std::vector<BYTE> m_template;
};

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest()
      : module(hostsim::HostModule::Create()),
        parent(hostsim::HostParent::Create(module.get())),
        page(parent.get(), &journal) {
    EXPECT_TRUE(page.CreateIn(window.get()));
    parent->vexil.mode = 7;  // neither offline nor program mode: ordinary controls enabled
    orvolog::ClearRecords();
  }
  ~ControlsTest() override {
    if (page.m_hWnd) page.DestroyWindow();
  }

  // The control as a page sets it up: in the list, given the module, its item subclassed.
  template <class Control>
  void Attach(Control& control, bool withModule = true) {
    page.Add(&control);
    if (withModule) {
      EXPECT_EQ(Hr(S_OK), Hr(control.SetIModule(module->GetModule())));
    }
    if (control.GetCtrlID() != kMissingItem) {
      EXPECT_TRUE(control.SubclassDlgItem(control.GetCtrlID(), &page));
    }
  }

  void SetSecured(bool secured) {
    module->safety.enabled = secured ? VARIANT_TRUE : VARIANT_FALSE;
    module->safety.locked = VARIANT_FALSE;
  }

  // The log since the last look, emptied.
  std::vector<std::wstring> TakeLog() {
    std::vector<std::wstring> log = pvtest::LoggedSinceClear();
    orvolog::ClearRecords();
    return log;
  }

  HostSession session;
  hostsim::Ref<hostsim::HostModule> module;
  hostsim::Ref<hostsim::HostParent> parent;
  hostsim::HostWindow window;
  std::vector<std::wstring> journal;
  TestPage page;
};

using Log = std::vector<std::wstring>;

// ---------------------------------------------------------------------------------------
// The contract's defaults

TEST_F(ControlsTest, QueryInterfaceAnswersItsTableAndCountsNothing) {
  PlainCtrl ctrl(kCtrlA);
  const struct {
    const char* name;
    IID iid;
    void* expected;  // null: not answered
  } cases[] = {
      {"IUnknown", IID_IUnknown, static_cast<IPVCtrl*>(&ctrl)},
      {"IPVCtrl", __uuidof(IPVCtrl), static_cast<IPVCtrl*>(&ctrl)},
      {"IPVDocumentation", __uuidof(IPVDocumentation), static_cast<IPVDocumentation*>(&ctrl)},
      {"IPVEventHandler2", __uuidof(IPVEventHandler2), static_cast<IPVEventHandler2*>(&ctrl)},
      {"IPVCloseDlgHandler", __uuidof(IPVCloseDlgHandler), static_cast<IPVCloseDlgHandler*>(&ctrl)},
      {"IPVVexilProperties", __uuidof(IPVVexilProperties), static_cast<IPVVexilProperties*>(&ctrl)},
      {"IPVPropPageEnum", __uuidof(IPVPropPageEnum), nullptr},
      {"IDispatch", __uuidof(IDispatch), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    void* out = &ctrl;  // anything but null: a refusal must clear it
    EXPECT_EQ(Hr(c.expected ? S_OK : E_NOINTERFACE), Hr(ctrl.QueryInterface(c.iid, &out)));
    EXPECT_EQ(c.expected, out);
  }
  EXPECT_EQ(Hr(E_POINTER), Hr(ctrl.QueryInterface(IID_IUnknown, nullptr)));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(2u, ctrl.AddRef());
    EXPECT_EQ(1u, ctrl.Release());
    EXPECT_EQ(1u, ctrl.Release());  // below any count: the control lives on
  }
  EXPECT_EQ(Hr(S_OK), Hr(ctrl.OnActivate()));
}

TEST_F(ControlsTest, DefaultOperationsGiveTheirFixedResults) {
  PlainCtrl ctrl(kCtrlA);
  const struct {
    const char* name;
    std::function<HRESULT()> call;
    HRESULT expected;
    Log log;
  } cases[] = {
      {"OnActivate", [&] { return ctrl.OnActivate(); }, S_OK, {}},
      {"OnDeactivate", [&] { return ctrl.OnDeactivate(); }, S_OK, {}},
      {"Save", [&] { return ctrl.Save(); }, S_OK, {}},
      {"Refresh", [&] { return ctrl.Refresh(); }, S_OK, {}},
      {"ClearDirty", [&] { return ctrl.ClearDirty(); }, S_OK, {}},
      {"OnChangedCtrlData", [&] { return ctrl.OnChangedCtrlData(nullptr, kCtrlB); }, S_OK, {}},
      {"OnValidationError", [&] { return ctrl.OnValidationError(1, nullptr, nullptr); }, E_FAIL, {}},
      {"PostModDefChange", [&] { return ctrl.PostModDefChange(); }, S_FALSE, {}},
      {"ModuleStatusChanged", [&] { return ctrl.ModuleStatusChanged(); }, S_OK, {}},
      {"Flush", [&] { return ctrl.Flush(); }, S_OK, {}},
      {"DataChanged", [&] { return ctrl.DataChanged(); }, S_OK, {}},
      {"ModuleDefinitionChanged", [&] { return ctrl.ModuleDefinitionChanged(); }, S_OK, {}},
      {"Reverted", [&] { return ctrl.Reverted(); }, S_OK, {}},
      {"DirtyStateChanged", [&] { return ctrl.DirtyStateChanged(); }, S_OK, {}},
      {"OnCloseDlg", [&] { return ctrl.OnCloseDlg(); }, S_OK, {}},
      {"ModuleDeleted",
       [&] { return ctrl.ModuleDeleted(); },
       S_OK,
       {L"CPVCtrlBase::ModuleDeleted: ModuleDeleted() should never get called"}},
      {"GetDocumentationDirtyState(null)",
       [&] { return ctrl.GetDocumentationDirtyState(nullptr); },
       E_INVALIDARG,
       {L"CPVCtrlBase::GetDocumentationDirtyState: Pointer pUserDescriptionDirtyState is NULL"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hr(c.expected), Hr(c.call()));
    EXPECT_EQ(c.log, TakeLog());
  }
  VARIANT_BOOL dirty = VARIANT_TRUE;
  EXPECT_EQ(Hr(S_OK), Hr(ctrl.GetDocumentationDirtyState(&dirty)));
  EXPECT_EQ(VARIANT_FALSE, dirty);
}

TEST_F(ControlsTest, LinksAreAcceptedOnceAndTheModuleIsReleasedWithTheControl) {
  hostsim::Ref<hostsim::HostModule> other(hostsim::HostModule::Create());
  TestPage otherPage(parent.get(), &journal);
  const ULONG before = module->AddRef() - 1;
  module->Release();
  {
    PlainCtrl ctrl(kCtrlA);
    EXPECT_EQ(Hr(E_INVALIDARG), Hr(ctrl.SetIPVPropPageEnum(nullptr)));
    EXPECT_EQ(Hr(S_OK), Hr(ctrl.SetIPVPropPageEnum(&page)));
    EXPECT_EQ(Hr(E_UNEXPECTED), Hr(ctrl.SetIPVPropPageEnum(&otherPage)));
    EXPECT_EQ(static_cast<IPVPropPageEnum*>(&page), ctrl.GetIPVPropPageEnum());

    EXPECT_EQ(Hr(E_INVALIDARG), Hr(ctrl.SetIModule(nullptr)));
    EXPECT_EQ(Hr(S_OK), Hr(ctrl.SetIModule(module->GetModule())));
    EXPECT_EQ(Hr(E_UNEXPECTED), Hr(ctrl.SetIModule(other->GetModule())));
    EXPECT_EQ(module->GetModule(), ctrl.GetIModule());
    EXPECT_TRUE(ctrl.IsValid());
    EXPECT_EQ((Log{L"CPVCtrlBase::SetIPVPropPageEnum: Invalid argument 'pIPVPropPageEnum'",
                   L"CPVCtrlBase::SetIPVPropPageEnum: SetIPVPropPageEnum should only be called once.",
                   L"CPVCtrlBase::SetIModule: Invalid parameter 'pIModule'",
                   L"CPVCtrlBase::SetIModule: SetIModule should only be called once."}),
              TakeLog());
    EXPECT_EQ(before + 1, module->AddRef() - 1);  // the control holds one reference
    module->Release();
  }
  EXPECT_EQ(before, module->AddRef() - 1);
  module->Release();
}

TEST_F(ControlsTest, WithoutPageOrModuleTheServicesFallBack) {
  PlainCtrl ctrl(kCtrlA);
  const std::wstring noPage =
      L"CPVCtrlBase::GetIPVPropPageEnum: Attempted to retrieve null pointer. SetIPVPropPageEnum has not been "
      L"called.";
  const std::wstring noModule =
      L"CPVCtrlBase::GetIModule: Attempted to retrieve null pointer. SetIModule has not been called.";
  const struct {
    const char* name;
    std::function<LONG_PTR()> call;
    LONG_PTR expected;
    Log log;
  } cases[] = {
      {"GetVexilMode", [&] { return ctrl.GetVexilMode(); }, 8, {noPage}},
      {"GetRedundancyState", [&] { return ctrl.GetRedundancyState(); }, 1, {noPage}},
      {"GetParentCWnd", [&] { return reinterpret_cast<LONG_PTR>(ctrl.GetParentCWnd()); }, 0, {noPage}},
      {"GetCWnd",
       [&] { return reinterpret_cast<LONG_PTR>(ctrl.GetCWnd()); },
       0,
       {noPage, L"CPVCtrl::GetCWnd: Failed to obtain parent CWnd"}},
      {"GetIPVDlgManager", [&] { return ctrl.GetIPVDlgManager() ? 1 : 0; }, 0, {noPage}},
      {"GetIApplication", [&] { return ctrl.GetIApplication() ? 1 : 0; }, 0, {noPage}},
      {"GetModuleStateFlag", [&] { return ctrl.GetModuleStateFlag(); }, 0, {noModule}},
      {"IsValid", [&] { return ctrl.IsValid(); }, 0, {L"CPVCtrlBase::IsValid: Object state is invalid."}},
      {"OnCtrlSetFocus", [&] { return ctrl.OnCtrlSetFocus(); }, E_FAIL, {noPage}},
      {"NotifyModified",
       [&] { return ctrl.NotifyModified(); },
       E_FAIL,
       {noPage, L"CPVCtrl::GetCWnd: Failed to obtain parent CWnd", noPage}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.call());
    EXPECT_EQ(c.log, TakeLog());
  }
  // Redundancy 1 and mode 8 keep a control without a page disabled.
  EXPECT_FALSE(ctrl.IsCtrlEnabled());
  LONG mode = 0, state = 0;
  EXPECT_EQ(Hr(S_OK), Hr(ctrl.GetVexilMode(&mode)));
  EXPECT_EQ(Hr(S_OK), Hr(ctrl.GetRedundancyState(&state)));
  EXPECT_EQ(8, mode);
  EXPECT_EQ(1, state);
}

// ---------------------------------------------------------------------------------------
// Enable rules

TEST_F(ControlsTest, DefaultEnableRuleOverModeRedundancyAndSafety) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  auto expected = [](LONG mode, LONG redundancy, bool secured) {
    return !secured && redundancy != 1 && mode != 4 && mode != 8;
  };
  for (LONG mode = 0; mode <= 9; ++mode) {
    for (LONG redundancy : {0, 1, 2}) {
      for (bool secured : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << mode << " redundancy " << redundancy << " secured " << secured);
        parent->vexil.mode = mode;
        parent->vexil.redundancy = redundancy;
        SetSecured(secured);
        EXPECT_EQ(expected(mode, redundancy, secured), ctrl.IsCtrlEnabled() != FALSE);
        ctrl.EnableWindow(!expected(mode, redundancy, secured));
        EXPECT_EQ(Hr(S_OK), Hr(ctrl.PreInitialActivate()));
        EXPECT_EQ(expected(mode, redundancy, secured), ::IsWindowEnabled(ctrl.m_hWnd) != FALSE);
        ctrl.EnableWindow(!expected(mode, redundancy, secured));
        EXPECT_EQ(Hr(S_OK), Hr(ctrl.VexilStateChanged(12345)));
        EXPECT_EQ(expected(mode, redundancy, secured), ::IsWindowEnabled(ctrl.m_hWnd) != FALSE);
        LONG answered = -1;
        EXPECT_EQ(Hr(S_OK), Hr(ctrl.GetVexilMode(&answered)));
        EXPECT_EQ(mode, answered);
        EXPECT_EQ(Hr(S_OK), Hr(ctrl.GetRedundancyState(&answered)));
        EXPECT_EQ(redundancy, answered);
      }
    }
  }
  EXPECT_EQ(Log{}, TakeLog());
}

TEST_F(ControlsTest, EnableRuleFailuresKeepTheControlDisabled) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  struct Case {
    const char* name;
    std::function<void()> arrange;
    Log log;
  };
  const Case cases[] = {
      {"mode query fails",
       [&] { parent->vexil.modeResult = E_FAIL; },
       {L"CPVCtrlBase::GetVexilMode: Failed to retrieve Vexil Mode"}},
      {"redundancy query fails",
       [&] { parent->vexil.redundancyResult = E_FAIL; },
       {L"CPVCtrlBase::GetRedundancyState: Failed to retrieve Redundancy State"}},
      {"lock query fails with safety enabled",
       [&] {
         SetSecured(true);
         module->safety.lockedResult = E_FAIL;
       },
       {L"CPVCtrlBase::GetSafetySecuredState: Failed to retrieve Safety Secured State"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    parent->vexil = {};
    parent->vexil.mode = 7;
    module->safety = {};
    c.arrange();
    EXPECT_FALSE(ctrl.IsCtrlEnabled());
    EXPECT_EQ(c.log, TakeLog());
  }
  // A control exempt from the safety test is enabled while secured.
  parent->vexil = {};
  parent->vexil.mode = 7;
  module->safety = {};
  SetSecured(true);
  EXPECT_FALSE(ctrl.IsCtrlEnabled());
  ctrl.ExemptFromSafety();
  EXPECT_TRUE(ctrl.IsCtrlEnabled());
}

TEST_F(ControlsTest, OnlineEnableRuleOverModeRedundancyAndModuleState) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  for (LONG mode = 0; mode <= 8; ++mode) {
    for (LONG redundancy : {0, 1}) {
      for (bool flag : {false, true}) {
        for (bool secured : {false, true}) {
          SCOPED_TRACE(testing::Message() << "mode " << mode << " redundancy " << redundancy << " flag "
                                          << flag << " secured " << secured);
          parent->vexil.mode = mode;
          parent->vexil.redundancy = redundancy;
          module->stateFlag.flag = flag ? VARIANT_TRUE : VARIANT_FALSE;
          SetSecured(secured);
          const bool expected = mode >= 1 && mode <= 6 && redundancy != 1 && !flag;
          EXPECT_EQ(expected, ctrl.IsOnlineCtrlEnabled() != FALSE);
        }
      }
    }
  }
}

TEST_F(ControlsTest, ModuleStateFlagIsSetOnlyForATrueAnswer) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  const struct {
    bool answers;
    HRESULT result;
    VARIANT_BOOL flag;
    BOOL expected;
  } cases[] = {
      {true, S_OK, VARIANT_TRUE, TRUE},    {true, S_OK, VARIANT_FALSE, FALSE},
      {true, S_FALSE, VARIANT_TRUE, TRUE}, {true, S_OK, 1, FALSE},
      {true, E_FAIL, VARIANT_TRUE, FALSE}, {false, S_OK, VARIANT_TRUE, FALSE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "answers " << c.answers << " result " << c.result << " flag "
                                    << c.flag);
    module->stateFlag = {c.answers, c.result, c.flag};
    EXPECT_EQ(c.expected, ctrl.GetModuleStateFlag());
  }
}

// ---------------------------------------------------------------------------------------
// Change notification, revert, window services

TEST_F(ControlsTest, NotifyModifiedReachesEveryControlAndMarksDirtyOnlyWhileTracking) {
  TestCtrl first(kCtrlA, &journal), second(kCtrlB, &journal);
  Attach(first);
  Attach(second);
  for (bool tracking : {true, false}) {
    SCOPED_TRACE(tracking ? "tracking" : "not tracking");
    journal.clear();
    first.ClearDirty();
    journal.clear();
    first.SetDirtyTracking(tracking);
    EXPECT_EQ(Hr(S_OK), Hr(first.NotifyModified()));
    const std::wstring mark = tracking ? L"dirty" : L"clean";
    EXPECT_EQ((Log{L"page.CtrlModified(9005, 9005, " + mark + L")", L"9005.OnChangedCtrlData(9005)",
                   L"9006.OnChangedCtrlData(9005)"}),
              journal);
    EXPECT_EQ(tracking, first.IsDirty() != FALSE);
    EXPECT_FALSE(second.IsDirty());
    first.ClearDirty();
    first.SetCtrlDirty();
    EXPECT_EQ(tracking, first.IsDirty() != FALSE);
  }
}

TEST_F(ControlsTest, RevertedClearsDirtyBeforeRefreshing) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  const struct {
    const char* name;
    HRESULT clearResult;
    HRESULT refreshResult;
    HRESULT expected;
    Log calls;
  } cases[] = {
      {"both succeed", S_OK, S_FALSE, S_FALSE, {L"9005.ClearDirty", L"9005.Refresh dirty=0"}},
      {"clear fails", E_ACCESSDENIED, S_OK, E_ACCESSDENIED, {L"9005.ClearDirty"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ctrl.SetCtrlDirty();
    journal.clear();
    ctrl.clearResult = c.clearResult;
    ctrl.refreshResult = c.refreshResult;
    EXPECT_EQ(Hr(c.expected), Hr(ctrl.Reverted()));
    EXPECT_EQ(c.calls, journal);
  }
  journal.clear();
  ctrl.refreshResult = E_FAIL;
  EXPECT_EQ(Hr(E_FAIL), Hr(ctrl.DataChanged()));
  EXPECT_EQ((Log{L"9005.Refresh dirty=1"}), journal);
}

TEST_F(ControlsTest, ShowControlAndFocusGoThroughTheControlsWindow) {
  TestCtrl ctrl(kCtrlA, &journal);
  PlainCtrl missing(kMissingItem);
  Attach(ctrl);
  Attach(missing);
  EXPECT_TRUE(ctrl.ShowControl(SW_HIDE));  // it was visible
  EXPECT_FALSE(::IsWindowVisible(ctrl.m_hWnd));
  EXPECT_FALSE(ctrl.ShowControl(SW_SHOW));
  EXPECT_TRUE(::IsWindowVisible(ctrl.m_hWnd));
  EXPECT_FALSE(missing.ShowControl(SW_HIDE));
  EXPECT_EQ((Log{L"CPVCtrl::GetCWnd: Failed to obtain PVCtrl's CWnd",
                 L"CPVCtrl::ShowControl: Failed to obtain CWnd"}),
            TakeLog());
  EXPECT_EQ(Hr(S_OK), Hr(missing.UpdateEnableState()));  // no window: left alone
  TakeLog();

  EXPECT_EQ(Hr(S_OK), Hr(ctrl.OnCtrlSetFocus()));
  page.focusChangeResult = E_ABORT;
  EXPECT_EQ(Hr(E_ABORT), Hr(ctrl.OnCtrlSetFocus()));
  EXPECT_EQ((Log{L"page.OnFocusChange(9005)", L"page.OnFocusChange(9005)"}), journal);
  EXPECT_EQ((Log{L"CPVCtrl::OnCtrlSetFocus: OnFocusChange failed"}), TakeLog());

  page.answersWindow = false;
  EXPECT_EQ(nullptr, ctrl.GetCWnd());
  EXPECT_EQ((Log{L"CPVCtrlBase::GetParentCWnd: Failed to retrieve PropPageEnumCWnd",
                 L"CPVCtrl::GetCWnd: Failed to obtain parent CWnd"}),
            TakeLog());
}

TEST_F(ControlsTest, DialogManagerComesFromThePage) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  EXPECT_EQ(static_cast<IPVDialogManager*>(parent->dialogManager()),
            ctrl.GetIPVDlgManager().GetInterfacePtr());
  parent->SetDialogManager(nullptr);
  EXPECT_FALSE(ctrl.GetIPVDlgManager());
  EXPECT_EQ((Log{L"CPVCtrlBase::GetIPVDlgManager: Failed to obtain IPVDialogManager"}), TakeLog());
}

TEST_F(ControlsTest, ApplicationObjectThroughTheViewConnectorChain) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  hostsim::ViewConnectorState& chain = *parent->viewConnector;
  const int heldByHost = chain.liveObjects;  // the service object the parent keeps
  const struct {
    const char* name;
    std::function<void()> arrange;
    const wchar_t* message;  // null: the application object is given
  } cases[] = {
      {"every step answers", [] {}, nullptr},
      {"no service", [&] { parent->hostServiceResult = E_FAIL; },
       L"Failed to obtain CLSID_PVExtHostViewConnector."},
      {"service without interface", [&] { chain.answersServiceInterface = false; },
       L"Failed to obtain IPVExtHostViewConnector."},
      {"no connector", [&] { chain.connectorResult = E_FAIL; },
       L"Failed to obtain the HostViewConnector object."},
      {"connector without interface", [&] { chain.answersConnectorInterface = false; },
       L"Failed to obtain the IHostViewConnector interface."},
      {"no application", [&] { chain.applicationResult = E_FAIL; },
       L"Failed to obtain the Application Object."},
      {"application without interface", [&] { chain.answersApplicationInterface = false; },
       L"Failed to obtain the IApplication interface."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    parent->hostServiceResult = S_OK;
    chain.answersServiceInterface = chain.answersConnectorInterface = chain.answersApplicationInterface =
        true;
    chain.connectorResult = chain.applicationResult = S_OK;
    c.arrange();
    {
      IApplicationPtr application = ctrl.GetIApplication();
      EXPECT_EQ(c.message == nullptr, application != nullptr);
    }
    EXPECT_EQ(c.message ? Log{std::wstring(L"CPVCtrlBase::GetIApplication: ") + c.message} : Log{},
              TakeLog());
    EXPECT_EQ(heldByHost, chain.liveObjects);  // every step's reference released
  }
}

// ---------------------------------------------------------------------------------------
// The four reporting operations

IErrorInfoPtr MakeErrorInfo() {
  ICreateErrorInfoPtr create;
  EXPECT_EQ(Hr(S_OK), Hr(CreateErrorInfo(&create)));
  create->SetDescription(const_cast<LPOLESTR>(L"Flow above the limit"));
  create->SetHelpFile(const_cast<LPOLESTR>(L"Z:\\help\\meter.chm"));
  create->SetHelpContext(77);
  IErrorInfoPtr info;
  create->QueryInterface(__uuidof(IErrorInfo), reinterpret_cast<void**>(&info));
  return info;
}

TEST_F(ControlsTest, ErrorHandlersShowTheErrorInformationThroughThePage) {
  TestCtrl ctrl(kCtrlA, &journal), other(kCtrlB, &journal);
  Attach(ctrl);
  Attach(other);
  IErrorInfoPtr info = MakeErrorInfo();
  IErrorInfo* raw = info;
  using Handler = std::function<HRESULT()>;
  const Handler validation = [&] { return ctrl.DefaultValidationErrorHandler(0x80040217, nullptr, &raw); };
  const Handler errorInfo = [&] { return ctrl.IErrorInfoErrorHandler(&raw); };
  const struct {
    const char* name;
    Handler call;
    HRESULT dialogResult;
    HRESULT expected;
    const wchar_t* function;
  } cases[] = {
      {"validation, shown", validation, S_OK, S_OK, L"CPVCtrl::DefaultValidationErrorHandler"},
      {"validation, S_FALSE", validation, S_FALSE, S_OK, L"CPVCtrl::DefaultValidationErrorHandler"},
      {"validation, failed", validation, E_FAIL, E_FAIL, L"CPVCtrl::DefaultValidationErrorHandler"},
      {"error info, shown", errorInfo, S_OK, S_OK, L"CPVCtrl::IErrorInfoErrorHandler"},
      {"error info, S_FALSE", errorInfo, S_FALSE, S_FALSE, L"CPVCtrl::IErrorInfoErrorHandler"},
      {"error info, failed", errorInfo, E_FAIL, E_FAIL, L"CPVCtrl::IErrorInfoErrorHandler"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    other.SetFocus();
    journal.clear();
    parent->errorDialogs.clear();
    parent->errorDialogResult = c.dialogResult;
    EXPECT_EQ(Hr(c.expected), Hr(c.call()));
    EXPECT_EQ((Log{L"page.RequestInputFocus(9005)"}), journal);
    ASSERT_EQ(1u, parent->errorDialogs.size());
    EXPECT_EQ(L"Flow above the limit", parent->errorDialogs[0].text);
    EXPECT_EQ(L"Z:\\help\\meter.chm", parent->errorDialogs[0].caption);  // the help file, as it is passed
    EXPECT_EQ(77, parent->errorDialogs[0].helpContext);
    EXPECT_EQ(
        FAILED(c.dialogResult) ? Log{std::wstring(c.function) + L": Failed to display error dialog"} : Log{},
        TakeLog());
    EXPECT_EQ(ctrl.m_hWnd, ::GetFocus());  // the focus request, and the focus given back when shown
  }
}

TEST_F(ControlsTest, PromptAndMessageDialogsShowThePromptThroughThePage) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  CPromptInfo prompt(L"Value 12 is above 10", L"Input error", 5);

  EXPECT_EQ(Hr(S_OK), Hr(ctrl.PromptMsgHandler(&prompt)));
  ASSERT_EQ(1u, parent->errorDialogs.size());
  EXPECT_EQ(L"Value 12 is above 10", parent->errorDialogs[0].text);
  EXPECT_EQ(L"Input error", parent->errorDialogs[0].caption);
  EXPECT_EQ(5, parent->errorDialogs[0].helpContext);
  parent->errorDialogResult = E_ABORT;
  EXPECT_EQ(Hr(E_ABORT), Hr(ctrl.PromptMsgHandler(&prompt)));
  EXPECT_EQ((Log{L"CPVCtrl::PromptMsgHandler: Failed to display error dialog"}), TakeLog());

  for (int answer : {IDYES, IDNO, -1}) {
    SCOPED_TRACE(answer);
    parent->messageDialogs.clear();
    parent->messageDialogAnswer = answer;
    EXPECT_EQ(answer, ctrl.MessageDlg(&prompt, MB_YESNO | MB_ICONQUESTION));
    ASSERT_EQ(1u, parent->messageDialogs.size());
    const hostsim::MessageDialogRecord& shown = parent->messageDialogs[0];
    EXPECT_EQ(page.m_hWnd, shown.owner);
    EXPECT_EQ(L"Value 12 is above 10", shown.text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), shown.style);
    EXPECT_EQ(5, shown.helpContext);
    EXPECT_EQ(L"Input error", shown.caption);
    EXPECT_EQ(answer == -1 ? Log{L"CPVCtrl::MessageDlg: Failed to display message dialog"} : Log{},
              TakeLog());
  }
  EXPECT_EQ((Log(5, L"page.RequestInputFocus(9005)")), journal);
}

TEST_F(ControlsTest, ReportingWithoutPageOrWindowShowsNothing) {
  PlainCtrl withoutPage(kCtrlA);
  PlainCtrl withoutWindow(kMissingItem);
  Attach(withoutWindow);
  IErrorInfoPtr info = MakeErrorInfo();
  IErrorInfo* raw = info;
  IErrorInfo* none = nullptr;
  CPromptInfo prompt(L"text", L"caption", 1);
  const std::wstring noPage =
      L"CPVCtrlBase::GetIPVPropPageEnum: Attempted to retrieve null pointer. SetIPVPropPageEnum has not been "
      L"called.";
  const std::wstring noItem = L"CPVCtrl::GetCWnd: Failed to obtain PVCtrl's CWnd";
  const struct {
    const char* name;
    std::function<LONG()> call;
    LONG expected;
    Log log;
  } cases[] = {
      {"validation, no page",
       [&] { return withoutPage.DefaultValidationErrorHandler(0, nullptr, &raw); },
       E_FAIL,
       {noPage, L"CPVCtrl::DefaultValidationErrorHandler: Failed to obtain IPVPropPageEnum"}},
      {"validation, no window",
       [&] { return withoutWindow.DefaultValidationErrorHandler(0, nullptr, &raw); },
       E_FAIL,
       {noItem, L"CPVCtrl::DefaultValidationErrorHandler: Failed to obtain CWnd"}},
      {"validation, no error information",
       [&] { return withoutWindow.DefaultValidationErrorHandler(0, nullptr, &none); },
       E_FAIL,
       {noItem, L"CPVCtrl::DefaultValidationErrorHandler: Failed to obtain CWnd"}},
      {"error info, no page",
       [&] { return withoutPage.IErrorInfoErrorHandler(&raw); },
       E_FAIL,
       {noPage, L"CPVCtrl::IErrorInfoErrorHandler: Failed to obtain IPVPropPageEnum"}},
      {"error info, no window", [&] { return withoutWindow.IErrorInfoErrorHandler(&raw); }, E_FAIL, {noItem}},
      {"prompt, no page",
       [&] { return withoutPage.PromptMsgHandler(&prompt); },
       E_FAIL,
       {noPage, L"CPVCtrl::PromptMsgHandler: Failed to obtain IPVPropPageEnum"}},
      {"prompt, no window", [&] { return withoutWindow.PromptMsgHandler(&prompt); }, E_FAIL, {noItem}},
      {"message, no page",
       [&] { return withoutPage.MessageDlg(&prompt, MB_OK); },
       -1,
       {noPage, L"CPVCtrl::MessageDlg: Failed to obtain IPVPropPageEnum"}},
      {"message, no window",
       [&] { return withoutWindow.MessageDlg(&prompt, MB_OK); },
       -1,
       {noItem, L"CPVCtrl::MessageDlg: Failed to obtain window"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.call());
    EXPECT_EQ(c.log, TakeLog());
  }
  EXPECT_TRUE(parent->errorDialogs.empty());
  EXPECT_TRUE(parent->messageDialogs.empty());
  EXPECT_TRUE(journal.empty());
}

TEST_F(ControlsTest, ReportingWithoutErrorInformationOrPromptIsRefused) {
  TestCtrl ctrl(kCtrlA, &journal);
  Attach(ctrl);
  IErrorInfo* none = nullptr;
  EXPECT_EQ(Hr(E_POINTER), Hr(ctrl.DefaultValidationErrorHandler(0, nullptr, &none)));
  EXPECT_EQ(Hr(E_POINTER), Hr(ctrl.IErrorInfoErrorHandler(nullptr)));
  EXPECT_EQ(Hr(E_POINTER), Hr(ctrl.PromptMsgHandler(nullptr)));
  EXPECT_EQ(-1, ctrl.MessageDlg(nullptr, MB_OK));
  EXPECT_EQ(
      (Log{L"CPVCtrl::DefaultValidationErrorHandler: No error information to display",
           L"CPVCtrl::IErrorInfoErrorHandler: No error information to display",
           L"CPVCtrl::PromptMsgHandler: No prompt to display", L"CPVCtrl::MessageDlg: No prompt to display"}),
      TakeLog());
  EXPECT_TRUE(parent->errorDialogs.empty());
  EXPECT_TRUE(parent->messageDialogs.empty());
}

// ---------------------------------------------------------------------------------------
// The static text

TEST_F(ControlsTest, StaticShowsEllipsisAndTooltipOnlyWhenItsTextDoesNotFit) {
  TestStatic oneLine(kOneLineStatic), twoLines(kMultiLineStatic), almostTwo(kThirdStatic);
  // Pixel rectangles before the statics are attached: 60 wide, one, two and not quite two lines.
  ::MoveWindow(::GetDlgItem(page.m_hWnd, kOneLineStatic), 10, 10, 60, kLineHeight, FALSE);
  ::MoveWindow(::GetDlgItem(page.m_hWnd, kMultiLineStatic), 10, 30, 60, 2 * kLineHeight, FALSE);
  ::MoveWindow(::GetDlgItem(page.m_hWnd, kThirdStatic), 10, 60, 60, 22, FALSE);
  Attach(oneLine);
  Attach(twoLines);
  Attach(almostTwo);

  const std::wstring longText = L"Corrected volume flow unit";  // far wider than 60 pixels
  const std::wstring fits = L"kg/s";                            // 5 + 5 + 2 + 5 pixels
  const struct {
    const char* name;
    TestStatic* control;
    std::wstring text;
    bool ellipsis;
    bool tooltip;
  } steps[] = {
      {"one line, too long", &oneLine, longText, true, true},
      {"one line, short again", &oneLine, fits, false, false},
      {"one line, exactly the width", &oneLine, L"xxxxxxxxxxxx", false, false},
      {"one line, one pixel more", &oneLine, L"xxxxxxxxxxxxl", true, true},
      {"two lines, short", &twoLines, fits, false, true},
      {"two lines, too long", &twoLines, longText, false, true},
      {"22 pixels high is one line", &almostTwo, fits, false, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    const size_t toolsBefore = [&] {
      win::TooltipState state;
      return win::GetTooltipState(s.control->Tooltip(), &state) ? state.tools.size() : 0u;
    }();
    s.control->SetStaticWindowText(s.text.c_str());
    EXPECT_EQ(s.text, win::TextOf(s.control->m_hWnd));
    EXPECT_EQ(s.ellipsis, (s.control->GetStyle() & SS_ENDELLIPSIS) != 0);
    win::TooltipState state;
    ASSERT_TRUE(win::GetTooltipState(s.control->Tooltip(), &state));
    EXPECT_EQ(s.tooltip, state.active);
    EXPECT_EQ(0, state.initialDelay);
    EXPECT_EQ(32767, state.autopopDelay);
    EXPECT_EQ(0, state.reshowDelay);
    if (s.tooltip) {
      // Registered again with the whole text, as wide as the control.
      ASSERT_EQ(toolsBefore + 1, state.tools.size());
      const win::TooltipTool& tool = state.tools.back();
      EXPECT_EQ(s.text, tool.text);
      EXPECT_EQ(static_cast<UINT>(TTF_SUBCLASS), tool.flags);
      EXPECT_EQ(page.m_hWnd, tool.hwnd);
      EXPECT_EQ(static_cast<UINT_PTR>(s.control->GetCtrlID()), tool.id);
      CRect expected;
      ::GetWindowRect(s.control->m_hWnd, &expected);
      ::MapWindowPoints(nullptr, page.m_hWnd, reinterpret_cast<LPPOINT>(&expected), 2);
      EXPECT_EQ(expected.left, tool.rect.left);
      EXPECT_EQ(expected.top, tool.rect.top);
      EXPECT_EQ(expected.right, tool.rect.right);
      EXPECT_EQ(expected.bottom, tool.rect.bottom);
      EXPECT_EQ(60, state.maxTipWidth);
    } else {
      EXPECT_EQ(toolsBefore, state.tools.size());
    }
  }
  EXPECT_EQ(static_cast<UINT>(sizeof(TOOLINFOW)), oneLine.ToolInfo().cbSize);
  EXPECT_EQ(Log{}, TakeLog());
}

TEST_F(ControlsTest, StaticTooltipSeesTheMouseMessagesOfThePage) {
  TestStatic label(kOneLineStatic);
  ::MoveWindow(::GetDlgItem(page.m_hWnd, kOneLineStatic), 10, 10, 20, kLineHeight, FALSE);
  Attach(label);
  win::TooltipState state;
  label.SetStaticWindowText(L"Totalizer 1 unit");
  page.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  page.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  page.SendMessage(WM_KEYDOWN, VK_SPACE, 0);  // not a mouse message
  ASSERT_TRUE(win::GetTooltipState(label.Tooltip(), &state));
  EXPECT_EQ(2, state.relayedEvents);
  EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), state.lastRelayedMessage);
  // The tooltip goes with its static; the page's messages reach it no more.
  label.UnsubclassWindow();
  HWND tooltip = label.Tooltip();
  ::DestroyWindow(tooltip);
  page.SendMessage(WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(win::GetTooltipState(tooltip, &state));
}

TEST_F(ControlsTest, StaticIsEnabledWhateverTheControllerState) {
  TestStatic label(kOneLineStatic);
  Attach(label);
  parent->vexil.mode = 8;
  parent->vexil.redundancy = 1;
  SetSecured(true);
  label.EnableWindow(FALSE);
  EXPECT_TRUE(label.GetEnableState());
  EXPECT_EQ(Hr(S_OK), Hr(label.PreInitialActivate()));
  EXPECT_TRUE(::IsWindowEnabled(label.m_hWnd));
}

TEST_F(ControlsTest, StaticWithoutPageAddsNoTooltip) {
  TestStatic label(kOneLineStatic);
  EXPECT_TRUE(label.SubclassDlgItem(kOneLineStatic, &page));  // before the page link: no tooltip
  EXPECT_EQ(nullptr, label.Tooltip());
  label.SetStaticWindowText(L"Mass flow unit");
  EXPECT_EQ(L"", win::TextOf(label.m_hWnd));
  const std::wstring noPage =
      L"CPVCtrlBase::GetIPVPropPageEnum: Attempted to retrieve null pointer. SetIPVPropPageEnum has not been "
      L"called.";
  const std::wstring noParent = L"CPVCtrl::GetCWnd: Failed to obtain parent CWnd";
  EXPECT_EQ(
      (Log{noPage, noParent,
           L"CPVCtrlStatic::PreSubclassWindow: Pointer to control is NULL, hence ToolTips not Added.", noPage,
           noParent,
           L"CPVCtrlStatic::SetStaticWindowText: Pointer to control is NULL, hence ToolTips not Added."}),
      TakeLog());
}

// ---------------------------------------------------------------------------------------
// The push button

class TestSink : public IPVAggregateCtrl {
 public:
  void OnButtonClicked(CButton* button, int itemId) override {
    calls.push_back(L"clicked " + std::to_wstring(IdOf(button)) + L" " + std::to_wstring(itemId));
  }
  void OnButtonSetFocus(CButton* button) override {
    calls.push_back(L"focus " + std::to_wstring(IdOf(button)));
  }
  Log calls;
};

TEST_F(ControlsTest, ButtonPassesClickAndFocusToItsSink) {
  CPVButtonCtrl button;
  TestSink sink;
  ASSERT_TRUE(button.SubclassDlgItem(kButton, &page));
  EXPECT_EQ(nullptr, button.GetAggregateCtrl());
  ASSERT_TRUE(win::FocusControl(::GetDlgItem(page.m_hWnd, kCtrlA)));
  EXPECT_TRUE(win::ClickButton(button.m_hWnd));  // no sink: only the default handling
  EXPECT_EQ(button.m_hWnd, ::GetFocus());

  button.SetAggregateCtrl(&sink);
  ASSERT_TRUE(win::FocusControl(::GetDlgItem(page.m_hWnd, kCtrlA)));
  EXPECT_TRUE(win::ClickButton(button.m_hWnd));
  EXPECT_TRUE(win::ClickButton(button.m_hWnd));
  EXPECT_EQ((Log{L"focus 9003", L"clicked 9003 9003", L"clicked 9003 9003"}), sink.calls);
}

// ---------------------------------------------------------------------------------------
// Window helpers

TEST_F(ControlsTest, ComboDropDownSizeFromTheFontAndTheItems) {
  CComboBox combo;
  ASSERT_TRUE(combo.SubclassDlgItem(kCombo, &page));
  const struct {
    const char* name;
    std::vector<const wchar_t*> items;
    int maxVisible;
    DWORD scrollStyle;
    int height;
    int width;
  } cases[] = {
      // height 2 x 2 + n x 13 + 2; width widest + 2 x 2 + 2; scroll bars 17.
      {"no items", {}, 6, 0, 6, 6},
      {"fewer than the maximum", {L"ab", L"MMMM", L"xxxxxxxx"}, 6, 0, 45, 46},
      {"more than the maximum, widest last", {L"ab", L"MMMM", L"xxxxxxxx"}, 2, 0, 32, 46},
      {"vertical scroll bar", {L"ab"}, 6, WS_VSCROLL, 19, 33},
      {"horizontal scroll bar", {L"ab"}, 6, WS_HSCROLL, 36, 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    combo.ResetContent();
    for (const wchar_t* item : c.items) combo.AddString(item);
    combo.ModifyStyle(WS_VSCROLL | WS_HSCROLL, c.scrollStyle);
    int height = -1, width = -1;
    GetComboBoxDropDownSize(&combo, c.maxVisible, &height, &width);
    EXPECT_EQ(c.height, height);
    EXPECT_EQ(c.width, width);
  }
  int height = -1, width = -1;
  GetComboBoxDropDownSize(nullptr, 6, &height, &width);
  EXPECT_EQ(0, height);
  EXPECT_EQ(0, width);
}

TEST_F(ControlsTest, OfferedWindowHelpers) {
  const struct {
    const wchar_t* first;
    const wchar_t* second;
    const wchar_t* combined;
  } paths[] = {
      {L"Z:\\a", L"b.chm", L"Z:\\a\\b.chm"},
      {L"Z:\\a\\", L"b.chm", L"Z:\\a\\b.chm"},
      {L"Z:\\a", L"\\b.chm", L"Z:\\a\\b.chm"},
      {L"Z:\\a\\", L"\\b.chm", L"Z:\\a\\b.chm"},
      {L"", L"b.chm", L"\\b.chm"},
  };
  for (const auto& p : paths) {
    SCOPED_TRACE(testing::Message() << static_cast<const void*>(p.first));
    EXPECT_EQ(std::wstring(p.combined), Text(CombinePath(p.first, p.second)));
  }
  EXPECT_TRUE(IsSameColor(0x01336699, 0x00336699));
  EXPECT_FALSE(IsSameColor(0x00336699, 0x00336698));
  EXPECT_EQ(0x00CC6633u, GetLinkColor());
  EXPECT_EQ(11, DialogUnitsToPixelsX(nullptr, 7));
  RECT fourUnits{0, 0, 4, 4};
  ::MapDialogRect(page.m_hWnd, &fourUnits);
  EXPECT_EQ(fourUnits.right, DialogUnitsToPixelsX(&page, 4));

  CWnd* button = page.GetDlgItem(kCtrlA);
  EXPECT_TRUE(ResizeWindowToClientSize(button, SIZE{33, 21}));
  CRect client;
  button->GetClientRect(&client);
  EXPECT_EQ(33, client.Width());
  EXPECT_EQ(21, client.Height());

  EXPECT_EQ(nullptr, LoadSmallIcon(nullptr, 4711));
  EXPECT_EQ((Log{L"LoadSmallIcon: Error: Failed to load icon"}), TakeLog());
}

}  // namespace
