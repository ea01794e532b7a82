// The class library's automation support: IDispatch over a registered type library, and
// connectable objects: connection points, their container and event sinks.
#pragma once

#include <atomic>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "atlbase.h"
#include "ocidl.h"
#include "olectl.h"

namespace ATL {

// The type information of one interface, loaded on first use from the registered type library
// (LoadRegTypeLib) and kept until the module ends.
class CComTypeInfoHolder {
 public:
  const GUID* m_pguid;
  const GUID* m_plibid;
  WORD m_wMajor;
  WORD m_wMinor;
  ITypeInfo* m_pInfo;

  HRESULT GetTI(LCID lcid, ITypeInfo** ppInfo) {
    if (!ppInfo) return E_POINTER;
    *ppInfo = nullptr;
    if (!m_pInfo) {
      ITypeLib* lib = nullptr;
      HRESULT hr = LoadRegTypeLib(*m_plibid, m_wMajor, m_wMinor, lcid, &lib);
      if (FAILED(hr)) return hr;
      hr = lib->GetTypeInfoOfGuid(*m_pguid, &m_pInfo);
      lib->Release();
      if (FAILED(hr)) return hr;
      if (_pAtlModule) _pAtlModule->AddTermFunc(Cleanup, reinterpret_cast<DWORD_PTR>(this));
    }
    *ppInfo = m_pInfo;
    m_pInfo->AddRef();
    return S_OK;
  }

  // itinfo: 0 only (DISP_E_BADINDEX otherwise).
  HRESULT GetTypeInfo(UINT itinfo, LCID lcid, ITypeInfo** pptinfo) {
    if (!pptinfo) return E_POINTER;
    *pptinfo = nullptr;
    if (itinfo != 0) return DISP_E_BADINDEX;
    return GetTI(lcid, pptinfo);
  }

  HRESULT GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgdispid) {
    ITypeInfo* info = nullptr;
    HRESULT hr = GetTI(lcid, &info);
    if (FAILED(hr)) return hr;
    hr = info->GetIDsOfNames(rgszNames, cNames, rgdispid);
    info->Release();
    return hr;
  }

  HRESULT Invoke(IDispatch* p, DISPID dispidMember, REFIID, LCID lcid, WORD wFlags, DISPPARAMS* pdispparams,
                 VARIANT* pvarResult, EXCEPINFO* pexcepinfo, UINT* puArgErr) {
    ITypeInfo* info = nullptr;
    HRESULT hr = GetTI(lcid, &info);
    if (FAILED(hr)) return hr;
    hr = info->Invoke(p, dispidMember, wFlags, pdispparams, pvarResult, pexcepinfo, puArgErr);
    info->Release();
    return hr;
  }

  static void WINAPI Cleanup(DWORD_PTR dw) {
    auto* holder = reinterpret_cast<CComTypeInfoHolder*>(dw);
    if (holder->m_pInfo) holder->m_pInfo->Release();
    holder->m_pInfo = nullptr;
  }
};

// IDispatch of the dual interface T, described in the type library plibid (version wMajor.wMinor).
template <class T, const IID* piid = &__uuidof(T), const GUID* plibid = &CAtlModule::m_libid, WORD wMajor = 1,
          WORD wMinor = 0>
class IDispatchImpl : public T {
 public:
  STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 1;
    return S_OK;
  }
  STDMETHOD(GetTypeInfo)(UINT itinfo, LCID lcid, ITypeInfo** pptinfo) override {
    return _tih.GetTypeInfo(itinfo, lcid, pptinfo);
  }
  STDMETHOD(GetIDsOfNames)
  (REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgdispid) override {
    return _tih.GetIDsOfNames(riid, rgszNames, cNames, lcid, rgdispid);
  }
  STDMETHOD(Invoke)
  (DISPID dispidMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pdispparams, VARIANT* pvarResult,
   EXCEPINFO* pexcepinfo, UINT* puArgErr) override {
    return _tih.Invoke(static_cast<IDispatch*>(static_cast<T*>(this)), dispidMember, riid, lcid, wFlags,
                       pdispparams, pvarResult, pexcepinfo, puArgErr);
  }

  static inline CComTypeInfoHolder _tih = {piid, plibid, wMajor, wMinor, nullptr};
};

// ---------------------------------------------------------------------------------------------
// Enumerators over a snapshot: Next hands out copies (interfaces AddRef'd) that the caller
// releases.

