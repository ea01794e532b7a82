#include "PVCtrlConfigEditCtrl.h"

#include "EditInput.h"
#include "EditMask.h"
#include "PVComponentsGlobals.h"
#include "PVForceStateColor.h"
#include "PVInputErrors.h"
#include "PVLog.h"
#include "PVValueForcing.h"
#include "PromptInfo.h"

BEGIN_MESSAGE_MAP(CPVCtrlConfigEditCtrl, CEdit)
ON_WM_CHAR()
ON_MESSAGE(WM_PASTE, OnPaste)
ON_CONTROL_REFLECT(EN_UPDATE, OnUpdate)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr CPVSourceLog Log(L"PVCtrlConfigEditCtrl");
constexpr wchar_t kSelectAll = 1;  // Ctrl+A

}  // namespace

CPVCtrlConfigEditCtrl::CPVCtrlConfigEditCtrl(int itemId) : CPVCtrl(itemId) {}

// The value and the enable condition go with their smart pointers; the mask is shared.
CPVCtrlConfigEditCtrl::~CPVCtrlConfigEditCtrl() = default;

// ---------------------------------------------------------------------------------------
// Binding

HRESULT CPVCtrlConfigEditCtrl::Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags, int dataType,
                                          IPVEnableCondition* enableCondition) {
  m_spValue = value;
  m_nTextLimit = textLimit;
  m_dwSignFlags = signFlags;
  m_nDataType = dataType;
  m_spEnableCondition = enableCondition;

  const BOOL valid = IsBindingValid();
  const bool wasBound = m_bBound != 0;
  m_bBound = 1;
  if (wasBound || !valid) return E_FAIL;
  if (GetSafeHwnd()) LimitText(m_nTextLimit);
  return S_OK;
}

BOOL CPVCtrlConfigEditCtrl::IsBindingValid() {
  if (!InterfaceIsValid(m_spValue.GetInterfacePtr())) return FALSE;
  if (FAILED(m_spValue->InitializationIsValid())) return FALSE;
  return m_nDataType == PV_EDIT_DATA_INTEGER || m_nDataType == PV_EDIT_DATA_FLOAT ||
                 m_nDataType == PV_EDIT_DATA_OTHER
             ? TRUE
             : FALSE;
}

void CPVCtrlConfigEditCtrl::PreSubclassWindow() {
  CEdit::PreSubclassWindow();
  LimitText(m_nTextLimit);
}

// ---------------------------------------------------------------------------------------
// Reading and writing the member

void CPVCtrlConfigEditCtrl::ShowValueText(const CString& text) {
  SetDirtyTracking(0);
  SetWindowText(text);
  SetDirtyTracking(1);
}

void CPVCtrlConfigEditCtrl::PrefixMemberName(HRESULT hr, CPromptInfo* prompt) {
  if (!IsPVErrorCode(hr) || !prompt) return;
  CString member;
  m_spValue->GetMemberNameAt(0, member);
  PrefixPromptText(prompt, member);
}

HRESULT CPVCtrlConfigEditCtrl::ReadValueText(std::optional<int> decimals, CPromptInfo* prompt) {
  if (!IsBindingValid()) return E_FAIL;
  CString text;
  const HRESULT hr = decimals ? m_spValue->GetValue(text, *decimals, m_nDataType, prompt)
                              : m_spValue->GetValue(text, m_nDataType, prompt);
  if (FAILED(hr)) return E_FAIL;
  ShowValueText(text);
  return hr;
}

HRESULT CPVCtrlConfigEditCtrl::WriteValueText(std::optional<int> decimals, CPromptInfo* prompt) {
  if (!IsBindingValid()) return E_FAIL;
  CString text;
  GetWindowText(text);
  bool changed = false;
  HRESULT hr = m_pEditMask ? m_pEditMask->ConvertText(text, &changed, prompt, 0) : S_OK;
  if (SUCCEEDED(hr))
    hr = decimals ? m_spValue->SetValue(text, *decimals, m_nDataType, prompt)
                  : m_spValue->SetValue(text, m_nDataType, prompt);
  PrefixMemberName(hr, prompt);
  return hr;
}

HRESULT CPVCtrlConfigEditCtrl::ReadValue(CPromptInfo* prompt) {
  return ReadValueText(std::nullopt, prompt);
}

HRESULT CPVCtrlConfigEditCtrl::WriteValue(CPromptInfo* prompt) {
  return WriteValueText(std::nullopt, prompt);
}

HRESULT CPVCtrlConfigEditCtrl::SaveIfDirty(CPromptInfo* prompt) {
  if (!IsDirty()) return S_OK;
  const HRESULT hr = WriteValue(prompt);
  if (SUCCEEDED(hr)) ClearDirty();
  return hr;
}

HRESULT CPVCtrlConfigEditCtrl::RefreshFromValue(CPromptInfo* prompt) {
  const HRESULT hr = IsDirty() ? S_OK : ReadValue(prompt);
  m_nForceState = CPVValueForcing(m_spValue).GetForceState();
  return hr;
}

HRESULT CPVCtrlConfigEditCtrl::SaveAndReport() {
  CPromptInfo prompt;
  const HRESULT hr = SaveIfDirty(&prompt);
  if (IsPVErrorCode(hr)) PromptMsgHandler(&prompt);
  return hr;
}

void CPVCtrlConfigEditCtrl::OnTextChanged() {
  NotifyModified();
}

