// Helpers shared by the COM and OLE Automation sources: the value sizes of the variant types,
// the reference count and the table-driven QueryInterface of the objects the platform makes.
#pragma once

#include <cstddef>

#include "oleauto.h"
#include "platform/refcount.h"

namespace platform::com {

// The size of one value of a variant base type as an array element or by-reference target;
// 0 for a type that has none (VT_EMPTY, VT_NULL, VT_RECORD and tags that are not types).
ULONG ValueSize(VARTYPE base);

using ::platform::RefCount;

// One interface reference of the platform's own code, released when the owner goes; the
// address of an owner releases what it held, so an out-parameter cannot leak.
template <class I>
class OwnedInterface {
 public:
  OwnedInterface() = default;
  OwnedInterface(const OwnedInterface&) = delete;
  OwnedInterface& operator=(const OwnedInterface&) = delete;
  ~OwnedInterface() { Reset(); }

  I** operator&() {
    Reset();
    return &pointer_;
  }
  I* operator->() const { return pointer_; }
  I* get() const { return pointer_; }

 private:
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }
  I* pointer_ = nullptr;
};

// QueryInterface from a static table of (IID, cast) entries walked by one loop.
template <class C>
struct InterfaceEntry {
  const IID* iid;
  void* (*cast)(C* self);
};

template <class C, class I>
void* CastTo(C* self) {
  return static_cast<I*>(self);
}

template <class C, std::size_t N>
HRESULT QueryInterfaceFromTable(C* self, const InterfaceEntry<C> (&table)[N], REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  for (const InterfaceEntry<C>& entry : table) {
    if (*entry.iid == riid) {
      *ppv = entry.cast(self);
      self->AddRef();
      return S_OK;
    }
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

// The platform's own in-process classes (the XML DOM document), found before the registry.
// Returns CLASS_E_CLASSNOTAVAILABLE for a class that is not one of them.
HRESULT GetBuiltInClassObject(REFCLSID rclsid, REFIID riid, void** ppv);

}  // namespace platform::com
