// The control list and the fan-out of every host call and event to the page's controls: list
// order, the stop and result rules, the messages of failing controls, the filter, the list
// operations, and the controls' requests forwarded to the host.
#include <functional>
#include <vector>

#include "PVInputErrors.h"
#include "PanelHost.h"

namespace {

using pvtest::HostedPage;
using pvtest::LoggedSinceClear;
using Logged = std::vector<std::wstring>;

class PanelFanOut : public pvtest::PanelHost {};

// One host call that walks the controls.
struct Walk {
  const char* name;
  LONG operation;  // what the scripted controls answer
  std::function<HRESULT(const HostedPage&)> call;
  const wchar_t* calls;    // what the three controls receive when none fails
  const wchar_t* failure;  // "function: message" of a failing control
};

const Walk kCommonWalks[] = {
    {"Refresh", kOpRefresh, [](const HostedPage& p) { return p.child->Refresh(); },
     L"1:Refresh 2:Refresh 3:Refresh",
     L"CPVPanelEnum::Refresh: A control failed to handle the refresh event."},
    {"ClearDirty", kOpClearDirty, [](const HostedPage& p) { return p.child->ClearDirty(); },
     L"1:ClearDirty 2:ClearDirty 3:ClearDirty",
     L"CPVPanelEnum::ClearDirty: A control failed to handle the clear dirty event."},
    {"PreInitialActivate", kOpPreInitialActivate,
     [](const HostedPage& p) { return p.child->PreInitialActivate(); },
     L"1:PreInitialActivate 2:PreInitialActivate 3:PreInitialActivate",
     L"CPVPanelEnum::PreInitialActivate: A control failed to handle the pre-initial activate event."},
    {"OnActivate", kOpOnActivate, [](const HostedPage& p) { return p.child->OnActivate(); },
     L"1:OnActivate 2:OnActivate 3:OnActivate",
     L"CPVPanelEnum::OnActivate: A control failed to handle the on activate event."},
    {"Save", kOpSave, [](const HostedPage& p) { return p.child->Save(); }, L"1:Save 2:Save 3:Save",
     L"CPVPanelEnum::Save: A control failed to handle save event."},
    {"CtrlModified", kOpOnChangedCtrlData,
     [](const HostedPage& p) {
       HRESULT hr = E_UNEXPECTED;
       EXPECT_HR(S_OK, p.test->NotifyModified(1, VARIANT_FALSE, &hr));
       return hr;
     },
     L"1:OnChangedCtrlData(9001) 2:OnChangedCtrlData(9001) 3:OnChangedCtrlData(9001)",
     L"CPVPanelEnum::CtrlModified: A control failed OnChangedCtrlData()."},
};

// The events reach only the two controls that offer IPVEventHandler2; the third is reported.
const wchar_t kNoEvents[] = L"CPVPanelEnum::GetIPVEventHandler2: Control does not support IPVEventHandler2.";

const Walk kEventWalks[] = {
    {"VexilStateChanged", kOpVexilStateChanged,
     [](const HostedPage& p) { return p.events->VexilStateChanged(4); },
     L"1:VexilStateChanged(4) 2:VexilStateChanged(4)",
     L"CPVPanelEnum::VexilStateChanged: A control failed to handle the vexil state change event."},
    {"ModuleStatusChanged", kOpModuleStatusChanged,
     [](const HostedPage& p) { return p.events->ModuleStatusChanged(); },
     L"1:ModuleStatusChanged 2:ModuleStatusChanged",
     L"CPVPanelEnum::ModuleStatusChanged: A control failed to handle the module status change event."},
    {"Flush", kOpFlush, [](const HostedPage& p) { return p.events->Flush(); }, L"1:Flush 2:Flush",
     L"CPVPanelEnum::Flush: A control failed to handle the flush event."},
    {"DataChanged", kOpDataChanged, [](const HostedPage& p) { return p.events->DataChanged(); },
     L"1:DataChanged 2:DataChanged",
     L"CPVPanelEnum::DataChanged: A control failed to handle the data changed event."},
    {"ModuleDefinitionChanged", kOpModuleDefinitionChanged,
     [](const HostedPage& p) { return p.events->ModuleDefinitionChanged(); },
     L"1:ModuleDefinitionChanged 2:ModuleDefinitionChanged",
     L"CPVPanelEnum::ModuleDefinitionChanged: A control failed to handle the module definition changed "
     L"event."},
    {"Reverted", kOpReverted, [](const HostedPage& p) { return p.events->Reverted(); },
     L"1:Reverted 2:Reverted", L"CPVPanelEnum::Reverted: A control failed to handle the reverted event."},
    {"DirtyStateChanged", kOpDirtyStateChanged,
     [](const HostedPage& p) { return p.events->DirtyStateChanged(); },
     L"1:DirtyStateChanged 2:DirtyStateChanged",
     L"CPVPanelEnum::DirtyStateChanged: A control failed to handle the dirty state change event."},
};

TEST_F(PanelFanOut, EveryControlIsVisitedInListOrderAndTheLastFailureIsReturned) {
  for (const Walk& w : kCommonWalks) {
    SCOPED_TRACE(w.name);
    HostedPage page = Open(kPanelPageClsid);
    orvolog::ClearRecords();
    EXPECT_HR(S_OK, w.call(page));
    EXPECT_EQ(page.TakeCalls(), w.calls);
    EXPECT_EQ(LoggedSinceClear(), Logged{});
    // Two failures: both logged, the walk goes on, the later one is the result.
    page.test->SetControlResult(1, w.operation, E_NOTIMPL);
    page.test->SetControlResult(2, w.operation, E_FAIL);
    EXPECT_HR(E_FAIL, w.call(page));
    EXPECT_EQ(page.TakeCalls(), w.calls) << "the third control is still asked";
    EXPECT_EQ(LoggedSinceClear(), (Logged{w.failure, w.failure}));
    page.Release();
  }
}

TEST_F(PanelFanOut, EventsReachTheControlsThatHandleThemAndReportTheOneThatDoesNot) {
  for (const Walk& w : kEventWalks) {
    SCOPED_TRACE(w.name);
    HostedPage page = Open(kPanelPageClsid);
    orvolog::ClearRecords();
    EXPECT_HR(S_OK, w.call(page)) << "a control without the interface leaves the result alone";
    EXPECT_EQ(page.TakeCalls(), w.calls);
    EXPECT_EQ(LoggedSinceClear(), Logged{kNoEvents});
    orvolog::ClearRecords();
    page.test->SetControlResult(1, w.operation, E_FAIL);
    EXPECT_HR(E_FAIL, w.call(page));
    EXPECT_EQ(page.TakeCalls(), w.calls);
    EXPECT_EQ(LoggedSinceClear(), (Logged{w.failure, kNoEvents}));
    page.Release();
  }
}

TEST_F(PanelFanOut, SaveStopsSilentlyAtTheFirstInputErrorOnly) {
  struct Case {
    HRESULT second;
    HRESULT expected;
    const wchar_t* calls;
    Logged logged;
  };
  const Case cases[] = {
      {PV_E_ABOVE_MAXIMUM, PV_E_ABOVE_MAXIMUM, L"1:Save 2:Save", {}},
      {PV_E_FIRST_INPUT_ERROR, PV_E_FIRST_INPUT_ERROR, L"1:Save 2:Save", {}},
      {PV_E_LAST_INPUT_ERROR, PV_E_LAST_INPUT_ERROR, L"1:Save 2:Save", {}},
      {static_cast<HRESULT>(0x8004022C),
       static_cast<HRESULT>(0x8004022C),
       L"1:Save 2:Save 3:Save",
       {L"CPVPanelEnum::Save: A control failed to handle save event."}},
      {E_FAIL,
       E_FAIL,
       L"1:Save 2:Save 3:Save",
       {L"CPVPanelEnum::Save: A control failed to handle save event."}},
  };
  HostedPage page = Open(kPanelPageClsid);
  for (const Case& c : cases) {
    SCOPED_TRACE(pvtest::Hex(c.second));
    orvolog::ClearRecords();
    page.test->SetControlResult(2, kOpSave, c.second);
    EXPECT_HR(c.expected, page.child->Save());
    EXPECT_EQ(page.TakeCalls(), c.calls);
    EXPECT_EQ(LoggedSinceClear(), c.logged);
  }
}

TEST_F(PanelFanOut, DeactivationStopsAtTheFirstFailureAndReportsOnlyUnknownOnes) {
  struct Case {
    HRESULT first;
    const wchar_t* calls;
    Logged logged;
  };
  const Case cases[] = {
      {S_OK, L"1:OnDeactivate 2:OnDeactivate 3:OnDeactivate", {}},
      {PV_E_BELOW_MINIMUM, L"1:OnDeactivate", {}},
      {E_FAIL, L"1:OnDeactivate", {L"CPVPanelEnum::OnDeactivate: Unknown error returned from OnDeactivate."}},
  };
  HostedPage page = Open(kPanelPageClsid);
  for (const Case& c : cases) {
    SCOPED_TRACE(pvtest::Hex(c.first));
    orvolog::ClearRecords();
    page.test->SetControlResult(1, kOpOnDeactivate, c.first);
    EXPECT_HR(c.first, page.child->OnDeactivate());
    EXPECT_EQ(page.TakeCalls(), c.calls);
    EXPECT_EQ(LoggedSinceClear(), c.logged);
  }
}

TEST_F(PanelFanOut, PostModDefChangeIsSOkWhenAnyControlSaysSoAndFailuresNeverCount) {
  struct Case {
    HRESULT results[3];
    HRESULT expected;
    int logged;
  };
  const Case cases[] = {
      {{S_FALSE, S_FALSE, S_FALSE}, S_FALSE, 0},
      {{S_FALSE, S_OK, S_FALSE}, S_OK, 0},
      {{S_FALSE, E_FAIL, S_FALSE}, S_FALSE, 1},
      {{E_FAIL, E_FAIL, S_OK}, S_OK, 2},
  };
  HostedPage page = Open(kPanelPageClsid);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << pvtest::Hex(c.results[0]) << " " << pvtest::Hex(c.results[1]) << " "
                                    << pvtest::Hex(c.results[2]));
    orvolog::ClearRecords();
    for (LONG control = 1; control <= 3; ++control)
      page.test->SetControlResult(control, kOpPostModDefChange, c.results[control - 1]);
    EXPECT_HR(c.expected, page.child->PostModDefChange());
    EXPECT_EQ(page.TakeCalls(), L"1:PostModDefChange 2:PostModDefChange 3:PostModDefChange");
    EXPECT_EQ(LoggedSinceClear(),
              Logged(c.logged, L"CPVPanelEnum::PostModDefChange: Control failed PostModDefChange()."));
  }
}

