// Base types of the platform: integer widths, strings, handles, GUIDs and the calling
// conventions. Every other platform header starts here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>

// Functions and classes that the platform library exports. Product DLLs are built with
// hidden visibility, so everything they take from the platform must say so explicitly.
#define PLATFORM_API __attribute__((visibility("default")))

#ifdef __cplusplus
#define EXTERN_C extern "C"
#else
#define EXTERN_C extern
#endif

// The platform's calling conventions have no meaning on this target.
#define WINAPI
#define CALLBACK
#define APIENTRY
#define STDAPICALLTYPE
#define STDMETHODCALLTYPE
#define STDMETHODVCALLTYPE

#define WINBASEAPI EXTERN_C PLATFORM_API
#define WINUSERAPI EXTERN_C PLATFORM_API
#define WINADVAPI EXTERN_C PLATFORM_API
#define WINOLEAPI EXTERN_C PLATFORM_API HRESULT
#define WINOLEAPI_(type) EXTERN_C PLATFORM_API type
#define WINOLEAUTAPI EXTERN_C PLATFORM_API HRESULT
#define WINOLEAUTAPI_(type) EXTERN_C PLATFORM_API type
#define STDAPI EXTERN_C PLATFORM_API HRESULT
#define STDAPI_(type) EXTERN_C PLATFORM_API type

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned char UCHAR;
typedef uint16_t WORD;
typedef uint16_t USHORT;
typedef int16_t SHORT;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef float FLOAT;
typedef double DOUBLE;
typedef wchar_t WCHAR;
typedef WCHAR OLECHAR;
typedef WCHAR TCHAR;
typedef void VOID;

typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef ULONG_PTR SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

typedef int32_t HRESULT;
typedef DWORD LCID;
typedef WORD LANGID;
typedef WORD ATOM;
typedef WORD VARTYPE;
typedef short VARIANT_BOOL;
typedef LONG SCODE;
typedef DWORD COLORREF;

typedef BOOL* LPBOOL;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* PWSTR;
typedef const WCHAR* PCWSTR;
typedef WCHAR* LPTSTR;
typedef const WCHAR* LPCTSTR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* BSTR;

// Width decisions, written once: the platform's 32-bit integers stay 32 bits on LP64.
static_assert(sizeof(BOOL) == 4 && static_cast<BOOL>(-1) < 0, "BOOL is a signed 32-bit int");
static_assert(sizeof(LONG) == 4 && sizeof(ULONG) == 4 && sizeof(DWORD) == 4, "32-bit longs");
static_assert(sizeof(HRESULT) == 4 && sizeof(LCID) == 4, "32-bit HRESULT and LCID");
static_assert(sizeof(WORD) == 2 && sizeof(VARIANT_BOOL) == 2, "16-bit words");

#define TRUE 1
#define FALSE 0

#define _T(x) L##x
#define TEXT(x) L##x

#define MAKEWORD(a, b) ((WORD)(((BYTE)((DWORD_PTR)(a)&0xff)) | ((WORD)((BYTE)((DWORD_PTR)(b)&0xff))) << 8))
#define MAKELONG(a, b) \
  ((LONG)(((WORD)((DWORD_PTR)(a)&0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(b)&0xffff))) << 16))
#define LOWORD(l) ((WORD)((DWORD_PTR)(l)&0xffff))
#define HIWORD(l) ((WORD)(((DWORD_PTR)(l) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)((DWORD_PTR)(w)&0xff))
#define HIBYTE(w) ((BYTE)(((DWORD_PTR)(w) >> 8) & 0xff))

#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  typedef struct name##__* name

typedef void* HANDLE;
typedef HANDLE HGLOBAL;
typedef HANDLE HLOCAL;
typedef HANDLE HGDIOBJ;
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HKEY);
DECLARE_HANDLE(HRSRC);
DECLARE_HANDLE(HFONT);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HRGN);
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef HKEY* PHKEY;

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define MAX_PATH 260

// GUIDs.
struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef GUID* LPGUID;
typedef IID* LPIID;
typedef CLSID* LPCLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

constexpr bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
constexpr bool operator!=(const GUID& a, const GUID& b) {
  return !(a == b);
}
constexpr bool IsEqualGUID(REFGUID a, REFGUID b) {
  return a == b;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

#include "platform/guid_text.h"

namespace platform {

// The interface id of an interface type, declared with DECLARE_UUIDOF beside the interface.
template <class T>
struct uuid_traits;

}  // namespace platform

#define DECLARE_UUIDOF(type, text)                                \
  template <>                                                     \
  struct platform::uuid_traits<type> {                            \
    static constexpr GUID value = ::platform::GuidFromText(text); \
  }

// __uuidof(Interface): the platform compiler's operator, here on the declared trait.
#define __uuidof(type) (::platform::uuid_traits<type>::value)

// DEFINE_GUID(name, l, w1, w2, b1..b8) defines a GUID constant usable in every unit.
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
#define IID_NULL GUID_NULL
#define CLSID_NULL GUID_NULL

// COM interface declarations.
#define interface struct
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0
#define THIS_
#define THIS void