template <class Item>
struct _AtlItemCopy;
template <>
struct _AtlItemCopy<IConnectionPoint*> {
  static void Copy(IConnectionPoint** to, IConnectionPoint* const* from) { (*to = *from)->AddRef(); }
  static void Destroy(IConnectionPoint** item) { (*item)->Release(); }
};
template <>
struct _AtlItemCopy<CONNECTDATA> {
  static void Copy(CONNECTDATA* to, const CONNECTDATA* from) {
    *to = *from;
    to->pUnk->AddRef();
  }
  static void Destroy(CONNECTDATA* item) { item->pUnk->Release(); }
};

template <class Base, const IID* piid, class Item>
class CComEnumSnapshot final : public Base {
 public:
  explicit CComEnumSnapshot(std::vector<Item> items, size_t position = 0)
      : m_items(std::move(items)), m_position(position) {
    for (Item& item : m_items) _AtlItemCopy<Item>::Copy(&item, &item);
    if (_pAtlModule) _pAtlModule->Lock();
  }
  ~CComEnumSnapshot() {
    for (Item& item : m_items) _AtlItemCopy<Item>::Destroy(&item);
    if (_pAtlModule) _pAtlModule->Unlock();
  }
  CComEnumSnapshot(const CComEnumSnapshot&) = delete;
  CComEnumSnapshot& operator=(const CComEnumSnapshot&) = delete;

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != *piid) return E_NOINTERFACE;
    *ppv = static_cast<Base*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++m_refs; }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG remaining = --m_refs;
    if (remaining == 0) delete this;
    return remaining;
  }
  // S_OK when celt items were handed out, S_FALSE when fewer were left.
  STDMETHOD(Next)(ULONG celt, Item* rgelt, ULONG* pceltFetched) override {
    if (!rgelt || (celt > 1 && !pceltFetched)) return E_POINTER;
    ULONG fetched = 0;
    while (fetched < celt && m_position < m_items.size())
      _AtlItemCopy<Item>::Copy(&rgelt[fetched++], &m_items[m_position++]);
    if (pceltFetched) *pceltFetched = fetched;
    return fetched == celt ? S_OK : S_FALSE;
  }
  STDMETHOD(Skip)(ULONG celt) override {
    const size_t left = m_items.size() - m_position;
    m_position += celt < left ? celt : left;
    return celt <= left ? S_OK : S_FALSE;
  }
  STDMETHOD(Reset)() override {
    m_position = 0;
    return S_OK;
  }
  STDMETHOD(Clone)(Base** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    *ppEnum = new (std::nothrow) CComEnumSnapshot(m_items, m_position);
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::atomic<ULONG> m_refs{1};
  std::vector<Item> m_items;
  size_t m_position;
};

// ---------------------------------------------------------------------------------------------
// Connection points. A class derives from IConnectionPointImpl<T, &DIID> for each outgoing
// interface and from IConnectionPointContainerImpl<T>, lists them in its connection point map
// and answers IConnectionPointContainer in its interface map. The connection point is an
// object inside the class whose references are the class's.

template <class T, const IID* piid>
class IConnectionPointImpl {
 public:
  IConnectionPointImpl() : m_point(this) {}
  ~IConnectionPointImpl() {
    for (IUnknown* sink : m_vec)
      if (sink) sink->Release();
  }
  IConnectionPointImpl(const IConnectionPointImpl&) = delete;
  IConnectionPointImpl& operator=(const IConnectionPointImpl&) = delete;

  IConnectionPoint* GetConnectionPoint() { return &m_point; }

  // The advised sinks (as the outgoing interface); null where one was unadvised. A sink's
  // cookie is its position plus one.
  std::vector<IUnknown*> m_vec;

