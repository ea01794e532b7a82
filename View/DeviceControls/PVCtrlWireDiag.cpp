#include "PVCtrlWireDiag.h"

#include <AppWaitCursor.h>
#include <PVComponentsGlobals.h>
#include <PVLog.h>

namespace {

constexpr CPVSourceLog Log(L"PVCtrlWireDiag");
constexpr int kDiagnosticsItem = 9197;
constexpr wchar_t kRefreshFailed[] = L"Refresh Failed";
constexpr LONG kServiceLevelPath = 103;
constexpr LONG kOtherLevelPath = 104;

struct RoleName {
  LONG level;
  const wchar_t* name;
};
constexpr RoleName kRoleNames[] = {
    {-32745, L"Development"}, {-32729, L"Production"}, {-32577, L"Maintenance"},
    {-32522, L"Operator"},    {-32472, L"Service"},
};

}  // namespace

// ---------------------------------------------------------------------------------------
// CPVCtrlWireDiagPageButton

CPVCtrlWireDiagPageButton::CPVCtrlWireDiagPageButton(int itemId, int labelItemId, const wchar_t* serviceName,
                                                     int targetItemId)
    : CPVCtrlOnlineButton(itemId, labelItemId, serviceName, 1, kTimerOnActivate, kNotifyAfter, 0, 0),
      m_nTargetID(targetItemId) {
  m_button.SetAggregateCtrl(this);
}

CPVCtrlWireDiagPageButton::~CPVCtrlWireDiagPageButton() = default;

STDMETHODIMP CPVCtrlWireDiagPageButton::SetIModule(IModule* pIModule) {
  const HRESULT hr = CPVCtrlBase::SetIModule(pIModule);
  if (FAILED(hr)) return hr;
  return NoteModuleLink(QueryLinkManager(pIModule, m_spLinkManager));
}

STDMETHODIMP CPVCtrlWireDiagPageButton::PreInitialActivate() {
  return S_OK;
}

HRESULT CPVCtrlWireDiagPageButton::PerformService(IErrorInfo** error) {
  constexpr wchar_t kFunction[] = L"CPVCtrlWireDiagPageButton::PerformService";
  if (!m_spLinkManager) return E_NOINTERFACE;
  if (!error || *error) return E_FAIL;
  if (!m_spIModule) return S_FALSE;
  if (m_nID != kDiagnosticsItem) return S_OK;

  // The item that shows the outcome is checked before the device is asked.
  CWnd* page = GetParentCWnd();
  CWnd* target = m_nTargetID > 0 && page ? page->GetDlgItem(m_nTargetID) : nullptr;
  if (m_nTargetID > 0 && !target) {
    Log(L"Invalid target item", kFunction, __LINE__);
    return E_FAIL;
  }
  const HRESULT hr = ExecuteWithoutData(m_spLinkManager, kRefreshService);
  if (FAILED(hr)) {
    Log(L"Failed to refresh the device data.", kFunction, __LINE__);
    if (target) target->SetWindowText(kRefreshFailed);
    GetObjectErrorInfo(m_spLinkManager, __uuidof(IENetLinkCollectionManager), error);
    return hr;
  }
  // A refresh that succeeds takes back what an earlier failure wrote.
  if (target) {
    CString text;
    target->GetWindowText(text);
    if (text == kRefreshFailed) target->SetWindowText(L"");
  }
  return hr;
}

void CPVCtrlWireDiagPageButton::OnButtonClicked(CButton* button, int) {
  if (button != &m_button || !m_button.GetSafeHwnd() || !m_button.IsWindowEnabled() || m_bClicked) return;
  StopTimer();
  m_bClicked = 1;
  m_bLastSucceeded = 0;
  m_nCurrentInterval = m_nStartInterval;
  StartTimer();
}

void CPVCtrlWireDiagPageButton::OnButtonSetFocus(CButton* button) {
  if (IPVPropPageEnum* page = GetIPVPropPageEnum()) page->OnFocusChange(button);
}

// ---------------------------------------------------------------------------------------
// The information statics

CPVCtrlWireModuleInfoStatic::CPVCtrlWireModuleInfoStatic(int itemId, int labelItemId,
                                                         CPVCtrlOnlineButton* onlineButton)
    : CPVCtrlStatic(itemId), m_nLabelID(labelItemId), m_pOnlineButton(onlineButton) {}

