// Whether the controller is safety-secured (which keeps ordinary controls disabled), asked of
// the module's safety interfaces. One instance per process.
#pragma once

#include <HostServices.h>

class CSafetyController {
 public:
  CSafetyController() = default;
  virtual ~CSafetyController() = default;
  CSafetyController(const CSafetyController&) = delete;
  CSafetyController& operator=(const CSafetyController&) = delete;

  // *secured: TRUE when safety is enabled and the lock flag is not set; a failed lock query
  // counts as secured. Returns E_FAIL for no object, E_POINTER for a null secured, S_OK when
  // the module lacks either safety interface (not secured), the enabled query's failure
  // (logged, not secured), else the lock query's result.
  HRESULT GetSafetySecuredState(IUnknown* object, BOOL* secured) const;

  // Both flags 0 first; E_FAIL for no object; S_OK with both 0 when the module has no lock
  // interface; otherwise both 1, each replaced by its query's answer when that succeeds; the
  // second query's result.
  HRESULT GetSafetyLockFlags(IUnknown* object, BOOL* first, BOOL* second) const;
};

// The process-wide instance, made on first use and destroyed when the module unloads.
CSafetyController* GetSafetyController();
