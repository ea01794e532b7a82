#include "PVCtrlConfigComboBox.h"

#include <algorithm>
#include <cwchar>

#include "PVComponentsGlobals.h"
#include "PVForceStateColor.h"
#include "PVValueForcing.h"
#include "WindowsHelpers.h"

BEGIN_MESSAGE_MAP(CPVCtrlConfigComboBox, CComboBox)
ON_WM_SETFOCUS()
ON_WM_KEYDOWN()
ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropDown)
ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
ON_CONTROL_REFLECT(CBN_SELENDCANCEL, OnSelEndCancel)
ON_CONTROL_REFLECT(CBN_SELENDOK, OnSelEndOk)
ON_CONTROL_REFLECT(CBN_CLOSEUP, OnCloseUp)
END_MESSAGE_MAP()

namespace {

// The open list shows at most this many entries.
constexpr int kMaxVisibleItems = 6;

// A combo box with this style bit is locked: a choice is put back at once.
constexpr DWORD kLockedStyle = 0x0800;

// Each entry's text in the strings' text form is followed by this.
constexpr wchar_t kEntryEnd = L'\n';

}  // namespace

CPVCtrlConfigComboBox::CPVCtrlConfigComboBox(int itemId) : CPVCtrl(itemId) {}

// The value, the strings and the enable condition go with their smart pointers.
CPVCtrlConfigComboBox::~CPVCtrlConfigComboBox() = default;

// ---------------------------------------------------------------------------------------
// Binding

HRESULT CPVCtrlConfigComboBox::Initialize(IPVGetSetValue* value, IPVGetSetValue* strings,
                                          IPVEnableCondition* enableCondition) {
  if (m_spValue.GetInterfacePtr() != value) m_spValue = value;
  if (m_spStrings.GetInterfacePtr() != strings) m_spStrings = strings;
  if (m_spEnableCondition.GetInterfacePtr() != enableCondition) m_spEnableCondition = enableCondition;

  const HRESULT hr = CheckFirstInitialization() == 1 ? S_OK : E_FAIL;
  if (SUCCEEDED(hr) && InterfaceIsValid(m_spStrings.GetInterfacePtr())) FillList();
  return hr;
}

void CPVCtrlConfigComboBox::FillList() {
  ResetContent();
  CString texts;
  if (FAILED(m_spStrings->GetValue(texts, PV_FORMAT_ENUM_STRINGS, nullptr)) || texts.IsEmpty()) return;
  // Only a piece that ends in the separator is an entry; a piece after the last one is not.
  // Each entry is ended in place, so no piece is copied before the list copies it.
  const int length = texts.GetLength();
  wchar_t* pieces = texts.GetBuffer();
  wchar_t* start = pieces;
  for (wchar_t* end = wmemchr(start, kEntryEnd, static_cast<size_t>(length)); end;
       end = wmemchr(start, kEntryEnd, static_cast<size_t>(pieces + length - start))) {
    *end = L'\0';
    AddString(start);
    start = end + 1;
  }
  texts.ReleaseBuffer(0);
}

BOOL CPVCtrlConfigComboBox::CheckFirstInitialization() {
  const BOOL valid = IsBindingValid();
  const bool alreadyBound = m_bBound != 0;
  m_bBound = 1;
  return alreadyBound ? FALSE : valid;
}

BOOL CPVCtrlConfigComboBox::IsBindingValid() {
  return InterfaceIsValid(m_spValue.GetInterfacePtr()) && SUCCEEDED(m_spValue->InitializationIsValid()) &&
                 InterfaceIsValid(m_spStrings.GetInterfacePtr())
             ? TRUE
             : FALSE;
}

// ---------------------------------------------------------------------------------------
// Reading and writing the member

HRESULT CPVCtrlConfigComboBox::ReadValue() {
  if (!IsBindingValid()) return E_FAIL;
  LONG value = -1;
  const HRESULT hr = m_spValue->GetValue(&value, nullptr);
  if (FAILED(hr)) return E_FAIL;
  SetDirtyTracking(0);
  SetCurSel(value);
  SetDirtyTracking(1);
  return hr;
}

HRESULT CPVCtrlConfigComboBox::WriteValue() {
  if (!IsBindingValid()) return E_FAIL;
  const LONG selection = GetCurSel();
  const HRESULT hr = m_spValue->SetValue(selection, nullptr);
  return FAILED(hr) ? E_FAIL : hr;
}

