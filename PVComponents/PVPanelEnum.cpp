#include "PVPanelEnum.h"

#include <algorithm>

#include "PVInputErrors.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVPanelEnum");

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and the list

CPVPanelEnum::CPVPanelEnum(UINT nIDTemplate) : CPVPanel(nIDTemplate) {}

CPVPanelEnum::CPVPanelEnum(const CPVPanelEnum& other) : CPVPanel(other), IPVPropPageEnum() {
  Log(L"CPVPanelEnum does not support copy construction.", L"CPVPanelEnum::CPVPanelEnum", __LINE__);
}

CPVPanelEnum& CPVPanelEnum::operator=(const CPVPanelEnum&) {
  Log(L"Assignment not supported for CPVPanelEnum.", L"CPVPanelEnum::operator=", __LINE__);
  return *this;
}

// The tooltip goes first, then the list (never the controls: they are the page's members).
CPVPanelEnum::~CPVPanelEnum() {
  m_pToolTip.reset();
  m_controls.clear();
}

STDMETHODIMP CPVPanelEnum::QueryInterface(REFIID iid, void** object) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  const HRESULT hr = CPVPanel::QueryInterface(iid, object);
  if (hr != E_NOINTERFACE) return hr;
  return InternalQueryInterface(this, Interfaces(), iid, object);
}

HRESULT CPVPanelEnum::AddControlToList(IPVCtrl* control) {
  if (!control) {
    Log(L"Bad input parameter.", L"CPVPanelEnum::AddControlToList", __LINE__);
    return E_INVALIDARG;
  }
  const HRESULT hr = control->SetIPVPropPageEnum(static_cast<IPVPropPageEnum*>(this));
  if (FAILED(hr)) {
    Log(L"Unable to set control's IPVPropPageEnum.", L"CPVPanelEnum::AddControlToList", __LINE__);
    return hr;
  }
  m_controls.push_back(control);
  return S_OK;
}

HRESULT CPVPanelEnum::RemoveControlFromList(IPVCtrl* control) {
  if (!control) {
    Log(L"no control interface specified", L"CPVPanelEnum::RemoveControlFromList", __LINE__);
    return E_FAIL;
  }
  m_controls.remove(control);
  return S_OK;
}

HRESULT CPVPanelEnum::GetControlList(CPVCtrlList& controls) const {
  controls.clear();
  if (m_controls.empty()) {
    Log(L"Control list is empty.", L"CPVPanelEnum::GetControlList", __LINE__);
    return E_FAIL;
  }
  controls.assign(m_controls.begin(), m_controls.end());
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Walks

bool CPVPanelEnum::IsFiltered(IPVCtrl* control) {
  return m_pfnCtrlFilter && m_pfnCtrlFilter(this, control);
}

template <class Call>
HRESULT CPVPanelEnum::CommonWalk(Call call, bool filtered, const wchar_t* failureMessage,
                                 const wchar_t* function, int line) {
  HRESULT result = S_OK;
  // A copy: a control may take itself off the list while it is called.
  const CPVCtrlList controls = m_controls;
  for (IPVCtrl* control : controls) {
    if (filtered && IsFiltered(control)) continue;
    const HRESULT hr = call(control);
    if (FAILED(hr)) {
      Log(failureMessage, function, line);
      result = hr;
    }
  }
  return result;
}

HRESULT CPVPanelEnum::GetIPVEventHandler2(IPVCtrl* control, IPVEventHandler2** handler) {
  *handler = nullptr;
  if (FAILED(control->QueryInterface(__uuidof(IPVEventHandler2), reinterpret_cast<void**>(handler))) ||
      !*handler) {
    Log(L"Control does not support IPVEventHandler2.", L"CPVPanelEnum::GetIPVEventHandler2", __LINE__);
    return E_NOINTERFACE;
  }
  return S_OK;
}

template <class Call>
HRESULT CPVPanelEnum::EventWalk(Call call, const wchar_t* failureMessage, const wchar_t* function, int line) {
  HRESULT result = S_OK;
  const CPVCtrlList controls = m_controls;
  for (IPVCtrl* control : controls) {
    if (IsFiltered(control)) continue;
    IPVEventHandler2Ptr handler;
    if (FAILED(GetIPVEventHandler2(control, &handler))) continue;
    const HRESULT hr = call(handler.GetInterfacePtr());
    handler = nullptr;  // released right after the call
    if (FAILED(hr)) {
      Log(failureMessage, function, line);
      result = hr;
    }
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// IPVChild

STDMETHODIMP CPVPanelEnum::Init(IUnknown* pParent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!pParent) {
    Log(L"Invalid parameter.", L"CPVPanelEnum::Init", __LINE__);
    return E_INVALIDARG;
  }
  if (FAILED(CPVPanel::Init(pParent))) return E_FAIL;
  IPVParent* parent = GetIPVParent();
  IModule* module = nullptr;  // the host's: borrowed
  if (!parent || FAILED(parent->GetModule(&module)) || !module) {
    Log(L"Unable to get IModule interface.", L"CPVPanelEnum::Init", __LINE__);
    return E_UNEXPECTED;
  }
  return CommonWalk([module](IPVCtrl* c) { return c->SetIModule(module); }, false,
                    L"IPVCtrl::SetIModule() failed.", L"CPVPanelEnum::Init", __LINE__);
}

STDMETHODIMP CPVPanelEnum::Save() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::Save())) return E_FAIL;
  HRESULT result = S_OK;
  const CPVCtrlList controls = m_controls;
  for (IPVCtrl* control : controls) {
    if (IsFiltered(control)) continue;
    const HRESULT hr = control->Save();
    if (SUCCEEDED(hr)) continue;
    // Rejected input stops the save: the control has told the user already.
    if (IsPVErrorCode(hr)) return hr;
    Log(L"A control failed to handle save event.", L"CPVPanelEnum::Save", __LINE__);
    result = hr;
  }
  return result;
}

