#include "IErrorInfoHelper.h"

namespace {

CString TakeBstr(HRESULT hr, BSTR text) {
  CString result;
  if (SUCCEEDED(hr)) result = CString(text, static_cast<int>(SysStringLen(text)));
  SysFreeString(text);
  return result;
}

}  // namespace

CIErrorInfoHelper::CIErrorInfoHelper(IErrorInfo* info) : m_spErrorInfo(info) {}

IErrorInfo& CIErrorInfoHelper::Info() const {
  if (!m_spErrorInfo) _com_issue_error(E_POINTER);
  return *m_spErrorInfo;
}

GUID CIErrorInfoHelper::GetGUID() const {
  GUID guid = GUID_NULL;
  if (FAILED(Info().GetGUID(&guid))) return GUID_NULL;
  return guid;
}

CString CIErrorInfoHelper::GetSource() const {
  BSTR text = nullptr;
  const HRESULT hr = Info().GetSource(&text);
  return TakeBstr(hr, text);
}

CString CIErrorInfoHelper::GetDescription() const {
  BSTR text = nullptr;
  const HRESULT hr = Info().GetDescription(&text);
  return TakeBstr(hr, text);
}

CString CIErrorInfoHelper::GetHelpFile() const {
  BSTR text = nullptr;
  const HRESULT hr = Info().GetHelpFile(&text);
  return TakeBstr(hr, text);
}

DWORD CIErrorInfoHelper::GetHelpContext() const {
  DWORD context = 0;
  if (FAILED(Info().GetHelpContext(&context))) return 0;
  return context;
}

bool CIErrorInfoHelper::operator==(const CIErrorInfoHelper& other) const {
  // _com_ptr_t compares by pointer first, then by IUnknown identity; two empty ones are equal.
  return m_spErrorInfo == other.m_spErrorInfo;
}
