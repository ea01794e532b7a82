// The device service buttons: they write values to the connected device through the module's
// link services and then ask the host to refresh its view of the device. Set5 writes the
// viscosity page's two coefficients, reference temperature and calculation model; SetSwitch
// writes one totalizer's control value and reads it back; Refresh runs one named service
// without data.
#pragma once

#include "DeviceLink.h"
#include "PVCtrlOnlineButton.h"

// What Set5 and SetSwitch share: a pending mask (bit n: the value of index n was changed by the
// user and not yet written) whose own bit enables the button, the link manager, and the
// device-service messages.
class CPVCtrlWireConfigPageWriteButton : public CPVCtrlOnlineButton {
 public:
  // The base's, then the link manager (whose query result is returned).
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  STDMETHODIMP PreInitialActivate() override;  // UpdateEnableState
  // Own bit cleared, enable state updated, S_OK; no timer.
  STDMETHODIMP OnActivate() override;
  // The base rule and the own pending bit.
  BOOL GetEnableState() override;
  // S_OK with an empty prompt.
  HRESULT GetConfirmationMessage(CPromptInfo* prompt) override;

  // The user changed a value this button writes: own bit set, enable state updated.
  void MarkChanged();
  uint32_t GetPendingMask() const { return m_nPendingMask; }

 protected:
  CPVCtrlWireConfigPageWriteButton(int itemId, int labelItemId, const wchar_t* serviceName, int16_t index,
                                   int32_t timerMode, int32_t notifyMode, int32_t confirmation);

  void SetPendingBit(int bit) { m_nPendingMask |= 1u << (static_cast<unsigned>(bit) % 32u); }
  void ClearOwnBit() { m_nPendingMask &= ~(1u << (static_cast<unsigned>(m_nIndex) % 32u)); }
  bool OwnBitSet() const { return (m_nPendingMask >> (static_cast<unsigned>(m_nIndex) % 32u)) & 1u; }
  // The string resource shown as a device-service message (caption "Tavelin 5000", an
  // exclamation with OK and Help, help id the number plus 0x30000 unless given), formatted with
  // the inserts when there are any.
  void ShowMessage(UINT stringId, UINT helpStringId = 0, const CString& insert1 = CString(),
                   const CString& insert2 = CString());
  // The framework's prompt of that number shown as a rejected input.
  void ShowInputPrompt(LONG promptId);
  // The window text of the page's item (false, logged, when the page has no such item).
  bool GetItemText(int itemId, CString* text, const wchar_t* function);
  // The selection of the page's combo box (false, logged, when the page has no such item).
  bool GetItemSelection(int itemId, int* selection, const wchar_t* function);
  // ExecuteService(name, [elements]); false when the values do not fit their types.
  HRESULT Execute(const wchar_t* name, std::initializer_list<_variant_t> elements);

  uint32_t m_nPendingMask = 0;
  IENetLinkCollectionManagerPtr m_spLinkManager;
  const int16_t m_nIndex;
};

class CPVCtrlWireConfigPageSet5Button : public CPVCtrlWireConfigPageWriteButton {
 public:
  CPVCtrlWireConfigPageSet5Button(int itemId, int labelItemId, const wchar_t* serviceName, int16_t index,
                                  int coefficient1Id, int coefficient2Id, int referenceTemperatureId,
                                  int modelComboId, int32_t timerMode, int32_t notifyMode,
                                  int32_t confirmation);

  // The reference temperature's item sets the own bit.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  // Own bit cleared first when the window is disabled, then the base's.
  STDMETHODIMP VexilStateChanged(LONG state) override;
  // Checks all four values, writes them, refreshes and waits 250 ms (below).
  HRESULT PerformService(IErrorInfo** error) override;

 protected:
  // The text of the item as a number, refused with its prompt or message; false when refused.
  bool ReadCoefficient(int itemId, UINT rangeMessage, double* value);
  bool ReadReferenceTemperature(double* value);

  const int32_t m_nCoefficient1Id;
  const int32_t m_nCoefficient2Id;
  const int32_t m_nReferenceTemperatureId;
  const int32_t m_nModelComboId;
  const CString m_strNumberFormat = L"%.2f";
};

class CPVCtrlWireConfigPageSetSwitchButton : public CPVCtrlWireConfigPageWriteButton {
 public:
  // The read-back addresses the totalizer control of readBackObjectClass (the meter's totalizer
  // class).
  CPVCtrlWireConfigPageSetSwitchButton(int itemId, int labelItemId, const wchar_t* serviceName,
                                       int16_t instance, int switchComboId, int otherId1, int otherId2,
                                       int32_t timerMode, int32_t notifyMode, int32_t confirmation,
                                       int32_t readBackObjectClass = 115);

  // The totalizer buttons' items set their bits (9241 bit 1, 9243 bit 2, 9245 bit 3).
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  // The base's, then the own bit cleared when the window is disabled.
  STDMETHODIMP VexilStateChanged(LONG state) override;
  // Writes the chosen control code, refreshes, waits 1000 ms and reads it back (below).
  HRESULT PerformService(IErrorInfo** error) override;
  // Reads the totalizer's control back into its switch combo box.
  HRESULT ReadBackSwitch(int instance);

 protected:
  const int32_t m_nSwitchComboId;
  const int32_t m_nOtherId1;
  const int32_t m_nOtherId2;
  const int32_t m_nReadBackObjectClass;
  const wchar_t* const m_pszReadBackAttribute = L"TotalizerControl";
  const int16_t m_nReadBackAttribute = 9;
  const wchar_t* const m_pszServiceName;
};

class CPVCtrlWireConfigPageRefreshButton : public CPVCtrlOnlineButton {
 public:
  CPVCtrlWireConfigPageRefreshButton(int itemId, int labelItemId, const wchar_t* serviceName,
                                     int32_t timerMode, int32_t notifyMode, int32_t confirmation);

  // The base's, then the link manager (whose query result is returned).
  STDMETHODIMP SetIModule(IModule* pIModule) override;
  // The first service name with no data, under the wait cursor; a failure leaves the link
  // manager's error information in *error. E_FAIL without a link manager or with *error set.
  HRESULT PerformService(IErrorInfo** error) override;

 protected:
  IENetLinkCollectionManagerPtr m_spLinkManager;
};
