// The class library's COM object support: thread models, the object root with its interface
// map, the objects that wrap a class (plain, aggregated, either), class factories, the DLL
// module with its object map and exports, the registrar and the error helper.
//
// Templates live here as on the platform; the registrar, the interface-map search and the
// error helper live in the platform library. Each DLL has its own module object, object map and
// base module (hidden visibility), so two DLLs in one process keep their own lock counts.
#pragma once

#include <new>

#include "libloaderapi.h"
#include "objbase.h"
#include "oleauto.h"
#include "winreg.h"

#include "classlib_api.h"

#define ATLAPI EXTERN_C CLASSLIB_API HRESULT
#define ATLAPI_(type) EXTERN_C CLASSLIB_API type
#ifndef OLESTR
#define OLESTR(text) L##text
#endif

namespace ATL {

// ---------------------------------------------------------------------------------------------
// The interface map: a static table of (IID, offset of the interface in the class) entries,
// ended by a null IID, walked by AtlInternalQueryInterface.

typedef HRESULT(WINAPI _ATL_CREATORARGFUNC)(void* pv, REFIID riid, LPVOID* ppv, DWORD_PTR dw);
struct _ATL_INTMAP_ENTRY {
  const IID* piid;
  DWORD_PTR dw;
  _ATL_CREATORARGFUNC* pFunc;
};
// The entry's dw is the interface's offset in the object.
#define _ATL_SIMPLEMAPENTRY (reinterpret_cast<::ATL::_ATL_CREATORARGFUNC*>(1))

}  // namespace ATL

// pThis: in, the object (the start of the class whose map pEntries is); pEntries: in, the map;
// iid: in; ppvObject: out. IID_IUnknown is answered by the first entry. Returns S_OK with an
// AddRef'd interface, E_NOINTERFACE (and null) for an IID the map does not list, E_POINTER for
// a null ppvObject.
ATLAPI AtlInternalQueryInterface(void* pThis, const ATL::_ATL_INTMAP_ENTRY* pEntries, REFIID iid,
                                 void** ppvObject);

// clsid: in, the class whose ProgID becomes the error's source (HKCR\CLSID\{clsid}\ProgID
// default value; empty when the class is not registered); lpszDesc: in, the description; iid:
// in, the interface that reports the error; hRes: in, the code. Builds an error object
// (CreateErrorInfo) with the GUID, source and description and no help file, installs it with
// SetErrorInfo and returns hRes (DISP_E_EXCEPTION for a zero hRes, as on the platform).
ATLAPI AtlReportError(REFCLSID clsid, LPCOLESTR lpszDesc, REFIID iid, HRESULT hRes);

// hInstance: in, a loaded module; lpszIndex: in, null for the first type library or "\N".
// Loads the module's TYPELIB resource and registers it (RegisterTypeLib) with the module's path
// and directory. Returns LoadTypeLib's and RegisterTypeLib's errors.
ATLAPI AtlRegisterTypeLib(HINSTANCE hInstance, LPCOLESTR lpszIndex);
// Removes the registration of the module's type library (UnRegisterTypeLib with its LIBID,
// version, locale and kind).
ATLAPI AtlUnRegisterTypeLib(HINSTANCE hInstance, LPCOLESTR lpszIndex);