STDMETHODIMP CPVPanelEnum::Refresh() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::Refresh())) return E_FAIL;
  return CommonWalk([](IPVCtrl* c) { return c->Refresh(); }, true,
                    L"A control failed to handle the refresh event.", L"CPVPanelEnum::Refresh", __LINE__);
}

STDMETHODIMP CPVPanelEnum::ClearDirty() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::ClearDirty())) return E_FAIL;
  return CommonWalk([](IPVCtrl* c) { return c->ClearDirty(); }, true,
                    L"A control failed to handle the clear dirty event.", L"CPVPanelEnum::ClearDirty",
                    __LINE__);
}

STDMETHODIMP CPVPanelEnum::OnValidationError(LONG code, BSTR memberName, IErrorInfo** ppErrorInfo) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HRESULT result = CPVPanel::OnValidationError(code, memberName, ppErrorInfo);
  if (SUCCEEDED(result)) return result;
  // The error goes to the control that owns the member: the first that takes it.
  result = E_FAIL;
  const CPVCtrlList controls = m_controls;
  for (IPVCtrl* control : controls) {
    if (IsFiltered(control)) continue;
    result = control->OnValidationError(code, memberName, ppErrorInfo);
    if (SUCCEEDED(result)) return result;
  }
  return result;
}

STDMETHODIMP CPVPanelEnum::PostModDefChange() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  bool anyOk = false;
  HRESULT hr = CPVPanel::PostModDefChange();
  if (FAILED(hr)) Log(L"CPVPanel failed PostModDefChange().", L"CPVPanelEnum::PostModDefChange", __LINE__);
  anyOk = hr == S_OK;
  const CPVCtrlList controls = m_controls;
  for (IPVCtrl* control : controls) {
    if (IsFiltered(control)) continue;
    hr = control->PostModDefChange();
    if (FAILED(hr)) Log(L"Control failed PostModDefChange().", L"CPVPanelEnum::PostModDefChange", __LINE__);
    if (hr == S_OK) anyOk = true;
  }
  return anyOk ? S_OK : S_FALSE;
}

STDMETHODIMP CPVPanelEnum::PreInitialActivate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::PreInitialActivate())) return E_FAIL;
  return CommonWalk([](IPVCtrl* c) { return c->PreInitialActivate(); }, false,
                    L"A control failed to handle the pre-initial activate event.",
                    L"CPVPanelEnum::PreInitialActivate", __LINE__);
}

STDMETHODIMP CPVPanelEnum::OnActivate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::OnActivate())) return E_FAIL;
  return CommonWalk([](IPVCtrl* c) { return c->OnActivate(); }, true,
                    L"A control failed to handle the on activate event.", L"CPVPanelEnum::OnActivate",
                    __LINE__);
}

STDMETHODIMP CPVPanelEnum::OnDeactivate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::OnDeactivate())) return E_FAIL;
  const CPVCtrlList controls = m_controls;
  for (IPVCtrl* control : controls) {
    if (IsFiltered(control)) continue;
    const HRESULT hr = control->OnDeactivate();
    if (SUCCEEDED(hr)) continue;
    if (!IsPVErrorCode(hr))
      Log(L"Unknown error returned from OnDeactivate.", L"CPVPanelEnum::OnDeactivate", __LINE__);
    return hr;
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// IPVEventHandler2

STDMETHODIMP CPVPanelEnum::VexilStateChanged(LONG state) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::VexilStateChanged(state))) return E_FAIL;
  return EventWalk([state](IPVEventHandler2* h) { return h->VexilStateChanged(state); },
                   L"A control failed to handle the vexil state change event.",
                   L"CPVPanelEnum::VexilStateChanged", __LINE__);
}

