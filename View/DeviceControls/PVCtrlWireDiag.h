// The diagnostics button and the module information fields of the second system page. The
// button asks the host to refresh its data of the connected device (on activation and on every
// click) and tells the page after each refresh; a field that follows the button then reads a
// value through the link services and shows it, or is empty offline and after a failed refresh.
// A failed refresh writes "Refresh Failed" into a further item of the page until a later
// refresh succeeds.
#pragma once

#include <PVButtonCtrl.h>
#include <PVCtrlStatic.h>

#include "DeviceLink.h"
#include "PVCtrlOnlineButton.h"

class CPVCtrlWireDiagPageButton : public CPVCtrlOnlineButton, public IPVAggregateCtrl {
 public:
  // Timer mode 2, told after the service, no confirmation; a target item id of 0 or less: none.
  CPVCtrlWireDiagPageButton(int itemId, int labelItemId, const wchar_t* serviceName, int targetItemId);
  ~CPVCtrlWireDiagPageButton() override;

  // The control base's (no identity check), then the link manager.
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  STDMETHODIMP PreInitialActivate() override;  // S_OK
  // "Refresh" under the wait cursor (only for item 9197; any other id: S_OK without a call).
  HRESULT PerformService(IErrorInfo** error) override;

  // IPVAggregateCtrl: a click of the embedded button runs the service once; its focus goes to
  // the page.
  void OnButtonClicked(CButton* button, int itemId) override;
  void OnButtonSetFocus(CButton* button) override;

 protected:
  const int32_t m_nTargetID;
  CPVButtonCtrl m_button;
  int32_t m_bClicked = 0;
  IENetLinkCollectionManagerPtr m_spLinkManager;
};

// A static that follows an online button's outcome.
class CPVCtrlWireModuleInfoStatic : public CPVCtrlStatic {
 public:
  CPVCtrlWireModuleInfoStatic(int itemId, int labelItemId, CPVCtrlOnlineButton* onlineButton);
  ~CPVCtrlWireModuleInfoStatic() override;

  // The base's; E_POINTER without an online button.
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  STDMETHODIMP PreInitialActivate() override;  // S_OK
  STDMETHODIMP OnActivate() override;          // ClearText, S_OK
  STDMETHODIMP DataChanged() override;         // S_OK
  STDMETHODIMP Reverted() override;            // S_OK
  // Offline: ClearText. S_OK.
  STDMETHODIMP VexilStateChanged(LONG state) override;
  // From the online button: after its successful service while online the text (a single blank
  // when it cannot be had); otherwise cleared. Other windows change nothing.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;

  virtual void ClearText();
  virtual HRESULT GetText(CString& text) = 0;

 protected:
  const int32_t m_nLabelID;
  CPVCtrlOnlineButton* const m_pOnlineButton;
  CString m_strText;
};

class CPVCtrlWireInfoStatic : public CPVCtrlWireModuleInfoStatic {
 public:
  CPVCtrlWireInfoStatic(int itemId, int labelItemId, CPVCtrlOnlineButton* onlineButton);
  ~CPVCtrlWireInfoStatic() override;
  // The base's, then the link manager.
  STDMETHODIMP SetIModule(IModule* pIModule) override;

 protected:
  IENetLinkCollectionManagerPtr m_spLinkManager;
};

class CPVCtrlWireInfoLong : public CPVCtrlWireInfoStatic {
 public:
  CPVCtrlWireInfoLong(int itemId, int labelItemId, const wchar_t* attributeName,
                      CPVCtrlOnlineButton* onlineButton);
  ~CPVCtrlWireInfoLong() override;

  // The role name of the access level read ("??" for a level outside the table).
  HRESULT GetText(CString& text) override;
  // The attribute by the host's path number (103 for "ServiceLevel", 104 otherwise), asked as
  // VT_I2; VT_I2, VT_I4, VT_R4, VT_BSTR and VT_UI1 answers taken, others E_UNEXPECTED.
  HRESULT GetAttrLong(const wchar_t* attributeName, LONG* value);

 protected:
  CString m_strAttributeName;
};
