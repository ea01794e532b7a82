// The value object of an enumeration's entry texts: the text form with format code 6 gives
// every text in list order, each followed by "\n". Made with new (one reference, the
// creator's).
#pragma once

#include "PVGetSetMemberNameValue.h"

class CPVGetEnumStrings : public CPVGetSetMemberNameValue {
 public:
  CPVGetEnumStrings(const wchar_t* memberName, IPVGetSetAdapter* adapter);

  using CPVGetSetValue::GetValue;
  STDMETHODIMP GetValue(CString& text, int format, CPromptInfo* prompt) override;

 protected:
  ~CPVGetEnumStrings() override;
};