TEST_F(PanelFanOut, AValidationErrorGoesToTheFirstControlThatTakesIt) {
  HostedPage page = Open(kPanelPageClsid);
  _bstr_t member(L"System_units_Mass_flow_unit");
  page.test->SetControlResult(3, kOpOnValidationError, E_INVALIDARG);
  EXPECT_HR(E_INVALIDARG, page.child->OnValidationError(0x80040200, member, nullptr))
      << "nobody took it: the last control's failure";
  EXPECT_EQ(page.TakeCalls(), L"1:OnValidationError 2:OnValidationError 3:OnValidationError");
  page.test->SetControlResult(2, kOpOnValidationError, S_OK);
  EXPECT_HR(S_OK, page.child->OnValidationError(0x80040200, member, nullptr));
  EXPECT_EQ(page.TakeCalls(), L"1:OnValidationError 2:OnValidationError");
  EXPECT_EQ(LoggedSinceClear(), Logged{});
  page.test->SetSkippedControls(0x7);
  EXPECT_HR(E_FAIL, page.child->OnValidationError(0x80040200, member, nullptr)) << "every control skipped";
  EXPECT_EQ(page.TakeCalls(), L"");
}

TEST_F(PanelFanOut, AnEmptyPageAnswersEveryWalkWithItsPanelPart) {
  HostedPage page = Open(kPlainPageClsid);
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_HR(S_OK, page.child->ClearDirty());
  EXPECT_HR(S_OK, page.child->PreInitialActivate());
  EXPECT_HR(S_OK, page.child->OnActivate());
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  EXPECT_HR(S_FALSE, page.child->PostModDefChange());
  EXPECT_HR(E_FAIL, page.child->OnValidationError(0, nullptr, nullptr));
  EXPECT_HR(S_OK, page.events->VexilStateChanged(1));
  EXPECT_HR(S_OK, page.events->DataChanged());
  EXPECT_HR(S_OK, page.child->ReservedNotice());
  EXPECT_HR(S_OK, page.child->ReservedSetting(5));
  EXPECT_HR(S_OK, page.child->SetFocusToPanel());
  EXPECT_EQ(LoggedSinceClear(), Logged{});
  LONG count = -1;
  HRESULT hr = S_OK;
  ASSERT_HR(S_OK, page.test->GetListedControls(&count, &hr));
  EXPECT_HR(E_FAIL, hr);
  EXPECT_EQ(count, 0) << "the caller's list is cleared";
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanelEnum::GetControlList: Control list is empty."});
}

