#include "PVAdapterVariants.h"

#include <oleauto.h>

#include "PVGetSetAdapeterErrorHandler.h"

using CPVGetSetAdapeterErrorHandler::ErrorReadingValue;
using CPVGetSetAdapeterErrorHandler::ErrorSavingValue;

HRESULT PVAcceptRead(const wchar_t* member, HRESULT read, const VARIANT& value, VARTYPE vt, VARTYPE vt2) {
  if (FAILED(read) || (V_VT(&value) != vt && (vt2 == VT_EMPTY || V_VT(&value) != vt2)))
    return ErrorReadingValue(member);
  return S_OK;
}

CString PVTextOf(const VARIANT& value) {
  return V_BSTR(&value) ? V_BSTR(&value) : L"";
}

HRESULT PVMakeTextVariant(const wchar_t* member, const CString& text, _variant_t* variant) {
  VARIANT* out = variant->GetAddress();  // cleared first
  BSTR copy = SysAllocString(text);
  if (!copy) {
    ErrorSavingValue(member);
    return E_OUTOFMEMORY;
  }
  V_VT(out) = VT_BSTR;
  V_BSTR(out) = copy;
  return S_OK;
}
