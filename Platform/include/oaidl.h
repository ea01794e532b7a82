// OLE Automation's types and interfaces: VARIANT, SAFEARRAY, IDispatch and the error object's
// interfaces (IErrorInfo, ICreateErrorInfo, ISupportErrorInfo). The functions that work on
// them are in oleauto.h.
#pragma once

#include "unknwn.h"
#include "wtypesbase.h"

interface IDispatch;
interface IRecordInfo;
// Type information; the interfaces are declared with the type-library support.
interface ITypeInfo;
interface ITypeLib;

// The variant types. A VARTYPE is one of the base types below, optionally combined with
// VT_ARRAY (a SAFEARRAY of the base type) or VT_BYREF (a pointer to the base type).
enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_SAFEARRAY = 27,
  VT_CARRAY = 28,
  VT_USERDEFINED = 29,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_RECORD = 36,
  VT_INT_PTR = 37,
  VT_UINT_PTR = 38,
  VT_VECTOR = 0x1000,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_RESERVED = 0x8000,
  VT_ILLEGAL = 0xFFFF,
  VT_ILLEGALMASKED = 0x0FFF,
  VT_TYPEMASK = 0x0FFF
};

// VARIANT_BOOL's two values.
#define VARIANT_TRUE (static_cast<VARIANT_BOOL>(-1))
#define VARIANT_FALSE (static_cast<VARIANT_BOOL>(0))

typedef double DATE;
typedef LONG DISPID;
typedef DISPID MEMBERID;

// Currency: a 64-bit integer scaled by 10000.
union CY {
  struct {
    ULONG Lo;
    LONG Hi;
  };
  LONGLONG int64;
};
typedef CY CURRENCY;

// A 96-bit integer with a decimal scale and a sign.
struct DECIMAL {
  USHORT wReserved;
  union {
    struct {
      BYTE scale;
      BYTE sign;
    };
    USHORT signscale;
  };
  ULONG Hi32;
  union {
    struct {
      ULONG Lo32;
      ULONG Mid32;
    };
    ULONGLONG Lo64;
  };
};

// SAFEARRAY: a descriptor with the element size, the lock count and one bound per dimension.
struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};
typedef SAFEARRAYBOUND* LPSAFEARRAYBOUND;

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];
};
typedef SAFEARRAY* LPSAFEARRAY;

// fFeatures: how the array was allocated and what its elements are.
#define FADF_AUTO 0x0001
#define FADF_STATIC 0x0002
#define FADF_EMBEDDED 0x0004
#define FADF_FIXEDSIZE 0x0010
#define FADF_RECORD 0x0020
#define FADF_HAVEIID 0x0040
#define FADF_HAVEVARTYPE 0x0080
#define FADF_BSTR 0x0100
#define FADF_UNKNOWN 0x0200
#define FADF_DISPATCH 0x0400
#define FADF_VARIANT 0x0800
#define FADF_RESERVED 0xF008

// The platform's VARIANT: the type tag, three reserved words and a 16-byte union of the value
// forms; DECIMAL overlays the whole structure (its first word is the type tag's place).
struct tagVARIANT {
  union {
    struct {
      VARTYPE vt;
      WORD wReserved1;
      WORD wReserved2;
      WORD wReserved3;
      union {
        LONGLONG llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        CY cyVal;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        LONGLONG* pllVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        CY* pcyVal;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        tagVARIANT* pvarVal;
        void* byref;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        INT intVal;
        UINT uintVal;
        DECIMAL* pdecVal;
        CHAR* pcVal;
        USHORT* puiVal;
        ULONG* pulVal;
        ULONGLONG* pullVal;
        INT* pintVal;
        UINT* puintVal;
        struct {
          void* pvRecord;
          IRecordInfo* pRecInfo;
        };
      };
    };
    DECIMAL decVal;
  };
};
typedef tagVARIANT VARIANT;
typedef VARIANT VARIANTARG;
typedef VARIANT* LPVARIANT;
typedef VARIANT* LPVARIANTARG;
static_assert(sizeof(VARIANT) == 8 + 2 * sizeof(void*) && sizeof(DECIMAL) == 16,
              "the platform's VARIANT layout");

