// The COM library: initialisation, class objects and object creation, GUID texts and the task
// allocator.
#pragma once

#include "unknwn.h"
#include "winerror.h"
#include "wtypesbase.h"

// Where a class's server may run. The stand-in serves in-process classes only.
enum CLSCTX {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
};
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
static_assert(CLSCTX_ALL == 0x17, "the context the callers pass");

enum COINIT {
  COINIT_MULTITHREADED = 0x0,
  COINIT_APARTMENTTHREADED = 0x2,
  COINIT_DISABLE_OLE1DDE = 0x4,
  COINIT_SPEED_OVER_MEMORY = 0x8,
};

// CoRegisterClassObject flags.
enum REGCLS {
  REGCLS_SINGLEUSE = 0,
  REGCLS_MULTIPLEUSE = 1,
  REGCLS_MULTI_SEPARATE = 2,
  REGCLS_SUSPENDED = 4,
  REGCLS_SURROGATE = 8,
};

// The exports of an in-process server.
typedef HRESULT(STDAPICALLTYPE* LPFNGETCLASSOBJECT)(REFCLSID rclsid, REFIID riid, void** ppv);
typedef HRESULT(STDAPICALLTYPE* LPFNCANUNLOADNOW)();

// ---------------------------------------------------------------------------------------------
// Initialisation. Every thread that creates objects or registers classes calls CoInitialize(Ex)
// first and CoUninitialize as often when it is done.

// pvReserved: null. Returns S_OK for the thread's first call, S_FALSE for further ones.
// The stand-in has no apartments to marshal between: objects are always called directly, and
// the concurrency model is not checked.
WINOLEAPI CoInitialize(void* pvReserved);
WINOLEAPI CoInitializeEx(void* pvReserved, DWORD dwCoInit);

// Balances one CoInitialize(Ex). The thread's last call releases its error object and revokes
// the class objects it registered; the last call in the process frees every server DLL that
// CoGetClassObject loaded.
WINOLEAPI_(void) CoUninitialize();

// ---------------------------------------------------------------------------------------------
// Class objects.

// rclsid: in, the class; dwClsContext: in, CLSCTX_* (must include an in-process context for a
// server from the registry); pvReserved: null; riid, ppv: the interface wanted of the class
// object (usually IClassFactory), out.
// A class registered in-process with CoRegisterClassObject takes precedence. Otherwise the
// registry's HKEY_CLASSES_ROOT\CLSID\{clsid}\InProcServer32 default value names the server
// DLL, which is loaded (and kept loaded, see CoFreeUnusedLibraries) and asked with its
// DllGetClassObject.
// Returns S_OK; REGDB_E_CLASSNOTREG when the class is not registered (or no in-process context
// was asked for); CO_E_DLLNOTFOUND when the server DLL does not load; CO_E_ERRORINDLL when it
// has no DllGetClassObject; what DllGetClassObject or QueryInterface returns
// (CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE); CO_E_NOTINITIALIZED before CoInitialize on
// this thread; E_INVALIDARG for a null ppv. *ppv is null on failure.
WINOLEAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved, REFIID riid, void** ppv);

// Creates one object of the class through its class factory (CoGetClassObject, then
// IClassFactory::CreateInstance(pUnkOuter, riid, ppv)). Returns CoGetClassObject's errors and
// CreateInstance's (CLASS_E_NOAGGREGATION, E_NOINTERFACE). *ppv is null on failure.
WINOLEAPI CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);

// Registers pUnk (AddRef'd) as the class object of rclsid for this process until
// CoRevokeClassObject(*lpdwRegister) or the registering thread's last CoUninitialize.
// dwClsContext: the contexts it serves (a local-server registration serves in-process requests
// too); flags: REGCLS_* (simplified: every registration is handed out as often as asked, and
// REGCLS_SUSPENDED is not honoured).
// Returns S_OK, E_INVALIDARG for null arguments, CO_E_NOTINITIALIZED.
WINOLEAPI CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD dwClsContext, DWORD flags,
                                LPDWORD lpdwRegister);

// Ends a registration and releases its class object. Returns S_OK, or E_INVALIDARG for a cookie
// that is not registered.
WINOLEAPI CoRevokeClassObject(DWORD dwRegister);

// Asks every server DLL that CoGetClassObject loaded whether it can be unloaded
// (DllCanUnloadNow) and frees those that answer S_OK.
WINOLEAPI_(void) CoFreeUnusedLibraries();

// ---------------------------------------------------------------------------------------------
// The task allocator: memory that one side allocates and the other frees.

WINOLEAPI_(void*) CoTaskMemAlloc(SIZE_T cb);
// pv may be null (allocates); cb 0 frees pv and returns null.
WINOLEAPI_(void*) CoTaskMemRealloc(void* pv, SIZE_T cb);
// pv may be null.
WINOLEAPI_(void) CoTaskMemFree(void* pv);

// ---------------------------------------------------------------------------------------------
// GUID texts: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

// lpsz: in, braced 8-4-4-4-12 hexadecimal digits in any letter case and nothing else (a null
// lpsz gives CLSID_NULL); pclsid: out. Returns NOERROR; CO_E_CLASSSTRING for any other text;
// E_INVALIDARG for a null pclsid. The text is read field by field from the left (Data1, Data2,
// Data3, then Data4 byte by byte) into a pclsid cleared first: on a malformed text pclsid
// holds the fields read before the fault and zeros after it. The stand-in does not look up
// program ids.
WINOLEAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);

// As CLSIDFromString, but returns E_INVALIDARG for a text that is not 38 characters long
// (lpiid then IID_NULL) and CO_E_IIDSTRING for a text of that length that is no braced GUID
// (lpiid holding the fields read before the fault).
WINOLEAPI IIDFromString(LPCOLESTR lpsz, LPIID lpiid);

// rguid: in; lpsz: out, cchMax characters. Writes the braced text in upper case. Returns the
// number of characters written including the terminator (39), or 0 when the buffer is too
// small (nothing written).
WINOLEAPI_(int) StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);

// lplpsz: out, the braced upper-case text in memory from CoTaskMemAlloc (the caller frees it
// with CoTaskMemFree). Returns S_OK, E_OUTOFMEMORY, E_INVALIDARG.
WINOLEAPI StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);
WINOLEAPI StringFromIID(REFIID rclsid, LPOLESTR* lplpsz);
