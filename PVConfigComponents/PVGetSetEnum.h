// The value object of an enumeration's list position (a combo box's selection): the integer
// value and its text go to the adapter's enumeration operations; an enumeration has no
// minimum or maximum (E_FAIL, not logged). Made with new (one reference, the creator's).
#pragma once

#include "PVGetSetIntegerValue.h"

class CPVGetSetEnum : public CPVGetSetIntegerValue {
 public:
  CPVGetSetEnum(const wchar_t* memberName, IPVGetSetAdapter* adapter);

  using CPVGetSetIntegerValue::GetMaxValue;
  using CPVGetSetIntegerValue::GetMinValue;
  using CPVGetSetIntegerValue::GetValue;
  using CPVGetSetIntegerValue::SetValue;

  STDMETHODIMP GetValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(LONG value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(LONG* value, CPromptInfo* prompt) override;

 protected:
  ~CPVGetSetEnum() override;
};