STDMETHODIMP CPVPanelEnum::ModuleStatusChanged() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::ModuleStatusChanged())) return E_FAIL;
  return EventWalk([](IPVEventHandler2* h) { return h->ModuleStatusChanged(); },
                   L"A control failed to handle the module status change event.",
                   L"CPVPanelEnum::ModuleStatusChanged", __LINE__);
}

STDMETHODIMP CPVPanelEnum::Flush() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::Flush())) return E_FAIL;
  return EventWalk([](IPVEventHandler2* h) { return h->Flush(); },
                   L"A control failed to handle the flush event.", L"CPVPanelEnum::Flush", __LINE__);
}

STDMETHODIMP CPVPanelEnum::DataChanged() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::DataChanged())) return E_FAIL;
  return EventWalk([](IPVEventHandler2* h) { return h->DataChanged(); },
                   L"A control failed to handle the data changed event.", L"CPVPanelEnum::DataChanged",
                   __LINE__);
}

STDMETHODIMP CPVPanelEnum::ModuleDefinitionChanged() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::ModuleDefinitionChanged())) return E_FAIL;
  return EventWalk([](IPVEventHandler2* h) { return h->ModuleDefinitionChanged(); },
                   L"A control failed to handle the module definition changed event.",
                   L"CPVPanelEnum::ModuleDefinitionChanged", __LINE__);
}

STDMETHODIMP CPVPanelEnum::Reverted() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::Reverted())) return E_FAIL;
  return EventWalk([](IPVEventHandler2* h) { return h->Reverted(); },
                   L"A control failed to handle the reverted event.", L"CPVPanelEnum::Reverted", __LINE__);
}

STDMETHODIMP CPVPanelEnum::DirtyStateChanged() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(CPVPanel::DirtyStateChanged())) return E_FAIL;
  return EventWalk([](IPVEventHandler2* h) { return h->DirtyStateChanged(); },
                   L"A control failed to handle the dirty state change event.",
                   L"CPVPanelEnum::DirtyStateChanged", __LINE__);
}

// ---------------------------------------------------------------------------------------------
// IPVPropPageEnum: the controls' requests, mostly passed on to the host parent

STDMETHODIMP CPVPanelEnum::ForwardParentRequest() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVParent* parent = GetIPVParent();
  return parent ? parent->ForwardParentRequest() : E_FAIL;
}

// Runs in the caller's module state: a control calls it from its own message handling.
STDMETHODIMP CPVPanelEnum::CtrlModified(CWnd* sender, int changedItemId, VARIANT_BOOL markDirty) {
  if (LOWORD(markDirty) != 0) SetDirty();
  return CommonWalk(
      [sender, changedItemId](IPVCtrl* c) { return c->OnChangedCtrlData(sender, changedItemId); }, true,
      L"A control failed OnChangedCtrlData().", L"CPVPanelEnum::CtrlModified", __LINE__);
}

STDMETHODIMP CPVPanelEnum::OnFocusChange(CWnd* control) {
  m_pFocusCtrl = control;
  return S_OK;
}

STDMETHODIMP CPVPanelEnum::RequestInputFocus(CWnd* control) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!control) {
    Log(L"Invalid parameter.", L"CPVPanelEnum::RequestInputFocus", __LINE__);
    return E_INVALIDARG;
  }
  IPVParent* parent = GetIPVParent();
  if (!parent) return E_FAIL;
  const HRESULT hr = parent->RequestInputFocus(static_cast<IPVChild*>(this));
  if (FAILED(hr)) {
    Log(L"Panel failed to get input focus from parent.", L"CPVPanelEnum::RequestInputFocus", __LINE__);
    return hr;
  }
  control->SetFocus();
  return S_OK;
}

STDMETHODIMP CPVPanelEnum::GetPropPageEnumCWnd(CWnd** window) {
  if (!window) {
    Log(L"Invalid parameter.", L"CPVPanelEnum::GetPropPageEnumCWnd", __LINE__);
    return E_INVALIDARG;
  }
  *window = this;
  return S_OK;
}

STDMETHODIMP CPVPanelEnum::ShowErrorDlg(BSTR text, BSTR caption, LONG helpContext) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVParent* parent = GetIPVParent();
  return parent ? parent->ShowErrorDlg(text, caption, helpContext) : E_FAIL;
}

