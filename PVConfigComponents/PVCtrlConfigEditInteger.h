// The configuration edit box of a DINT member. Its mask is the process-wide integer mask.
#pragma once

#include "PVCtrlConfigEditCtrl.h"

class CPVCtrlConfigEditInteger : public CPVCtrlConfigEditCtrl {
 public:
  explicit CPVCtrlConfigEditInteger(int itemId);
  ~CPVCtrlConfigEditInteger() override;

  using CPVCtrlConfigEditCtrl::Initialize;
  // The typed binding: the common binding with the integer data type code.
  virtual HRESULT Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags,
                             IPVEnableCondition* enableCondition);
  // The common check, the integer data type code and a sign allowed.
  BOOL IsBindingValid() override;
};