// ---------------------------------------------------------------------------------------
// IPVCtrl and IPVEventHandler2

STDMETHODIMP CPVCtrlConfigEditCtrl::OnActivate() {
  return RefreshFromValue(nullptr);
}

STDMETHODIMP CPVCtrlConfigEditCtrl::Refresh() {
  return RefreshFromValue(nullptr);
}

STDMETHODIMP CPVCtrlConfigEditCtrl::OnDeactivate() {
  return SaveAndReport();
}

STDMETHODIMP CPVCtrlConfigEditCtrl::Save() {
  return SaveAndReport();
}

STDMETHODIMP CPVCtrlConfigEditCtrl::Flush() {
  // Writing the stored value back in place of rejected text would change a member nobody
  // edited (rounded to the box's decimals): nothing is written, the text stays pending.
  return SaveIfDirty(nullptr);
}

STDMETHODIMP CPVCtrlConfigEditCtrl::OnChangedCtrlData(CWnd* changedWindow, int changedItemId) {
  const HRESULT hr = UpdateEnableState();
  if (FAILED(hr)) {
    // This record has always carried line 352, whatever the file's layout.
    Log(L"Failed to update the Enabled State.", L"CPVCtrlConfigEditCtrl::OnChangedCtrlData", 352);
    return hr;
  }
  return CPVCtrlBase::OnChangedCtrlData(changedWindow, changedItemId);
}

STDMETHODIMP CPVCtrlConfigEditCtrl::OnValidationError(LONG errorCode, BSTR memberName,
                                                      IErrorInfo** errorInfo) {
  if (!IsBindingValid() || FAILED(m_spValue->HasMemberName(memberName))) return E_FAIL;
  DefaultValidationErrorHandler(errorCode, memberName, errorInfo);
  return S_OK;
}

HRESULT CPVCtrlConfigEditCtrl::UpdateEnableState() {
  if (!CPVValueForcing(m_spValue).GetIsForcingSupported()) return CPVCtrl::UpdateEnableState();
  // A member that can be forced keeps its box enabled, so that its value stays readable; a box
  // disabled before its binding told that (by the rule without the member) is enabled again.
  if (!GetSafeHwnd()) return S_OK;
  EnableWindow(TRUE);
  SetReadOnly(GetEnableState() ? FALSE : TRUE);
  return S_OK;
}

BOOL CPVCtrlConfigEditCtrl::GetEnableState() {
  if (!EnableConditionAllows(m_spEnableCondition)) return FALSE;
  return CPVCtrl::GetEnableState();
}

// ---------------------------------------------------------------------------------------
// Text colour

HRESULT CPVCtrlConfigEditCtrl::SetTextColorFromForceState(CDC* dc) {
  return SetTextColorByForceState(*this, m_nForceState, dc);
}

// ---------------------------------------------------------------------------------------
// The user's input

void CPVCtrlConfigEditCtrl::OnChar(UINT character, UINT, UINT) {
  if (IsKeyDown(VK_CONTROL)) {
    if (character != kSelectAll) {
      Default();
      return;
    }
    SetSel(0, -1);  // EM_SETSEL, then EM_SCROLLCARET
    return;
  }
  if (IsKeyDown(VK_MENU)) {
    Default();
    return;
  }
  if (m_pEditMask && FAILED(m_pEditMask->CheckChar(this, static_cast<wchar_t>(character), m_dwSignFlags))) {
    MessageBeep(0);
    return;
  }
  Default();
}

LRESULT CPVCtrlConfigEditCtrl::OnPaste(WPARAM, LPARAM) {
  if (!IsWindowEnabled() || (GetStyle() & ES_READONLY) || !m_pEditMask) return Default();
  std::wstring clipboardText;
  if (!ReadClipboardText(m_hWnd, &clipboardText)) return Default();
  CString pasted(clipboardText.c_str());
  CString text;
  GetWindowText(text);
  int start = 0, end = 0;
  GetSel(start, end);
  const CString resulting = text.Left(start) + pasted + text.Mid(end);
  if (FAILED(m_pEditMask->CheckText(resulting, pasted, m_dwSignFlags))) {
    MessageBeep(0);
    return 0;
  }
  ReplaceSel(pasted, TRUE);
  return 0;
}

void CPVCtrlConfigEditCtrl::OnUpdate() {
  CString text;
  GetWindowText(text);
  if (text.Compare(m_strLastText) == 0) return;
  OnTextChanged();
  m_strLastText = text;
}

void CPVCtrlConfigEditCtrl::OnSetFocus(CWnd* oldWindow) {
  CEdit::OnSetFocus(oldWindow);
  if (GetStyle() & ES_READONLY) {
    // The length of the (only) line itself: with -1 the edit would count only the characters
    // outside the selection, and a selected text would put the caret short of the end.
    const int end = LineLength(0);
    SetSel(end, end);  // EM_SETSEL, then EM_SCROLLCARET
  }
  OnCtrlSetFocus();
}

void CPVCtrlConfigEditCtrl::OnKillFocus(CWnd* newWindow) {
  CEdit::OnKillFocus(newWindow);
  if (!m_pEditMask) return;
  CString text;
  GetWindowText(text);
  bool changed = false;
  if (SUCCEEDED(m_pEditMask->ConvertText(text, &changed, nullptr, 0))) SetWindowText(text);
}
