// The simulated module object: the object the host hands a page as its module. It answers
// the safety interfaces (states a test sets), IModuleInternal7 (a settable host version),
// IDeviceInfo2 (a settable identity status) and IModuleStateSource (a settable flag).
// The configuration tag interfaces join it as further bases and rows of its QueryInterface
// table (HostModule::QueryInterface); the state they need goes beside SafetyState.
#pragma once

#include <HostServices.h>
#include <PVInterfaces.h>

#include "SimComObject.h"

namespace hostsim {

// What the safety interfaces answer, and how often they were asked.
struct SafetyState {
  bool answersSafety = true;  // QueryInterface for IModuleSafety succeeds
  bool answersLock = true;    // QueryInterface for IModuleSafetyLock succeeds
  HRESULT enabledResult = S_OK;
  VARIANT_BOOL enabled = VARIANT_FALSE;
  HRESULT lockedResult = S_OK;
  VARIANT_BOOL locked = VARIANT_FALSE;
  HRESULT flag1Result = S_OK;
  VARIANT_BOOL flag1 = VARIANT_FALSE;
  HRESULT flag2Result = S_OK;
  VARIANT_BOOL flag2 = VARIANT_FALSE;
  int enabledCalls = 0;
  LONG lastEnabledArgument = 0;
  int lockedCalls = 0;
  int flagCalls = 0;
};

// What IModuleInternal7 answers.
struct VersionState {
  bool answersVersion = true;
  HRESULT result = S_OK;
  LONG major = 5;
  LONG minor = 21;
  // A failure other than E_NOINTERFACE from QueryInterface for IModuleInternal7 (S_OK: none).
  HRESULT queryFailure = S_OK;
};

// What IDeviceInfo2 answers: the identity status of the connected module (1 missing,
// 2 mismatched, other values match) or a failure.
struct IdentityState {
  bool answersIdentity = true;
  HRESULT result = S_OK;
  LONG status = 0;
  int calls = 0;
};

// What IModuleStateSource answers.
struct ModuleStateFlag {
  bool answersFlag = true;
  HRESULT result = S_OK;
  VARIANT_BOOL flag = VARIANT_FALSE;
};

class HostModule : public IModule,
                   public IModuleSafety,
                   public IModuleSafetyLock,
                   public IModuleInternal7,
                   public IDeviceInfo2,
                   public IModuleStateSource {
 public:
  // A new module with one reference for the caller.
  static HostModule* Create() { return new HostModule(); }

  // The object's identity, as the host hands it out.
  IUnknown* GetUnknown() { return static_cast<IModule*>(this); }
  IModule* GetModule() { return this; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL

  STDMETHODIMP GetSafetyEnabled(LONG which, VARIANT_BOOL* enabled) override;
  STDMETHODIMP GetSafetyLocked(VARIANT_BOOL* locked) override;
  STDMETHODIMP GetLockFlag1(VARIANT_BOOL* flag) override;
  STDMETHODIMP GetLockFlag2(VARIANT_BOOL* flag) override;
  STDMETHODIMP get_CurrentVexilVersion(LONG* major, LONG* minor) override;
  STDMETHODIMP GetModuleIdentityStatus(LONG* status) override;
  STDMETHODIMP GetModuleStateFlag(VARIANT_BOOL* flag) override;

  // The placeholder slots of the companion interfaces (one override serves them all).
  HOST_RESERVED_SLOT_IMPL(1);
  HOST_RESERVED_SLOT_IMPL(2);
  HOST_RESERVED_SLOT_IMPL(3);
  HOST_RESERVED_SLOT_IMPL(4);
  HOST_RESERVED_SLOT_IMPL(5);
  HOST_RESERVED_SLOT_IMPL(6);
  HOST_RESERVED_SLOT_IMPL(7);
  HOST_RESERVED_SLOT_IMPL(8);
  HOST_RESERVED_SLOT_IMPL(9);
  HOST_RESERVED_SLOT_IMPL(10);
  HOST_RESERVED_SLOT_IMPL(11);
  HOST_RESERVED_SLOT_IMPL(12);
  HOST_RESERVED_SLOT_IMPL(13);
  HOST_RESERVED_SLOT_IMPL(14);
  HOST_RESERVED_SLOT_IMPL(15);
  HOST_RESERVED_SLOT_IMPL(16);
  HOST_RESERVED_SLOT_IMPL(17);
  HOST_RESERVED_SLOT_IMPL(18);
  HOST_RESERVED_SLOT_IMPL(19);
  HOST_RESERVED_SLOT_IMPL(20);
  HOST_RESERVED_SLOT_IMPL(21);
  HOST_RESERVED_SLOT_IMPL(22);
  HOST_RESERVED_SLOT_IMPL(23);
  HOST_RESERVED_SLOT_IMPL(24);
  HOST_RESERVED_SLOT_IMPL(25);
  HOST_RESERVED_SLOT_IMPL(26);
  HOST_RESERVED_SLOT_IMPL(27);
  HOST_RESERVED_SLOT_IMPL(28);
  HOST_RESERVED_SLOT_IMPL(29);
  HOST_RESERVED_SLOT_IMPL(30);
  HOST_RESERVED_SLOT_IMPL(31);
  HOST_RESERVED_SLOT_IMPL(32);
  HOST_RESERVED_SLOT_IMPL(33);
  HOST_RESERVED_SLOT_IMPL(34);
  HOST_RESERVED_SLOT_IMPL(35);
  HOST_RESERVED_SLOT_IMPL(36);
  HOST_RESERVED_SLOT_IMPL(37);
  HOST_RESERVED_SLOT_IMPL(38);
  HOST_RESERVED_SLOT_IMPL(39);
  HOST_RESERVED_SLOT_IMPL(40);
  HOST_RESERVED_SLOT_IMPL(41);
  HOST_RESERVED_SLOT_IMPL(42);
  HOST_RESERVED_SLOT_IMPL(43);
  HOST_RESERVED_SLOT_IMPL(44);
  HOST_RESERVED_SLOT_IMPL(45);
  HOST_RESERVED_SLOT_IMPL(46);
  HOST_RESERVED_SLOT_IMPL(47);
  HOST_RESERVED_SLOT_IMPL(48);
  HOST_RESERVED_SLOT_IMPL(49);
  HOST_RESERVED_SLOT_IMPL(50);
  HOST_RESERVED_SLOT_IMPL(51);
  HOST_RESERVED_SLOT_IMPL(52);
  HOST_RESERVED_SLOT_IMPL(53);
  HOST_RESERVED_SLOT_IMPL(54);
  HOST_RESERVED_SLOT_IMPL(55);
  HOST_RESERVED_SLOT_IMPL(56);
  HOST_RESERVED_SLOT_IMPL(57);
  HOST_RESERVED_SLOT_IMPL(58);
  HOST_RESERVED_SLOT_IMPL(59);
  HOST_RESERVED_SLOT_IMPL(60);
  HOST_RESERVED_SLOT_IMPL(61);
  HOST_RESERVED_SLOT_IMPL(62);

  SafetyState safety;
  VersionState version;
  IdentityState identity;
  ModuleStateFlag stateFlag;

 private:
  HostModule() = default;

 protected:
  virtual ~HostModule() = default;
};

}  // namespace hostsim