// Accessors of the platform's headers.
#define V_VT(X) ((X)->vt)
#define V_ISBYREF(X) (V_VT(X) & VT_BYREF)
#define V_ISARRAY(X) (V_VT(X) & VT_ARRAY)
#define V_UI1(X) ((X)->bVal)
#define V_I1(X) ((X)->cVal)
#define V_I2(X) ((X)->iVal)
#define V_UI2(X) ((X)->uiVal)
#define V_I4(X) ((X)->lVal)
#define V_UI4(X) ((X)->ulVal)
#define V_I8(X) ((X)->llVal)
#define V_UI8(X) ((X)->ullVal)
#define V_INT(X) ((X)->intVal)
#define V_UINT(X) ((X)->uintVal)
#define V_R4(X) ((X)->fltVal)
#define V_R8(X) ((X)->dblVal)
#define V_CY(X) ((X)->cyVal)
#define V_DATE(X) ((X)->date)
#define V_BSTR(X) ((X)->bstrVal)
#define V_BOOL(X) ((X)->boolVal)
#define V_ERROR(X) ((X)->scode)
#define V_UNKNOWN(X) ((X)->punkVal)
#define V_DISPATCH(X) ((X)->pdispVal)
#define V_ARRAY(X) ((X)->parray)
#define V_BYREF(X) ((X)->byref)
#define V_VARIANTREF(X) ((X)->pvarVal)
#define V_BSTRREF(X) ((X)->pbstrVal)
#define V_I4REF(X) ((X)->plVal)
#define V_BOOLREF(X) ((X)->pboolVal)
#define V_UNKNOWNREF(X) ((X)->ppunkVal)
#define V_DISPATCHREF(X) ((X)->ppdispVal)
#define V_ARRAYREF(X) ((X)->pparray)

// IDispatch: late-bound calls by member id.
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT(STDAPICALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};
typedef EXCEPINFO* LPEXCEPINFO;

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)
#define DISPID_NEWENUM (-4)
#define DISPID_EVALUATE (-5)
#define DISPID_CONSTRUCTOR (-6)
#define DISPID_DESTRUCTOR (-7)
#define DISPID_COLLECT (-8)

interface IDispatch : public IUnknown {
  STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) = 0;
  STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
  STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) = 0;
  STDMETHOD(Invoke)
  (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
   EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
};
DECLARE_UUIDOF(IDispatch, "00020400-0000-0000-C000-000000000046");
typedef IDispatch* LPDISPATCH;

// The error object: what went wrong, where, and where the help is.
interface IErrorInfo : public IUnknown {
  STDMETHOD(GetGUID)(GUID* pGUID) = 0;
  STDMETHOD(GetSource)(BSTR* pBstrSource) = 0;
  STDMETHOD(GetDescription)(BSTR* pBstrDescription) = 0;
  STDMETHOD(GetHelpFile)(BSTR* pBstrHelpFile) = 0;
  STDMETHOD(GetHelpContext)(DWORD* pdwHelpContext) = 0;
};
DECLARE_UUIDOF(IErrorInfo, "1CF2B120-547D-101B-8E65-08002B2BD119");
typedef IErrorInfo* LPERRORINFO;

interface ICreateErrorInfo : public IUnknown {
  STDMETHOD(SetGUID)(REFGUID rguid) = 0;
  STDMETHOD(SetSource)(LPOLESTR szSource) = 0;
  STDMETHOD(SetDescription)(LPOLESTR szDescription) = 0;
  STDMETHOD(SetHelpFile)(LPOLESTR szHelpFile) = 0;
  STDMETHOD(SetHelpContext)(DWORD dwHelpContext) = 0;
};
DECLARE_UUIDOF(ICreateErrorInfo, "22F03340-547D-101B-8E65-08002B2BD119");
typedef ICreateErrorInfo* LPCREATEERRORINFO;

// An object's answer to "does this interface of yours set the thread's error object?":
// S_OK if it does, S_FALSE if not.
interface ISupportErrorInfo : public IUnknown {
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) = 0;
};
DECLARE_UUIDOF(ISupportErrorInfo, "DF0B3D60-548F-101B-8E65-08002B2BD119");
typedef ISupportErrorInfo* LPSUPPORTERRORINFO;

inline constexpr IID IID_IDispatch = __uuidof(IDispatch);
inline constexpr IID IID_IErrorInfo = __uuidof(IErrorInfo);
inline constexpr IID IID_ICreateErrorInfo = __uuidof(ICreateErrorInfo);
inline constexpr IID IID_ISupportErrorInfo = __uuidof(ISupportErrorInfo);

// ---------------------------------------------------------------------------------------------
// Type information: type libraries and the descriptions of their types. The stand-in describes
// coclasses and dual interfaces (operations with their dispatch ids and parameters); the
// structures of functions and variables are not offered (those operations answer E_NOTIMPL).

enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 };

enum TYPEKIND {
  TKIND_ENUM = 0,
  TKIND_RECORD = 1,
  TKIND_MODULE = 2,
  TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4,
  TKIND_COCLASS = 5,
  TKIND_ALIAS = 6,
  TKIND_UNION = 7,
  TKIND_MAX = 8
};

// TYPEATTR::wTypeFlags.
#define TYPEFLAG_FAPPOBJECT 0x1
#define TYPEFLAG_FCANCREATE 0x2
#define TYPEFLAG_FDUAL 0x40
#define TYPEFLAG_FOLEAUTOMATION 0x100
#define TYPEFLAG_FDISPATCHABLE 0x1000

// TLIBATTR::wLibFlags.
#define LIBFLAG_FRESTRICTED 0x1
#define LIBFLAG_FCONTROL 0x2
#define LIBFLAG_FHIDDEN 0x4
#define LIBFLAG_FHASDISKIMAGE 0x8

