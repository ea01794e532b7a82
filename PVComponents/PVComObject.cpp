#include "PVComObject.h"

#include <cassert>

#include "PVModuleLock.h"

CPVComObjectRoot::CPVComObjectRoot(CPVLiveCounter& counter, LONG initialReferences, ModuleLock lock)
    : m_refCount(initialReferences), m_counter(&counter), m_lock(lock) {
  ++m_counter->live;
  if (initialReferences > 0 && m_lock == ModuleLock::kWhileReferenced) PVLockModule();
}

CPVComObjectRoot::~CPVComObjectRoot() {
  --m_counter->live;
}

void CPVComObjectRoot::CountAs(CPVLiveCounter& counter) {
  ++counter.live;
  --m_counter->live;
  m_counter = &counter;
}

ULONG CPVComObjectRoot::InternalAddRef() {
  const LONG previous = m_refCount.fetch_add(1);
  // The first reference keeps the module loaded until the object is gone.
  if (previous == 0 && !m_destroying && m_lock == ModuleLock::kWhileReferenced) PVLockModule();
  return static_cast<ULONG>(previous + 1);
}

ULONG CPVComObjectRoot::InternalRelease(bool* last) {
  *last = false;
  const LONG count = m_refCount.fetch_sub(1) - 1;
  assert(count >= 0 && "COM object released below zero");
  if (count != 0 || m_destroying) return static_cast<ULONG>(count < 0 ? 0 : count);
  m_destroying = true;
  m_refCount.store(1);  // stable while the object destroys itself
  *last = true;
  return 0;
}

ULONG CPVComObjectRoot::ReleaseAndDelete() {
  bool last = false;
  const ULONG count = InternalRelease(&last);
  if (last) {
    const bool unlock = m_lock == ModuleLock::kWhileReferenced;
    delete this;
    if (unlock) PVUnlockModule();
  }
  return count;
}