 private:
  class Point final : public IConnectionPoint {
   public:
    explicit Point(IConnectionPointImpl* owner) : m_owner(owner) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
      if (!ppv) return E_POINTER;
      *ppv = nullptr;
      if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
      *ppv = static_cast<IConnectionPoint*>(this);
      AddRef();
      return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return Container()->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return Container()->Release(); }
    STDMETHOD(GetConnectionInterface)(IID* pIID) override {
      if (!pIID) return E_POINTER;
      *pIID = *piid;
      return S_OK;
    }
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) override {
      if (!ppCPC) return E_POINTER;
      return Container()->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(ppCPC));
    }
    // The sink must answer the outgoing interface (CONNECT_E_CANNOTCONNECT otherwise).
    STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) override {
      if (!pUnkSink || !pdwCookie) return E_POINTER;
      *pdwCookie = 0;
      IUnknown* sink = nullptr;
      if (FAILED(pUnkSink->QueryInterface(*piid, reinterpret_cast<void**>(&sink))) || !sink)
        return CONNECT_E_CANNOTCONNECT;
      std::vector<IUnknown*>& sinks = m_owner->m_vec;
      size_t slot = 0;
      while (slot < sinks.size() && sinks[slot]) ++slot;
      if (slot == sinks.size()) sinks.push_back(nullptr);
      sinks[slot] = sink;
      *pdwCookie = static_cast<DWORD>(slot + 1);
      return S_OK;
    }
    // CONNECT_E_NOCONNECTION for a cookie that names no advised sink.
    STDMETHOD(Unadvise)(DWORD dwCookie) override {
      std::vector<IUnknown*>& sinks = m_owner->m_vec;
      if (dwCookie == 0 || dwCookie > sinks.size() || !sinks[dwCookie - 1]) return CONNECT_E_NOCONNECTION;
      IUnknown* sink = sinks[dwCookie - 1];
      sinks[dwCookie - 1] = nullptr;
      sink->Release();
      return S_OK;
    }
    STDMETHOD(EnumConnections)(IEnumConnections** ppEnum) override {
      if (!ppEnum) return E_POINTER;
      std::vector<CONNECTDATA> connections;
      for (size_t i = 0; i < m_owner->m_vec.size(); ++i)
        if (m_owner->m_vec[i]) connections.push_back({m_owner->m_vec[i], static_cast<DWORD>(i + 1)});
      *ppEnum = new (std::nothrow)
          CComEnumSnapshot<IEnumConnections, &IID_IEnumConnections, CONNECTDATA>(std::move(connections));
      return *ppEnum ? S_OK : E_OUTOFMEMORY;
    }

   private:
    IUnknown* Container() { return static_cast<T*>(m_owner)->_GetRawUnknown(); }
    IConnectionPointImpl* m_owner;
  };

  Point m_point;
};

struct _ATL_CONNMAP_ENTRY {
  const IID* piid;
  IConnectionPoint* (*pfnGet)(void* pThis);
};

#define BEGIN_CONNECTION_POINT_MAP(x)                    \
  typedef x _atl_conn_classtype;                         \
  static const ::ATL::_ATL_CONNMAP_ENTRY* GetConnMap() { \
    static const ::ATL::_ATL_CONNMAP_ENTRY _entries[] = {
#define CONNECTION_POINT_ENTRY(iid)                                                 \
  {&(iid), [](void* p) -> IConnectionPoint* {                                       \
     return static_cast<::ATL::IConnectionPointImpl<_atl_conn_classtype, &(iid)>*>( \
                static_cast<_atl_conn_classtype*>(p))                               \
         ->GetConnectionPoint();                                                    \
   }},
#define END_CONNECTION_POINT_MAP() \
  { nullptr, nullptr }             \
  }                                \
  ;                                \
  return _entries;                 \
  }

// The container: finds a connection point by its outgoing interface in the class's map.
template <class T>
class IConnectionPointContainerImpl : public IConnectionPointContainer {
 public:
  // CONNECT_E_NOCONNECTION for an interface the map does not list.
  STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) override {
    if (!ppCP) return E_POINTER;
    *ppCP = nullptr;
    for (const _ATL_CONNMAP_ENTRY* entry = T::GetConnMap(); entry->piid; ++entry)
      if (*entry->piid == riid) {
        *ppCP = entry->pfnGet(static_cast<T*>(this));
        (*ppCP)->AddRef();
        return S_OK;
      }
    return CONNECT_E_NOCONNECTION;
  }
  STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** ppEnum) override {
    if (!ppEnum) return E_POINTER;
    std::vector<IConnectionPoint*> points;
    for (const _ATL_CONNMAP_ENTRY* entry = T::GetConnMap(); entry->piid; ++entry)
      points.push_back(entry->pfnGet(static_cast<T*>(this)));
    *ppEnum = new (std::nothrow)
        CComEnumSnapshot<IEnumConnectionPoints, &IID_IEnumConnectionPoints, IConnectionPoint*>(
            std::move(points));
    return *ppEnum ? S_OK : E_OUTOFMEMORY;
  }
};

// ---------------------------------------------------------------------------------------------
// Event sinks: a class receives a source's events on a dispatch interface. Handlers are
// member functions listed in the class's sink map with their parameter types
// (_ATL_FUNC_INFO); the stand-in calls handlers (at most eight parameters) whose parameters
// are integers, booleans, strings, interface pointers or by-reference values, not floating
// point or VARIANTs by value.

struct _ATL_FUNC_INFO {
  int cc;  // calling convention, not used here
  VARTYPE vtReturn;
  SHORT nParams;
  VARTYPE pVarTypes[8];
};

