// The converters between typed text and numbers: which characters a number may hold, where
// its sign and decimal point may stand, how decimal places are rounded (in fixed point, on
// the digits as typed), and which limits give which input-error code and prompt.
#pragma once

#include <afx.h>

#include <cstdint>

class CPromptInfo;

// Removes leading and trailing white space.
void TrimText(CString& text);
// Cuts leading '0' characters ("007" -> "7", "0.5" -> ".5", "000" -> "0"); an empty text is
// left alone. Returns whether the text changed.
bool StripLeadingZeros(CString& text);
// A number written with an exponent ("%e"), with the exponent's digits as the C standard writes
// them: two, or more where needed. The runtime the Windows build links (msvcrt.dll) writes at
// least three ("3.402823e+038"), where the limits' prompts show "3.402823e+38".
CString StandardExponent(const CString& text);

class CCnvTextToValue {
 public:
  virtual ~CCnvTextToValue() = 0;
  // S_OK for '0'..'9', '+' and '-'; the invalid-character code for anything else.
  virtual HRESULT IsValidChar(wchar_t character) const;
  // The text as given: not empty, holds a digit, only valid characters, a sign only first,
  // at most one decimal point (the converter's).
  HRESULT ValidateText(const CString& text) const;
  // The sign and decimal-point tests of ValidateText alone, with the locale's decimal point.
  static HRESULT CheckSignAndDecimalPoint(const CString& text);
  // The decimal point the text tests look for: the C runtime's current one, read at every
  // use; a converter with a fixed point answers that.
  virtual wchar_t GetDecimalPoint() const;

 protected:
  CCnvTextToValue() = default;
  static HRESULT CheckSignAndDecimalPoint(const CString& text, wchar_t point);
};

class CCnvTextToFloat : public CCnvTextToValue {
 public:
  ~CCnvTextToFloat() override = default;
  // Also accepts the decimal point of the C runtime's current locale.
  HRESULT IsValidChar(wchar_t character) const override;

  HRESULT ConvertTextToFloat(const CString& text, float* value, CPromptInfo* prompt) const;
  // The number times scale (10 to the decimals) as a 64-bit integer, rounded half away from
  // zero on the first dropped digit when round is set, else cut.
  HRESULT ConvertTextToScaledInt64(const CString& text, int decimals, uint64_t scale, bool round,
                                   int64_t* value, CPromptInfo* prompt) const;
  // The scaled value as text with decimals places ("12.35" for 1235 with 2). Always S_OK.
  HRESULT ConvertScaledInt64ToText(int64_t value, int decimals, CString* text) const;
  HRESULT NormalizeText(const CString& text, int decimals, int64_t* scaled, CString* normalized,
                        CPromptInfo* prompt) const;
  HRESULT ConvertTextToValueRounded(const CString& text, int decimals, float* value, CString* normalized,
                                    CPromptInfo* prompt) const;
  // Printed with one digit more, then that text rounded: 1.005f with 2 decimals reads 1.01.
  HRESULT ConvertFloatToText(float value, int decimals, CString* text) const;
  HRESULT RoundFloatToText(float value, int decimals, CString* text, float* rounded) const;
  HRESULT RoundFloat(float value, int decimals, float* rounded) const;
  HRESULT ConvertTextToScaledLong(const CString& text, int decimals, int32_t* value,
                                  CPromptInfo* prompt) const;
  HRESULT ConvertTextToScaledInt64Truncated(const CString& text, int decimals, int64_t* value,
                                            CPromptInfo* prompt) const;
  HRESULT ConvertTextToScaledLongRounded(const CString& text, int decimals, int32_t* value,
                                         CString* normalized, CPromptInfo* prompt) const;
  HRESULT CheckInt32Range(int64_t value, int32_t* result, CPromptInfo* prompt) const;
};

class CCnvTextToInteger : public CCnvTextToValue {
 public:
  ~CCnvTextToInteger() override = default;

  HRESULT ConvertTextToValue(const CString& text, int64_t* value, CPromptInfo* prompt) const;
  HRESULT ConvertTextToLong(const CString& text, int32_t* value, CPromptInfo* prompt) const;
  HRESULT ConvertTextToULong(const CString& text, uint32_t* value, CPromptInfo* prompt) const;
  HRESULT ConvertTextToUInt64(const CString& text, uint64_t* value, CPromptInfo* prompt) const;
  // Base 10 without leading zeros. Always S_OK.
  HRESULT ConvertValueToText(int32_t value, CString* text) const;
  HRESULT ConvertValueToText(uint32_t value, CString* text) const;
  HRESULT ConvertValueToText(int64_t value, CString* text) const;
  HRESULT ConvertValueToText(uint64_t value, CString* text) const;
};

class CCnvTextToText : public CCnvTextToValue {
 public:
  ~CCnvTextToText() override = default;
};

// The process-wide converters, created on first use and deleted at unload.
CCnvTextToFloat* GetCnvTextToFloat();
CCnvTextToInteger* GetCnvTextToInteger();
CCnvTextToText* GetCnvTextToText();
