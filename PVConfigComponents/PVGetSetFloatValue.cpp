#include "PVGetSetFloatValue.h"

#include "CnvTextToValue.h"
#include "PVInputErrors.h"

CPVGetSetFloatValue::CPVGetSetFloatValue(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetMemberNameValue(memberName, adapter) {}

CPVGetSetFloatValue::~CPVGetSetFloatValue() = default;

HRESULT CPVGetSetFloatValue::Read(Which which, float* value) {
  HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  const CString member = BoundMember();
  float read = 0.0f;
  hr = which == Which::kValue     ? adapter->GetFloat(member, &read)
       : which == Which::kMinimum ? adapter->GetMinFloat(member, &read)
                                  : adapter->GetMaxFloat(member, &read);
  if (SUCCEEDED(hr) && value) *value = read;
  return hr;
}

HRESULT CPVGetSetFloatValue::ReadText(Which which, CString& text, int decimals, int format,
                                      CPromptInfo* prompt) {
  if (format != PV_FORMAT_FLOAT) return E_FAIL;
  float value = 0.0f;
  HRESULT hr = which == Which::kValue     ? GetValue(&value, prompt)
               : which == Which::kMinimum ? GetMinValue(&value, prompt)
                                          : GetMaxValue(&value, prompt);
  if (FAILED(hr)) return hr;
  CString converted;
  hr = GetCnvTextToFloat()->ConvertFloatToText(value, decimals, &converted);
  if (IsPVErrorCode(hr)) PrefixPromptText(prompt, BoundMember());
  if (SUCCEEDED(hr)) text = converted;
  return hr;
}

STDMETHODIMP CPVGetSetFloatValue::GetValue(float* value, CPromptInfo*) {
  return Read(Which::kValue, value);
}

STDMETHODIMP CPVGetSetFloatValue::GetMinValue(float* value, CPromptInfo*) {
  return Read(Which::kMinimum, value);
}

STDMETHODIMP CPVGetSetFloatValue::GetMaxValue(float* value, CPromptInfo*) {
  return Read(Which::kMaximum, value);
}

STDMETHODIMP CPVGetSetFloatValue::GetValue(CString& text, int decimals, int format, CPromptInfo* prompt) {
  return ReadText(Which::kValue, text, decimals, format, prompt);
}

STDMETHODIMP CPVGetSetFloatValue::GetMinValue(CString& text, int decimals, int format, CPromptInfo* prompt) {
  return ReadText(Which::kMinimum, text, decimals, format, prompt);
}

STDMETHODIMP CPVGetSetFloatValue::GetMaxValue(CString& text, int decimals, int format, CPromptInfo* prompt) {
  return ReadText(Which::kMaximum, text, decimals, format, prompt);
}

STDMETHODIMP CPVGetSetFloatValue::SetValue(float value, CPromptInfo*) {
  const HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  return GetIPVGetSetAdapter()->SetFloat(BoundMember(), value);
}

STDMETHODIMP CPVGetSetFloatValue::SetValue(const CString& text, int decimals, int format,
                                           CPromptInfo* prompt) {
  if (format != PV_FORMAT_FLOAT) return E_FAIL;
  float value = 0.0f;
  CString rounded;
  const HRESULT hr = GetCnvTextToFloat()->ConvertTextToValueRounded(text, decimals, &value, &rounded, prompt);
  if (FAILED(hr)) {
    if (IsPVErrorCode(hr)) PrefixPromptText(prompt, BoundMember());
    return hr;
  }
  return SetValue(value, prompt);
}
