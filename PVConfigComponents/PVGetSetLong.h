// The value object of a DINT member (numbers, and unit codes read as device codes). Made with
// new (one reference, the creator's) and destroyed by its last Release.
#pragma once

#include "PVGetSetIntegerValue.h"

class CPVGetSetLong : public CPVGetSetIntegerValue {
 public:
  CPVGetSetLong(const wchar_t* memberName, IPVGetSetAdapter* adapter);

 protected:
  ~CPVGetSetLong() override;
};
