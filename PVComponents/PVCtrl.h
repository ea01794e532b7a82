// The control base of every page control. CPVCtrlBase answers every operation of the
// control's interfaces with a default, keeps the control's two links (the host module and the
// page), tracks unsaved input and decides whether the control may be enabled. CPVCtrl adds the
// dialog item id and what needs the control's window: enabling, showing, change notification
// and the standard ways of reporting an error or asking the user.
//
// A concrete control derives from its MFC control class first and from CPVCtrl second, and is
// a member of its page: it is not reference counted (AddRef and Release count nothing).
#pragma once

#include <comdef.h>

#include <cstdint>

#include "PVComObject.h"
#include "PVCtrlInterfaces.h"

class CPromptInfo;

class CPVCtrlBase : public IPVCtrl,
                    public IPVEventHandler2,
                    public IPVCloseDlgHandler,
                    public IPVDocumentation,
                    public IPVVexilProperties,
                    public CPVComObjectRoot {
 public:
  CPVCtrlBase();
  CPVCtrlBase(const CPVCtrlBase&) = delete;
  CPVCtrlBase& operator=(const CPVCtrlBase&) = delete;

  // IUnknown. IUnknown and IPVCtrl give the IPVCtrl part; IPVDocumentation, IPVEventHandler2,
  // IPVCloseDlgHandler and IPVVexilProperties their own parts; anything else E_NOINTERFACE
  // with a null out-pointer. AddRef answers 2 and Release 1: nothing is counted or deleted,
  // because a control is a member of its page.
  BEGIN_PV_INTERFACE_TABLE(CPVCtrlBase)
  PV_INTERFACE_ENTRY(IPVCtrl)
  PV_INTERFACE_ENTRY(IPVDocumentation)
  PV_INTERFACE_ENTRY(IPVEventHandler2)
  PV_INTERFACE_ENTRY(IPVCloseDlgHandler)
  PV_INTERFACE_ENTRY(IPVVexilProperties)
  END_PV_INTERFACE_TABLE()
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPVCtrl. Both links are accepted once: null gives E_INVALIDARG, a second call
  // E_UNEXPECTED (the first link stays). The page is not counted; the module is.
  STDMETHODIMP SetIPVPropPageEnum(IPVPropPageEnum* pIPVPropPageEnum) override;
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  STDMETHODIMP PreInitialActivate() override;  // UpdateEnableState
  STDMETHODIMP OnActivate() override;          // S_OK
  STDMETHODIMP OnDeactivate() override;        // S_OK
  STDMETHODIMP Save() override;                // S_OK
  STDMETHODIMP Refresh() override;             // S_OK
  STDMETHODIMP ClearDirty() override;          // clears the dirty flag, S_OK
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;  // S_OK
  // E_FAIL: the control does not own the member, so the page offers the error to the next
  // control. A control bound to the member overrides it (DefaultValidationErrorHandler).
  STDMETHODIMP OnValidationError(LONG errorCode, BSTR memberName, IErrorInfo** errorInfo) override;
  STDMETHODIMP PostModDefChange() override;  // S_FALSE

  // IPVEventHandler2.
  STDMETHODIMP VexilStateChanged(LONG state) override;  // UpdateEnableState; state unused
  STDMETHODIMP ModuleStatusChanged() override;          // S_OK
  STDMETHODIMP Flush() override;                        // S_OK
  STDMETHODIMP DataChanged() override;                  // Refresh
  STDMETHODIMP ModuleDefinitionChanged() override;      // S_OK
  STDMETHODIMP Reverted() override;                     // ClearDirty, then Refresh
  STDMETHODIMP DirtyStateChanged() override;            // S_OK
  STDMETHODIMP ModuleDeleted() override;                // logged, S_OK

  // IPVCloseDlgHandler.
  STDMETHODIMP OnCloseDlg() override;  // S_OK

  // IPVDocumentation: always VARIANT_FALSE.
  STDMETHODIMP GetDocumentationDirtyState(VARIANT_BOOL* pUserDescriptionDirtyState) override;

  // IPVVexilProperties: the services GetVexilMode() and GetRedundancyState() below, S_OK.
  STDMETHODIMP GetVexilMode(LONG* mode) override;
  STDMETHODIMP GetRedundancyState(LONG* state) override;

  // The control's own virtual operations, in slot order after IPVCtrl's.
  virtual ~CPVCtrlBase() = 0;
  virtual HRESULT UpdateEnableState() = 0;
  // The page's CtrlModified(window, id, mark dirty = tracking on); then the dirty flag is set
  // when tracking is on. Returns the page's result (E_FAIL, logged, without a page).
  virtual HRESULT NotifyCtrlModified(CWnd* window, int itemId);
  // Sets the dirty flag when tracking is on.
  virtual void SetCtrlDirty();

  // ---- Services for derived controls. Each that needs the page logs and gives its fallback
  // when there is none.

  // Controls switch tracking off while they put a value into their own window, so that the
  // change notification this causes marks neither the page nor the control dirty.
  void SetDirtyTracking(int on) { m_bDirtyTracking = on; }
  BOOL IsDirty() const { return m_bDirty != 0; }

  IModule* GetIModule() const;                   // not AddRef'd; null logged
  IPVPropPageEnum* GetIPVPropPageEnum() const;   // null logged
  IPVDialogManagerPtr GetIPVDlgManager() const;  // the page's manager (owned), or null
  LONG GetVexilMode() const;                     // the page's mode; 8 without one or on failure
  LONG GetRedundancyState() const;               // the page's state; 1 without one or on failure
  BOOL GetSafetySecuredState() const;            // the safety controller's verdict on the module
  CWnd* GetParentCWnd() const;                   // the page's window, or null
  // The host application object through the page's view-connector service; the caller owns
  // the reference. Null (each step logged with its own message) when a step fails.
  IApplicationPtr GetIApplication() const;
  // 1 only when the module answers IModuleStateSource and reports VARIANT_TRUE.
  BOOL GetModuleStateFlag() const;
  BOOL IsValid() const;  // a module is held; else logged
  // The default enable rule: not safety-secured (unless exempt), redundancy state not 1 and
  // controller mode neither 4 nor 8. A control without a page is therefore disabled.
  BOOL IsCtrlEnabled() const;
  // The rule of the controls that read from or write to the device: an online mode (1 to 6),
  // redundancy state not 1 and module state flag 0. No safety test.
  BOOL IsOnlineCtrlEnabled() const;

 protected:
  IModulePtr m_spIModule;
  IPVPropPageEnum* m_pIPVPropPageEnum = nullptr;  // the page outlives its controls: not counted
  int32_t m_bDirtyTracking = 1;
  int32_t m_bDirty = 0;
  int32_t m_bSafetyExempt = 0;  // 1 skips the safety test of the enable rule; no control sets it
};