namespace ATL {

// ---------------------------------------------------------------------------------------------
// Thread models: how reference counts change.

class CComSingleThreadModel {
 public:
  static ULONG WINAPI Increment(LONG* p) { return static_cast<ULONG>(++*p); }
  static ULONG WINAPI Decrement(LONG* p) { return static_cast<ULONG>(--*p); }
  typedef CComSingleThreadModel ThreadModelNoCS;
};

class CComMultiThreadModel {
 public:
  static ULONG WINAPI Increment(LONG* p) {
    return static_cast<ULONG>(__atomic_add_fetch(p, 1, __ATOMIC_ACQ_REL));
  }
  static ULONG WINAPI Decrement(LONG* p) {
    return static_cast<ULONG>(__atomic_sub_fetch(p, 1, __ATOMIC_ACQ_REL));
  }
  typedef CComMultiThreadModel ThreadModelNoCS;
};

typedef CComMultiThreadModel CComGlobalsThreadModel;
typedef CComSingleThreadModel CComObjectThreadModel;

// ---------------------------------------------------------------------------------------------
// The registrar: runs a registry script for registration or unregistration.
//
// Script: root keys (HKCR, HKCU, HKLM and their long names) each with a braced body of
// keys. A key: optional NoRemove, ForceRemove or Delete, its name (a bare word or a quoted
// 'text' with '' for a quote), optionally "= s 'text'" (or d 'number', b 'hex bytes') as its
// default value, optionally a braced body of subkeys and "val name = s|d|b ..." values. Tokens
// are separated by white space. %NAME% is replaced by the replacement added under NAME, %% by
// a single percent sign.
// Registration creates every key (ForceRemove deletes the existing tree first; Delete deletes
// the key) and sets its values. Unregistration deletes the keys of the script: ForceRemove keys
// with their whole tree, NoRemove keys never (their listed subkeys and values are removed),
// other keys after their listed subkeys when no subkey that the script does not name is left.
// A failed registration is rolled back by unregistering the same script.
struct _ATL_REGMAP_ENTRY {
  LPCOLESTR szKey;
  LPCOLESTR szData;
};

class CLASSLIB_API CRegObject {
 public:
  CRegObject();
  ~CRegObject();
  CRegObject(const CRegObject&) = delete;
  CRegObject& operator=(const CRegObject&) = delete;

  // Adds (or replaces) the replacement for %key%. Returns S_OK, E_INVALIDARG for null.
  HRESULT AddReplacement(LPCOLESTR key, LPCOLESTR item);
  HRESULT ClearReplacements();

  // The script text. Returns S_OK; DISP_E_EXCEPTION for a script that does not parse or names
  // an unknown replacement; the registry's error as HRESULT_FROM_WIN32.
  HRESULT StringRegister(LPCOLESTR data);
  HRESULT StringUnregister(LPCOLESTR data);

  // The script held by resource nID of type szType (usually "REGISTRY") in the module named
  // resFileName (a loaded module, or a file loaded as data for the call); the bytes are UTF-8
  // or UTF-16 with its byte-order mark. Returns HRESULT_FROM_WIN32 of the loader's error when
  // the module or resource is missing, else as StringRegister.
  HRESULT ResourceRegister(LPCOLESTR resFileName, UINT nID, LPCOLESTR szType);
  HRESULT ResourceUnregister(LPCOLESTR resFileName, UINT nID, LPCOLESTR szType);

 private:
  HRESULT RunResource(LPCOLESTR resFileName, UINT nID, LPCOLESTR szType, bool doRegister);
  struct Impl;
  Impl* m_impl;
};

// ---------------------------------------------------------------------------------------------
// The module: the DLL's lock count, its object map and registration.

typedef HRESULT(WINAPI _ATL_CREATORFUNC)(void* pv, REFIID riid, LPVOID* ppv);

// One class of the DLL. The map is a singly linked list built during static construction
// (OBJECT_ENTRY_AUTO); the class factory is created on first request and kept until the
// module ends.
struct _ATL_OBJMAP_ENTRY {
  const CLSID* pclsid;
  HRESULT(WINAPI* pfnUpdateRegistry)(BOOL bRegister);
  _ATL_CREATORFUNC* pfnGetClassObject;
  _ATL_CREATORFUNC* pfnCreateInstance;
  IUnknown* pCF;
  _ATL_OBJMAP_ENTRY* pNext;
};

// The DLL's handle, set by the module's entry point.
struct CAtlBaseModule {
  HINSTANCE m_hInst = nullptr;
  HINSTANCE m_hInstResource = nullptr;
  HINSTANCE GetModuleInstance() const { return m_hInst; }
  HINSTANCE GetResourceInstance() const { return m_hInstResource ? m_hInstResource : m_hInst; }
};

class CAtlModule;
inline constinit CAtlModule* _pAtlModule = nullptr;
inline constinit CAtlBaseModule _AtlBaseModule{};
inline constinit _ATL_OBJMAP_ENTRY* _AtlObjMapHead = nullptr;
// Functions run when the module ends (type-information caches release here).
struct _ATL_TERMFUNC_ELEM {
  void(WINAPI* pFunc)(DWORD_PTR dw);
  DWORD_PTR dw;
  _ATL_TERMFUNC_ELEM* pNext;
};

class CAtlModule {
 public:
  CAtlModule() { _pAtlModule = this; }
  virtual ~CAtlModule() {
    Term();
    if (_pAtlModule == this) _pAtlModule = nullptr;
  }
  CAtlModule(const CAtlModule&) = delete;
  CAtlModule& operator=(const CAtlModule&) = delete;