HRESULT CPVCtrlConfigComboBox::SaveIfDirty() {
  if (!IsDirty()) return S_OK;
  const HRESULT hr = WriteValue();
  if (SUCCEEDED(hr)) ClearDirty();
  return hr;
}

HRESULT CPVCtrlConfigComboBox::RefreshFromValue() {
  const HRESULT hr = IsDirty() ? S_OK : ReadValue();
  m_nForceState = CPVValueForcing(m_spValue).GetForceState();
  return hr;
}

// ---------------------------------------------------------------------------------------
// IPVCtrl and IPVEventHandler2

STDMETHODIMP CPVCtrlConfigComboBox::OnActivate() {
  return RefreshFromValue();
}

STDMETHODIMP CPVCtrlConfigComboBox::OnDeactivate() {
  return SaveIfDirty();
}

STDMETHODIMP CPVCtrlConfigComboBox::Save() {
  return SaveIfDirty();
}

STDMETHODIMP CPVCtrlConfigComboBox::Refresh() {
  return RefreshFromValue();
}

STDMETHODIMP CPVCtrlConfigComboBox::Flush() {
  return SaveIfDirty();
}

STDMETHODIMP CPVCtrlConfigComboBox::OnValidationError(LONG errorCode, BSTR memberName,
                                                      IErrorInfo** errorInfo) {
  if (!IsBindingValid() || FAILED(m_spValue->HasMemberName(memberName))) return E_FAIL;
  DefaultValidationErrorHandler(errorCode, memberName, errorInfo);
  return S_OK;
}

BOOL CPVCtrlConfigComboBox::GetEnableState() {
  if (!EnableConditionAllows(m_spEnableCondition)) return FALSE;
  return CPVCtrl::GetEnableState();
}

// ---------------------------------------------------------------------------------------
// Text colour

HRESULT CPVCtrlConfigComboBox::SetTextColorFromForceState(CDC* dc) {
  return SetTextColorByForceState(*this, m_nForceState, dc);
}

// ---------------------------------------------------------------------------------------
// The user's input

BOOL CPVCtrlConfigComboBox::IsLocked() const {
  return (GetStyle() & kLockedStyle) != 0 ? TRUE : FALSE;
}

void CPVCtrlConfigComboBox::OnSetFocus(CWnd* pOldWnd) {
  CComboBox::OnSetFocus(pOldWnd);
  OnCtrlSetFocus();
}

void CPVCtrlConfigComboBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_LEFT || nChar == VK_RIGHT) return;
  if (nChar >= 0x20 && nChar != 0x7F) SendMessage(CB_SHOWDROPDOWN, TRUE);
  CComboBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPVCtrlConfigComboBox::OnDropDown() {
  int listHeight = 0;
  int listWidth = 0;
  GetComboBoxDropDownSize(this, kMaxVisibleItems, &listHeight, &listWidth, SizesListForEveryRow() != FALSE);
  CRect client;
  GetClientRect(&client);
  CRect window;
  GetWindowRect(&window);
  SetWindowPos(nullptr, 0, 0, window.Width(), client.Height() + listHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
  SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max<int>(client.Width(), listWidth)));
  // The list closes on the pending entry; until the user moves, that is the current one.
  m_nRememberedSel = GetCurSel();
  m_nPendingSel = m_nRememberedSel;
}

void CPVCtrlConfigComboBox::OnSelChange() {
  if (IsLocked()) {
    SetCurSel(m_nRememberedSel);
    return;
  }
  if (SendMessage(CB_GETDROPPEDSTATE)) m_nPendingSel = GetCurSel();
}

void CPVCtrlConfigComboBox::OnSelEndCancel() {
  if (SendMessage(CB_GETDROPPEDSTATE)) m_nPendingSel = m_nRememberedSel;
}

void CPVCtrlConfigComboBox::OnSelEndOk() {
  if (IsLocked()) {
    SetCurSel(m_nRememberedSel);
    return;
  }
  m_nPendingSel = GetCurSel();
  if (m_nPendingSel != m_nRememberedSel) {
    NotifyModified();
    m_nRememberedSel = m_nPendingSel;
  }
}

void CPVCtrlConfigComboBox::OnCloseUp() {
  SetCurSel(m_nPendingSel);
}