TEST_F(PanelFanOut, CtrlModifiedMarksThePageDirtyOnlyWhenAskedAndAlwaysReachesEveryControl) {
  HostedPage page = Open(kPanelPageClsid);
  HRESULT hr = E_UNEXPECTED;
  ASSERT_HR(S_OK, page.test->NotifyModified(2, VARIANT_FALSE, &hr));
  EXPECT_HR(S_OK, hr);
  EXPECT_TRUE(m_parent->dirtyNotices.empty());
  EXPECT_EQ(page.TakeCalls(),
            L"1:OnChangedCtrlData(9001) 2:OnChangedCtrlData(9001) 3:OnChangedCtrlData(9001)")
      << "the sender included";
  ASSERT_HR(S_OK, page.test->NotifyModified(2, VARIANT_TRUE, &hr));
  ASSERT_EQ(m_parent->dirtyNotices.size(), 1u);
  EXPECT_EQ(m_parent->dirtyNotices[0], page.panel.GetInterfacePtr());
  m_parent->dirtyResult = E_FAIL;
  ASSERT_HR(S_OK, page.test->NotifyModified(2, VARIANT_TRUE, &hr));
  EXPECT_HR(S_OK, hr) << "a refused notice does not fail the change";
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanel::SetDirty: Panel's call to SetProfileDirty() failed."});
}

