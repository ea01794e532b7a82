// OLE Automation's functions: BSTR allocation, VARIANT handling and conversion, SAFEARRAY,
// and the per-thread error object.
#pragma once

#include "oaidl.h"

// ---------------------------------------------------------------------------------------------
// BSTR: a length-prefixed string. The 32-bit byte length sits just before the first character
// and a terminator after the last; the text may contain NULs. A null BSTR counts as an empty
// string everywhere. The byte length of a BSTR of n characters is n * sizeof(OLECHAR).

// psz: in, terminated text or null. Returns a new BSTR with a copy of it; null for a null psz
// or when memory runs out.
WINOLEAUTAPI_(BSTR) SysAllocString(const OLECHAR* psz);

// strIn: in, ui characters to copy, or null for an uninitialised (here: zeroed) string of ui
// characters. The copy may contain NULs. Returns null when memory runs out.
WINOLEAUTAPI_(BSTR) SysAllocStringLen(const OLECHAR* strIn, UINT ui);

// psz: in, len bytes to copy, or null for len zeroed bytes. The length is kept in bytes (it need
// not be a multiple of sizeof(OLECHAR)); a terminator follows. Returns null when memory runs
// out.
WINOLEAUTAPI_(BSTR) SysAllocStringByteLen(LPCSTR psz, UINT len);

// pbstr: in/out, the BSTR to replace (freed); psz: in, the new text (may point into the old
// one). Returns TRUE, or FALSE (the old BSTR kept) when pbstr is null or memory runs out.
WINOLEAUTAPI_(INT) SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
WINOLEAUTAPI_(INT) SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);

// bstrString: in, the BSTR to free; null is allowed and does nothing.
WINOLEAUTAPI_(void) SysFreeString(BSTR bstrString);

// The length in characters (byte length / sizeof(OLECHAR)); 0 for null.
WINOLEAUTAPI_(UINT) SysStringLen(BSTR pbstr);

// The length in bytes, without the terminator; 0 for null.
WINOLEAUTAPI_(UINT) SysStringByteLen(BSTR bstr);

// ---------------------------------------------------------------------------------------------
// VARIANT.

// pvarg: out, set to VT_EMPTY (the value is not touched).
WINOLEAUTAPI_(void) VariantInit(VARIANTARG* pvarg);

// pvarg: in/out. Frees what the variant owns (BSTR, interface reference, SAFEARRAY; nothing for
// VT_BYREF) and sets it to VT_EMPTY. Returns S_OK; E_INVALIDARG for null; DISP_E_BADVARTYPE
// for a type tag that is not a variant type (the variant is then left as it is);
// DISP_E_ARRAYISLOCKED when its SAFEARRAY is locked.
WINOLEAUTAPI VariantClear(VARIANTARG* pvarg);

// pvargDest: in/out, cleared first; pvargSrc: in. Deep copy: a BSTR is duplicated, an interface
// AddRef'd, a SAFEARRAY copied; a VT_BYREF variant copies the pointer. Returns S_OK (also for
// dest == src), E_INVALIDARG for null, DISP_E_BADVARTYPE, E_OUTOFMEMORY.
WINOLEAUTAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);

// As VariantCopy, but a VT_BYREF source is copied as the value it points to (dest may be the
// source). Returns E_INVALIDARG for a by-reference variant that holds another one by
// reference.
WINOLEAUTAPI VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc);

// VariantChangeType(Ex) flags.
#define VARIANT_NOVALUEPROP 0x01
#define VARIANT_ALPHABOOL 0x02
#define VARIANT_NOUSEROVERRIDE 0x04
#define VARIANT_CALENDAR_HIJRI 0x08
#define VARIANT_LOCALBOOL 0x10

