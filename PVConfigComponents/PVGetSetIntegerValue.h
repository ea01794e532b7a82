// A DINT member (or, through CPVGetSetEnum, an enumeration's position): the 32-bit value, its
// limits, and their text forms (format code 3), converted by the framework's integer
// converter.
#pragma once

#include "PVGetSetMemberNameValue.h"

class CPVGetSetIntegerValue : public CPVGetSetMemberNameValue {
 public:
  using CPVGetSetValue::GetMaxValue;
  using CPVGetSetValue::GetMinValue;
  using CPVGetSetValue::GetValue;
  using CPVGetSetValue::SetValue;

  // The text forms go through the integer forms below (which a derived class may redirect).
  STDMETHODIMP GetValue(CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(LONG* value, CPromptInfo* prompt) override;
  // A rejected text writes nothing and returns its input-error code (the prompt prefixed
  // with the member name).
  STDMETHODIMP SetValue(const CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(LONG value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(LONG* value, CPromptInfo* prompt) override;

 protected:
  CPVGetSetIntegerValue(const wchar_t* memberName, IPVGetSetAdapter* adapter);
  ~CPVGetSetIntegerValue() override = 0;

 private:
  enum class Which { kValue, kMinimum, kMaximum };
  HRESULT Read(Which which, LONG* value);
  HRESULT ReadText(Which which, CString& text, int format, CPromptInfo* prompt);
};
