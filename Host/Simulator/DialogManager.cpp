#include "DialogManager.h"

namespace hostsim {

STDMETHODIMP DialogManager::QueryInterface(REFIID riid, void** ppv) {
  return QueryFromTable<DialogManager>(this, riid, ppv, {HOSTSIM_ENTRY(DialogManager, IPVDialogManager)});
}

STDMETHODIMP DialogManager::Lock() {
  ++lockCalls;
  ++depth;
  return S_OK;
}

STDMETHODIMP DialogManager::Unlock() {
  ++unlockCalls;
  if (depth == 0) {
    ++unbalancedUnlocks;
    return E_UNEXPECTED;
  }
  --depth;
  return S_OK;
}

STDMETHODIMP DialogManager::DialogShown(HWND window) {
  shown.push_back(window);
  return S_OK;
}

STDMETHODIMP DialogManager::DialogDestroyed(HWND window) {
  destroyed.push_back(window);
  return S_OK;
}

}  // namespace hostsim
