#include "PVGetSetAdapterITag.h"

#include <oleauto.h>

#include "PVAdapterVariants.h"
#include "PVComponentsGlobals.h"
#include "PVGetSetAdapeterErrorHandler.h"
#include "PVLog.h"

using CPVGetSetAdapeterErrorHandler::ErrorReadingValue;
using CPVGetSetAdapeterErrorHandler::ErrorSavingValue;

namespace {

constexpr CPVSourceLog Log(L"PVGetSetAdapterITag");
constexpr wchar_t kTagNotValid[] = L"Error: ITag interface is not valid!\n";

// The member as the BSTR the host takes (a null member as an empty one).
_bstr_t MemberBstr(const wchar_t* member) {
  return _bstr_t(member ? member : L"");
}

// How a typed value travels: the VARIANT type it is read as (kAlsoRead, when not VT_EMPTY, is
// taken too), and the VARIANT it is written as.
template <class T>
struct TagValue;

template <>
struct TagValue<VARIANT_BOOL> {
  static constexpr VARTYPE kRead = VT_BOOL, kAlsoRead = VT_EMPTY;
  static VARIANT_BOOL From(const VARIANT& v) { return V_BOOL(&v); }
  static void Put(VARIANT* v, VARIANT_BOOL value) {
    V_VT(v) = VT_BOOL;
    V_BOOL(v) = value;
  }
};

template <>
struct TagValue<float> {
  static constexpr VARTYPE kRead = VT_R4, kAlsoRead = VT_EMPTY;
  static float From(const VARIANT& v) { return V_R4(&v); }
};

template <>
struct TagValue<LONG> {
  static constexpr VARTYPE kRead = VT_I4, kAlsoRead = VT_EMPTY;
  static LONG From(const VARIANT& v) { return V_I4(&v); }
  static void Put(VARIANT* v, LONG value) {
    V_VT(v) = VT_I4;
    V_I4(v) = value;
  }
};

// A 64-bit member may come back as VT_I4 (widened) or VT_I8; it is always written as VT_I8.
template <>
struct TagValue<LONGLONG> {
  static constexpr VARTYPE kRead = VT_I4, kAlsoRead = VT_I8;
  static LONGLONG From(const VARIANT& v) {
    return V_VT(&v) == VT_I4 ? static_cast<LONGLONG>(V_I4(&v)) : V_I8(&v);
  }
  static void Put(VARIANT* v, LONGLONG value) {
    V_VT(v) = VT_I8;
    V_I8(v) = value;
  }
};

}  // namespace

CPVGetSetAdapterITag::CPVGetSetAdapterITag(ITag* tag)
    : CPVComObjectRoot(PVLiveCounterOf<CPVGetSetAdapterITag>(), 1), m_spITag(tag) {
  InterfaceIsValid(tag);
}

CPVGetSetAdapterITag::~CPVGetSetAdapterITag() = default;

BOOL CPVGetSetAdapterITag::TagIsValid(const wchar_t* function, int line) const {
  if (m_spITag) return TRUE;
  Log(kTagNotValid, function, line);
  return FALSE;
}

HRESULT CPVGetSetAdapterITag::GetVariant(const wchar_t* member, VARIANT* value) {
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetVariant", __LINE__)) return E_FAIL;
  return m_spITag->GetMemberValue(MemberBstr(member), value);
}

HRESULT CPVGetSetAdapterITag::SetVariant(const wchar_t* member, const VARIANT& value) {
  if (!TagIsValid(L"CPVGetSetAdapterITag::SetVariant", __LINE__)) return E_FAIL;
  return m_spITag->SetMemberValue(MemberBstr(member), value);
}

HRESULT CPVGetSetAdapterITag::GetMinVariant(const wchar_t* member, VARIANT* value) {
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetMinVariant", __LINE__)) return E_FAIL;
  return m_spITag->GetMinValue(MemberBstr(member), value);
}

HRESULT CPVGetSetAdapterITag::GetMaxVariant(const wchar_t* member, VARIANT* value) {
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetMaxVariant", __LINE__)) return E_FAIL;
  return m_spITag->GetMaxValue(MemberBstr(member), value);
}

HRESULT CPVGetSetAdapterITag::ReadTyped(const wchar_t* member, Read read, VARTYPE vt, VARTYPE vt2,
                                        VARIANT* value) {
  const HRESULT hr = read == Read::kValue     ? GetVariant(member, value)
                     : read == Read::kMinimum ? GetMinVariant(member, value)
                                              : GetMaxVariant(member, value);
  return PVAcceptRead(member, hr, *value, vt, vt2);
}