class CPVCtrl : public CPVCtrlBase {
 public:
  explicit CPVCtrl(int itemId) : m_nID(itemId) {}

  // Enables or disables the control's window with GetEnableState; a missing window is left
  // alone. Always S_OK.
  HRESULT UpdateEnableState() override;

  // Still pure: only concrete controls are made.
  ~CPVCtrl() override = 0;
  // ShowWindow of the control's window; the previous visibility, or 0 (logged) without one.
  virtual BOOL ShowControl(int showCommand);
  virtual BOOL GetEnableState();     // IsCtrlEnabled
  virtual HRESULT NotifyModified();  // NotifyCtrlModified(GetCWnd(), own item id)

  int GetCtrlID() const { return m_nID; }

  // The control's window: the child with the item id in the page's window, or null (logged).
  CWnd* GetCWnd() const;
  // The page's OnFocusChange with the control's window; concrete controls call it from their
  // WM_SETFOCUS handler. The page's result (E_FAIL without a page).
  HRESULT OnCtrlSetFocus();

  // The reporting operations. Each needs the page and the own window (E_FAIL, or -1 for
  // MessageDlg, without them), first asks the page for the input focus, shows the dialog
  // through the page and, when it was shown, gives the focus back to the own window.
  // DefaultValidationErrorHandler and IErrorInfoErrorHandler show the error information the
  // last argument points to (E_POINTER, logged, when there is none).
  HRESULT DefaultValidationErrorHandler(LONG errorCode, BSTR memberName, IErrorInfo** errorInfo);
  HRESULT IErrorInfoErrorHandler(IErrorInfo** errorInfo);
  HRESULT PromptMsgHandler(CPromptInfo* prompt);
  // The id of the button the user pressed, or -1.
  int MessageDlg(CPromptInfo* prompt, UINT style);

 protected:
  const int32_t m_nID;  // the dialog item id, for the control's whole life

 private:
  HRESULT ShowErrorInfo(IErrorInfo** errorInfo, const wchar_t* function, bool logMissingWindow,
                        bool plainSuccess);
};
