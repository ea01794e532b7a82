#include "SafetyController.h"

#include <memory>

#include "PVComponentsGlobals.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"SafetyController");
constexpr LONG kSafetyEnabledQuery = 1;

std::unique_ptr<CSafetyController> g_controller;

}  // namespace

CSafetyController* GetSafetyController() {
  if (!g_controller) g_controller = std::make_unique<CSafetyController>();
  return g_controller.get();
}

HRESULT CSafetyController::GetSafetySecuredState(IUnknown* object, BOOL* secured) const {
  if (!secured) return E_POINTER;
  *secured = FALSE;
  if (!InterfaceIsValid(object)) return E_FAIL;
  IModuleSafetyPtr safety;
  IModuleSafetyLockPtr lock;
  object->QueryInterface(__uuidof(IModuleSafety), reinterpret_cast<void**>(&safety));
  object->QueryInterface(__uuidof(IModuleSafetyLock), reinterpret_cast<void**>(&lock));
  if (!safety || !lock) return S_OK;

  VARIANT_BOOL enabled = VARIANT_FALSE;
  HRESULT hr = safety->GetSafetyEnabled(kSafetyEnabledQuery, &enabled);
  if (FAILED(hr)) {
    Log(L"Error: Failed to get safety enabled state\n", L"CSafetyController::GetSafetySecuredState",
        __LINE__);
    return hr;
  }
  if (hr == S_FALSE) return S_OK;
  if (enabled == VARIANT_FALSE) return hr;

  *secured = TRUE;
  VARIANT_BOOL locked = VARIANT_FALSE;
  hr = lock->GetSafetyLocked(&locked);
  if (SUCCEEDED(hr)) *secured = locked == VARIANT_FALSE ? TRUE : FALSE;
  return hr;
}

HRESULT CSafetyController::GetSafetyLockFlags(IUnknown* object, BOOL* first, BOOL* second) const {
  if (!first || !second) return E_POINTER;
  *first = FALSE;
  *second = FALSE;
  if (!InterfaceIsValid(object)) return E_FAIL;
  IModuleSafetyLockPtr lock;
  object->QueryInterface(__uuidof(IModuleSafetyLock), reinterpret_cast<void**>(&lock));
  if (!lock) return S_OK;
  *first = TRUE;
  *second = TRUE;
  VARIANT_BOOL flag = VARIANT_FALSE;
  if (SUCCEEDED(lock->GetLockFlag1(&flag))) *first = flag == VARIANT_TRUE ? TRUE : FALSE;
  flag = VARIANT_FALSE;
  const HRESULT hr = lock->GetLockFlag2(&flag);
  if (SUCCEEDED(hr)) *second = flag == VARIANT_TRUE ? TRUE : FALSE;
  return hr;
}