STDMETHODIMP CPVPanelEnum::QueryParentFlag(VARIANT_BOOL* flag, LONG value) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVParent* parent = GetIPVParent();
  if (!parent) return E_FAIL;
  BOOL answer = FALSE;
  const HRESULT hr = parent->QueryFlag(&answer, value);
  if (SUCCEEDED(hr) && flag) *flag = answer ? VARIANT_TRUE : VARIANT_FALSE;
  return hr;
}

STDMETHODIMP CPVPanelEnum::GetVexilMode(LONG* mode) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVVexilProperties* properties = GetIPVVexilProperties();
  return properties ? properties->GetVexilMode(mode) : E_FAIL;
}

STDMETHODIMP CPVPanelEnum::GetRedundancyState(LONG* state) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVVexilProperties* properties = GetIPVVexilProperties();
  return properties ? properties->GetRedundancyState(state) : E_FAIL;
}

STDMETHODIMP CPVPanelEnum::GetIPVDlgManager(IPVDialogManager** manager) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVParent* parent = GetIPVParent();
  return parent ? parent->GetDialogManager(manager) : E_FAIL;
}

STDMETHODIMP_(int)
CPVPanelEnum::ShowMessageDlg(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVParent* parent = GetIPVParent();
  return parent ? parent->ShowMessageDlg(owner, text, style, helpContext, caption) : -1;
}

STDMETHODIMP CPVPanelEnum::GetHostService(REFCLSID clsid, IUnknown** service) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  IPVParent* parent = m_pParent ? GetIPVParent() : nullptr;
  return parent ? parent->GetHostService(clsid, service) : E_FAIL;
}

// ---------------------------------------------------------------------------------------------
// Tooltips

BOOL CPVPanelEnum::ShowToolTips(BOOL active) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!m_pToolTip) m_pToolTip = std::make_unique<CToolTipCtrl>();
  if (m_pToolTip->GetSafeHwnd())
    Log(L"Cannot get safe handle of the tooltip window.", L"CPVPanelEnum::ShowToolTips", __LINE__);
  m_bToolTipActive = active;
  if (!m_pToolTip->Create(this, 0)) {
    Log(L"Unable to create tip window.", L"CPVPanelEnum::ShowToolTips", __LINE__);
    return FALSE;
  }
  m_pToolTip->Activate(active);
  AddToolTips();
  m_pToolTip->SetMaxTipWidth(0x7FFF);
  m_pToolTip->SetDelayTime(TTDT_AUTOPOP, 0x7FFF);
  m_pToolTip->SetDelayTime(TTDT_INITIAL, 200);
  m_pToolTip->SetDelayTime(TTDT_RESHOW, 200);
  return TRUE;
}

void CPVPanelEnum::AddToolTips() {}

int CPVPanelEnum::AddToolTip(CWnd* control, LPCTSTR text, int toolId) {
  if (!m_pToolTip || !m_pToolTip->GetSafeHwnd() || !control) return -1;
  CRect rect;
  control->GetWindowRect(&rect);
  m_pToolTip->AddTool(control, text, &rect, static_cast<UINT_PTR>(toolId));
  return toolId + 1;
}

void CPVPanelEnum::UpdateToolTipText(CWnd* control, int toolId, LPCTSTR text) {
  if (m_pToolTip && m_pToolTip->GetSafeHwnd() && control)
    m_pToolTip->UpdateTipText(text, control, static_cast<UINT_PTR>(toolId));
}

void CPVPanelEnum::RelayToolTipEvent(UINT message, UINT nFlags, CPoint point) {
  if (!m_pToolTip || !m_pToolTip->GetSafeHwnd()) return;
  MSG relayed{m_hWnd, message, nFlags, MAKELPARAM(point.x, point.y), 0, point};
  m_pToolTip->RelayEvent(&relayed);
}

void CPVPanelEnum::OnLButtonDown(UINT nFlags, CPoint point) {
  RelayToolTipEvent(WM_LBUTTONDOWN, nFlags, point);
  CPVPanel::OnLButtonDown(nFlags, point);
}

void CPVPanelEnum::OnLButtonUp(UINT nFlags, CPoint point) {
  RelayToolTipEvent(WM_LBUTTONUP, nFlags, point);
  CPVPanel::OnLButtonUp(nFlags, point);
}

void CPVPanelEnum::OnMouseMove(UINT nFlags, CPoint point) {
  RelayToolTipEvent(WM_MOUSEMOVE, nFlags, point);
  CPVPanel::OnMouseMove(nFlags, point);
}
