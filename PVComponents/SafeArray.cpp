#include "SafeArray.h"

#include <comdef.h>

#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"SafeArray");

// The element types Get reads: 2 to 23 without VT_CY, VT_DATE, VT_ERROR, VT_DECIMAL and 15.
bool IsReadableType(VARTYPE vt) {
  if (vt < VT_I2 || vt > VT_UINT) return false;
  return vt != VT_CY && vt != VT_DATE && vt != VT_ERROR && vt != VT_DECIMAL && vt != 15;
}

}  // namespace

CSafeArray::CSafeArray(SAFEARRAY* array, bool copy) {
  if (!array) return;
  if (SafeArrayGetDim(array) != 1)
    Log(L"CSafeArray c'tor given a multidimensional array.", L"CSafeArray::CSafeArray", __LINE__);
  if (!copy) {
    m_pArray = array;
  } else if (FAILED(SafeArrayCopy(array, &m_pArray))) {
    Log(L"Failed to copy safearray.", L"CSafeArray::CSafeArray", __LINE__);
    m_pArray = nullptr;
  }
}

CSafeArray::CSafeArray(VARTYPE vt, LONG lowerBound, ULONG count) {
  Create(vt, lowerBound, count);
}

CSafeArray::CSafeArray(const CSafeArray& other) {
  if (other.m_pArray && FAILED(SafeArrayCopy(other.m_pArray, &m_pArray))) {
    Log(L"Failed to copy safearray.", L"CSafeArray::CSafeArray", __LINE__);
    m_pArray = nullptr;
  }
}

CSafeArray::~CSafeArray() {
  if (m_pArray) Destroy();
}

CSafeArray& CSafeArray::operator=(const CSafeArray& other) {
  if (this == &other || m_pArray == other.m_pArray) return *this;
  if (m_pArray) Destroy();
  if (other.m_pArray && FAILED(SafeArrayCopy(other.m_pArray, &m_pArray))) {
    Log(L"Failed to copy safearray.", L"CSafeArray::operator =", __LINE__);
    m_pArray = nullptr;
  }
  return *this;
}

bool CSafeArray::Create(VARTYPE vt, LONG lowerBound, ULONG count) {
  if ((vt & (VT_ARRAY | VT_BYREF)) != 0 || vt == VT_EMPTY || vt == VT_NULL) {
    Log(L"Invalid variant type.", L"CSafeArray::Create", __LINE__);
    return false;
  }
  if (m_pArray) Destroy();
  SAFEARRAYBOUND bound = {count, lowerBound};
  m_pArray = SafeArrayCreate(vt, 1, &bound);
  if (!m_pArray) {
    Log(L"Failed to create safearray.", L"CSafeArray::Create", __LINE__);
    return false;
  }
  return true;
}

void CSafeArray::Destroy() {
  if (FAILED(SafeArrayDestroy(m_pArray)))
    Log(L"Failed to destroy encapsulated safearray", L"CSafeArray::Destroy", __LINE__);
  m_pArray = nullptr;
}

VARTYPE CSafeArray::GetType() const {
  VARTYPE vt = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(m_pArray, &vt))) {
    Log(L"Failed to get safearray type.", L"CSafeArray::GetType", __LINE__);
    return VT_EMPTY;
  }
  return vt;
}

bool CSafeArray::IsEmpty() const {
  return GetCount() == 0;
}

ULONG CSafeArray::GetCount() const {
  return m_pArray && m_pArray->cDims >= 1 ? m_pArray->rgsabound[0].cElements : 0;
}

LONG CSafeArray::GetBeginIndex() const {
  if (IsEmpty()) return 0;
  LONG lower = 0;
  if (FAILED(SafeArrayGetLBound(m_pArray, 1, &lower))) {
    Log(L"Failed to get safearray lower bound.", L"CSafeArray::GetBeginIndex", __LINE__);
    return 0;
  }
  return lower;
}

LONG CSafeArray::GetEndIndex() const {
  return static_cast<LONG>(GetCount()) + GetBeginIndex();
}

