// The fields of a COM error-information object, for the error dialogs.
#pragma once

#include <afx.h>
#include <comdef.h>

class CIErrorInfoHelper {
 public:
  explicit CIErrorInfoHelper(IErrorInfo* info);
  CIErrorInfoHelper(const CIErrorInfoHelper& other) = default;
  virtual ~CIErrorInfoHelper() = default;
  CIErrorInfoHelper& operator=(const CIErrorInfoHelper&) = delete;

  // Each read gives the empty value (GUID_NULL, "", 0) when the call fails; reading without an
  // error object raises E_POINTER as _com_error.
  GUID GetGUID() const;
  CString GetSource() const;
  CString GetDescription() const;
  CString GetHelpFile() const;
  DWORD GetHelpContext() const;

  // Both hold the same object (by pointer or by IUnknown identity), or both hold none.
  bool operator==(const CIErrorInfoHelper& other) const;

 private:
  IErrorInfo& Info() const;
  IErrorInfoPtr m_spErrorInfo;
};