struct TLIBATTR {
  GUID guid;
  LCID lcid;
  SYSKIND syskind;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  WORD wLibFlags;
};
typedef TLIBATTR* LPTLIBATTR;

// The stand-in fills guid, lcid, typekind, cFuncs (the operations an interface declares
// itself), cImplTypes, cbSizeVft (the table size in bytes, IDispatch's seven entries
// included), wTypeFlags and the version; the rest is zero.
struct TYPEATTR {
  GUID guid;
  LCID lcid;
  DWORD dwReserved;
  MEMBERID memidConstructor;
  MEMBERID memidDestructor;
  LPOLESTR lpstrSchema;
  ULONG cbSizeInstance;
  TYPEKIND typekind;
  WORD cFuncs;
  WORD cVars;
  WORD cImplTypes;
  WORD cbSizeVft;
  WORD cbAlignment;
  WORD wTypeFlags;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  BYTE tdescAlias[16];
  BYTE idldescType[16];
};
typedef TYPEATTR* LPTYPEATTR;

typedef DWORD HREFTYPE;
struct FUNCDESC;
struct VARDESC;
enum DESCKIND {
  DESCKIND_NONE = 0,
  DESCKIND_FUNCDESC,
  DESCKIND_VARDESC,
  DESCKIND_TYPECOMP,
  DESCKIND_IMPLICITAPPOBJ
};
enum INVOKEKIND {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8
};
interface ITypeComp;

interface ITypeInfo : public IUnknown {
  STDMETHOD(GetTypeAttr)(TYPEATTR** ppTypeAttr) = 0;
  STDMETHOD(GetTypeComp)(ITypeComp** ppTComp) = 0;
  STDMETHOD(GetFuncDesc)(UINT index, FUNCDESC** ppFuncDesc) = 0;
  STDMETHOD(GetVarDesc)(UINT index, VARDESC** ppVarDesc) = 0;
  STDMETHOD(GetNames)(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) = 0;
  STDMETHOD(GetRefTypeOfImplType)(UINT index, HREFTYPE* pRefType) = 0;
  STDMETHOD(GetImplTypeFlags)(UINT index, INT* pImplTypeFlags) = 0;
  STDMETHOD(GetIDsOfNames)(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) = 0;
  STDMETHOD(Invoke)
  (void* pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
   EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
  STDMETHOD(GetDocumentation)
  (MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext, BSTR* pBstrHelpFile) = 0;
  STDMETHOD(GetDllEntry)
  (MEMBERID memid, INVOKEKIND invKind, BSTR* pBstrDllName, BSTR* pBstrName, WORD* pwOrdinal) = 0;
  STDMETHOD(GetRefTypeInfo)(HREFTYPE hRefType, ITypeInfo** ppTInfo) = 0;
  STDMETHOD(AddressOfMember)(MEMBERID memid, INVOKEKIND invKind, void** ppv) = 0;
  STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObj) = 0;
  STDMETHOD(GetMops)(MEMBERID memid, BSTR* pBstrMops) = 0;
  STDMETHOD(GetContainingTypeLib)(ITypeLib** ppTLib, UINT* pIndex) = 0;
  STDMETHOD_(void, ReleaseTypeAttr)(TYPEATTR* pTypeAttr) = 0;
  STDMETHOD_(void, ReleaseFuncDesc)(FUNCDESC* pFuncDesc) = 0;
  STDMETHOD_(void, ReleaseVarDesc)(VARDESC* pVarDesc) = 0;
};
DECLARE_UUIDOF(ITypeInfo, "00020401-0000-0000-C000-000000000046");
typedef ITypeInfo* LPTYPEINFO;

interface ITypeLib : public IUnknown {
  STDMETHOD_(UINT, GetTypeInfoCount)() = 0;
  STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** ppTInfo) = 0;
  STDMETHOD(GetTypeInfoType)(UINT index, TYPEKIND* pTKind) = 0;
  STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** ppTinfo) = 0;
  STDMETHOD(GetLibAttr)(TLIBATTR** ppTLibAttr) = 0;
  STDMETHOD(GetTypeComp)(ITypeComp** ppTComp) = 0;
  STDMETHOD(GetDocumentation)
  (INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext, BSTR* pBstrHelpFile) = 0;
  STDMETHOD(IsName)(LPOLESTR szNameBuf, ULONG lHashVal, BOOL* pfName) = 0;
  STDMETHOD(FindName)
  (LPOLESTR szNameBuf, ULONG lHashVal, ITypeInfo** ppTInfo, MEMBERID* rgMemId, USHORT* pcFound) = 0;
  STDMETHOD_(void, ReleaseTLibAttr)(TLIBATTR* pTLibAttr) = 0;
};
DECLARE_UUIDOF(ITypeLib, "00020402-0000-0000-C000-000000000046");
typedef ITypeLib* LPTYPELIB;

inline constexpr IID IID_ITypeInfo = __uuidof(ITypeInfo);
inline constexpr IID IID_ITypeLib = __uuidof(ITypeLib);