  virtual LONG Lock() { return static_cast<LONG>(CComGlobalsThreadModel::Increment(&m_nLockCnt)); }
  virtual LONG Unlock() { return static_cast<LONG>(CComGlobalsThreadModel::Decrement(&m_nLockCnt)); }
  virtual LONG GetLockCount() { return __atomic_load_n(&m_nLockCnt, __ATOMIC_ACQUIRE); }

  // Adds the module's own replacements (%APPID%) to a registrar; %MODULE% is added by
  // UpdateRegistryFromResource.
  virtual HRESULT AddCommonRGSReplacements(CRegObject* pRegistrar) = 0;

  // Runs the REGISTRY resource nResID of this DLL with %MODULE% (the DLL's path), the common
  // replacements and pMapEntries (ended by a null key).
  HRESULT UpdateRegistryFromResource(UINT nResID, BOOL bRegister,
                                     const _ATL_REGMAP_ENTRY* pMapEntries = nullptr) {
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(_AtlBaseModule.GetModuleInstance(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return E_FAIL;
    CRegObject registrar;
    HRESULT hr = registrar.AddReplacement(OLESTR("MODULE"), path);
    if (SUCCEEDED(hr)) hr = AddCommonRGSReplacements(&registrar);
    for (const _ATL_REGMAP_ENTRY* entry = pMapEntries; SUCCEEDED(hr) && entry && entry->szKey; ++entry)
      hr = registrar.AddReplacement(entry->szKey, entry->szData);
    if (FAILED(hr)) return hr;
    return bRegister ? registrar.ResourceRegister(path, nResID, OLESTR("REGISTRY"))
                     : registrar.ResourceUnregister(path, nResID, OLESTR("REGISTRY"));
  }

  HRESULT AddTermFunc(void(WINAPI* pFunc)(DWORD_PTR dw), DWORD_PTR dw) {
    auto* elem = new (std::nothrow) _ATL_TERMFUNC_ELEM{pFunc, dw, m_pTermFuncs};
    if (!elem) return E_OUTOFMEMORY;
    m_pTermFuncs = elem;
    return S_OK;
  }

  // Runs the term functions and releases the cached class factories (once).
  void Term() {
    while (_ATL_TERMFUNC_ELEM* elem = m_pTermFuncs) {
      m_pTermFuncs = elem->pNext;
      elem->pFunc(elem->dw);
      delete elem;
    }
    for (_ATL_OBJMAP_ENTRY* entry = _AtlObjMapHead; entry; entry = entry->pNext)
      if (IUnknown* factory = entry->pCF) {
        entry->pCF = nullptr;
        factory->Release();
      }
  }

  static GUID m_libid;

 protected:
  LONG m_nLockCnt = 0;
  _ATL_TERMFUNC_ELEM* m_pTermFuncs = nullptr;
};
inline constinit GUID CAtlModule::m_libid = GUID{};  // GUID_NULL, which is not a constant everywhere

// Adds an entry to the object map during static construction.
struct CAtlObjMapAutoEntry {
  explicit CAtlObjMapAutoEntry(_ATL_OBJMAP_ENTRY* entry) {
    entry->pNext = _AtlObjMapHead;
    _AtlObjMapHead = entry;
  }
};

template <class T>
class CAtlModuleT : public CAtlModule {
 public:
  CAtlModuleT() { T::InitLibId(); }

  static void InitLibId() {}
  static LPCOLESTR GetAppId() { return OLESTR(""); }
  // The module's own script (DECLARE_REGISTRY_APPID_RESOURCEID); none by default.
  static HRESULT WINAPI UpdateRegistryAppId(BOOL) { return S_OK; }

  HRESULT AddCommonRGSReplacements(CRegObject* pRegistrar) override {
    return pRegistrar->AddReplacement(OLESTR("APPID"), T::GetAppId());
  }

  // The module's script, every class's script (pCLSID: only that class) and, with the flag,
  // the type library.
  HRESULT RegisterServer(BOOL bRegTypeLib = FALSE, const CLSID* pCLSID = nullptr) {
    HRESULT hr = T::UpdateRegistryAppId(TRUE);
    for (_ATL_OBJMAP_ENTRY* entry = _AtlObjMapHead; SUCCEEDED(hr) && entry; entry = entry->pNext)
      if (!pCLSID || *pCLSID == *entry->pclsid) hr = entry->pfnUpdateRegistry(TRUE);
    if (SUCCEEDED(hr) && bRegTypeLib) hr = AtlRegisterTypeLib(_AtlBaseModule.GetModuleInstance(), nullptr);
    return hr;
  }

  // Every class's script run for unregistration, the type library's registration removed, and
  // the module's script. Goes on after a failure and returns the first one.
  HRESULT UnregisterServer(BOOL bUnRegTypeLib, const CLSID* pCLSID = nullptr) {
    HRESULT result = S_OK;
    for (_ATL_OBJMAP_ENTRY* entry = _AtlObjMapHead; entry; entry = entry->pNext)
      if (!pCLSID || *pCLSID == *entry->pclsid) {
        const HRESULT hr = entry->pfnUpdateRegistry(FALSE);
        if (SUCCEEDED(result)) result = hr;
      }
    if (bUnRegTypeLib) {
      const HRESULT hr = AtlUnRegisterTypeLib(_AtlBaseModule.GetModuleInstance(), nullptr);
      if (SUCCEEDED(result)) result = hr;
    }
    const HRESULT hr = T::UpdateRegistryAppId(FALSE);
    return SUCCEEDED(result) ? hr : result;
  }
};

// The module of an in-process server: the bodies of the four DLL exports.
template <class T>
class CAtlDllModuleT : public CAtlModuleT<T> {
 public:
  // Entry point of the DLL (called from the DLL's own DllMain or attach hook): detach ends the
  // module (term functions, cached class factories).
  BOOL WINAPI DllMain(DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_DETACH) this->Term();
    return TRUE;
  }

  // S_OK while no object, factory reference or server lock is alive; S_FALSE otherwise.
  HRESULT DllCanUnloadNow() { return this->GetLockCount() == 0 ? S_OK : S_FALSE; }

  // The class factory of rclsid from the object map (created on the first request). Returns
  // S_OK, CLASS_E_CLASSNOTAVAILABLE for a class the DLL does not serve, E_POINTER, the
  // factory's QueryInterface error.
  HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (_ATL_OBJMAP_ENTRY* entry = _AtlObjMapHead; entry; entry = entry->pNext) {
      if (*entry->pclsid != rclsid) continue;
      if (!entry->pCF) {
        const HRESULT hr = entry->pfnGetClassObject(reinterpret_cast<void*>(entry->pfnCreateInstance),
                                                    IID_IUnknown, reinterpret_cast<void**>(&entry->pCF));
        if (FAILED(hr)) return hr;
      }
      return entry->pCF->QueryInterface(riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
  }

  HRESULT DllRegisterServer(BOOL bRegTypeLib = TRUE) { return this->RegisterServer(bRegTypeLib); }
  HRESULT DllUnregisterServer(BOOL bUnRegTypeLib = TRUE) { return this->UnregisterServer(bUnRegTypeLib); }
};

// ---------------------------------------------------------------------------------------------
// The object root: the reference count, or the outer object when aggregated.

class CComObjectRootBase {
 public:
  HRESULT FinalConstruct() { return S_OK; }
  void FinalRelease() {}
  void SetVoid(void*) {}
  void InternalFinalConstructAddRef() {}
  void InternalFinalConstructReleaseFn() {}

  static HRESULT WINAPI InternalQueryInterface(void* pThis, const _ATL_INTMAP_ENTRY* pEntries, REFIID iid,
                                               void** ppvObject) {
    return AtlInternalQueryInterface(pThis, pEntries, iid, ppvObject);
  }

  ULONG OuterAddRef() { return m_pOuterUnknown->AddRef(); }
  ULONG OuterRelease() { return m_pOuterUnknown->Release(); }
  HRESULT OuterQueryInterface(REFIID iid, void** ppvObject) {
    return m_pOuterUnknown->QueryInterface(iid, ppvObject);
  }

  union {
    LONG m_dwRef = 0;
    IUnknown* m_pOuterUnknown;
  };
};

template <class ThreadModel>
class CComObjectRootEx : public CComObjectRootBase {
 public:
  typedef ThreadModel _ThreadModel;

  ULONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
  // Asserts (in debug builds) on a release below zero.
  ULONG InternalRelease() {
    const ULONG remaining = ThreadModel::Decrement(&m_dwRef);
#ifndef NDEBUG
    if (static_cast<LONG>(remaining) < 0 && static_cast<LONG>(remaining) > -(0x3FFFFFFF)) __builtin_trap();
#endif
    return remaining;
  }
  // While FinalConstruct runs the count is held up, so that an AddRef/Release pair inside it
  // does not destroy the object.
  void InternalFinalConstructAddRef() {
    InternalAddRef();
  }
  void InternalFinalConstructReleaseFn() {
    InternalRelease();
  }
};

// The offset of base class `base` in `derived` (the interface map's dw).
#define offsetofclass(base, derived) \
  (reinterpret_cast<DWORD_PTR>(static_cast<base*>(reinterpret_cast<derived*>(8))) - 8)

#define BEGIN_COM_MAP(x)                                                                       \
 public:                                                                                       \
  typedef x _ComMapClass;                                                                      \
  IUnknown* _GetRawUnknown() {                                                                 \
    return reinterpret_cast<IUnknown*>(reinterpret_cast<DWORD_PTR>(this) + _GetEntries()->dw); \
  }                                                                                            \
  HRESULT _InternalQueryInterface(REFIID iid, void** ppvObject) {                              \
    return this->InternalQueryInterface(this, _GetEntries(), iid, ppvObject);                  \
  }                                                                                            \
  static const ::ATL::_ATL_INTMAP_ENTRY* WINAPI _GetEntries() {                                \
    static const ::ATL::_ATL_INTMAP_ENTRY _entries[] = {
#define COM_INTERFACE_ENTRY_IID(iid, x) {&(iid), offsetofclass(x, _ComMapClass), _ATL_SIMPLEMAPENTRY},
#define COM_INTERFACE_ENTRY(x) COM_INTERFACE_ENTRY_IID(__uuidof(x), x)
// x reached through x2 (for an interface inherited along several paths, e.g. IDispatch).
#define COM_INTERFACE_ENTRY2(x, x2)                                                                        \
  {&__uuidof(x),                                                                                           \
   reinterpret_cast<DWORD_PTR>(static_cast<x*>(static_cast<x2*>(reinterpret_cast<_ComMapClass*>(8)))) - 8, \
   _ATL_SIMPLEMAPENTRY},
#define END_COM_MAP()                        \
  { nullptr, 0, nullptr }                    \
  }                                          \
  ;                                          \
  return _entries;                           \
  }                                          \
  STDMETHOD_(ULONG, AddRef)() override = 0;  \
  STDMETHOD_(ULONG, Release)() override = 0; \
  STDMETHOD(QueryInterface)(REFIID, void**) override = 0;

// ---------------------------------------------------------------------------------------------
// The objects that complete a class: reference counting and QueryInterface.

// A stand-alone object; it holds a lock on the module for its life.
template <class Base>
class CComObject : public Base {
 public:
  typedef Base _BaseClass;
  explicit CComObject(void* = nullptr) {
    if (_pAtlModule) _pAtlModule->Lock();
  }
  virtual ~CComObject() {
    this->m_dwRef = -(0x3FFFFFFF);
    this->FinalRelease();
    if (_pAtlModule) _pAtlModule->Unlock();
  }
  STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG remaining = this->InternalRelease();
    if (remaining == 0) delete this;
    return remaining;
  }
  STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
    return this->_InternalQueryInterface(iid, ppvObject);
  }

