#include "HostEdits.h"

#include <PVInputErrors.h>

namespace {

constexpr wchar_t kBackspace = 8;
constexpr wchar_t kHiddenValue[] = L"*********************************************";

bool IsDigit(wchar_t character) {
  return character >= L'0' && character <= L'9';
}

}  // namespace

BEGIN_MESSAGE_MAP(CHostValueEdit, CValidateEdit)
ON_WM_ENABLE()
END_MESSAGE_MAP()

HRESULT CHostValueEdit::SetValueText(const CString& text) {
  m_hasValue = 0;
  HRESULT result = S_OK;
  if (!text.IsEmpty()) {
    if (FAILED(CheckValueText(text))) {
      result = E_INVALIDARG;
    } else {
      m_hasValue = 1;
      m_valueText = text;
    }
  }
  ShowValueOrNothing();
  return result;
}

HRESULT CHostValueEdit::GetValueText(CString* text) {
  if (!m_hasValue || (!IsWindowEnabled() && m_showWhenDisabled != 1)) {
    text->Empty();
    return S_OK;
  }
  const HRESULT hr = CheckValueText(m_valueText);
  if (FAILED(hr)) {
    text->Empty();
    return hr;
  }
  *text = m_valueText;
  return S_OK;
}

void CHostValueEdit::SetShowWhenDisabled(BOOL showWhenDisabled) {
  m_showWhenDisabled = showWhenDisabled;
}

HRESULT CHostValueEdit::CheckValueText(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    const HRESULT hr = IsValidChar(text[i]);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT CHostValueEdit::ValidateText(CString& resultingText, CString&) {
  return CheckValueText(resultingText);
}

HRESULT CHostValueEdit::ValidateChar(wchar_t character) {
  if (character == kBackspace || SUCCEEDED(IsValidChar(character))) return S_OK;
  return PV_E_INVALID_CHARACTER;
}

void CHostValueEdit::OnValidChar(UINT, UINT, UINT) {
  Default();
}

void CHostValueEdit::OnTextChanged() {
  CString text;
  GetWindowText(text);
  if (!text.IsEmpty()) {
    m_hasValue = 1;
    if (!m_settingText) m_valueText = text;
  } else if (IsWindowEnabled()) {
    m_hasValue = 0;
  }
}

void CHostValueEdit::PreSubclassWindow() {
  CValidateEdit::PreSubclassWindow();
  LimitText(TextLimit());
}

void CHostValueEdit::OnEnable(BOOL enable) {
  CValidateEdit::OnEnable(enable);
  ShowValueOrNothing();
}

void CHostValueEdit::SetWindowTextQuietly(const wchar_t* text) {
  m_settingText = 1;
  SetWindowText(text);
  m_settingText = 0;
}

bool CHostValueEdit::ValueIsShown() const {
  return m_hasValue && (IsWindowEnabled() || m_showWhenDisabled == 1);
}

void CHostValueEdit::ShowValueOrNothing() {
  if (ValueIsShown())
    ShowValue();
  else
    SetWindowText(L"");
}

HRESULT CHostRegulatorReal::IsValidChar(wchar_t character) {
  return IsDigit(character) || character == L'-' || character == L'.' ? S_OK : PV_E_INVALID_CHARACTER;
}

void CHostRegulatorReal::ShowValue() {
  m_settingText = 0;
}

HRESULT CHostTime::IsValidChar(wchar_t character) {
  return IsDigit(character) ? S_OK : PV_E_INVALID_CHARACTER;
}

void CHostTime::ShowValue() {
  SetWindowTextQuietly(kHiddenValue);
}