TEST_F(PanelFanOut, TheFilterSkipsControlsInEveryWalkButInitAndPreInitialActivate) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  page.test->SetSkippedControls(0x2);
  ASSERT_HR(S_OK, page.child->Init(m_parent->GetUnknown()));
  EXPECT_EQ(page.TakeCalls(), L"1:SetIModule 2:SetIModule 3:SetIModule");
  ASSERT_HR(S_OK, page.panel->Create(m_window.get()));
  EXPECT_EQ(page.TakeCalls(), L"1:PreInitialActivate 2:PreInitialActivate 3:PreInitialActivate");
  page.test->SetControlResult(2, kOpSave, PV_E_ABOVE_MAXIMUM);
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(page.TakeCalls(), L"1:Save 3:Save");
  EXPECT_HR(S_OK, page.events->Flush());
  EXPECT_EQ(page.TakeCalls(), L"1:Flush");
  HRESULT hr = E_UNEXPECTED;
  page.test->NotifyModified(1, VARIANT_FALSE, &hr);
  EXPECT_EQ(page.TakeCalls(), L"1:OnChangedCtrlData(9001) 3:OnChangedCtrlData(9001)");
  EXPECT_HR(S_FALSE, page.child->PostModDefChange());
  EXPECT_EQ(page.TakeCalls(), L"1:PostModDefChange 3:PostModDefChange");
}

