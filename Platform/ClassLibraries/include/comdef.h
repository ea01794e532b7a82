// The compiler's COM support: _com_error, the string and variant classes (comutil.h), the
// interface smart pointer (comip.h) and _COM_SMARTPTR_TYPEDEF.
#pragma once

#include "comutil.h"

// The exception the raising members of the COM support classes throw: an HRESULT and, when
// the failing object supplied one, its error object.
class CLASSLIB_API _com_error {
 public:
  // perrinfo: the error object, taken over (fAddRef false: the caller's reference becomes this
  // object's) or shared (fAddRef true).
  explicit _com_error(HRESULT hr, IErrorInfo* perrinfo = nullptr, bool fAddRef = false) noexcept;
  _com_error(const _com_error& other) noexcept;
  _com_error& operator=(const _com_error& other) noexcept;
  virtual ~_com_error();

  HRESULT Error() const noexcept { return hresult_; }
  // The dispatch error code of an HRESULT made by WCodeToHRESULT, else 0.
  WORD WCode() const noexcept { return HRESULTToWCode(hresult_); }
  // The error object, AddRef'd for the caller; null when there is none.
  IErrorInfo* ErrorInfo() const noexcept;

  // The error object's texts; no string when there is no error object.
  _bstr_t Description() const;
  _bstr_t Source() const;
  _bstr_t HelpFile() const;
  DWORD HelpContext() const;
  GUID ErrorGUID() const;  // the platform's GUID(), renamed: a member named GUID hides the type here

  // The system's text for the HRESULT (FormatMessageW, without its line break), or
  // "IDispatch error #<wCode>" for a dispatch error code, or "Unknown error 0x<HRESULT>".
  // Kept with this object.
  const wchar_t* ErrorMessage() const;

  static HRESULT WCodeToHRESULT(WORD wCode) noexcept;
  static WORD HRESULTToWCode(HRESULT hr) noexcept;

 private:
  HRESULT hresult_;
  IErrorInfo* errorInfo_;
  mutable wchar_t* message_ = nullptr;
};

#include "comip.h"

// _COM_SMARTPTR_TYPEDEF(IFoo, __uuidof(IFoo)) declares IFooPtr.
#define _COM_SMARTPTR_TYPEDEF(Interface, IID) typedef _com_ptr_t<_com_IIID<Interface, &IID>> Interface##Ptr

_COM_SMARTPTR_TYPEDEF(IUnknown, __uuidof(IUnknown));
_COM_SMARTPTR_TYPEDEF(IDispatch, __uuidof(IDispatch));
_COM_SMARTPTR_TYPEDEF(IClassFactory, __uuidof(IClassFactory));
_COM_SMARTPTR_TYPEDEF(IErrorInfo, __uuidof(IErrorInfo));
_COM_SMARTPTR_TYPEDEF(ICreateErrorInfo, __uuidof(ICreateErrorInfo));
_COM_SMARTPTR_TYPEDEF(ISupportErrorInfo, __uuidof(ISupportErrorInfo));
