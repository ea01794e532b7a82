// The device's own text-to-float converter: '.' is its decimal point whatever the C runtime's
// locale, and typed numbers are rounded half away from zero by their first dropped digit.
// Its process-wide instance normalises the text of the device's float boxes on focus loss.
#pragma once

#include <CnvTextToValue.h>

class CPromptInfo;

class CCnvTextToFloat3 : public CCnvTextToValue {
 public:
  ~CCnvTextToFloat3() override = default;
  // S_OK for the base's characters (digits, '+', '-') and '.'; else the invalid-character code.
  HRESULT IsValidChar(wchar_t character) const override;
  // Always '.', so that the text tests of the base agree with the reading and writing here.
  wchar_t GetDecimalPoint() const override;

  // The trimmed text as a double: the empty-text code with prompt 2, any other rejection the
  // invalid-decimal code with prompt 4, beyond the float limits the above-maximum and
  // below-minimum codes with prompts 5 and 6. Nothing is stored on failure.
  HRESULT ConvertTextToDouble(const CString& text, double* value, CPromptInfo* prompt) const;
  HRESULT ConvertTextToFloat(const CString& text, float* value, CPromptInfo* prompt) const;
  // ConvertTextToDouble, then RoundText of the trimmed text.
  HRESULT ConvertTextToValueRounded(const CString& text, int decimals, float* value, CString* rounded,
                                    CPromptInfo* prompt) const;
  // The value with the given number of decimals ("%0.<decimals>f" with '.').
  HRESULT ConvertFloatToText(float value, int decimals, CString* text) const;
  // The value printed with one decimal more, then RoundText on that text.
  HRESULT RoundFloatToText(float value, int decimals, float* rounded, CString* text,
                           CPromptInfo* prompt) const;
  // Rounds value, the number that text holds, to decimals by the text's first dropped digit
  // (5 and above away from zero) and gives the rounded text and its value. E_FAIL for a text
  // that is no number.
  HRESULT RoundText(const CString& text, double value, int decimals, float* rounded,
                    CString* roundedText) const;
};

// Every operation with decimals outside 0 to 9 answers E_INVALIDARG and changes nothing.
inline constexpr int kCnvTextToFloat3MostDecimals = 9;

// The process-wide instance, made on first use and deleted at unload.
CCnvTextToFloat3* GetCnvTextToFloat3();