TEST_F(PanelFanOut, TheListTakesOnlyControlsThatAcceptThePageAndRemovesEveryEntryOfOne) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  struct Step {
    const char* name;
    std::function<HRESULT()> step;
    HRESULT expected;
    LONG listed;
    Logged logged;
  };
  auto add = [&](BOOL failLink, BOOL addNull) {
    HRESULT hr = S_OK;
    EXPECT_HR(S_OK, page.test->AddSpareControl(failLink, addNull, &hr));
    return hr;
  };
  auto remove = [&](LONG control) {
    HRESULT hr = S_OK;
    EXPECT_HR(S_OK, page.test->RemoveControl(control, &hr));
    return hr;
  };
  const Step steps[] = {
      {"a control refusing the page",
       [&] { return add(TRUE, FALSE); },
       E_UNEXPECTED,
       3,
       {L"CPVPanelEnum::AddControlToList: Unable to set control's IPVPropPageEnum."}},
      {"no control",
       [&] { return add(FALSE, TRUE); },
       E_INVALIDARG,
       3,
       {L"CPVPanelEnum::AddControlToList: Bad input parameter."}},
      {"the spare", [&] { return add(FALSE, FALSE); }, S_OK, 4, {}},
      {"removing no control",
       [&] { return remove(0); },
       E_FAIL,
       4,
       {L"CPVPanelEnum::RemoveControlFromList: no control interface specified"}},
      {"removing the second", [&] { return remove(2); }, S_OK, 3, {}},
      {"removing it again", [&] { return remove(2); }, S_OK, 3, {}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    orvolog::ClearRecords();
    EXPECT_HR(s.expected, s.step());
    EXPECT_EQ(LoggedSinceClear(), s.logged);
    LONG count = 0;
    HRESULT hr = E_FAIL;
    page.test->GetListedControls(&count, &hr);
    EXPECT_HR(S_OK, hr);
    EXPECT_EQ(count, s.listed);
  }
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_EQ(page.TakeCalls(), L"1:Refresh 3:Refresh 4:Refresh") << "the spare runs last";
}