template <class T>
HRESULT CPVGetSetAdapterITag::ReadAs(const wchar_t* member, Read read, T* value) {
  if (!value) return E_POINTER;
  _variant_t read_value;
  const HRESULT hr =
      ReadTyped(member, read, TagValue<T>::kRead, TagValue<T>::kAlsoRead, read_value.GetAddress());
  if (SUCCEEDED(hr)) *value = TagValue<T>::From(read_value);
  return hr;
}

HRESULT CPVGetSetAdapterITag::Write(const wchar_t* member, const VARIANT& value) {
  const HRESULT hr = SetVariant(member, value);
  if (FAILED(hr)) ErrorSavingValue(member);
  return hr;
}

template <class T>
HRESULT CPVGetSetAdapterITag::WriteAs(const wchar_t* member, T value) {
  VARIANT v;
  VariantInit(&v);
  TagValue<T>::Put(&v, value);
  return Write(member, v);
}

STDMETHODIMP CPVGetSetAdapterITag::GetBool(const wchar_t* member, BOOL* value, BOOL invert) {
  if (!value) return E_POINTER;
  VARIANT_BOOL stored = VARIANT_FALSE;
  const HRESULT hr = ReadAs(member, Read::kValue, &stored);
  if (SUCCEEDED(hr)) {
    const bool on = stored == VARIANT_TRUE;
    *value = (invert ? !on : on) ? TRUE : FALSE;
  }
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::SetBool(const wchar_t* member, BOOL value, BOOL invert) {
  const bool on = invert ? value == 0 : value != 0;
  return WriteAs<VARIANT_BOOL>(member, on ? VARIANT_TRUE : VARIANT_FALSE);
}

STDMETHODIMP CPVGetSetAdapterITag::GetEnum(const wchar_t* member, LONG* value) {
  if (!value) return E_POINTER;
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetEnum", __LINE__)) return E_FAIL;
  LONG index = -1;
  const HRESULT hr = m_spITag->GetEnumValue(MemberBstr(member), &index);
  if (SUCCEEDED(hr)) {
    *value = index;
    return hr;
  }
  *value = -1;
  // An absent member is no failure: it shows as no selection.
  if (hr == E_INVALIDARG) return S_OK;
  ErrorReadingValue(member);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::SetEnum(const wchar_t* member, LONG value) {
  if (!TagIsValid(L"CPVGetSetAdapterITag::SetEnum", __LINE__)) return E_FAIL;
  const HRESULT hr = m_spITag->SetEnumValue(MemberBstr(member), value);
  if (FAILED(hr)) ErrorSavingValue(member);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::GetEnumStrings(const wchar_t* member, SAFEARRAY** texts) {
  if (!texts) return E_POINTER;
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetEnumStrings", __LINE__)) return E_FAIL;
  const HRESULT hr = m_spITag->GetEnumStrings(MemberBstr(member), texts);
  if (FAILED(hr)) ErrorReadingValue(member);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::GetFloat(const wchar_t* member, float* value) {
  return ReadAs(member, Read::kValue, value);
}

STDMETHODIMP CPVGetSetAdapterITag::SetFloat(const wchar_t* member, float value) {
  // Widened, then changed to single precision, so the host always receives VT_R4.
  _variant_t wide;
  V_VT(&wide) = VT_R8;
  V_R8(&wide) = value;
  _variant_t single;
  HRESULT hr = VariantChangeType(single.GetAddress(), &wide, 0, VT_R4);
  if (FAILED(hr)) {
    ErrorSavingValue(member);
    return hr;
  }
  return Write(member, single);
}

STDMETHODIMP CPVGetSetAdapterITag::GetMinFloat(const wchar_t* member, float* value) {
  return ReadAs(member, Read::kMinimum, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetMaxFloat(const wchar_t* member, float* value) {
  return ReadAs(member, Read::kMaximum, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetLong(const wchar_t* member, LONG* value) {
  return ReadAs(member, Read::kValue, value);
}

STDMETHODIMP CPVGetSetAdapterITag::SetLong(const wchar_t* member, LONG value) {
  return WriteAs(member, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetMinLong(const wchar_t* member, LONG* value) {
  return ReadAs(member, Read::kMinimum, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetMaxLong(const wchar_t* member, LONG* value) {
  return ReadAs(member, Read::kMaximum, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetString(const wchar_t* member, CString& value) {
  _variant_t read_value;
  const HRESULT hr = ReadTyped(member, Read::kValue, VT_BSTR, VT_EMPTY, read_value.GetAddress());
  if (SUCCEEDED(hr)) value = PVTextOf(read_value);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::SetString(const wchar_t* member, const CString& value) {
  _variant_t text;
  const HRESULT hr = PVMakeTextVariant(member, value, &text);
  return FAILED(hr) ? hr : Write(member, text);
}

STDMETHODIMP CPVGetSetAdapterITag::GetITag(ITag2** tag) {
  if (!tag) {
    Log(L"Error: ppItag is not valid!\n", L"CPVGetSetAdapterITag::GetITag", __LINE__);
    return E_POINTER;
  }
  *tag = nullptr;
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetITag", __LINE__)) return E_FAIL;
  return m_spITag->QueryInterface(__uuidof(ITag2), reinterpret_cast<void**>(tag));
}

STDMETHODIMP CPVGetSetAdapterITag::GetMemberDirtyState(const wchar_t* member, VARIANT_BOOL* dirty) {
  constexpr wchar_t kFunction[] = L"CPVGetSetAdapterITag::GetMemberDirtyState";
  if (!dirty) {
    Log(L"Error: pIsDirty is not valid!\n", kFunction, __LINE__);
    return E_POINTER;
  }
  if (!TagIsValid(kFunction, __LINE__)) return E_FAIL;
  ITag2Ptr tag2;
  const HRESULT query = m_spITag->QueryInterface(__uuidof(ITag2), reinterpret_cast<void**>(&tag2));
  if (!tag2) {
    Log(L"Error: ITag2 interface is not valid!\n", kFunction, __LINE__);
    return query == E_NOINTERFACE || SUCCEEDED(query) ? E_FAIL : query;
  }
  const HRESULT hr = tag2->GetMemberDirtyState(MemberBstr(member), dirty);
  if (FAILED(hr)) Log(L"Error: Checking the tag member dirty flag!\n", kFunction, __LINE__);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::GetMemberExists(const wchar_t* member, VARIANT_BOOL* exists) {
  constexpr wchar_t kFunction[] = L"CPVGetSetAdapterITag::GetMemberExists";
  if (!exists) {
    Log(L"Invalid output pointer.", kFunction, __LINE__);
    return E_POINTER;
  }
  if (!TagIsValid(kFunction, __LINE__)) return E_FAIL;
  _variant_t scratch;
  const HRESULT hr = m_spITag->GetMemberValue(MemberBstr(member), scratch.GetAddress());
  if (SUCCEEDED(hr)) {
    *exists = VARIANT_TRUE;
    return S_OK;
  }
  if (hr == E_INVALIDARG) {
    *exists = VARIANT_FALSE;
    return S_OK;
  }
  Log(L"Failed to get value for reason other than non-existance.", kFunction, __LINE__);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::GetEnumValues(const wchar_t* member, SAFEARRAY** values) {
  if (!values) return E_POINTER;
  if (!TagIsValid(L"CPVGetSetAdapterITag::GetEnumValues", __LINE__)) return E_FAIL;
  ITagEnumValuesPtr enumValues;
  HRESULT hr = m_spITag->QueryInterface(__uuidof(ITagEnumValues), reinterpret_cast<void**>(&enumValues));
  if (!enumValues) {
    ErrorReadingValue(member);
    return FAILED(hr) ? hr : E_NOINTERFACE;
  }
  hr = enumValues->GetEnumValues(MemberBstr(member), values);
  if (FAILED(hr)) ErrorReadingValue(member);
  return hr;
}

STDMETHODIMP CPVGetSetAdapterITag::GetInt64(const wchar_t* member, LONGLONG* value) {
  return ReadAs(member, Read::kValue, value);
}

STDMETHODIMP CPVGetSetAdapterITag::SetInt64(const wchar_t* member, LONGLONG value) {
  return WriteAs(member, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetMinInt64(const wchar_t* member, LONGLONG* value) {
  return ReadAs(member, Read::kMinimum, value);
}

STDMETHODIMP CPVGetSetAdapterITag::GetMaxInt64(const wchar_t* member, LONGLONG* value) {
  return ReadAs(member, Read::kMaximum, value);
}
