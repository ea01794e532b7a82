#include "PVGetSetIntegerValue.h"

#include "CnvTextToValue.h"
#include "PVInputErrors.h"

CPVGetSetIntegerValue::CPVGetSetIntegerValue(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetMemberNameValue(memberName, adapter) {}

CPVGetSetIntegerValue::~CPVGetSetIntegerValue() = default;

HRESULT CPVGetSetIntegerValue::Read(Which which, LONG* value) {
  HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  const CString member = BoundMember();
  LONG read = 0;
  hr = which == Which::kValue     ? adapter->GetLong(member, &read)
       : which == Which::kMinimum ? adapter->GetMinLong(member, &read)
                                  : adapter->GetMaxLong(member, &read);
  if (SUCCEEDED(hr) && value) *value = read;
  return hr;
}

HRESULT CPVGetSetIntegerValue::ReadText(Which which, CString& text, int format, CPromptInfo* prompt) {
  if (format != PV_FORMAT_INTEGER) return E_FAIL;
  LONG value = 0;
  HRESULT hr = which == Which::kValue     ? GetValue(&value, prompt)
               : which == Which::kMinimum ? GetMinValue(&value, prompt)
                                          : GetMaxValue(&value, prompt);
  if (FAILED(hr)) return hr;
  CString converted;
  hr = GetCnvTextToInteger()->ConvertValueToText(static_cast<int32_t>(value), &converted);
  if (IsPVErrorCode(hr)) PrefixPromptText(prompt, BoundMember());
  if (SUCCEEDED(hr)) text = converted;
  return hr;
}

STDMETHODIMP CPVGetSetIntegerValue::GetValue(LONG* value, CPromptInfo*) {
  return Read(Which::kValue, value);
}

STDMETHODIMP CPVGetSetIntegerValue::GetMinValue(LONG* value, CPromptInfo*) {
  return Read(Which::kMinimum, value);
}

STDMETHODIMP CPVGetSetIntegerValue::GetMaxValue(LONG* value, CPromptInfo*) {
  return Read(Which::kMaximum, value);
}

STDMETHODIMP CPVGetSetIntegerValue::GetValue(CString& text, int format, CPromptInfo* prompt) {
  return ReadText(Which::kValue, text, format, prompt);
}

STDMETHODIMP CPVGetSetIntegerValue::GetMinValue(CString& text, int format, CPromptInfo* prompt) {
  return ReadText(Which::kMinimum, text, format, prompt);
}

STDMETHODIMP CPVGetSetIntegerValue::GetMaxValue(CString& text, int format, CPromptInfo* prompt) {
  return ReadText(Which::kMaximum, text, format, prompt);
}

STDMETHODIMP CPVGetSetIntegerValue::SetValue(LONG value, CPromptInfo*) {
  const HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  return GetIPVGetSetAdapter()->SetLong(BoundMember(), value);
}

STDMETHODIMP CPVGetSetIntegerValue::SetValue(const CString& text, int format, CPromptInfo* prompt) {
  if (format != PV_FORMAT_INTEGER) return E_FAIL;
  int32_t value = 0;
  const HRESULT hr = GetCnvTextToInteger()->ConvertTextToLong(text, &value, prompt);
  if (FAILED(hr)) {
    if (IsPVErrorCode(hr)) PrefixPromptText(prompt, BoundMember());
    return hr;
  }
  return SetValue(static_cast<LONG>(value), prompt);
}