TEST_F(PanelFanOut, TheControlsRequestsReachTheHostParent) {
  HostedPage page = Open(kPanelPageClsid);
  IPVPropPageEnum* services = page.pageEnum;
  HWND window = page.Window();
  CWnd* edit = CWnd::FromHandle(GetDlgItem(window, 9001));

  m_parent->forwardResult = S_FALSE;
  EXPECT_HR(S_FALSE, services->ForwardParentRequest());
  EXPECT_EQ(m_parent->forwardRequests, 1);

  EXPECT_HR(S_OK, services->RequestInputFocus(edit));
  ASSERT_EQ(m_parent->focusRequests.size(), 1u);
  EXPECT_EQ(m_parent->focusRequests[0], page.child.GetInterfacePtr());
  EXPECT_EQ(GetFocus(), edit->m_hWnd);
  m_parent->focusResult = E_ACCESSDENIED;
  EXPECT_HR(E_ACCESSDENIED, services->RequestInputFocus(edit));
  EXPECT_HR(E_INVALIDARG, services->RequestInputFocus(nullptr));

  CWnd* own = nullptr;
  EXPECT_HR(S_OK, services->GetPropPageEnumCWnd(&own));
  EXPECT_EQ(own->GetSafeHwnd(), window);
  EXPECT_HR(E_INVALIDARG, services->GetPropPageEnumCWnd(nullptr));
  EXPECT_EQ(LoggedSinceClear(),
            (Logged{L"CPVPanelEnum::RequestInputFocus: Panel failed to get input focus from parent.",
                    L"CPVPanelEnum::RequestInputFocus: Invalid parameter.",
                    L"CPVPanelEnum::GetPropPageEnumCWnd: Invalid parameter."}));

  m_parent->errorDialogResult = S_FALSE;
  EXPECT_HR(S_FALSE, services->ShowErrorDlg(_bstr_t(L"Too high"), _bstr_t(L"Input"), 77));
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  EXPECT_EQ(m_parent->errorDialogs[0].text, L"Too high");
  EXPECT_EQ(m_parent->errorDialogs[0].caption, L"Input");
  EXPECT_EQ(m_parent->errorDialogs[0].helpContext, 77);

  m_parent->flagAnswer = TRUE;
  VARIANT_BOOL flag = VARIANT_FALSE;
  EXPECT_HR(S_OK, services->QueryParentFlag(&flag, 12));
  EXPECT_EQ(flag, VARIANT_TRUE);
  EXPECT_EQ(m_parent->flagQueries, std::vector<LONG>{12});

  m_parent->vexil.mode = 3;
  m_parent->vexil.redundancy = 1;
  LONG mode = 0, redundancy = 0;
  EXPECT_HR(S_OK, services->GetVexilMode(&mode));
  EXPECT_HR(S_OK, services->GetRedundancyState(&redundancy));
  EXPECT_EQ(mode, 3);
  EXPECT_EQ(redundancy, 1);

  IPVDialogManager* manager = reinterpret_cast<IPVDialogManager*>(1);
  const HRESULT managerResult = services->GetIPVDlgManager(&manager);
  EXPECT_EQ(m_parent->dialogManagerQueries, 1);
  if (SUCCEEDED(managerResult) && manager) manager->Release();

  m_parent->messageDialogAnswer = IDNO;
  EXPECT_EQ(services->ShowMessageDlg(window, _bstr_t(L"Sure?"), MB_YESNO, 5, _bstr_t(L"Question")), IDNO);
  ASSERT_EQ(m_parent->messageDialogs.size(), 1u);
  EXPECT_EQ(m_parent->messageDialogs[0].owner, window);
  EXPECT_EQ(m_parent->messageDialogs[0].style, static_cast<UINT>(MB_YESNO));

  IUnknown* service = nullptr;
  EXPECT_HR(E_FAIL, services->GetHostService(CLSID_ModuleSpecificFileFind, &service)) << "none set";
  ASSERT_EQ(m_parent->serviceRequests.size(), 1u);
  EXPECT_EQ(m_parent->serviceRequests[0], CLSID_ModuleSpecificFileFind);
}

TEST_F(PanelFanOut, WithoutAParentTheRequestsFailWithoutCallingAnything) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  IPVPropPageEnum* services = page.pageEnum;
  LONG value = 0;
  VARIANT_BOOL flag = VARIANT_FALSE;
  IUnknown* service = nullptr;
  EXPECT_HR(E_FAIL, services->ForwardParentRequest());
  EXPECT_HR(E_FAIL, services->ShowErrorDlg(nullptr, nullptr, 0));
  EXPECT_HR(E_FAIL, services->QueryParentFlag(&flag, 0));
  EXPECT_HR(E_FAIL, services->GetVexilMode(&value));
  EXPECT_HR(E_FAIL, services->GetRedundancyState(&value));
  EXPECT_EQ(services->ShowMessageDlg(nullptr, nullptr, 0, 0, nullptr), -1);
  EXPECT_HR(E_FAIL, services->GetHostService(CLSID_ModuleSpecificFileFind, &service));
  EXPECT_EQ(m_parent->forwardRequests + m_parent->vexil.modeCalls + m_parent->vexil.redundancyCalls, 0);

  // A parent without the controller state.
  ASSERT_HR(S_OK, page.child->Init(m_parent->GetUnknown()));
  m_parent->FailQuery(__uuidof(IPVVexilProperties), E_NOINTERFACE);
  orvolog::ClearRecords();
  EXPECT_HR(E_FAIL, services->GetVexilMode(&value));
  EXPECT_EQ(LoggedSinceClear(),
            Logged{L"CPVPanel::GetIPVVexilProperties: Panel's parent does not support IPVVexilProperties."});
}

