#include "PVCtrlOnlineButton.h"

#include <PVComponentsGlobals.h>
#include <PVDlgLock.h>
#include <PVLog.h>
#include <PromptInfo.h>

namespace {

constexpr CPVSourceLog Log(L"PVCtrlOnlineButton");

}  // namespace

BEGIN_MESSAGE_MAP(CPVCtrlOnlineButton, CButton)
ON_WM_SETFOCUS()
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CPVCtrlOnlineButton::CPVCtrlOnlineButton(int itemId, int labelItemId, const wchar_t* serviceName,
                                         int32_t storedWord, int32_t timerMode, int32_t notifyMode,
                                         int32_t confirmation, int32_t enableFlags)
    : CPVCtrl(itemId),
      m_nLabelID(labelItemId),
      m_nStoredWord(storedWord),
      m_nEnableFlags(enableFlags),
      m_nTimerMode(timerMode),
      m_nNotifyMode(notifyMode),
      m_nConfirmation(confirmation) {
  m_serviceNames.InsertAt(serviceName ? serviceName : L"", 0);
  SetDirtyTracking(0);
}

CPVCtrlOnlineButton::~CPVCtrlOnlineButton() {
  if (m_nRunningTimer)
    Log(L"Timer should already be killed", L"CPVCtrlOnlineButton::~CPVCtrlOnlineButton", __LINE__);
}

// ---------------------------------------------------------------------------------------
// Host calls

STDMETHODIMP CPVCtrlOnlineButton::SetIModule(IModule* pIModule) {
  constexpr wchar_t kFunction[] = L"CPVCtrlOnlineButton::SetIModule";
  HRESULT hr = CPVCtrlBase::SetIModule(pIModule);
  if (FAILED(hr)) {
    Log(L"Failed to SetIModule.", kFunction, __LINE__);
    return hr;
  }
  IDeviceInfo2Ptr deviceInfo;
  hr = pIModule->QueryInterface(__uuidof(IDeviceInfo2), reinterpret_cast<void**>(&deviceInfo));
  if (FAILED(hr)) {
    Log(L"Failed to QueryInterface IDeviceInfo2.", kFunction, __LINE__);
    return hr;
  }
  hr = m_identityCheck.Initialize(deviceInfo, GetIPVPropPageEnum());
  if (FAILED(hr)) {
    Log(L"Failed to Initialize CPVModuleIdentityCheck.", kFunction, __LINE__);
    return hr;
  }
  if (m_nID <= 0) {
    Log(L"Invalid Ctrl ID", kFunction, __LINE__);
    return E_FAIL;
  }
  return NoteModuleLink(S_OK);
}

STDMETHODIMP CPVCtrlOnlineButton::OnActivate() {
  ShowControl(m_nTimerMode != kTimerPoll);
  const HRESULT hr = UpdateEnableState();
  m_nCurrentInterval = m_nStartInterval;
  m_bActive = 1;
  RestartTimer();
  return hr;
}

STDMETHODIMP CPVCtrlOnlineButton::OnDeactivate() {
  m_bActive = 0;
  StopTimer();
  return m_hrLastResult == kServiceRunning ? kServiceRunning : S_OK;
}

STDMETHODIMP CPVCtrlOnlineButton::VexilStateChanged(LONG state) {
  const HRESULT hr = CPVCtrlBase::VexilStateChanged(state);
  if (!HasWindow()) return hr;
  if (!IsWindowEnabled()) {
    m_nCurrentInterval = m_nStartInterval;
    m_bLastSucceeded = 0;
    ShowControl(m_nTimerMode != kTimerPoll);
  } else if (m_bBecameEnabled) {
    m_bBecameEnabled = 0;
    RestartTimer();
  }
  return hr;
}

STDMETHODIMP CPVCtrlOnlineButton::DataChanged() {
  return S_OK;
}

STDMETHODIMP CPVCtrlOnlineButton::Reverted() {
  return S_OK;
}

BOOL CPVCtrlOnlineButton::ShowControl(int show) {
  constexpr wchar_t kFunction[] = L"CPVCtrlOnlineButton::ShowControl";
  const int command = show ? SW_SHOW : SW_HIDE;
  const BOOL buttonResult = HasWindow() ? ShowWindow(command) : FALSE;
  if (m_nLabelID <= 0) return buttonResult;
  CWnd* parent = HasWindow() ? GetParent() : nullptr;
  if (!parent) {
    Log(L"Invalid parent", kFunction, __LINE__);
    return buttonResult;
  }
  CWnd* label = parent->GetDlgItem(m_nLabelID);
  if (!label) {
    Log(L"Invalid label", kFunction, __LINE__);
    return buttonResult;
  }
  return label->ShowWindow(command);
}

BOOL CPVCtrlOnlineButton::GetEnableState() {
  if (!m_bModuleLinked) return FALSE;
  const LONG mode = GetVexilMode();
  if (!IsOnlineVexilMode(mode)) return FALSE;
  if (GetModuleStateFlag()) return FALSE;
  if ((m_nEnableFlags & kDisableOnRedundancy) && GetRedundancyState() == 1) return FALSE;
  if ((m_nEnableFlags & kDisableWhenSecured) && GetSafetySecuredState()) return FALSE;
  if ((m_nEnableFlags & kDisableInMode4) && mode == 4) return FALSE;
  if (HasWindow() && !IsWindowEnabled()) m_bBecameEnabled = 1;
  return TRUE;
}