// A handler called with its arguments as machine words, each turned back into the handler's
// parameter type.
template <class P>
P _AtlFromWord(uintptr_t word) {
  if constexpr (std::is_pointer_v<P>)
    return reinterpret_cast<P>(word);
  else
    return static_cast<P>(word);
}

template <auto pfn, class F = decltype(pfn)>
struct _AtlSinkCall;
template <auto pfn, class T, class... A>
struct _AtlSinkCall<pfn, void (T::*)(A...)> {
  static constexpr SHORT kArity = sizeof...(A);
  static void Call(void* object, const uintptr_t* args) {
    CallWith(static_cast<T*>(object), args, std::index_sequence_for<A...>{});
  }
  template <size_t... I>
  static void CallWith(T* object, const uintptr_t* args, std::index_sequence<I...>) {
    (object->*pfn)(_AtlFromWord<A>(args[I])...);
  }
};

struct _ATL_EVENT_ENTRY {
  UINT nControlID;
  const IID* piid;
  DISPID dispid;
  void (*pfnCall)(void* object, const uintptr_t* args);
  SHORT nArity;
  const _ATL_FUNC_INFO* pInfo;
};

#define BEGIN_SINK_MAP(x)                               \
  typedef x _atl_event_classtype;                       \
  static const ::ATL::_ATL_EVENT_ENTRY* _GetSinkMap() { \
    static const ::ATL::_ATL_EVENT_ENTRY _entries[] = {
#define SINK_ENTRY_INFO(id, iid, dispid, fn, info) \
  {id, &(iid), dispid, &::ATL::_AtlSinkCall<fn>::Call, ::ATL::_AtlSinkCall<fn>::kArity, info},
#define END_SINK_MAP()                   \
  { 0, nullptr, 0, nullptr, 0, nullptr } \
  }                                      \
  ;                                      \
  return _entries;                       \
  }

// The sink of source nID for the dispatch interface pdiid. The sink is an object inside the
// class; it is not reference counted (it lives as long as the class's object).
template <UINT nID, class T, const IID* pdiid>
class IDispEventSimpleImpl {
 public:
  IDispEventSimpleImpl() : m_sink(this) {}
  IDispEventSimpleImpl(const IDispEventSimpleImpl&) = delete;
  IDispEventSimpleImpl& operator=(const IDispEventSimpleImpl&) = delete;