// pvargDest: out (may be pvarSrc); pvarSrc: in (a VT_BYREF source is read through);
// wFlags: VARIANT_ALPHABOOL or VARIANT_LOCALBOOL makes VT_BOOL -> VT_BSTR give "True" /
// "False" (otherwise "-1" / "0"); vt: the type wanted.
// Converts among VT_EMPTY, VT_I1, VT_I2, VT_I4, VT_I8, VT_UI1, VT_UI2, VT_UI4, VT_UI8, VT_INT,
// VT_UINT, VT_R4, VT_R8, VT_BOOL and VT_BSTR:
//  - numbers to numbers with a range check; floating point to integer rounds half to even;
//  - VT_BOOL is -1 / 0 as a number; a number is VARIANT_TRUE when not zero;
//  - to text: integers in decimal, floating point in the shortest form that reads back at its
//    own precision (VT_R4 with at most 7 significant digits, VT_R8 with at most 15), in
//    exponent form ("1E+20", "1E-05") when the exponent is below -4 or reaches that digit
//    count; VT_EMPTY gives "";
//  - from text: a decimal number with optional blanks around it, a sign, a fraction and an
//    exponent; to VT_BOOL also "True" / "False" in any case;
//  - VT_EMPTY converts to 0, FALSE or ""; anything above converts to VT_EMPTY.
//  Any type converts to itself (a copy); VT_UNKNOWN and VT_DISPATCH convert into each other
//  by QueryInterface.
// The text forms always use the C locale ('.' as decimal point, no thousands separators, no
// "&H" hexadecimal): the stand-in does not apply a user locale.
// Returns S_OK; DISP_E_OVERFLOW when the value does not fit the type; DISP_E_TYPEMISMATCH
// for text that is not a number and for pairs not listed (VT_NULL converts only to VT_NULL;
// the stand-in fetches no value property of an object); DISP_E_BADVARTYPE for a type tag
// that is not a variant type; E_INVALIDARG for null; E_OUTOFMEMORY. On failure pvargDest is
// left untouched.
WINOLEAUTAPI VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);

// As VariantChangeType; lcid is accepted and ignored (the C locale is always used).
WINOLEAUTAPI VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID lcid, USHORT wFlags,
                                 VARTYPE vt);

// ---------------------------------------------------------------------------------------------
// SAFEARRAY. The stand-in makes arrays of one dimension; elements are zeroed when created.
// An array remembers its element type: FADF_HAVEVARTYPE with the type, and FADF_BSTR,
// FADF_VARIANT, FADF_UNKNOWN or FADF_DISPATCH for elements it owns.

// vt: the element type (VT_I1..VT_UINT, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR, VT_DISPATCH,
// VT_ERROR, VT_BOOL, VT_VARIANT, VT_UNKNOWN, VT_DECIMAL); cDims: 1; rgsabound: in, the bound.
// Returns the array, or null for an unsupported type, cDims other than 1, or no memory.
WINOLEAUTAPI_(SAFEARRAY*) SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound);

// A one-dimensional array of cElements elements starting at index lLbound.
WINOLEAUTAPI_(SAFEARRAY*) SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);

// As SafeArrayCreate; for VT_UNKNOWN and VT_DISPATCH pvExtra may give the elements' IID
// (FADF_HAVEIID). VT_RECORD is not supported (null).
WINOLEAUTAPI_(SAFEARRAY*) SafeArrayCreateEx(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound, void* pvExtra);

// Releases the elements (BSTRs freed, VARIANTs cleared, interfaces released) and the array.
// Returns S_OK (also for null), DISP_E_ARRAYISLOCKED while the array is locked.
WINOLEAUTAPI SafeArrayDestroy(SAFEARRAY* psa);

// psa: in (null gives a null copy and S_OK); ppsaOut: out. Deep copy: BSTRs duplicated,
// VARIANTs copied, interfaces AddRef'd. Returns S_OK, E_INVALIDARG, E_OUTOFMEMORY.
WINOLEAUTAPI SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);

// Changes the element count and lower bound of the (only) dimension; elements that fall off
// are released, new ones are zeroed. Returns S_OK, E_INVALIDARG, DISP_E_ARRAYISLOCKED,
// E_OUTOFMEMORY.
WINOLEAUTAPI SafeArrayRedim(SAFEARRAY* psa, SAFEARRAYBOUND* psaboundNew);

// The number of dimensions; 0 for null.
WINOLEAUTAPI_(UINT) SafeArrayGetDim(SAFEARRAY* psa);

// The element size in bytes; 0 for null.
WINOLEAUTAPI_(UINT) SafeArrayGetElemsize(SAFEARRAY* psa);

// nDim: 1-based dimension. Returns S_OK, DISP_E_BADINDEX for a dimension the array does not
// have, E_INVALIDARG for null pointers. The upper bound is lLbound + cElements - 1.
WINOLEAUTAPI SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
WINOLEAUTAPI SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);

// pvt: out, the element type the array remembers. Returns S_OK, E_INVALIDARG.
WINOLEAUTAPI SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);