  // A new object with a count of 0 after FinalConstruct. Returns S_OK, E_OUTOFMEMORY,
  // E_POINTER, or FinalConstruct's failure (the object is then deleted).
  static HRESULT WINAPI CreateInstance(CComObject<Base>** pp) {
    if (!pp) return E_POINTER;
    *pp = nullptr;
    auto* p = new (std::nothrow) CComObject<Base>();
    if (!p) return E_OUTOFMEMORY;
    p->SetVoid(nullptr);
    p->InternalFinalConstructAddRef();
    HRESULT hr = p->FinalConstruct();
    p->InternalFinalConstructReleaseFn();
    if (FAILED(hr)) {
      delete p;
      return hr;
    }
    *pp = p;
    return S_OK;
  }
};

// A class factory's object: the reference the module's cache holds does not lock the module;
// every further reference does.
template <class Base>
class CComObjectCached : public Base {
 public:
  explicit CComObjectCached(void* = nullptr) {}
  virtual ~CComObjectCached() {
    this->m_dwRef = -(0x3FFFFFFF);
    this->FinalRelease();
  }
  STDMETHOD_(ULONG, AddRef)() override {
    const ULONG count = this->InternalAddRef();
    if (count == 2 && _pAtlModule) _pAtlModule->Lock();
    return count;
  }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG count = this->InternalRelease();
    if (count == 0)
      delete this;
    else if (count == 1 && _pAtlModule)
      _pAtlModule->Unlock();
    return count;
  }
  STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
    return this->_InternalQueryInterface(iid, ppvObject);
  }
};

