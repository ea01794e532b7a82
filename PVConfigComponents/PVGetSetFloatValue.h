// A REAL member: the float value, its limits, and their text forms (format code 4) with a
// given number of decimals, converted by the framework's float converter.
#pragma once

#include "PVGetSetMemberNameValue.h"

class CPVGetSetFloatValue : public CPVGetSetMemberNameValue {
 public:
  using CPVGetSetValue::GetMaxValue;
  using CPVGetSetValue::GetMinValue;
  using CPVGetSetValue::GetValue;
  using CPVGetSetValue::SetValue;

  STDMETHODIMP GetValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(float value, CPromptInfo* prompt) override;
  // The text is checked and rounded to the decimals first; a rejected text writes nothing
  // and returns its input-error code (the prompt prefixed with the member name).
  STDMETHODIMP SetValue(const CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(CString& text, int decimals, int format, CPromptInfo* prompt) override;

 protected:
  CPVGetSetFloatValue(const wchar_t* memberName, IPVGetSetAdapter* adapter);
  ~CPVGetSetFloatValue() override = 0;

 private:
  enum class Which { kValue, kMinimum, kMaximum };
  HRESULT Read(Which which, float* value);
  HRESULT ReadText(Which which, CString& text, int decimals, int format, CPromptInfo* prompt);
};
