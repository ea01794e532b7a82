// The device-attribute controls: page controls that show a value living in the connected device
// rather than in the module's configuration tag. Each reads one attribute through the module's
// link services by object class, instance and attribute number, and shows it as a number in an
// edit box (the regulator) or as a selection in a combo box (the calculation-model set and the
// totalizer switch). They work only while the controller is online; offline they are empty and
// disabled. A user change tells the service button that writes the values back.
//
// Text or a selection the control sets itself (clearing, showing what was read, the edit
// emptying while disabled) is not a user edit: it notifies nobody. A failed read empties the
// field rather than leaving an old value that a later write would send back as if current.
#pragma once

#include <PVCtrl.h>
#include <afxwin.h>

#include <cstdint>

#include "DeviceLink.h"
#include "HostEdits.h"

class CPVCtrlWireConfigPageWriteButton;
class CPVCtrlWireConfigPageSet5Button;
class CPVCtrlWireConfigPageSetSwitchButton;

class CPVCtrlDCLRegulator : public CPVCtrl, public CHostRegulatorReal {
 public:
  // The attribute name is the page's (not copied); the button is not owned (null: none).
  CPVCtrlDCLRegulator(int itemId, int16_t objectClass, const wchar_t* attributeName, int16_t attributeNumber,
                      CPVCtrlWireConfigPageSet5Button* serviceButton);
  ~CPVCtrlDCLRegulator() override;

  // The base's, then the companion interface (its failure ignored) and the link manager.
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  STDMETHODIMP PreInitialActivate() override;  // S_OK
  STDMETHODIMP OnActivate() override;          // DoRefresh, S_OK
  STDMETHODIMP Refresh() override;             // the base's, then DoRefresh
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  STDMETHODIMP VexilStateChanged(LONG state) override;
  // Enabling or disabling the window shows or empties it, which is no user edit.
  HRESULT UpdateEnableState() override;

  // The four bytes of the attribute as a float; E_UNEXPECTED for a result that is no byte
  // array of four bytes or more.
  HRESULT GetAttrString(const wchar_t* attributeName, float* value);
  // The attribute asked as VT_R4; VT_R4, VT_BSTR, VT_I2 and VT_I4 answers taken.
  HRESULT GetAttrFloat(const wchar_t* attributeName, float* value);

  // Reads the attribute and shows it ("%.2f" for the reference temperature, "%.4f" otherwise,
  // '.' whatever the locale); a failed read empties the field.
  virtual HRESULT ShowAttribute();
  // Offline or without the link manager: cleared and disabled, S_OK. Online: enabled and shown.
  virtual HRESULT DoRefresh();
  virtual void ClearAttribute();

 protected:
  // After the edit's own handling: a user's change notifies the page and arms the button.
  void OnTextChanged() override;

  // Sets the window's enabled state without the change counting as a user edit.
  void EnableQuietly(BOOL enable);

  const int16_t m_nObjectClass;
  const wchar_t* const m_pszAttributeName;
  const int16_t m_nAttributeNumber;
  CPVCtrlWireConfigPageSet5Button* const m_pServiceButton;
  IUnknownPtr m_spCompanion;
  IENetLinkCollectionManagerPtr m_spLinkManager;
  int32_t m_bNotify = 0;
};

// What the set and the switch share: a combo box whose selection shows a device code.
class CPVCtrlDCLCombo : public CComboBox, public CPVCtrl {
 public:
  STDMETHODIMP SetIModule(IModule* pIModule) override;  // the base's, then the link manager
  STDMETHODIMP OnActivate() override;                   // DoRefresh, S_OK
  STDMETHODIMP Refresh() override;                      // the base's, then DoRefresh
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;  // S_OK
  STDMETHODIMP VexilStateChanged(LONG state) override;
  BOOL GetEnableState() override;  // the link manager held and controller mode 1 to 6

  // The attribute asked as VT_EMPTY, its text read as a base-10 integer (signed or not).
  HRESULT GetAttrValue(const wchar_t* attributeName, LONG* value);
  virtual HRESULT ShowAttribute() = 0;
  HRESULT DoRefresh();

 protected:
  // The button is not owned (null: none).
  CPVCtrlDCLCombo(int itemId, int32_t objectClass, const wchar_t* attributeName, int16_t attributeNumber,
                  int16_t instance, bool signedValue, CPVCtrlWireConfigPageWriteButton* serviceButton);
  // The control's path: VT_I2 numbers for the set, VT_I1 for the switch.
  virtual HRESULT MakePath(_variant_t* path) const = 0;
  // Shows the entry without the change counting as a user edit; -1 clears. E_FAIL (logged)
  // without the combo box.
  HRESULT SelectQuietly(int index, const wchar_t* function);
  void ClearAttribute();
  virtual const wchar_t* ClassName() const = 0;

  afx_msg void OnSetFocus(CWnd* pOldWnd);
  // A user's choice: the page is told and the button armed.
  afx_msg void OnSelEndOk();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

  CPVCtrlWireConfigPageWriteButton* const m_pServiceButton;
  int32_t m_bNotify = 0;
  const int32_t m_nObjectClass;
  const wchar_t* const m_pszAttributeName;
  const int16_t m_nAttributeNumber;
  const int16_t m_nInstance;
  const bool m_bSignedValue;
  IENetLinkCollectionManagerPtr m_spLinkManager;
};

// The calculation model (device codes 806, 807, 808), instance 1.
class CPVCtrlDCLSensorDataSet : public CPVCtrlDCLCombo {
 public:
  CPVCtrlDCLSensorDataSet(int itemId, int32_t objectClass, const wchar_t* attributeName,
                          int16_t attributeNumber, CPVCtrlWireConfigPageSet5Button* serviceButton);
  ~CPVCtrlDCLSensorDataSet() override;
  // 806 selects entry 0, 808 entry 2, any other code entry 1; a failed read clears.
  HRESULT ShowAttribute() override;

 protected:
  HRESULT MakePath(_variant_t* path) const override;
  const wchar_t* ClassName() const override { return L"CPVCtrlDCLSensorDataSet"; }
};

// One totalizer's control value.
class CPVCtrlDCLSensorDataSwitch : public CPVCtrlDCLCombo {
 public:
  CPVCtrlDCLSensorDataSwitch(int itemId, int32_t objectClass, const wchar_t* attributeName,
                             int16_t attributeNumber, int16_t instance,
                             CPVCtrlWireConfigPageSetSwitchButton* serviceButton);
  ~CPVCtrlDCLSensorDataSwitch() override;
  // ShowTotalizerControl with the control's path.
  HRESULT ShowAttribute() override;

 protected:
  HRESULT MakePath(_variant_t* path) const override;
  const wchar_t* ClassName() const override { return L"CPVCtrlDCLSensorDataSwitch"; }
};