// The class inside an aggregate: IUnknown goes to the outer object.
template <class Base>
class CComContainedObject : public Base {
 public:
  typedef Base _BaseClass;
  explicit CComContainedObject(void* pv) { this->m_pOuterUnknown = static_cast<IUnknown*>(pv); }
  STDMETHOD_(ULONG, AddRef)() override { return this->OuterAddRef(); }
  STDMETHOD_(ULONG, Release)() override { return this->OuterRelease(); }
  STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
    return this->OuterQueryInterface(iid, ppvObject);
  }
  IUnknown* GetControllingUnknown() { return this->m_pOuterUnknown; }
};

// The outer IUnknown of an aggregated or aggregatable object: it counts references and answers
// the class's interfaces from the contained object, whose IUnknown is the controlling one.
template <class contained>
class CComOuterObject : public IUnknown,
                        public CComObjectRootEx<typename contained::_ThreadModel::ThreadModelNoCS> {
 public:
  virtual ~CComOuterObject() {
    this->m_dwRef = -(0x3FFFFFFF);
    m_contained.FinalRelease();
    if (_pAtlModule) _pAtlModule->Unlock();
  }
  CComOuterObject(const CComOuterObject&) = delete;
  CComOuterObject& operator=(const CComOuterObject&) = delete;

  void SetVoid(void* pv) { m_contained.SetVoid(pv); }
  HRESULT FinalConstruct() { return m_contained.FinalConstruct(); }
  STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG remaining = this->InternalRelease();
    if (remaining == 0) delete this;
    return remaining;
  }
  STDMETHOD(QueryInterface)(REFIID iid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    *ppvObject = nullptr;
    if (iid == IID_IUnknown) {
      *ppvObject = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return m_contained._InternalQueryInterface(iid, ppvObject);
  }

  CComContainedObject<contained> m_contained;

 protected:
  // outer: the controlling IUnknown; null makes this object its own controlling IUnknown
  // (the IUnknown base is constructed before the member that receives it).
  explicit CComOuterObject(void* outer) : m_contained(outer ? outer : static_cast<IUnknown*>(this)) {
    if (_pAtlModule) _pAtlModule->Lock();
  }
};

