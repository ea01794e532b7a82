// Whether the device the controller reaches is the module the project describes. The check asks
// the host's device information for the connected module's identity status while the controller
// is online, keeps the outcome, and fetches the localized prompt that says what is wrong. Online
// buttons hold one and initialize it when they receive their module.
#pragma once

#include <HostServices.h>

class CPromptInfo;
interface IPVPropPageEnum;

class CPVModuleIdentityCheck {
 public:
  // Outcomes of the check; the cached outcome uses the same values.
  enum Result : int {
    kModuleMatches = 0,  // the module matches, or the controller is not online (nothing asked)
    kModuleMissingOrMismatched = 1,
    kQueryFailed = 2,
    kNotQueried = 3,  // not initialized, or not yet asked
  };

  // The identity status the host reports for a module that is not on the network, and for a
  // connected module that is not the configured one; other values mean a matching module.
  static constexpr LONG kStatusMissing = 1;
  static constexpr LONG kStatusMismatched = 2;

  // The identity prompts of the host's module prompt server.
  static constexpr LONG kPromptMissing = 9;
  static constexpr LONG kPromptQueryFailed = 11;
  static constexpr LONG kPromptMismatched = 17;

  CPVModuleIdentityCheck() = default;
  CPVModuleIdentityCheck(const CPVModuleIdentityCheck&) = default;
  CPVModuleIdentityCheck& operator=(const CPVModuleIdentityCheck&) = default;
  virtual ~CPVModuleIdentityCheck() = default;

  // The full check: kNotQueried without device information; kModuleMatches while the
  // controller is not online, without asking the device and without touching the prompt.
  // Otherwise the device is asked when force is 1 or nothing is cached yet, and the cached
  // outcome is returned; for a missing, mismatched or failed outcome the matching prompt is
  // fetched into *prompt (left as the prompt server left it when that fails).
  virtual int CheckModuleIdentity(CPromptInfo* prompt, int force);

  // Holds the device information (counted) and the page, which gives the controller mode and is
  // not counted. A null argument is logged and refused with E_POINTER; nothing changes then.
  HRESULT Initialize(IDeviceInfo2* deviceInfo, IPVPropPageEnum* page);
  // Holds the device information; the page stays as it was.
  HRESULT Initialize(IDeviceInfo2* deviceInfo);

  // TRUE when device information is held; otherwise logged, FALSE.
  BOOL InitializationIsValid() const;
  // TRUE without a page; with one, whether its controller mode is online (1 to 6). A failing
  // mode query is logged and counts as not online.
  BOOL IsOnline() const;
  // Asks the device for its identity status (in the module's state, under the application's
  // wait cursor) and records the status; the cached outcome is not changed. Returns
  // kQueryFailed, kModuleMissingOrMismatched or kModuleMatches.
  int QueryIdentityStatus();
  // The prompt that belongs to the cached outcome and status, without asking the device.
  // Returns the cached outcome.
  int GetPromptInfo(CPromptInfo* prompt) const;

  int GetCachedResult() const { return m_nCachedResult; }
  LONG GetIdentityStatus() const { return m_nIdentityStatus; }

 private:
  IPVPropPageEnum* m_pIPVPropPageEnum = nullptr;  // not counted; the page outlives its controls
  IDeviceInfo2Ptr m_spIDeviceInfo2;
  int m_nCachedResult = kNotQueried;
  LONG m_nIdentityStatus = 0;
};
