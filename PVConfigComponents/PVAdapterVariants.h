// What both tag adapters do with the VARIANTs of the host's operations: a read counts only in
// the type the request names, and a text travels as a BSTR. A failure is reported with the
// member name (CPVGetSetAdapeterErrorHandler).
#pragma once

#include <afx.h>
#include <comdef.h>

// S_OK when read succeeded with a VARIANT of type vt (or of vt2, when that is not VT_EMPTY);
// otherwise the read report and E_FAIL: the host's own code is not passed on.
HRESULT PVAcceptRead(const wchar_t* member, HRESULT read, const VARIANT& value, VARTYPE vt,
                     VARTYPE vt2 = VT_EMPTY);
// The text of a VT_BSTR; a null BSTR is empty.
CString PVTextOf(const VARIANT& value);
// The text as a VT_BSTR in *variant; E_OUTOFMEMORY, with the save report, when the BSTR cannot
// be allocated (*variant then stays VT_EMPTY).
HRESULT PVMakeTextVariant(const wchar_t* member, const CString& text, _variant_t* variant);