CPVCtrlWireModuleInfoStatic::~CPVCtrlWireModuleInfoStatic() = default;

STDMETHODIMP CPVCtrlWireModuleInfoStatic::SetIModule(IModule* pIModule) {
  const HRESULT hr = CPVCtrlBase::SetIModule(pIModule);
  if (FAILED(hr)) return hr;
  if (!m_pOnlineButton) {
    Log(L"Invalid online button", L"CPVCtrlWireModuleInfoStatic::SetIModule", __LINE__);
    return E_POINTER;
  }
  return S_OK;
}

STDMETHODIMP CPVCtrlWireModuleInfoStatic::PreInitialActivate() {
  return S_OK;
}

STDMETHODIMP CPVCtrlWireModuleInfoStatic::OnActivate() {
  ClearText();
  return S_OK;
}

STDMETHODIMP CPVCtrlWireModuleInfoStatic::DataChanged() {
  return S_OK;
}

STDMETHODIMP CPVCtrlWireModuleInfoStatic::Reverted() {
  return S_OK;
}

STDMETHODIMP CPVCtrlWireModuleInfoStatic::VexilStateChanged(LONG) {
  if (!IsOnlineCtrlEnabled()) ClearText();
  return S_OK;
}

STDMETHODIMP CPVCtrlWireModuleInfoStatic::OnChangedCtrlData(CWnd* changedWindow, int) {
  if (!changedWindow || !m_pOnlineButton || changedWindow->GetSafeHwnd() != m_pOnlineButton->GetSafeHwnd() ||
      !changedWindow->GetSafeHwnd())
    return S_OK;
  if (SUCCEEDED(m_pOnlineButton->GetLastResult()) && IsOnlineCtrlEnabled()) {
    CString text;
    SetStaticWindowText(SUCCEEDED(GetText(text)) ? text : CString(L" "));
  } else {
    ClearText();
  }
  return S_OK;
}

void CPVCtrlWireModuleInfoStatic::ClearText() {
  SetStaticWindowText(L"");
}

CPVCtrlWireInfoStatic::CPVCtrlWireInfoStatic(int itemId, int labelItemId, CPVCtrlOnlineButton* onlineButton)
    : CPVCtrlWireModuleInfoStatic(itemId, labelItemId, onlineButton) {}

CPVCtrlWireInfoStatic::~CPVCtrlWireInfoStatic() = default;

STDMETHODIMP CPVCtrlWireInfoStatic::SetIModule(IModule* pIModule) {
  const HRESULT hr = CPVCtrlWireModuleInfoStatic::SetIModule(pIModule);
  if (FAILED(hr)) return hr;
  return QueryLinkManager(pIModule, m_spLinkManager);
}

CPVCtrlWireInfoLong::CPVCtrlWireInfoLong(int itemId, int labelItemId, const wchar_t* attributeName,
                                         CPVCtrlOnlineButton* onlineButton)
    : CPVCtrlWireInfoStatic(itemId, labelItemId, onlineButton), m_strAttributeName(attributeName) {}

CPVCtrlWireInfoLong::~CPVCtrlWireInfoLong() = default;

HRESULT CPVCtrlWireInfoLong::GetText(CString& text) {
  LONG level = 0;
  HRESULT hr;
  {
    CAppWaitCursor waitCursor;
    hr = GetAttrLong(m_strAttributeName, &level);
  }
  if (FAILED(hr)) return hr;
  text = L"??";
  for (const RoleName& role : kRoleNames)
    if (role.level == level) text = role.name;
  return hr;
}

HRESULT CPVCtrlWireInfoLong::GetAttrLong(const wchar_t* attributeName, LONG* value) {
  LONG pathNumber = CString(attributeName) == L"ServiceLevel" ? kServiceLevelPath : kOtherLevelPath;
  VARIANT path;
  VariantInit(&path);
  path.vt = VT_BYREF | VT_I4;
  path.plVal = &pathNumber;
  _variant_t result;
  HRESULT hr = ReadDeviceAttribute(m_spLinkManager, attributeName, path, VT_I2, &result);
  if (SUCCEEDED(hr)) hr = LongFromResult(result, value);
  if (FAILED(hr)) Log(L"Failed to read the attribute.", L"CPVCtrlWireInfoLong::GetAttrLong", __LINE__);
  return hr;
}
