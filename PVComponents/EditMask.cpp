#include "EditMask.h"

#include <clocale>
#include <memory>

#include "CnvTextToValue.h"
#include "PVInputErrors.h"

namespace {

constexpr wchar_t kBackspace = 8;

wchar_t DecimalPoint() {
  const char* point = std::localeconv()->decimal_point;
  return point && *point ? static_cast<wchar_t>(static_cast<unsigned char>(*point)) : L'.';
}

HRESULT CheckSignAllowed(wchar_t sign, DWORD signFlags) {
  if (sign == L'+' && !(signFlags & PV_SIGN_PLUS_ALLOWED)) return PV_E_PLUS_NOT_ALLOWED;
  if (sign == L'-' && !(signFlags & PV_SIGN_MINUS_ALLOWED)) return PV_E_MINUS_NOT_ALLOWED;
  return S_OK;
}

std::unique_ptr<CEditFloatMask> g_floatMask;
std::unique_ptr<CEditIntegerMask> g_integerMask;

}  // namespace

HRESULT CEditValueMask::CheckChar(CWnd* edit, wchar_t character, DWORD signFlags) const {
  const HRESULT valid = IsValidChar(character);
  if (FAILED(valid)) return character == kBackspace ? S_OK : valid;
  if (character == kBackspace) return S_OK;
  CString text;
  edit->GetWindowText(text);
  const DWORD selection = static_cast<DWORD>(edit->SendMessage(EM_GETSEL));
  const int start = LOWORD(selection);
  const int end = HIWORD(selection);
  const int lastPlus = text.ReverseFind(L'+');
  const int lastMinus = text.ReverseFind(L'-');
  const bool hasSign = lastPlus >= 0 || lastMinus >= 0;

  if (character == L'+' || character == L'-') {
    // A sign goes first, and replaces a sign that is there only when the selection covers it.
    if (start != 0 || (hasSign && end < 1)) return PV_E_SIGN_NOT_FIRST;
    return CheckSignAllowed(character, signFlags);
  }
  if (character == DecimalPoint()) {
    const int point = text.Find(character);
    if (point < 0 && (!hasSign || start >= 1)) return S_OK;
    return point >= 0 && start <= point && point < end ? S_OK : PV_E_DECIMAL_POINT_NOT_ALLOWED;
  }
  // A digit: nothing may be typed in front of the sign.
  if (!hasSign) return S_OK;
  if (lastPlus != 0 && lastMinus != 0) return PV_E_INVALID_CHARACTER;
  return start >= 1 || end >= 1 ? S_OK : PV_E_INVALID_CHARACTER;
}

HRESULT CEditValueMask::CheckText(const CString& wholeText, CString& insertedText, DWORD signFlags) const {
  CString whole = wholeText;
  whole.Remove(L' ');
  HRESULT hr = ValidateText(whole);
  if (FAILED(hr)) return hr;
  hr = CheckSignAllowed(whole[0], signFlags);
  if (FAILED(hr)) return hr;
  CString inserted = insertedText;
  inserted.Trim();
  hr = ValidateText(inserted);
  if (FAILED(hr)) return hr;
  insertedText = inserted;
  return S_OK;
}

HRESULT CEditFloatMask::ConvertText(CString& text, bool* changed, CPromptInfo* prompt, DWORD) const {
  *changed = false;
  float value = 0;
  const HRESULT hr = GetCnvTextToFloat()->ConvertTextToFloat(text, &value, prompt);
  if (SUCCEEDED(hr)) *changed = StripLeadingZeros(text);
  return hr;
}

HRESULT CEditFloatMask::IsValidChar(wchar_t character) const {
  return GetCnvTextToFloat()->IsValidChar(character);
}

HRESULT CEditFloatMask::ValidateText(const CString& text) const {
  return GetCnvTextToFloat()->ValidateText(text);
}

HRESULT CEditIntegerMask::ConvertText(CString& text, bool* changed, CPromptInfo* prompt, DWORD) const {
  *changed = false;
  int32_t value = 0;
  const HRESULT hr = GetCnvTextToInteger()->ConvertTextToLong(text, &value, prompt);
  if (SUCCEEDED(hr)) *changed = StripLeadingZeros(text);
  return hr;
}

HRESULT CEditIntegerMask::IsValidChar(wchar_t character) const {
  return GetCnvTextToInteger()->IsValidChar(character);
}

HRESULT CEditIntegerMask::ValidateText(const CString& text) const {
  return GetCnvTextToInteger()->ValidateText(text);
}

CEditFloatMask* GetEditFloatMask() {
  if (!g_floatMask) g_floatMask = std::make_unique<CEditFloatMask>();
  return g_floatMask.get();
}

CEditIntegerMask* GetEditIntegerMask() {
  if (!g_integerMask) g_integerMask = std::make_unique<CEditIntegerMask>();
  return g_integerMask.get();
}
