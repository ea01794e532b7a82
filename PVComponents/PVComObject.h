// The framework's one way to be a COM object: an interface table walked by one loop, an
// atomic reference count that is stabilized while the object destroys itself, and a count of
// live objects per class that tests read to prove that nothing is left.
//
// A class derives from its interfaces and from CPVComObjectRoot, lists its interfaces in a
// table and answers IUnknown with three one-line overrides (an override must sit in a class
// that derives from the interfaces, so the root cannot write them itself):
//
//   class CPVThing : public IPVThing, public CPVComObjectRoot {
//    public:
//     CPVThing() : CPVComObjectRoot(PVLiveCounterOf<CPVThing>(), 1) {}
//     BEGIN_PV_INTERFACE_TABLE(CPVThing)
//     PV_INTERFACE_ENTRY(IPVThing)
//     END_PV_INTERFACE_TABLE()
//     PV_COM_OBJECT_IUNKNOWN()
//   };
//
// A class whose IUnknown does more (the panel's module state, the control's fixed counts)
// writes the three overrides itself with InternalQueryInterface, InternalAddRef and
// ReleaseAndDelete.
//
// Reading the live counts: PVLiveObjects.h.
#pragma once

#include <atlbase.h>

#include <atomic>
#include <cstdint>

#include "PVLiveObjects.h"

// The interface table of a class: (IID, offset of the interface in the class) rows, the first
// row answering IUnknown as the object's identity, walked by AtlInternalQueryInterface.
#define BEGIN_PV_INTERFACE_TABLE(Class)                 \
  static const ::ATL::_ATL_INTMAP_ENTRY* Interfaces() { \
    typedef Class _PVTableClass;                        \
    static const ::ATL::_ATL_INTMAP_ENTRY _entries[] = {
// The IID iid answered by the class's Interface part (an older version of an interface is
// answered by its newest one).
#define PV_INTERFACE_ENTRY_IID(iid, Interface) \
  {&(iid), offsetofclass(Interface, _PVTableClass), _ATL_SIMPLEMAPENTRY},
#define PV_INTERFACE_ENTRY(Interface) PV_INTERFACE_ENTRY_IID(__uuidof(Interface), Interface)
#define END_PV_INTERFACE_TABLE() \
  { nullptr, 0, nullptr }        \
  }                              \
  ;                              \
  return _entries;               \
  }

// IUnknown of a class with an interface table and nothing else to do around it. A derived
// class with a table of its own repeats it, so that its table answers.
#define PV_COM_OBJECT_IUNKNOWN()                                    \
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override { \
    return InternalQueryInterface(this, Interfaces(), iid, object); \
  }                                                                 \
  STDMETHODIMP_(ULONG) AddRef() override {                          \
    return InternalAddRef();                                        \
  }                                                                 \
  STDMETHODIMP_(ULONG) Release() override {                         \
    return ReleaseAndDelete();                                      \
  }

class CPVComObjectRoot {
 public:
  CPVComObjectRoot(const CPVComObjectRoot&) = delete;
  CPVComObjectRoot& operator=(const CPVComObjectRoot&) = delete;

  // Moves the object from the counter it was made with to another one: the class factory of
  // a page class counts each page under the page's own class.
  void CountAs(CPVLiveCounter& counter);

 protected:
  enum class ModuleLock { kNone, kWhileReferenced };

  // counter: the class's live-object counter (PVLiveCounterOf<Class>()); initialReferences:
  // 1 when the creator owns the first reference, 0 when the creator's first AddRef does;
  // lock: kWhileReferenced keeps the module locked (PVLockModule) from the first reference
  // to the end of the object, so that the DLL cannot be unloaded under it.
  CPVComObjectRoot(CPVLiveCounter& counter, LONG initialReferences, ModuleLock lock = ModuleLock::kNone);
  virtual ~CPVComObjectRoot();

  ULONG InternalAddRef();
  // The count after the release. When it reaches zero, the count is held at 1 while the
  // object is destroyed, so that a destructor that calls back into the object (an
  // AddRef/Release pair) does not destroy it a second time, and *last becomes true: the
  // caller deletes the object. A release below zero asserts in debug builds.
  ULONG InternalRelease(bool* last);

  // The class's Release: InternalRelease, the delete of the last release (through the
  // virtual destructor, so the most derived class is destroyed) and the module unlock after
  // it.
  ULONG ReleaseAndDelete();

  // self: the object (the class whose table entries is); entries: its table. S_OK with an
  // AddRef'd interface, E_NOINTERFACE (null out) for an IID the table does not list, E_POINTER
  // for a null object.
  static HRESULT InternalQueryInterface(void* self, const ::ATL::_ATL_INTMAP_ENTRY* entries, REFIID iid,
                                        void** object) {
    return AtlInternalQueryInterface(self, entries, iid, object);
  }

 private:
  std::atomic<LONG> m_refCount;
  CPVLiveCounter* m_counter;
  const ModuleLock m_lock;
  bool m_destroying = false;
};
