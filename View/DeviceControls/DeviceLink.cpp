#include "DeviceLink.h"

#include <AppWaitCursor.h>
#include <PVComponentsGlobals.h>
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <optional>

#include "CnvTextToFloat3.h"

namespace {

// The text as a base-10 integer between lowest and highest: blanks around it allowed, an
// optional sign, at least one digit, nothing else. Read here rather than with the C runtime,
// whose long may be wider than the platform's.
std::optional<int64_t> ParseDecimal(const wchar_t* text, int64_t lowest, int64_t highest) {
  if (!text) return std::nullopt;
  const wchar_t* p = text;
  while (*p == L' ' || *p == L'\t') ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
  if (*p < L'0' || *p > L'9') return std::nullopt;
  // Magnitudes are gathered up to one past INT64_MAX, which is enough for every range here.
  uint64_t magnitude = 0;
  constexpr uint64_t kLimit = static_cast<uint64_t>(INT64_MAX) + 1;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    magnitude = magnitude * 10 + static_cast<uint64_t>(*p - L'0');
    if (magnitude > kLimit) return std::nullopt;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  if (*p) return std::nullopt;
  if (!negative && magnitude == kLimit) return std::nullopt;
  const int64_t value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

}  // namespace

HRESULT QueryLinkManager(IModule* module, IENetLinkCollectionManagerPtr& manager) {
  manager = nullptr;
  if (!module) return E_POINTER;
  return module->QueryInterface(__uuidof(IENetLinkCollectionManager), reinterpret_cast<void**>(&manager));
}

HRESULT MakeVariantArray(std::initializer_list<_variant_t> elements, _variant_t* out) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(elements.size()));
  if (!array) return E_OUTOFMEMORY;
  LONG index = 0;
  for (const _variant_t& element : elements) {
    const HRESULT hr = SafeArrayPutElement(array, &index, const_cast<_variant_t*>(&element));
    if (FAILED(hr)) {
      SafeArrayDestroy(array);
      return hr;
    }
    ++index;
  }
  VARIANT made;
  VariantInit(&made);
  made.vt = VT_ARRAY | VT_VARIANT;
  made.parray = array;
  *out = _variant_t(made, false);
  return S_OK;
}

HRESULT MakeI1(LONG value, _variant_t* out) {
  if (value < -128 || value > 127) return E_INVALIDARG;
  *out = _variant_t(static_cast<char>(value));
  return S_OK;
}

HRESULT MakeI2Path(LONG objectClass, LONG instance, LONG attribute, _variant_t* path) {
  for (LONG number : {objectClass, instance, attribute})
    if (number < -32768 || number > 32767) return E_INVALIDARG;
  return MakeVariantArray(
      {_variant_t(static_cast<short>(objectClass)), _variant_t(static_cast<short>(instance)),
       _variant_t(static_cast<short>(attribute))},
      path);
}

HRESULT MakeI1Path(LONG objectClass, LONG instance, LONG attribute, _variant_t* path) {
  _variant_t elements[3];
  const LONG numbers[3] = {objectClass, instance, attribute};
  for (int i = 0; i < 3; ++i) {
    const HRESULT hr = MakeI1(numbers[i], &elements[i]);
    if (FAILED(hr)) return hr;
  }
  return MakeVariantArray({elements[0], elements[1], elements[2]}, path);
}

HRESULT ReadDeviceAttribute(IENetLinkCollectionManager* manager, const wchar_t* name, const VARIANT& path,
                            VARTYPE wanted, _variant_t* result) {
  if (!InterfaceIsValid(manager)) return E_NOINTERFACE;
  VARIANT read;
  std::memset(&read, 0, sizeof read);
  read.vt = wanted;
  HRESULT hr;
  {
    CAppWaitCursor waitCursor;
    hr = manager->ReadAttribute(_bstr_t(name), path, &read);
  }
  result->Attach(read);
  return hr;
}

HRESULT FloatFromBytes(const VARIANT& result, float* value) {
  if (result.vt != (VT_ARRAY | VT_UI1) || !result.parray || SafeArrayGetDim(result.parray) != 1)
    return E_UNEXPECTED;
  LONG lower = 0, upper = -1;
  if (FAILED(SafeArrayGetLBound(result.parray, 1, &lower)) ||
      FAILED(SafeArrayGetUBound(result.parray, 1, &upper)) || static_cast<int64_t>(upper) - lower + 1 < 4)
    return E_UNEXPECTED;
  uint32_t bits = 0;
  for (LONG i = 0; i < 4; ++i) {
    LONG index = lower + i;
    BYTE b = 0;
    if (FAILED(SafeArrayGetElement(result.parray, &index, &b))) return E_UNEXPECTED;
    bits |= static_cast<uint32_t>(b) << (8 * i);
  }
  std::memcpy(value, &bits, sizeof bits);
  return S_OK;
}

HRESULT IntegerFromText(const VARIANT& result, bool isSigned, LONG* value) {
  if (result.vt != VT_BSTR || !result.bstrVal) return E_UNEXPECTED;
  const auto parsed = isSigned ? ParseDecimal(result.bstrVal, INT32_MIN, INT32_MAX)
                               : ParseDecimal(result.bstrVal, 0, UINT32_MAX);
  if (!parsed || (!isSigned && result.bstrVal[0] && std::wcschr(result.bstrVal, L'-'))) return E_UNEXPECTED;
  *value = static_cast<LONG>(static_cast<uint32_t>(*parsed));
  return S_OK;
}

HRESULT FloatFromResult(const VARIANT& result, float* value) {
  switch (result.vt) {
    case VT_R4:
      *value = result.fltVal;
      return S_OK;
    case VT_I2:
      *value = result.iVal;
      return S_OK;
    case VT_I4:
      *value = static_cast<float>(result.lVal);
      return S_OK;
    case VT_BSTR: {
      if (!result.bstrVal) return E_UNEXPECTED;
      float converted = 0.0f;
      if (FAILED(GetCnvTextToFloat3()->ConvertTextToFloat(CString(result.bstrVal), &converted, nullptr)))
        return E_UNEXPECTED;
      *value = converted;
      return S_OK;
    }
    default:
      return E_UNEXPECTED;
  }
}

HRESULT LongFromResult(const VARIANT& result, LONG* value) {
  switch (result.vt) {
    case VT_I2:
      *value = result.iVal;
      return S_OK;
    case VT_I4:
      *value = result.lVal;
      return S_OK;
    case VT_UI1:
      *value = result.bVal;
      return S_OK;
    case VT_R4: {
      const double truncated = std::trunc(static_cast<double>(result.fltVal));
      if (!std::isfinite(truncated) || truncated < INT32_MIN || truncated > INT32_MAX) return E_UNEXPECTED;
      *value = static_cast<LONG>(truncated);
      return S_OK;
    }
    case VT_BSTR: {
      const auto parsed = ParseDecimal(result.bstrVal, INT64_MIN, INT64_MAX);
      if (!parsed) return E_UNEXPECTED;
      *value = static_cast<LONG>(static_cast<uint32_t>(static_cast<uint64_t>(*parsed)));
      return S_OK;
    }
    default:
      return E_UNEXPECTED;
  }
}

HRESULT ExecuteWithoutData(IENetLinkCollectionManager* manager, const wchar_t* name) {
  if (!manager) return E_POINTER;
  CAppWaitCursor waitCursor;
  return manager->ExecuteService(_bstr_t(name), _variant_t());
}
