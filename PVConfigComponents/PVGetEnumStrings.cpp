#include "PVGetEnumStrings.h"

#include <oleauto.h>

#include <cwchar>
#include "SafeArray.h"

#include "PromptInfo.h"

CPVGetEnumStrings::CPVGetEnumStrings(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetMemberNameValue(memberName, adapter) {}

CPVGetEnumStrings::~CPVGetEnumStrings() = default;

STDMETHODIMP CPVGetEnumStrings::GetValue(CString& text, int format, CPromptInfo* prompt) {
  HRESULT hr = InitializationIsValid();
  if (FAILED(hr)) return hr;
  if (format != PV_FORMAT_ENUM_STRINGS) return E_FAIL;
  const CString member = BoundMember();
  CSafeArray array;
  hr = GetIPVGetSetAdapter()->GetEnumStrings(member, array.GetAddress());
  if (FAILED(hr)) {
    ErrorReadingValue(member);
    return hr;
  }
  // The array is destroyed on every path from here (its owner).
  SAFEARRAY* texts = array.GetSafeArray();
  if (!texts || SafeArrayGetDim(texts) != 1) return E_FAIL;
  LONG lower = 0;
  LONG upper = -1;
  hr = SafeArrayGetLBound(texts, 1, &lower);
  if (SUCCEEDED(hr)) hr = SafeArrayGetUBound(texts, 1, &upper);
  if (FAILED(hr)) return hr;
  BSTR* elements = nullptr;
  hr = SafeArrayAccessData(texts, reinterpret_cast<void**>(&elements));
  if (FAILED(hr)) {
    if (prompt)
      prompt->m_text.FormatMessage(L"Error: Obtaining enum strings from safearray for member %1!s!\n",
                                   member.GetString());
    return hr;
  }
  CString joined;
  // An array of another element type holds no texts to join.
  VARTYPE vt = VT_EMPTY;
  if (SUCCEEDED(SafeArrayGetVartype(texts, &vt)) && vt == VT_BSTR) {
    // Measured first, so the joined text is allocated once at its length.
    const LONG count = upper - lower + 1;
    int length = 0;
    // A text counts up to its first null character, as when it is appended as a string.
    for (LONG i = 0; i < count; ++i) length += static_cast<int>(elements[i] ? wcslen(elements[i]) : 0) + 1;
    wchar_t* out = joined.GetBufferSetLength(length);
    for (LONG i = 0; i < count; ++i) {
      const size_t textLength = elements[i] ? wcslen(elements[i]) : 0;
      if (textLength) wmemcpy(out, elements[i], textLength);
      out += textLength;
      *out++ = L'\n';
    }
    joined.ReleaseBufferSetLength(length);
  } else {
    hr = E_FAIL;
  }
  SafeArrayUnaccessData(texts);
  if (SUCCEEDED(hr)) text = joined;
  return hr;
}
