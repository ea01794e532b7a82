// The forcing answers about one value object's member, condensed for a configuration
// control: the force state (0 not forced, 1 forced with forces disabled or unknown, 2 forced
// with forces enabled) and the tooltip of the force arrow. Every question without an answer
// degrades to "not forced".
#pragma once

#include "PVGetSetInterfaces.h"

inline constexpr int PV_FORCE_STATE_NOT_FORCED = 0;
inline constexpr int PV_FORCE_STATE_FORCED = 1;
inline constexpr int PV_FORCE_STATE_FORCED_ENABLED = 2;

class CPVValueForcing {
 public:
  // Takes its own reference to the value object (which may be null).
  explicit CPVValueForcing(IPVGetSetValue* value);
  virtual ~CPVValueForcing();

  // The value object's forcing interface (a new reference), or null.
  IPVGetValueForcingPtr GetIPVGetValueForcing() const;
  int GetForceState() const;
  bool GetIsForcingSupported() const;
  bool GetForcesEnabled() const;
  bool GetIsForced() const;
  // The forced value; VT_EMPTY without a forcing interface or when the read fails.
  _variant_t GetForceValue() const;
  // The host's force-arrow text (string 33 of the force string server, its insert the forced
  // value); empty unless the force state is 2.
  CString GetTooltipText() const;

 private:
  IPVGetSetValuePtr m_spIPVGetSetValue;
};
