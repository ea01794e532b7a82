#include "PVGetSetEnum.h"

CPVGetSetEnum::CPVGetSetEnum(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetIntegerValue(memberName, adapter) {}

CPVGetSetEnum::~CPVGetSetEnum() = default;

STDMETHODIMP CPVGetSetEnum::GetValue(LONG* value, CPromptInfo*) {
  HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  LONG read = -1;
  hr = GetIPVGetSetAdapter()->GetEnum(BoundMember(), &read);
  if (SUCCEEDED(hr) && value) *value = read;
  return hr;
}

STDMETHODIMP CPVGetSetEnum::SetValue(LONG value, CPromptInfo*) {
  const HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  return GetIPVGetSetAdapter()->SetEnum(BoundMember(), value);
}

STDMETHODIMP CPVGetSetEnum::GetMinValue(LONG*, CPromptInfo*) {
  return E_FAIL;
}

STDMETHODIMP CPVGetSetEnum::GetMaxValue(LONG*, CPromptInfo*) {
  return E_FAIL;
}
