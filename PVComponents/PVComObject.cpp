#include "PVComObject.h"

#include <cxxabi.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <cstdlib>
#include <mutex>

#include "PVPropPageRegistration.h"

namespace {

// The list of every counter, in the order the classes were first counted. Counters are
// static objects of their class's template and live until the module ends.
std::mutex g_countersLock;
CPVLiveCounter* g_firstCounter = nullptr;
CPVLiveCounter** g_lastLink = &g_firstCounter;

}  // namespace

CPVLiveCounter& PVRegisterLiveCounter(CPVLiveCounter& counter, const char* typeName) {
  int status = 0;
  char* readable = abi::__cxa_demangle(typeName, nullptr, nullptr, &status);
  counter.name = readable ? readable : typeName;
  std::free(readable);
  const std::lock_guard<std::mutex> guard(g_countersLock);
  *g_lastLink = &counter;
  g_lastLink = &counter.next;
  return counter;
}

extern "C" LONG PVLiveObjectCount(const char* className) {
  if (!className) return 0;
  const std::lock_guard<std::mutex> guard(g_countersLock);
  for (const CPVLiveCounter* counter = g_firstCounter; counter; counter = counter->next)
    if (counter->name == className) return counter->live.load();
  return 0;
}

extern "C" size_t PVLiveObjectReport(char* buffer, size_t size) {
  std::string report;
  {
    const std::lock_guard<std::mutex> guard(g_countersLock);
    for (const CPVLiveCounter* counter = g_firstCounter; counter; counter = counter->next) {
      const LONG live = counter->live.load();
      if (live == 0) continue;
      if (!report.empty()) report += ", ";
      report += std::to_string(live) + " x " + counter->name;
    }
  }
  if (buffer && size > 0) {
    const size_t copied = std::min(report.size(), size - 1);
    std::memcpy(buffer, report.data(), copied);
    buffer[copied] = '\0';
  }
  return report.size();
}

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