int CPVCtrlOnlineButton::GetModuleStatus(int force, BOOL show) {
  CPromptInfo prompt;
  const int result = m_identityCheck.CheckModuleIdentity(&prompt, force);
  if (show && result == CPVModuleIdentityCheck::kQueryFailed && FAILED(PromptMsgHandler(&prompt)))
    Log(L"Failed to display missing module error", L"CPVCtrlOnlineButton::GetModuleStatus", __LINE__);
  return result;
}

BOOL CPVCtrlOnlineButton::GetModuleStatus() {
  return GetModuleStatus(1, TRUE) == CPVModuleIdentityCheck::kModuleMatches;
}

// ---------------------------------------------------------------------------------------
// The service

void CPVCtrlOnlineButton::RestartTimer() {
  if (!HasWindow() || !IsWindowEnabled() || !m_bActive) return;
  switch (m_nTimerMode) {
    case kTimerUntilSuccess:
      if (!m_bLastSucceeded) StartTimer();
      break;
    case kTimerOnActivate:
    case kTimerPoll:
      StartTimer();
      break;
    default:
      break;
  }
}

HRESULT CPVCtrlOnlineButton::DisplayConfirmationDlg() {
  constexpr wchar_t kFunction[] = L"CPVCtrlOnlineButton::DisplayConfirmationDlg";
  if (!HasWindow()) {
    Log(L"Invalid window", kFunction, __LINE__);
    return E_POINTER;
  }
  CPromptInfo prompt;
  const HRESULT hr = GetConfirmationMessage(&prompt);
  if (FAILED(hr)) {
    Log(L"Failed to GetConfirmationMessage", kFunction, __LINE__);
    return hr;
  }
  switch (MessageDlg(&prompt, MB_YESNO | MB_ICONEXCLAMATION)) {
    case IDYES:
      return S_OK;
    case IDNO:
      return S_FALSE;
    default:
      // IDABORT, -1 (no dialog) or an answer the question does not offer: nothing is run.
      Log(L"Error displaying confirmation dialog", kFunction, __LINE__);
      return E_FAIL;
  }
}

HRESULT CPVCtrlOnlineButton::GetConfirmationMessage(CPromptInfo*) {
  return E_FAIL;
}

HRESULT CPVCtrlOnlineButton::DoPerformService() {
  if (!HasWindow()) {
    Log(L"Invalid window", L"CPVCtrlOnlineButton::DoPerformService", __LINE__);
    return E_POINTER;
  }
  if (!IsWindowEnabled()) return S_OK;
  if (m_nConfirmation == 1) {
    const HRESULT confirmed = DisplayConfirmationDlg();
    if (FAILED(confirmed)) return confirmed;
    if (confirmed == S_FALSE) return S_OK;
  }
  m_hrLastResult = kServiceRunning;
  if (m_nNotifyMode & kNotifyBefore) NotifyModified();

  IErrorInfoPtr error;
  HRESULT hr = PerformService(&error);
  m_hrLastResult = hr;
  m_bLastSucceeded = HResultSucceeded(hr);
  if (FAILED(hr)) {
    if (error) {
      IErrorInfo* shown = error;
      IErrorInfoErrorHandler(&shown);
    }
    hr = S_OK;
  }
  if (m_nNotifyMode & kNotifyAfter) NotifyModified();
  if (m_nTimerMode == kTimerPoll) {
    if (!m_bLastSucceeded) {
      m_nCurrentInterval = m_nStartInterval;
      ShowControl(TRUE);
    } else {
      m_nCurrentInterval = m_nPollInterval;
      StartTimer();
      ShowControl(FALSE);
    }
  }
  return hr;
}

void CPVCtrlOnlineButton::StartTimer() {
  if (m_nRunningTimer) return;
  m_nRunningTimer = HasWindow() ? SetTimer(static_cast<UINT_PTR>(m_nID), m_nCurrentInterval) : 0;
  if (m_nRunningTimer != static_cast<UINT_PTR>(m_nID))
    Log(L"Failure while getting the ID", L"CPVCtrlOnlineButton::StartTimer", __LINE__);
}

void CPVCtrlOnlineButton::StopTimer() {
  if (!m_nRunningTimer) return;
  if (HasWindow()) KillTimer(m_nRunningTimer);
  m_nRunningTimer = 0;
}

// ---------------------------------------------------------------------------------------
// Window messages

void CPVCtrlOnlineButton::OnSetFocus(CWnd* pOldWnd) {
  CButton::OnSetFocus(pOldWnd);
  OnCtrlSetFocus();
}

void CPVCtrlOnlineButton::OnClicked() {
  StopTimer();
  if (!IsWindowEnabled()) return;
  m_bLastSucceeded = 0;
  m_nCurrentInterval = m_nStartInterval;
  StartTimer();
}

void CPVCtrlOnlineButton::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != static_cast<UINT_PTR>(m_nID)) {
    CButton::OnTimer(nIDEvent);
    return;
  }
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  StopTimer();
  IPVDialogManagerPtr manager = GetIPVDlgManager();
  if (!manager) {
    Log(L"Invalid dialog manager", L"CPVCtrlOnlineButton::OnTimer", __LINE__);
    return;
  }
  // The host may release the page while the service waits for the user (a message box): the
  // page, and this button with it, stays until the service has returned and goes with this
  // reference, after which nothing here touches the button.
  const IUnknownPtr page(GetIPVPropPageEnum());
  CPVDlgLock lock(manager);
  DoPerformService();
}

void CPVCtrlOnlineButton::OnDestroy() {
  StopTimer();
  CButton::OnDestroy();
}
