// The value object of a REAL member. Made with new (one reference, the creator's) and
// destroyed by its last Release.
#pragma once

#include "PVGetSetFloatValue.h"

class CPVGetSetFloat : public CPVGetSetFloatValue {
 public:
  CPVGetSetFloat(const wchar_t* memberName, IPVGetSetAdapter* adapter);

 protected:
  ~CPVGetSetFloat() override;
};
