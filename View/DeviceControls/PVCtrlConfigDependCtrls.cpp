#include "PVCtrlConfigDependCtrls.h"

#include "CnvTextToFloat3.h"

namespace {

// The refresh of a range-dependent control: E_FAIL unless it is ready; a failed read is
// returned without updating the enable state.
template <class Read>
HRESULT RefreshDependent(CPVCtrl& control, bool ready, Read read) {
  if (!ready) return E_FAIL;
  const HRESULT hr = read();
  if (SUCCEEDED(hr)) control.UpdateEnableState();
  return hr;
}

// A change reported to a range-dependent control: E_FAIL unless it is ready; a change of one
// of its masters updates the enable state.
HRESULT ChangedDependent(CPVCtrl& control, bool ready, bool fromMaster) {
  if (!ready) return E_FAIL;
  if (fromMaster) control.UpdateEnableState();
  return S_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CPVCtrlConfigChkCmbBtnDependCheckBox

CPVCtrlConfigChkCmbBtnDependCheckBox::CPVCtrlConfigChkCmbBtnDependCheckBox(int itemId, int masterId, int low,
                                                                           int high)
    : CPVCtrlConfigComboBox(itemId), m_range{masterId, low, high} {}

CPVCtrlConfigChkCmbBtnDependCheckBox::~CPVCtrlConfigChkCmbBtnDependCheckBox() = default;

STDMETHODIMP CPVCtrlConfigChkCmbBtnDependCheckBox::OnActivate() {
  return Refresh();
}

STDMETHODIMP CPVCtrlConfigChkCmbBtnDependCheckBox::Refresh() {
  return RefreshDependent(*this, IsBindingValid() && m_range.masterId > 0,
                          [this] { return RefreshFromValue(); });
}

STDMETHODIMP CPVCtrlConfigChkCmbBtnDependCheckBox::OnChangedCtrlData(CWnd*, int changedItemId) {
  return ChangedDependent(*this, IsBindingValid() && m_range.masterId > 0, changedItemId == m_range.masterId);
}

BOOL CPVCtrlConfigChkCmbBtnDependCheckBox::GetEnableState() {
  return CPVCtrlConfigComboBox::GetEnableState() && m_range.Contains(*this) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlConfigChkCmbBtnDependEditBox

CPVCtrlConfigChkCmbBtnDependEditBox::CPVCtrlConfigChkCmbBtnDependEditBox(int itemId, int masterId, int low,
                                                                         int high)
    : CPVCtrlConfigEditFloat(itemId), m_range{masterId, low, high} {}

CPVCtrlConfigChkCmbBtnDependEditBox::~CPVCtrlConfigChkCmbBtnDependEditBox() = default;

STDMETHODIMP CPVCtrlConfigChkCmbBtnDependEditBox::OnActivate() {
  return Refresh();
}

STDMETHODIMP CPVCtrlConfigChkCmbBtnDependEditBox::Refresh() {
  return RefreshDependent(*this, m_range.masterId > 0, [this] { return RefreshFromValue(nullptr); });
}

STDMETHODIMP CPVCtrlConfigChkCmbBtnDependEditBox::OnChangedCtrlData(CWnd*, int changedItemId) {
  return ChangedDependent(*this, m_range.masterId > 0, changedItemId == m_range.masterId);
}

BOOL CPVCtrlConfigChkCmbBtnDependEditBox::GetEnableState() {
  return CPVCtrlConfigEditFloat::GetEnableState() && m_range.Contains(*this) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlConfigEditFloat3

CPVCtrlConfigEditFloat3::CPVCtrlConfigEditFloat3(int itemId) : CPVCtrlConfigEditFloat(itemId) {}

CPVCtrlConfigEditFloat3::~CPVCtrlConfigEditFloat3() = default;

HRESULT CPVCtrlConfigEditFloat3::Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags,
                                            int decimals) {
  m_nOwnDecimals = decimals;
  return CPVCtrlConfigEditFloat::Initialize(value, textLimit, signFlags, decimals, nullptr);
}

HRESULT CPVCtrlConfigEditFloat3::RoundText(const CString& text, CString* rounded) {
  float value = 0.0f;
  return GetCnvTextToFloat3()->ConvertTextToValueRounded(text, m_nOwnDecimals, &value, rounded, nullptr);
}

// ---------------------------------------------------------------------------------------
// CPVCtrlConfigDependEditFloat

CPVCtrlConfigDependEditFloat::CPVCtrlConfigDependEditFloat(int itemId, int masterId, int low, int high)
    : CPVCtrlConfigEditFloat3(itemId), m_range{masterId, low, high} {}

CPVCtrlConfigDependEditFloat::~CPVCtrlConfigDependEditFloat() = default;

BOOL CPVCtrlConfigDependEditFloat::IsBindingValid() {
  return CPVCtrlConfigEditFloat3::IsBindingValid() && m_range.masterId > 0 ? TRUE : FALSE;
}

STDMETHODIMP CPVCtrlConfigDependEditFloat::OnActivate() {
  return Refresh();
}

STDMETHODIMP CPVCtrlConfigDependEditFloat::Refresh() {
  return RefreshDependent(*this, IsBindingValid(), [this] { return RefreshFromValue(nullptr); });
}

STDMETHODIMP CPVCtrlConfigDependEditFloat::OnChangedCtrlData(CWnd*, int changedItemId) {
  return ChangedDependent(*this, IsBindingValid(), changedItemId == m_range.masterId);
}

BOOL CPVCtrlConfigDependEditFloat::GetEnableState() {
  return CPVCtrlConfigEditFloat3::GetEnableState() && m_range.Contains(*this) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlConfigTwoCmbBtnDependEditBox

CPVCtrlConfigTwoCmbBtnDependEditBox::CPVCtrlConfigTwoCmbBtnDependEditBox(int itemId, int firstMasterId,
                                                                         int firstLow, int firstHigh,
                                                                         int secondMasterId, int secondLow,
                                                                         int secondHigh)
    : CPVCtrlConfigEditFloat(itemId),
      m_first{firstMasterId, firstLow, firstHigh},
      m_second{secondMasterId, secondLow, secondHigh} {}

CPVCtrlConfigTwoCmbBtnDependEditBox::~CPVCtrlConfigTwoCmbBtnDependEditBox() = default;

STDMETHODIMP CPVCtrlConfigTwoCmbBtnDependEditBox::OnActivate() {
  return Refresh();
}

STDMETHODIMP CPVCtrlConfigTwoCmbBtnDependEditBox::Refresh() {
  return RefreshDependent(*this, m_first.masterId > 0 && m_second.masterId > 0,
                          [this] { return RefreshFromValue(nullptr); });
}

STDMETHODIMP CPVCtrlConfigTwoCmbBtnDependEditBox::OnChangedCtrlData(CWnd*, int changedItemId) {
  return ChangedDependent(*this, m_first.masterId > 0 && m_second.masterId > 0,
                          changedItemId == m_first.masterId || changedItemId == m_second.masterId);
}

BOOL CPVCtrlConfigTwoCmbBtnDependEditBox::GetEnableState() {
  return CPVCtrlConfigEditFloat::GetEnableState() && m_first.Contains(*this) && m_second.Contains(*this)
             ? TRUE
             : FALSE;
}