// An aggregated object: created only with an outer object.
template <class contained>
class CComAggObject : public CComOuterObject<contained> {
 public:
  explicit CComAggObject(void* pv) : CComOuterObject<contained>(pv) {}
};

// Aggregated or not, decided at creation: without an outer object its own IUnknown is the
// outer one.
template <class contained>
class CComPolyObject : public CComOuterObject<contained> {
 public:
  explicit CComPolyObject(void* pv) : CComOuterObject<contained>(pv) {}
};

// Creators: make an object of T for the class factory, with pv as the outer object (or, for a
// class factory, as its creation function).
template <class T>
class CComCreator {
 public:
  static HRESULT WINAPI CreateInstance(void* pv, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    T* p = new (std::nothrow) T(pv);
    if (!p) return E_OUTOFMEMORY;
    p->SetVoid(pv);
    p->InternalFinalConstructAddRef();
    HRESULT hr = p->FinalConstruct();
    p->InternalFinalConstructReleaseFn();
    if (SUCCEEDED(hr)) hr = p->QueryInterface(riid, ppv);
    if (FAILED(hr)) delete p;
    return hr;
  }
};

template <HRESULT hr>
class CComFailCreator {
 public:
  static HRESULT WINAPI CreateInstance(void*, REFIID, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return hr;
  }
};

