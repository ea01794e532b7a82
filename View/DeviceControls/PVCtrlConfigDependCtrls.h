// Configuration controls whose availability follows the list selection of one or two master
// combo boxes on the same page: each is enabled while its base's enable rule allows it and
// every master's selection lies in its inclusive range. The state is applied on activation,
// refresh and whenever a master reports a change (OnChangedCtrlData with the master's id);
// between those moments the window keeps its last state. An edit whose member supports
// forcing goes read-only instead of disabled (the base's UpdateEnableState).
//
// CPVCtrlConfigEditFloat3 is the float edit of the device, whose text is rounded on focus loss
// by the device's converter (CCnvTextToFloat3) to the box's own decimals.
#pragma once

#include <PVCtrlConfigComboBox.h>
#include <PVCtrlConfigEditFloat.h>

#include <cstdint>

#include "DependencyHelpers.h"

// A configuration combo box (also a master of other controls) enabled by one master's range.
class CPVCtrlConfigChkCmbBtnDependCheckBox : public CPVCtrlConfigComboBox {
 public:
  CPVCtrlConfigChkCmbBtnDependCheckBox(int itemId, int masterId, int low, int high);
  ~CPVCtrlConfigChkCmbBtnDependCheckBox() override;

  // E_FAIL unless bound and the master id is above 0; RefreshFromValue, and on success
  // UpdateEnableState; a failed read is returned without updating the enable state.
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;
  // E_FAIL unless bound and the master id is above 0; the master's change updates the state.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  BOOL GetEnableState() override;

 protected:
  const CDependencyRange m_range;
};

// A float edit enabled by one master's range.
class CPVCtrlConfigChkCmbBtnDependEditBox : public CPVCtrlConfigEditFloat {
 public:
  CPVCtrlConfigChkCmbBtnDependEditBox(int itemId, int masterId, int low, int high);
  ~CPVCtrlConfigChkCmbBtnDependEditBox() override;

  // E_FAIL unless the master id is above 0; RefreshFromValue without prompt, and on success
  // UpdateEnableState.
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;
  // E_FAIL unless the master id is above 0; the master's change updates the state.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  BOOL GetEnableState() override;

 protected:
  const CDependencyRange m_range;
};

// The device's float edit: shown and stored like a float edit, rounded on focus loss with '.'
// as the decimal point whatever the locale.
class CPVCtrlConfigEditFloat3 : public CPVCtrlConfigEditFloat {
 public:
  explicit CPVCtrlConfigEditFloat3(int itemId);
  ~CPVCtrlConfigEditFloat3() override;

  using CPVCtrlConfigEditFloat::Initialize;
  // Stores the decimals as the box's own (also when the binding fails), then the typed float
  // binding with the same four values and no enable condition.
  virtual HRESULT Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags, int decimals);

  int GetOwnDecimals() const { return m_nOwnDecimals; }

 protected:
  // On focus loss the text is rounded to the own decimals by the device's converter and put
  // back when that succeeds (a text it refuses stays as typed).
  HRESULT RoundText(const CString& text, CString* rounded) override;

  int32_t m_nOwnDecimals = -1;
};

// The device's float edit enabled by one master's range.
class CPVCtrlConfigDependEditFloat : public CPVCtrlConfigEditFloat3 {
 public:
  CPVCtrlConfigDependEditFloat(int itemId, int masterId, int low, int high);
  ~CPVCtrlConfigDependEditFloat() override;

  // The float edit's check and a master id above 0.
  BOOL IsBindingValid() override;
  // E_FAIL unless IsBindingValid; then as CPVCtrlConfigChkCmbBtnDependEditBox.
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  BOOL GetEnableState() override;

 protected:
  const CDependencyRange m_range;
};

// A float edit enabled while both masters' selections lie in their ranges.
class CPVCtrlConfigTwoCmbBtnDependEditBox : public CPVCtrlConfigEditFloat {
 public:
  CPVCtrlConfigTwoCmbBtnDependEditBox(int itemId, int firstMasterId, int firstLow, int firstHigh,
                                      int secondMasterId, int secondLow, int secondHigh);
  ~CPVCtrlConfigTwoCmbBtnDependEditBox() override;

  // E_FAIL unless both master ids are above 0; then as CPVCtrlConfigChkCmbBtnDependEditBox,
  // with a change of either master updating the state.
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  BOOL GetEnableState() override;

 protected:
  const CDependencyRange m_first;
  const CDependencyRange m_second;
};