VARIANT CSafeArray::Get(LONG index) const {
  VARIANT result;
  VariantInit(&result);
  if (!m_pArray) {
    Log(L"Trying to get an element from an unattached CSafeArray.", L"CSafeArray::Get", __LINE__);
    return result;
  }
  const VARTYPE vt = GetType();
  if (!IsReadableType(vt)) {
    Log(L"Unsupported variant type.", L"CSafeArray::Get", __LINE__);
    result.vt = VT_I4;
    result.lVal = E_FAIL;
    return result;
  }
  _variant_t element;
  HRESULT hr = vt == VT_VARIANT ? SafeArrayGetElement(m_pArray, &index, &element)
                                : SafeArrayGetElement(m_pArray, &index, &element.llVal);
  if (FAILED(hr)) {
    Log(L"Failed to get safearray element.", L"CSafeArray::Get", __LINE__);
    VariantInit(&element);
  } else if (vt != VT_VARIANT) {
    element.vt = vt;
  }
  hr = VariantCopy(&result, &element);
  if (FAILED(hr)) _com_issue_error(hr);
  return result;
}

HRESULT CSafeArray::Set(LONG index, const VARIANT& value) {
  if (!m_pArray) return E_UNEXPECTED;
  if (value.vt == VT_EMPTY) {
    Log(L"Assigning an element of type VT_EMPTY is not supported.", L"CSafeArray::Set", __LINE__);
    return E_INVALIDARG;
  }
  const VARTYPE vt = GetType();
  void* data = nullptr;
  if (vt == VT_VARIANT) {
    data = const_cast<VARIANT*>(&value);
  } else if (value.vt != vt) {
    Log(L"Element type and safearray type are incompatible.", L"CSafeArray::Set", __LINE__);
    return E_INVALIDARG;
  } else if (vt == VT_BSTR) {
    data = value.bstrVal;
  } else if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
    data = value.punkVal;
  } else {
    data = const_cast<LONGLONG*>(&value.llVal);
  }
  const HRESULT hr = SafeArrayPutElement(m_pArray, &index, data);
  if (FAILED(hr)) Log(L"Failed to set CSafeArray element.", L"CSafeArray::Set", __LINE__);
  return hr;
}

HRESULT CSafeArray::Add(const VARIANT& value) {
  if (!m_pArray) return E_UNEXPECTED;
  const ULONG count = GetCount();
  LONG lower = 0;
  SafeArrayGetLBound(m_pArray, 1, &lower);
  SAFEARRAYBOUND grown = {count + 1, lower};
  HRESULT hr = SafeArrayRedim(m_pArray, &grown);
  if (FAILED(hr)) {
    Log(L"Failed to redimension SAFEARRAY", L"CSafeArray::Add", __LINE__);
    return hr;
  }
  if (GetCount() == count) {
    Log(L"Failed to grow SAFEARRAY", L"CSafeArray::Add", __LINE__);
    return E_FAIL;
  }
  hr = Set(lower + static_cast<LONG>(count), value);
  if (FAILED(hr)) {
    SAFEARRAYBOUND original = {count, lower};
    SafeArrayRedim(m_pArray, &original);
  }
  return hr;
}

HRESULT CSafeArray::Append(const CSafeArray& source) {
  if (!m_pArray) return E_UNEXPECTED;
  if (!source.m_pArray) return S_OK;
  if (GetType() != source.GetType()) {
    Log(L"Cannot append SAFEARRAY, type mismatch", L"CSafeArray::Append", __LINE__);
    return E_FAIL;
  }
  // The bounds are taken first: appending an array to itself adds its elements once.
  const LONG begin = source.GetBeginIndex();
  const LONG end = source.GetEndIndex();
  for (LONG i = begin; i < end; ++i) {
    VARIANT got = source.Get(i);
    const _variant_t element(got, false);
    const HRESULT hr = Add(element);
    if (FAILED(hr)) {
      Log(L"Failed to append an source element to the destination array", L"CSafeArray::Append", __LINE__);
      return hr;
    }
  }
  return S_OK;
}

SAFEARRAY* CSafeArray::Detach() {
  SAFEARRAY* array = m_pArray;
  m_pArray = nullptr;
  return array;
}

SAFEARRAY** CSafeArray::GetAddress() {
  if (m_pArray) Destroy();
  return &m_pArray;
}
