#include "HostModule.h"

namespace hostsim {

STDMETHODIMP HostModule::QueryInterface(REFIID riid, void** ppv) {
  if (ppv) *ppv = nullptr;
  if (riid == __uuidof(IModuleSafety) && !safety.answersSafety) return E_NOINTERFACE;
  if (riid == __uuidof(IModuleSafetyLock) && !safety.answersLock) return E_NOINTERFACE;
  if (riid == __uuidof(IModuleInternal7)) {
    if (FAILED(version.queryFailure)) return version.queryFailure;
    if (!version.answersVersion) return E_NOINTERFACE;
  }
  if (riid == __uuidof(IDeviceInfo2) && !identity.answersIdentity) return E_NOINTERFACE;
  if (riid == __uuidof(IModuleStateSource) && !stateFlag.answersFlag) return E_NOINTERFACE;
  return QueryFromTable<HostModule>(
      this, riid, ppv,
      {HOSTSIM_ENTRY(HostModule, IModule), HOSTSIM_ENTRY(HostModule, IModuleSafety),
       HOSTSIM_ENTRY(HostModule, IModuleSafetyLock), HOSTSIM_ENTRY(HostModule, IModuleInternal7),
       HOSTSIM_ENTRY(HostModule, IDeviceInfo2), HOSTSIM_ENTRY(HostModule, IModuleStateSource)});
}

STDMETHODIMP HostModule::GetSafetyEnabled(LONG which, VARIANT_BOOL* enabled) {
  ++safety.enabledCalls;
  safety.lastEnabledArgument = which;
  if (!enabled) return E_POINTER;
  if (SUCCEEDED(safety.enabledResult)) *enabled = safety.enabled;
  return safety.enabledResult;
}

STDMETHODIMP HostModule::GetSafetyLocked(VARIANT_BOOL* locked) {
  ++safety.lockedCalls;
  if (!locked) return E_POINTER;
  if (SUCCEEDED(safety.lockedResult)) *locked = safety.locked;
  return safety.lockedResult;
}

STDMETHODIMP HostModule::GetLockFlag1(VARIANT_BOOL* flag) {
  ++safety.flagCalls;
  if (!flag) return E_POINTER;
  if (SUCCEEDED(safety.flag1Result)) *flag = safety.flag1;
  return safety.flag1Result;
}

STDMETHODIMP HostModule::GetLockFlag2(VARIANT_BOOL* flag) {
  ++safety.flagCalls;
  if (!flag) return E_POINTER;
  if (SUCCEEDED(safety.flag2Result)) *flag = safety.flag2;
  return safety.flag2Result;
}

STDMETHODIMP HostModule::get_CurrentVexilVersion(LONG* major, LONG* minor) {
  if (!major || !minor) return E_POINTER;
  if (SUCCEEDED(version.result)) {
    *major = version.major;
    *minor = version.minor;
  }
  return version.result;
}

STDMETHODIMP HostModule::GetModuleIdentityStatus(LONG* status) {
  ++identity.calls;
  if (!status) return E_POINTER;
  if (SUCCEEDED(identity.result)) *status = identity.status;
  return identity.result;
}

STDMETHODIMP HostModule::GetModuleStateFlag(VARIANT_BOOL* flag) {
  if (!flag) return E_POINTER;
  if (SUCCEEDED(stateFlag.result)) *flag = stateFlag.flag;
  return stateFlag.result;
}

}  // namespace hostsim