// rgIndices: in, one index per dimension; pv: out, receives a copy of the element: a new BSTR,
// a copied VARIANT (pv is treated as uninitialised), an AddRef'd interface pointer, or the
// bytes of the element. Returns S_OK, DISP_E_BADINDEX outside the bounds, E_INVALIDARG,
// E_OUTOFMEMORY.
WINOLEAUTAPI SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);

// pv: in. For VT_BSTR, VT_UNKNOWN and VT_DISPATCH arrays pv IS the BSTR or interface pointer
// (not its address); the array stores a copy (BSTR duplicated, interface AddRef'd) and
// releases the element it replaces. For VT_VARIANT pv points to the VARIANT to copy; for
// other types to the value. Returns S_OK, DISP_E_BADINDEX, E_INVALIDARG, E_OUTOFMEMORY.
WINOLEAUTAPI SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);

// ppvData: out, the array's data; the array stays locked until SafeArrayUnaccessData.
WINOLEAUTAPI SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
WINOLEAUTAPI SafeArrayUnaccessData(SAFEARRAY* psa);

// Lock count: while locked, the array cannot be destroyed or resized (DISP_E_ARRAYISLOCKED).
// Unlock of an unlocked array returns E_UNEXPECTED.
WINOLEAUTAPI SafeArrayLock(SAFEARRAY* psa);
WINOLEAUTAPI SafeArrayUnlock(SAFEARRAY* psa);

// ppvData: out, the address of the element at rgIndices. Returns S_OK, DISP_E_BADINDEX,
// E_INVALIDARG.
WINOLEAUTAPI SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData);

// ---------------------------------------------------------------------------------------------
// The error object: one slot per thread.

// pperrinfo: out, a new error object (it also answers IErrorInfo). Returns S_OK,
// E_INVALIDARG, E_OUTOFMEMORY.
WINOLEAUTAPI CreateErrorInfo(ICreateErrorInfo** pperrinfo);

// dwReserved: 0; perrinfo: in, may be null. Stores perrinfo (AddRef'd) as the thread's error
// object and releases the one it replaces. Returns S_OK, E_INVALIDARG for dwReserved != 0.
WINOLEAUTAPI SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo);

// dwReserved: 0; pperrinfo: out. Hands the thread's error object over (the caller releases
// it) and clears the slot. Returns S_OK, S_FALSE with null when the slot is empty,
// E_INVALIDARG.
WINOLEAUTAPI GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo);

// ---------------------------------------------------------------------------------------------
// Type libraries. A type library is the project's own description format (see
// platform/typelib_format.h), held in a module's TYPELIB resource or in a file of its own.

// szFile: in, a module path, optionally followed by "\N" for its TYPELIB resource N (default 1),
// or the path of a type-library file. pptlib: out. Returns S_OK; TYPE_E_CANTLOADLIBRARY when
// the file or resource is missing or its description does not parse; E_INVALIDARG for null.
WINOLEAUTAPI LoadTypeLib(LPCOLESTR szFile, ITypeLib** pptlib);

// The library registered under HKCR\TypeLib\{rguid}\<major>.<minor>\<lcid>\win32 (the highest
// registered minor version of the major one when the exact one is missing; lcid falls back to
// 0). Returns TYPE_E_LIBNOTREGISTERED, LoadTypeLib's errors, E_INVALIDARG.
WINOLEAUTAPI LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID lcid, ITypeLib** pptlib);

// Writes HKCR\TypeLib\{libid}\<maj>.<min> = help string, with subkeys "<lcid>\win32" = szFullPath,
// FLAGS = the library flags in decimal and HELPDIR = szHelpDir (the file's directory when null),
// and for every dual interface HKCR\Interface\{iid} = its name with ProxyStubClsid32 (the
// automation marshaler) and TypeLib = {libid} (value Version). Returns S_OK,
// HRESULT_FROM_WIN32 of a registry error, E_INVALIDARG.
WINOLEAUTAPI RegisterTypeLib(ITypeLib* ptlib, LPCOLESTR szFullPath, LPCOLESTR szHelpDir);

// Removes the version's key (and the library's key when no other version is left), and the
// Interface keys of the library's interfaces that name this library. Returns S_OK,
// TYPE_E_REGISTRYACCESS when the version is not registered, HRESULT_FROM_WIN32 of a registry
// error that leaves the version's or the library's key behind, E_INVALIDARG.
WINOLEAUTAPI UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, SYSKIND syskind);