// T1 without an outer object, T2 with one.
template <class T1, class T2>
class CComCreator2 {
 public:
  static HRESULT WINAPI CreateInstance(void* pv, REFIID riid, LPVOID* ppv) {
    return pv ? T2::CreateInstance(pv, riid, ppv) : T1::CreateInstance(nullptr, riid, ppv);
  }
};

// The class factory of the object map.
class CComClassFactory : public IClassFactory, public CComObjectRootEx<CComGlobalsThreadModel> {
 public:
  BEGIN_COM_MAP(CComClassFactory)
  COM_INTERFACE_ENTRY(IClassFactory)
  END_COM_MAP()
  virtual ~CComClassFactory() = default;

  // An outer object may only ask for IUnknown (CLASS_E_NOAGGREGATION otherwise); the creator
  // decides whether the class can be aggregated.
  STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObj) override {
    if (!ppvObj) return E_POINTER;
    *ppvObj = nullptr;
    if (pUnkOuter && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    return m_pfnCreateInstance(pUnkOuter, riid, ppvObj);
  }
  STDMETHOD(LockServer)(BOOL fLock) override {
    if (_pAtlModule) fLock ? _pAtlModule->Lock() : _pAtlModule->Unlock();
    return S_OK;
  }
  void SetVoid(void* pv) { m_pfnCreateInstance = reinterpret_cast<_ATL_CREATORFUNC*>(pv); }

  _ATL_CREATORFUNC* m_pfnCreateInstance = nullptr;
};

#define DECLARE_CLASSFACTORY() \
  typedef ::ATL::CComCreator<::ATL::CComObjectCached<::ATL::CComClassFactory>> _ClassFactoryCreatorClass;
#define DECLARE_AGGREGATABLE(x)                                            \
 public:                                                                   \
  typedef ::ATL::CComCreator2<::ATL::CComCreator<::ATL::CComObject<x>>,    \
                              ::ATL::CComCreator<::ATL::CComAggObject<x>>> \
      _CreatorClass;
