#include "PVModuleLock.h"

#include <atomic>

namespace {

// One count per DLL: each DLL links its own copy of the framework.
std::atomic<LONG> g_moduleLockCount{0};

}  // namespace

void PVLockModule() {
  g_moduleLockCount.fetch_add(1);
}

void PVUnlockModule() {
  g_moduleLockCount.fetch_sub(1);
}

BOOL PVIsModuleLocked() {
  return g_moduleLockCount.load() != 0 ? TRUE : FALSE;
}
