#include "PVGetSetAdapterITagExtProperty.h"

#include "PVAdapterVariants.h"
#include "PVComponentsGlobals.h"
#include "PVGetSetAdapeterErrorHandler.h"
#include "PVLog.h"

using CPVGetSetAdapeterErrorHandler::ErrorReadingValue;
using CPVGetSetAdapeterErrorHandler::ErrorSavingValue;

namespace {

constexpr CPVSourceLog Log(L"PVGetSetAdapterITagExtProperty");
constexpr wchar_t kTagNotValid[] = L"Error: ITag interface is not valid!\n";

}  // namespace

CPVGetSetAdapterITagExtProperty::CPVGetSetAdapterITagExtProperty(LONG key, ITagExtProperty* properties)
    : CPVComObjectRoot(PVLiveCounterOf<CPVGetSetAdapterITagExtProperty>(), 1),
      m_spITagExtProperty(properties),
      m_key(key) {
  InterfaceIsValid(properties);
}

CPVGetSetAdapterITagExtProperty::~CPVGetSetAdapterITagExtProperty() = default;

STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetString(const wchar_t* member, CString& value) {
  if (!m_spITagExtProperty) {
    Log(kTagNotValid, L"CPVGetSetAdapterITagExtProperty::GetVariant", __LINE__);
    return ErrorReadingValue(member);
  }
  const _bstr_t name(member ? member : L"");
  _variant_t property;
  const HRESULT read = m_spITagExtProperty->GetProperty(m_key, name, property.GetAddress());
  const HRESULT hr = PVAcceptRead(member, read, property, VT_BSTR);
  if (SUCCEEDED(hr)) value = PVTextOf(property);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITagExtProperty::SetString(const wchar_t* member, const CString& value) {
  if (!m_spITagExtProperty) {
    Log(kTagNotValid, L"CPVGetSetAdapterITagExtProperty::SetVariant", __LINE__);
    return ErrorSavingValue(member);
  }
  const _bstr_t name(member ? member : L"");
  _variant_t text;
  HRESULT hr = PVMakeTextVariant(member, value, &text);
  if (FAILED(hr)) return hr;
  hr = m_spITagExtProperty->SetProperty(m_key, name, text);
  if (FAILED(hr)) ErrorSavingValue(member);
  return hr;
}

// Requests the extension properties do not carry.
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetBool(const wchar_t*, BOOL*, BOOL) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::SetBool(const wchar_t*, BOOL, BOOL) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetEnum(const wchar_t*, LONG*) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::SetEnum(const wchar_t*, LONG) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetEnumStrings(const wchar_t*, SAFEARRAY**) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetFloat(const wchar_t*, float*) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::SetFloat(const wchar_t*, float) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetMinFloat(const wchar_t*, float*) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetMaxFloat(const wchar_t*, float*) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetLong(const wchar_t*, LONG*) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::SetLong(const wchar_t*, LONG) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetMinLong(const wchar_t*, LONG*) {
  return E_NOTIMPL;
}
STDMETHODIMP CPVGetSetAdapterITagExtProperty::GetMaxLong(const wchar_t*, LONG*) {
  return E_NOTIMPL;
}