  // Advises the sink on the source's connection point for pdiid. Returns the source's
  // QueryInterface, FindConnectionPoint or Advise error.
  HRESULT DispEventAdvise(IUnknown* pUnk, const IID* piid = pdiid) {
    if (!pUnk) return E_POINTER;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = pUnk->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr)) return hr;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(*piid, &point);
    container->Release();
    if (FAILED(hr)) return hr;
    hr = point->Advise(&m_sink, &m_dwEventCookie);
    point->Release();
    return hr;
  }
  HRESULT DispEventUnadvise(IUnknown* pUnk, const IID* piid = pdiid) {
    if (!pUnk) return E_POINTER;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = pUnk->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr)) return hr;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(*piid, &point);
    container->Release();
    if (FAILED(hr)) return hr;
    hr = point->Unadvise(m_dwEventCookie);
    point->Release();
    if (SUCCEEDED(hr)) m_dwEventCookie = 0xFEFEFEFE;
    return hr;
  }

  // The sink's IDispatch (what the source calls).
  IDispatch* GetSink() { return &m_sink; }

  // The sink's type information: none for the simple sink.
  virtual HRESULT GetSinkTypeInfo(LCID, ITypeInfo** pptinfo) {
    if (pptinfo) *pptinfo = nullptr;
    return E_NOTIMPL;
  }

  DWORD m_dwEventCookie = 0xFEFEFEFE;

 protected:
  virtual ~IDispEventSimpleImpl() = default;

 private:
  // Calls the handler of the event with the arguments converted to its parameter types (the
  // arguments arrive in reverse order). An event without a handler is ignored (S_OK).
  HRESULT Dispatch(DISPID dispid, DISPPARAMS* params, VARIANT* result) {
    for (const _ATL_EVENT_ENTRY* entry = T::_GetSinkMap(); entry->piid; ++entry) {
      if (entry->nControlID != nID || *entry->piid != *pdiid || entry->dispid != dispid) continue;
      const _ATL_FUNC_INFO& info = *entry->pInfo;
      constexpr SHORT kMaxParams = 8;
      if (!params || params->cArgs != static_cast<UINT>(info.nParams) || info.nParams != entry->nArity ||
          info.nParams > kMaxParams)
        return DISP_E_BADPARAMCOUNT;
      VARIANT converted[kMaxParams];
      for (VARIANT& v : converted) VariantInit(&v);
      uintptr_t args[kMaxParams] = {};
      HRESULT hr = S_OK;
      for (SHORT i = 0; i < info.nParams && SUCCEEDED(hr); ++i) {
        VARIANT& given = params->rgvarg[params->cArgs - 1 - i];
        const VARTYPE vt = info.pVarTypes[i];
        if (vt & VT_BYREF) {
          if (V_VT(&given) != vt) hr = DISP_E_TYPEMISMATCH;
          args[i] = reinterpret_cast<uintptr_t>(V_BYREF(&given));
        } else if (vt == VT_R4 || vt == VT_R8 || vt == VT_VARIANT || vt == VT_DECIMAL || vt == VT_CY ||
                   vt == VT_DATE) {
          hr = DISP_E_BADVARTYPE;
        } else if (SUCCEEDED(hr = VariantChangeType(&converted[i], &given, 0, vt))) {
          switch (vt) {
            case VT_BSTR:
              args[i] = reinterpret_cast<uintptr_t>(V_BSTR(&converted[i]));
              break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
              args[i] = reinterpret_cast<uintptr_t>(V_UNKNOWN(&converted[i]));
              break;
            case VT_BOOL:
              args[i] = static_cast<uintptr_t>(static_cast<intptr_t>(V_BOOL(&converted[i])));
              break;
            case VT_I8:
            case VT_UI8:
              args[i] = static_cast<uintptr_t>(V_I8(&converted[i]));
              break;
            default:
              args[i] = static_cast<uintptr_t>(static_cast<intptr_t>(V_I4(&converted[i])));
              break;
          }
        }
      }
      if (SUCCEEDED(hr)) entry->pfnCall(static_cast<T*>(this), args);
      for (VARIANT& v : converted) VariantClear(&v);
      if (SUCCEEDED(hr) && result) VariantInit(result);
      return hr;
    }
    return S_OK;
  }

  class Sink final : public IDispatch {
   public:
    explicit Sink(IDispEventSimpleImpl* owner) : m_owner(owner) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
      if (!ppv) return E_POINTER;
      *ppv = nullptr;
      if (riid != IID_IUnknown && riid != IID_IDispatch && riid != *pdiid) return E_NOINTERFACE;
      *ppv = static_cast<IDispatch*>(this);
      return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override {
      if (!pctinfo) return E_POINTER;
      ITypeInfo* info = nullptr;
      *pctinfo = SUCCEEDED(m_owner->GetSinkTypeInfo(0, &info)) ? 1 : 0;
      if (info) info->Release();
      return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT itinfo, LCID lcid, ITypeInfo** pptinfo) override {
      if (!pptinfo) return E_POINTER;
      *pptinfo = nullptr;
      return itinfo == 0 ? m_owner->GetSinkTypeInfo(lcid, pptinfo) : DISP_E_BADINDEX;
    }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgdispid) override {
      ITypeInfo* info = nullptr;
      HRESULT hr = m_owner->GetSinkTypeInfo(lcid, &info);
      if (FAILED(hr)) return hr;
      hr = info->GetIDsOfNames(rgszNames, cNames, rgdispid);
      info->Release();
      return hr;
    }
    STDMETHOD(Invoke)
    (DISPID dispidMember, REFIID, LCID, WORD, DISPPARAMS* pdispparams, VARIANT* pvarResult, EXCEPINFO*,
     UINT*) override {
      return m_owner->Dispatch(dispidMember, pdispparams, pvarResult);
    }

   private:
    IDispEventSimpleImpl* m_owner;
  };

  Sink m_sink;
};

// As the simple sink, with the event interface's type information from the registered type
// library plibid (its names resolve through GetIDsOfNames). Handlers are listed with
// SINK_ENTRY_INFO: the stand-in's type information does not describe parameter types.
template <UINT nID, class T, const IID* pdiid, const GUID* plibid, WORD wMajor = 1, WORD wMinor = 0>
class IDispEventImpl : public IDispEventSimpleImpl<nID, T, pdiid> {
 public:
  HRESULT GetSinkTypeInfo(LCID lcid, ITypeInfo** pptinfo) override { return _tih.GetTI(lcid, pptinfo); }

  static inline CComTypeInfoHolder _tih = {pdiid, plibid, wMajor, wMinor, nullptr};
};

}  // namespace ATL
