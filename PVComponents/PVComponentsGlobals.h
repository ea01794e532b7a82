// The framework's free helper functions: GUID texts, the host's product name, interface and
// controller-mode checks, BOOL / VARIANT_BOOL / HRESULT conversions, error texts, the error
// information an object left, time units, and HTML Help on the application's help file.
// Failures are logged under the function's own name.
#pragma once

#include <afxwin.h>
#include <oleauto.h>

// The GUID's registry text in braces ("{XXXXXXXX-...}", upper case); empty (and logged) when
// it cannot be made.
CString Clsid2String(REFGUID guid);

// The GUID of a braced text. A text that does not convert, or of 64 characters or more, is
// logged and gives GUID_NULL.
GUID String2Clsid(const CString& text);

// The host product's display name: "Tavelin 5000" for host releases below 21, "Vexil
// Designer" otherwise and whenever the module gives no version (logged). A failure of the
// version interface query other than E_NOINTERFACE is raised as _com_error.
CString GetApplicationName(IUnknown* module);

// TRUE for a non-null pointer; null is logged and gives FALSE.
BOOL InterfaceIsValid(const void* pointer);

// TRUE for the controller modes 1 to 6.
BOOL IsOnlineVexilMode(LONG mode);

VARIANT_BOOL BoolToVariantBool(BOOL value);  // non-zero: VARIANT_TRUE
BOOL VariantBoolToBool(VARIANT_BOOL value);  // TRUE only for VARIANT_TRUE
HRESULT BoolToHResult(BOOL value);           // S_OK or E_FAIL
BOOL HResultSucceeded(HRESULT hr);           // the code is 0 or positive

// "0x" and the code in upper-case hexadecimal without leading zeros ("0x80004005").
CString FormatHResult(HRESULT hr);

// The system's text for the thread's last error code, without trailing line breaks;
// "Unknown error <code>" when the system has none.
CString FormatLastErrorText();

// The error information that object left for the interface iid. *out is released and cleared
// first. Returns S_OK with *out set (the caller owns it); the failure of the object's
// ISupportErrorInfo query or of InterfaceSupportsErrorInfo; E_NOINTERFACE when the object
// does not set error information for that interface; E_FAIL when there is none; E_POINTER
// for a null object or out.
HRESULT GetObjectErrorInfo(IUnknown* object, REFIID iid, IErrorInfo** out);

// ms / 1000 as float.
float MillisecondsToSeconds(int milliseconds);
// s * 1000 truncated toward zero; values beyond the int range give its limits, NaN gives 0.
int SecondsToMilliseconds(float seconds);

// HTML Help with no owner on the current application's help file. Without an application
// or without a help window: the class library's "failed to launch help" message, E_FAIL.
HRESULT ShowHtmlHelp(DWORD_PTR data, UINT command);
