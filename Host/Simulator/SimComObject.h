// The simulated host's COM object plumbing: a reference count that stabilizes before delete,
// a table-driven QueryInterface, live-object counts per class, and a class factory over a
// creation function.
#pragma once

#include <objbase.h>
#include <oaidl.h>

#include <atomic>
#include <cassert>
#include <functional>
#include <initializer_list>

namespace hostsim {

// One row of a QueryInterface table: the IID and how to reach that interface of the object.
template <class T>
struct InterfaceEntry {
  const IID* iid;
  IUnknown* (*cast)(T*);
};

#define HOSTSIM_ENTRY(Class, Interface)                                                    \
  ::hostsim::InterfaceEntry<Class> {                                                       \
    &__uuidof(Interface), [](Class* o) -> IUnknown* { return static_cast<Interface*>(o); } \
  }

// Walks the table; IUnknown answers with the first row.
template <class T>
HRESULT QueryFromTable(T* object, REFIID riid, void** ppv, std::initializer_list<InterfaceEntry<T>> table) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const auto& entry : table) {
    if (riid == *entry.iid || (riid == IID_IUnknown && &entry == table.begin())) {
      IUnknown* found = entry.cast(object);
      found->AddRef();
      *ppv = found;
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

// The reference count of a simulated object; objects start with one reference.
class RefCount {
 public:
  ULONG Add() { return ++m_count; }
  // Returns the new count; 0 means the caller deletes the object.
  ULONG Drop() {
    const ULONG left = --m_count;
    assert(left != static_cast<ULONG>(-1) && "released below zero");
    if (left == 0) m_count = 1;  // stabilized while the object is deleted
    return left;
  }

 private:
  std::atomic<ULONG> m_count{1};
};

#define HOSTSIM_REFCOUNT_IMPL               \
  STDMETHODIMP_(ULONG) AddRef() override {  \
    return m_refs.Add();                    \
  }                                         \
  STDMETHODIMP_(ULONG) Release() override { \
    const ULONG left = m_refs.Drop();       \
    if (left == 0) delete this;             \
    return left;                            \
  }                                         \
  ::hostsim::RefCount m_refs;

// IDispatch's four operations for host objects that are called through their own slots only.
#define HOSTSIM_DISPATCH_STUBS                                                                         \
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {                                                \
    if (count) *count = 0;                                                                             \
    return S_OK;                                                                                       \
  }                                                                                                    \
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {                                    \
    if (info) *info = nullptr;                                                                         \
    return E_NOTIMPL;                                                                                  \
  }                                                                                                    \
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {                        \
    return E_NOTIMPL;                                                                                  \
  }                                                                                                    \
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { \
    return E_NOTIMPL;                                                                                  \
  }

// A class factory that makes objects with a creation function (riid, ppv) -> HRESULT.
class ClassFactory final : public IClassFactory {
 public:
  using Creator = std::function<HRESULT(REFIID, void**)>;
  explicit ClassFactory(Creator creator) : m_creator(std::move(creator)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return QueryFromTable<ClassFactory>(this, riid, ppv, {HOSTSIM_ENTRY(ClassFactory, IClassFactory)});
  }
  HOSTSIM_REFCOUNT_IMPL

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_creator(riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  ~ClassFactory() = default;
  Creator m_creator;
};

// Creates T (one reference), asks it for riid and drops the creation reference.
template <class T, class... Args>
HRESULT CreateAndQuery(REFIID riid, void** ppv, Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

// Owner of one reference to a simulated host object.
template <class T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* adopted) : m_p(adopted) {}
  Ref(const Ref& other) : m_p(other.m_p) {
    if (m_p) m_p->AddRef();
  }
  Ref& operator=(const Ref& other) {
    Ref copy(other);
    std::swap(m_p, copy.m_p);
    return *this;
  }
  ~Ref() {
    if (m_p) m_p->Release();
  }
  T* get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

 private:
  T* m_p = nullptr;
};

}  // namespace hostsim
