// The panel that owns the page's controls: it keeps them in a list, passes each host call and
// event on to them in list order (with fixed rules for what stops a walk and which result is
// returned) and offers the controls IPVPropPageEnum, which forwards their requests to the host.
#pragma once

#include <list>
#include <memory>

#include "PVCtrlInterfaces.h"
#include "PVPanel.h"

class CPVPanelEnum;

// The page's controls in the order they receive every call; the list holds no references.
typedef std::list<IPVCtrl*> CPVCtrlList;

// Nonzero for a control that a walk must skip.
typedef BOOL (*PFN_PVCTRLFILTER)(CPVPanelEnum* page, IPVCtrl* control);

class CPVPanelEnum : public CPVPanel, public IPVPropPageEnum {
 public:
  explicit CPVPanelEnum(UINT nIDTemplate);
  CPVPanelEnum(const CPVPanelEnum& other);
  ~CPVPanelEnum() override;
  virtual CPVPanelEnum& operator=(const CPVPanelEnum& other);
  using CPVPanel::operator=;

  // IUnknown: the panel's interfaces, then IPVPropPageEnum (this table's only row: the first
  // row of a table also answers IUnknown, which the panel's table has answered already).
  BEGIN_PV_INTERFACE_TABLE(CPVPanelEnum)
  PV_INTERFACE_ENTRY(IPVPropPageEnum)
  END_PV_INTERFACE_TABLE()
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return CPVPanel::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return CPVPanel::Release(); }

  // IPVChild: the panel part, then the walk over the controls.
  STDMETHODIMP Init(IUnknown* pParent) override;
  STDMETHODIMP Save() override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP ClearDirty() override;
  STDMETHODIMP OnValidationError(LONG code, BSTR memberName, IErrorInfo** ppErrorInfo) override;
  STDMETHODIMP PostModDefChange() override;
  STDMETHODIMP PreInitialActivate() override;
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP OnDeactivate() override;

  // IPVEventHandler2 (ModuleDeleted stays the panel's: it is not passed on).
  STDMETHODIMP VexilStateChanged(LONG state) override;
  STDMETHODIMP ModuleStatusChanged() override;
  STDMETHODIMP Flush() override;
  STDMETHODIMP DataChanged() override;
  STDMETHODIMP ModuleDefinitionChanged() override;
  STDMETHODIMP Reverted() override;
  STDMETHODIMP DirtyStateChanged() override;

  // IPVPropPageEnum
  STDMETHODIMP ForwardParentRequest() override;
  STDMETHODIMP CtrlModified(CWnd* sender, int changedItemId, VARIANT_BOOL markDirty) override;
  STDMETHODIMP OnFocusChange(CWnd* control) override;
  STDMETHODIMP RequestInputFocus(CWnd* control) override;
  STDMETHODIMP GetPropPageEnumCWnd(CWnd** window) override;
  STDMETHODIMP ShowErrorDlg(BSTR text, BSTR caption, LONG helpContext) override;
  STDMETHODIMP QueryParentFlag(VARIANT_BOOL* flag, LONG value) override;
  STDMETHODIMP GetVexilMode(LONG* mode) override;
  STDMETHODIMP GetRedundancyState(LONG* state) override;
  STDMETHODIMP GetIPVDlgManager(IPVDialogManager** manager) override;
  STDMETHODIMP_(int)
  ShowMessageDlg(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) override;
  STDMETHODIMP GetHostService(REFCLSID clsid, IUnknown** service) override;

  // The list. Pages add every control from their constructors, in the order of the calls.
  HRESULT AddControlToList(IPVCtrl* control);
  HRESULT RemoveControlFromList(IPVCtrl* control);
  HRESULT GetControlList(CPVCtrlList& controls) const;
  void SetControlFilter(PFN_PVCTRLFILTER filter) { m_pfnCtrlFilter = filter; }

  // Tooltips of the page's controls.
  BOOL ShowToolTips(BOOL active);
  // Registers a tool for the control window; the next free tool id, or -1 without tooltips.
  int AddToolTip(CWnd* control, LPCTSTR text, int toolId);
  void UpdateToolTipText(CWnd* control, int toolId, LPCTSTR text);

 protected:
  // The page's tools, added while ShowToolTips sets the tooltip window up (base: none).
  virtual void AddToolTips();

  // Pass a mouse message to the tooltip control before the default handling.
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  void RelayToolTipEvent(UINT message, UINT nFlags, CPoint point);

  bool IsFiltered(IPVCtrl* control);
  HRESULT GetIPVEventHandler2(IPVCtrl* control, IPVEventHandler2** handler);
  // The event walk: every control that offers IPVEventHandler2 receives the event.
  template <class Call>
  HRESULT EventWalk(Call call, const wchar_t* failureMessage, const wchar_t* function, int line);
  // The common walk over the controls' IPVCtrl.
  template <class Call>
  HRESULT CommonWalk(Call call, bool filtered, const wchar_t* failureMessage, const wchar_t* function,
                     int line);

  CPVCtrlList m_controls;
  PFN_PVCTRLFILTER m_pfnCtrlFilter = nullptr;
  std::unique_ptr<CToolTipCtrl> m_pToolTip;
  BOOL m_bToolTipActive = FALSE;
};
