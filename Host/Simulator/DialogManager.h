// The host's dialog manager: counts locks and unlocks (the lock is a depth; an unlock without
// a lock is refused and counted) and records the dialog windows it is told about.
#pragma once

#include <HostServices.h>

#include <vector>

#include "SimComObject.h"

namespace hostsim {

class DialogManager final : public IPVDialogManager {
 public:
  // A new manager with one reference for the caller.
  static DialogManager* Create() { return new DialogManager(); }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL

  STDMETHODIMP Lock() override;
  // E_UNEXPECTED without a lock held.
  STDMETHODIMP Unlock() override;
  STDMETHODIMP DialogShown(HWND window) override;
  STDMETHODIMP DialogDestroyed(HWND window) override;

  int lockCalls = 0;
  int unlockCalls = 0;
  int unbalancedUnlocks = 0;
  int depth = 0;
  std::vector<HWND> shown;
  std::vector<HWND> destroyed;

 private:
  DialogManager() = default;
  ~DialogManager() = default;
};

}  // namespace hostsim