#define DECLARE_NOT_AGGREGATABLE(x)                                          \
 public:                                                                     \
  typedef ::ATL::CComCreator2<::ATL::CComCreator<::ATL::CComObject<x>>,      \
                              ::ATL::CComFailCreator<CLASS_E_NOAGGREGATION>> \
      _CreatorClass;
#define DECLARE_POLY_AGGREGATABLE(x) \
 public:                             \
  typedef ::ATL::CComCreator<::ATL::CComPolyObject<x>> _CreatorClass;
#define DECLARE_PROTECT_FINAL_CONSTRUCT()

// The class's script: REGISTRY resource x of the DLL.
#define DECLARE_REGISTRY_RESOURCEID(x)                                   \
  static HRESULT WINAPI UpdateRegistry(BOOL bRegister) {                 \
    return ::ATL::_pAtlModule->UpdateRegistryFromResource(x, bRegister); \
  }
#define DECLARE_NO_REGISTRY()                  \
  static HRESULT WINAPI UpdateRegistry(BOOL) { \
    return S_OK;                               \
  }

// The module's LIBID, and its AppID script (REGISTRY resource resid with %APPID%).
#define DECLARE_LIBID(libid)            \
  static void InitLibId() {             \
    ::ATL::CAtlModule::m_libid = libid; \
  }
#define DECLARE_REGISTRY_APPID_RESOURCEID(resid, appid)                                             \
  static LPCOLESTR GetAppId() {                                                                     \
    return OLESTR(appid);                                                                           \
  }                                                                                                 \
  static HRESULT WINAPI UpdateRegistryAppId(BOOL bRegister) {                                       \
    const ::ATL::_ATL_REGMAP_ENTRY entries[] = {{OLESTR("APPID"), GetAppId()}, {nullptr, nullptr}}; \
    return ::ATL::_pAtlModule->UpdateRegistryFromResource(resid, bRegister, entries);               \
  }

// The class's coclass part: its CLSID, creators, class factory and error helper.
template <class T, const CLSID* pclsid = &CLSID_NULL>
class CComCoClass {
 public:
  DECLARE_CLASSFACTORY()
  DECLARE_AGGREGATABLE(T)
  static const CLSID& WINAPI GetObjectCLSID() { return *pclsid; }
  static LPCOLESTR WINAPI GetObjectDescription() { return nullptr; }

  // Reports the error as the thread's error object (AtlReportError with this class's CLSID)
  // and returns hRes.
  static HRESULT WINAPI Error(LPCOLESTR lpszDesc, const IID& iid = GUID_NULL, HRESULT hRes = 0) {
    return AtlReportError(GetObjectCLSID(), lpszDesc, iid, hRes);
  }

  // A new object of the class asked for Q.
  template <class Q>
  static HRESULT CreateInstance(IUnknown* punkOuter, Q** pp) {
    return T::_CreatorClass::CreateInstance(punkOuter, __uuidof(Q), reinterpret_cast<void**>(pp));
  }
  template <class Q>
  static HRESULT CreateInstance(Q** pp) {
    return T::_CreatorClass::CreateInstance(nullptr, __uuidof(Q), reinterpret_cast<void**>(pp));
  }
};

}  // namespace ATL

// One class in the DLL's object map.
#define OBJECT_ENTRY_AUTO(clsid, class)                                                                  \
  inline ::ATL::_ATL_OBJMAP_ENTRY __objMap_##class = {&(clsid),                                          \
                                                      class ::UpdateRegistry,                            \
                                                      class ::_ClassFactoryCreatorClass::CreateInstance, \
                                                      class ::_CreatorClass::CreateInstance,             \
                                                      nullptr,                                           \
                                                      nullptr};                                          \
  static const ::ATL::CAtlObjMapAutoEntry __objMapAuto_##class(&__objMap_##class);

using namespace ATL;
