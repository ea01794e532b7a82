#include "IErrorInfoHelper.h"

#include "Strings.h"

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
  _bstr_t text;
  return SUCCEEDED(Info().GetSource(text.GetAddress())) ? TextOf(text) : CString();
}

CString CIErrorInfoHelper::GetDescription() const {
  _bstr_t text;
  return SUCCEEDED(Info().GetDescription(text.GetAddress())) ? TextOf(text) : CString();
}

CString CIErrorInfoHelper::GetHelpFile() const {
  _bstr_t text;
  return SUCCEEDED(Info().GetHelpFile(text.GetAddress())) ? TextOf(text) : CString();
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
