// The base of every page button that performs a service on the connected device. A click
// starts a window timer whose id is the button's item id; the service runs when the timer
// fires, with the host's dialog manager locked for its duration. The base decides when the
// button is enabled, asks for confirmation when configured to, keeps the outcome of the last
// service, tells the page before and after the service when configured to, and can poll the
// device. The derived buttons supply the service (PerformService).
#pragma once

#include <PVCtrl.h>
#include <PVModuleIdentityCheck.h>
#include <Strings.h>
#include <afxwin.h>

#include <cstdint>

class CPromptInfo;

class CPVCtrlOnlineButton : public CButton, public CPVCtrl {
 public:
  // Timer modes: no automatic timer; on activation until a service has succeeded; on every
  // activation; on every activation and polling after each success.
  enum TimerMode : int32_t { kTimerNone = 0, kTimerUntilSuccess = 1, kTimerOnActivate = 2, kTimerPoll = 3 };
  // Notify-mode bits: tell the page before (1) and after (2) the service.
  static constexpr int32_t kNotifyBefore = 1;
  static constexpr int32_t kNotifyAfter = 2;
  // Enable-flag bits: redundancy state 1, a safety-secured controller, controller mode 4
  // disable the button.
  static constexpr int32_t kDisableOnRedundancy = 1;
  static constexpr int32_t kDisableWhenSecured = 2;
  static constexpr int32_t kDisableInMode4 = 4;
  // The last result while a service runs; also what OnDeactivate answers then.
  static constexpr HRESULT kServiceRunning = static_cast<HRESULT>(0x80040200);
  static constexpr UINT kStartInterval = 300;
  static constexpr UINT kPollInterval = 2500;

  // storedWord is kept and not read; a label item id of 0 or less means no label.
  CPVCtrlOnlineButton(int itemId, int labelItemId, const wchar_t* serviceName, int32_t storedWord,
                      int32_t timerMode, int32_t notifyMode, int32_t confirmation, int32_t enableFlags);
  ~CPVCtrlOnlineButton() override;

  // The control base's SetIModule, then the module's IDeviceInfo2 for the identity check (with
  // the page); an item id of 0 or less fails with E_FAIL. Each failure logged and returned; a
  // button whose module link failed stays disabled.
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  // Shown unless polling, enable state updated, timer started as the timer mode says.
  STDMETHODIMP OnActivate() override;
  // Stops a pending timer; refused with kServiceRunning while a service runs.
  STDMETHODIMP OnDeactivate() override;
  // The base handler, then: disabled, the outcome is forgotten and the button shown (unless
  // polling); enabled again after the controller state changed, the timer restarted.
  STDMETHODIMP VexilStateChanged(LONG state) override;
  STDMETHODIMP DataChanged() override;  // S_OK
  STDMETHODIMP Reverted() override;     // S_OK

  // Shows (non-zero) or hides the button and its label; the label's previous visibility when
  // there is a label, else the button's.
  BOOL ShowControl(int show) override;
  // The module linked (SetIModule succeeded), online (mode 1 to 6) with the module state flag
  // clear, and none of the enable flags' states.
  BOOL GetEnableState() override;

  // The identity check (force 1: ask the device again); with show, a failed query's prompt is
  // shown. The second form: forced and shown, TRUE when the module matches.
  int GetModuleStatus(int force, BOOL show);
  BOOL GetModuleStatus();

  BOOL GetLastSucceeded() const { return m_bLastSucceeded; }
  HRESULT GetLastResult() const { return m_hrLastResult; }
  const CStrings& GetServiceNames() const { return m_serviceNames; }

  // ---- The window part, in slot order.
  // Starts the timer when the button is enabled and active and the timer mode asks for it.
  virtual void RestartTimer();
  // The service with confirmation, notices, outcome and polling; a failing service is shown to
  // the user and answered S_OK.
  virtual HRESULT DoPerformService();
  // The service itself: E_FAIL without acting when *error is already set; may leave error
  // information in *error on failure.
  virtual HRESULT PerformService(IErrorInfo** error) = 0;
  // Asks the user (yes: S_OK, no: S_FALSE).
  virtual HRESULT DisplayConfirmationDlg();
  // The confirmation prompt; the base has none (E_FAIL), so it never confirms.
  virtual HRESULT GetConfirmationMessage(CPromptInfo* prompt);

  void StartTimer();
  void StopTimer();

 protected:
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnClicked();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // Records whether the module link (the module and what the button queries of it) was made,
  // and returns hr: a button without it would run a service that cannot reach the device.
  HRESULT NoteModuleLink(HRESULT hr) {
    m_bModuleLinked = SUCCEEDED(hr) ? 1 : 0;
    return hr;
  }

  // The button's own window is there (a control not yet bound to its dialog item has none).
  bool HasWindow() const { return ::IsWindow(m_hWnd) != FALSE; }

  const int32_t m_nLabelID;
  int32_t m_bActive = 0;
  const int32_t m_nStoredWord;
  const int32_t m_nEnableFlags;
  const int32_t m_nTimerMode;
  const int32_t m_nNotifyMode;
  const int32_t m_nConfirmation;
  UINT_PTR m_nRunningTimer = 0;
  UINT m_nCurrentInterval = kStartInterval;
  const UINT m_nStartInterval = kStartInterval;
  const UINT m_nPollInterval = kPollInterval;
  int32_t m_bBecameEnabled = 0;
  int32_t m_bLastSucceeded = 0;
  HRESULT m_hrLastResult = E_FAIL;
  CStrings m_serviceNames;
  CPVModuleIdentityCheck m_identityCheck;
  int32_t m_bModuleLinked = 0;
};
