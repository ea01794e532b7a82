#include "PVCtrlConfigComboBoxTot.h"

#include <PVComponentsGlobals.h>
#include <PVLog.h>

#include "DependencyHelpers.h"
#include "DeviceUnitData.h"

namespace {

constexpr CPVSourceLog Log(L"PVCtrlConfigComboBoxTot");

// Each text of the strings' text form ends in this.
constexpr wchar_t kEntryEnd = L'\n';

}  // namespace

CPVCtrlConfigComboBoxTot::CPVCtrlConfigComboBoxTot(int itemId, int masterId)
    : CPVCtrlConfigComboBox(itemId), m_nMasterId(masterId) {}

CPVCtrlConfigComboBoxTot::~CPVCtrlConfigComboBoxTot() = default;

// ---------------------------------------------------------------------------------------
// Binding and the unit list

HRESULT CPVCtrlConfigComboBoxTot::Initialize(IPVGetSetValue* unitValue, IPVGetSetValue* assignValue,
                                             IPVGetSetValue* unitStrings) {
  m_spValue = unitValue;
  m_spAssignValue = assignValue;
  m_spStrings = unitStrings;
  const BOOL valid = IsBindingValid();
  const bool wasBound = m_bBound != 0;
  m_bBound = 1;
  if (wasBound || !valid) return E_FAIL;
  FillUnitItems(true);
  return S_OK;
}

BOOL CPVCtrlConfigComboBoxTot::IsBindingValid() {
  return InterfaceIsValid(m_spValue.GetInterfacePtr()) && InterfaceIsValid(m_spStrings.GetInterfacePtr()) &&
                 InterfaceIsValid(m_spAssignValue.GetInterfacePtr()) &&
                 SUCCEEDED(m_spAssignValue->InitializationIsValid())
             ? TRUE
             : FALSE;
}

const CTotalizerUnitFamily& CPVCtrlConfigComboBoxTot::StoredFamily() {
  LONG selector = -1;
  if (!m_spAssignValue || FAILED(m_spAssignValue->GetValue(&selector, nullptr))) return kAllTotalizerUnits;
  return FindTotalizerFamily(GetDeviceUnitData(), selector);
}

const CTotalizerUnitFamily& CPVCtrlConfigComboBoxTot::MasterFamily() const {
  return FindTotalizerFamily(GetDeviceUnitData(), MasterSelection(*this, m_nMasterId));
}

HRESULT CPVCtrlConfigComboBoxTot::FillUnitItems(bool fromValue) {
  if (!m_spStrings) return S_OK;
  if (fromValue) return ListFamily(StoredFamily());
  const CTotalizerUnitFamily& family = MasterFamily();
  if (m_spValue && FAILED(m_spValue->SetValue(static_cast<LONG>(family.defaultUnit), nullptr))) {
    // The list shows the default unit that the member does not hold: the save writes it.
    Log(L"Failed to set the default unit of the process variable.",
        L"CPVCtrlConfigComboBoxTot::FillUnitItems", __LINE__);
    SetCtrlDirty();
  }
  const HRESULT listed = ListFamily(family);
  SetCurSel(family.defaultUnit - family.offset);
  return listed;
}

HRESULT CPVCtrlConfigComboBoxTot::ListFamily(const CTotalizerUnitFamily& family) {
  ResetContent();
  CString texts;
  const HRESULT read = m_spStrings->GetValue(texts, PV_FORMAT_ENUM_STRINGS, nullptr);
  m_pFamily = &family;
  m_nIndexOffset = family.offset;
  int start = 0;
  int index = 0;
  for (int end = texts.Find(kEntryEnd); end >= 0; end = texts.Find(kEntryEnd, start), ++index) {
    if (index >= family.firstUnit && index <= family.lastUnit) AddString(texts.Mid(start, end - start));
    start = end + 1;
  }
  if (FAILED(read)) return read;
  return texts.IsEmpty() ? E_FAIL : read;
}

// ---------------------------------------------------------------------------------------
// Reading and saving the unit

HRESULT CPVCtrlConfigComboBoxTot::ReadUnit() {
  if (IsDirty()) return S_OK;
  if (!IsBindingValid()) return E_FAIL;
  // The list follows the process variable that the assign combo box shows, which the page
  // reads before this control: after a revert or a refresh the stored one, whose family the
  // list may not hold yet (it is refilled, nothing written); while the user's choice is
  // unsaved, that choice, whose family was listed (and its default unit written) when it was
  // made.
  const CTotalizerUnitFamily& family = MasterFamily();
  if (&family != m_pFamily) ListFamily(family);
  LONG unit = -1;
  if (FAILED(m_spValue->GetValue(&unit, nullptr))) return E_FAIL;
  SetDirtyTracking(0);
  SetCurSel(unit - m_nIndexOffset);
  SetDirtyTracking(1);
  return S_OK;
}

HRESULT CPVCtrlConfigComboBoxTot::SaveUnit() {
  if (!IsDirty()) return S_OK;
  if (!IsBindingValid()) return E_FAIL;
  const int selection = GetCurSel();
  // No entry selected names no unit: with the offset it would name one of another family.
  if (selection >= 0 && FAILED(m_spValue->SetValue(static_cast<LONG>(selection + m_nIndexOffset), nullptr)))
    return E_FAIL;
  ClearDirty();
  return S_OK;
}

// ---------------------------------------------------------------------------------------
// IPVCtrl and IPVEventHandler2

STDMETHODIMP CPVCtrlConfigComboBoxTot::OnActivate() {
  return ReadUnit();
}

STDMETHODIMP CPVCtrlConfigComboBoxTot::Refresh() {
  return ReadUnit();
}

STDMETHODIMP CPVCtrlConfigComboBoxTot::OnDeactivate() {
  return SaveUnit();
}

STDMETHODIMP CPVCtrlConfigComboBoxTot::Save() {
  return SaveUnit();
}

STDMETHODIMP CPVCtrlConfigComboBoxTot::Flush() {
  return SaveUnit();
}

STDMETHODIMP CPVCtrlConfigComboBoxTot::OnChangedCtrlData(CWnd*, int changedItemId) {
  if (!IsBindingValid()) return E_FAIL;
  if (changedItemId == m_nMasterId) FillUnitItems(false);
  return S_OK;
}

STDMETHODIMP CPVCtrlConfigComboBoxTot::OnValidationError(LONG errorCode, BSTR memberName,
                                                         IErrorInfo** errorInfo) {
  if (!IsBindingValid() || FAILED(m_spValue->HasMemberName(memberName))) return E_FAIL;
  DefaultValidationErrorHandler(errorCode, memberName, errorInfo);
  return S_OK;
}