TEST_F(PanelFanOut, AParentThatFailsUnexpectedlyToAnswerIsRaisedAsAComError) {
  HostedPage page = Open(kPanelPageClsid);
  m_parent->FailQuery(__uuidof(IPVParent), E_OUTOFMEMORY);
  try {
    page.pageEnum->ForwardParentRequest();
    ADD_FAILURE() << "nothing was raised";
  } catch (const _com_error& error) {
    EXPECT_HR(E_OUTOFMEMORY, error.Error());
  }
  m_parent->FailQuery(__uuidof(IPVParent), E_NOINTERFACE);
  EXPECT_HR(E_FAIL, page.pageEnum->ForwardParentRequest()) << "a parent that is none";
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanel::GetIPVParent: Panel has invalid parent pointer."});
  m_parent->FailQuery(__uuidof(IPVParent), S_OK);
}

TEST_F(PanelFanOut, ActivationGivesTheFocusBackToTheControlThatHadIt) {
  HostedPage page = Open(kPanelPageClsid);
  HWND other = GetDlgItem(page.Window(), 9004);
  ASSERT_HR(S_OK, page.pageEnum->OnFocusChange(CWnd::FromHandle(other)));
  SetFocus(GetDlgItem(page.Window(), 9001));
  EXPECT_HR(S_OK, page.child->OnActivate());
  EXPECT_EQ(GetFocus(), other);
  EXPECT_HR(S_OK, page.child->SetFocusToPanel());
  EXPECT_EQ(GetFocus(), GetDlgItem(page.Window(), 9001)) << "the dialog hands its focus to its first control";
}

TEST_F(PanelFanOut, ToolTipsAreSetUpOnceWithThePagesToolsAndFixedTimes) {
  HostedPage page = Open(kPanelPageClsid);
  BOOL shown = FALSE;
  HWND tooltip = nullptr;
  LONG nextTool = 0;
  ASSERT_HR(S_OK, page.test->ShowTips(TRUE, &shown, &tooltip, &nextTool));
  EXPECT_TRUE(shown);
  EXPECT_EQ(nextTool, 2);
  platform::windows::TooltipState state{};
  ASSERT_TRUE(platform::windows::GetTooltipState(tooltip, &state));
  EXPECT_TRUE(state.active);
  EXPECT_EQ(state.maxTipWidth, 0x7FFF);
  EXPECT_EQ(state.autopopDelay, 32767);
  EXPECT_EQ(state.initialDelay, 200);
  EXPECT_EQ(state.reshowDelay, 200);
  ASSERT_EQ(state.tools.size(), 1u);
  EXPECT_EQ(state.tools[0].id, 1u);
  EXPECT_EQ(state.tools[0].text, L"Edit tip");
  EXPECT_EQ(LoggedSinceClear(), Logged{});
  ASSERT_HR(S_OK, page.test->ShowTips(TRUE, &shown, &tooltip, &nextTool));
  EXPECT_FALSE(shown);
  EXPECT_EQ(LoggedSinceClear(),
            (Logged{L"CPVPanelEnum::ShowToolTips: Cannot get safe handle of the tooltip window.",
                    L"CPVPanelEnum::ShowToolTips: Unable to create tip window."}));
  page.Release();
  ExpectNoWindowLeft();
}

}  // namespace
