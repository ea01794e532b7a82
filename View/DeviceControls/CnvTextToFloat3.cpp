#include "CnvTextToFloat3.h"

#include <clocale>
#include <cmath>
#include <memory>
#include <string>
#include <vector>
#if defined(_WIN32)
#include <stdio.h>
#include <stdlib.h>
#else
#include <crtwide.h>
#endif

#include <PVInputErrors.h>
#include <PromptInfo.h>

namespace {

constexpr double kFloatMaximum = 3.4028234663852886e38;
constexpr wchar_t kPoint = L'.';

// The "C" numeric conventions, whatever the process's current locale is.
_locale_t ClassicLocale() {
  struct Holder {
    _locale_t locale = _create_locale(LC_NUMERIC, "C");
    ~Holder() { _free_locale(locale); }
  };
  static Holder holder;
  return holder.locale;
}

#if defined(_WIN32)
// The runtime's import library has no wide form of the locale-bound conversion: the text goes
// through its narrow form, where a character outside ASCII ends the number as it would there.
double ReadNumber(const CString& text) {
  std::string narrow;
  for (const wchar_t* c = text.GetString(); *c; ++c) narrow += *c < 0x80 ? static_cast<char>(*c) : '?';
  return _strtod_l(narrow.c_str(), nullptr, ClassicLocale());
}
#else
double ReadNumber(const CString& text) {
  return _wcstod_l(text, nullptr, ClassicLocale());
}
#endif

CString FormatNumber(const wchar_t* format, double value) {
  const int length = _scwprintf_l(format, ClassicLocale(), value);
  if (length < 0) return CString();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  _swprintf_s_l(buffer.data(), buffer.size(), format, ClassicLocale(), value);
  return CString(buffer.data());
}

CString FixedFormat(int decimals) {
  CString format;
  format.Format(L"%s%d%c", L"%0.", decimals, L'f');
  return format;
}

bool DecimalsAreValid(int decimals) {
  return decimals >= 0 && decimals <= kCnvTextToFloat3MostDecimals;
}

std::unique_ptr<CCnvTextToFloat3> g_converter;

}  // namespace

HRESULT CCnvTextToFloat3::IsValidChar(wchar_t character) const {
  if (character == kPoint) return S_OK;
  return CCnvTextToValue::IsValidChar(character);
}

wchar_t CCnvTextToFloat3::GetDecimalPoint() const {
  return kPoint;
}

HRESULT CCnvTextToFloat3::ConvertTextToDouble(const CString& text, double* value, CPromptInfo* prompt) const {
  CString trimmed = text;
  TrimText(trimmed);
  const HRESULT valid = ValidateText(trimmed);
  if (valid == PV_E_EMPTY_TEXT) {
    if (prompt) GetErrorPromptInfo(PV_PROMPT_EMPTY_TEXT, prompt);
    return PV_E_EMPTY_TEXT;
  }
  if (FAILED(valid)) {
    if (prompt) FormatErrorPromptInfo(PV_PROMPT_INVALID_DECIMAL, text, prompt);
    return PV_E_INVALID_DECIMAL;
  }
  const double number = ReadNumber(trimmed);
  if (number > kFloatMaximum) {
    if (prompt)
      FormatErrorPromptInfo2(PV_PROMPT_ABOVE_MAXIMUM, text,
                             StandardExponent(FormatNumber(L"%0.6e", kFloatMaximum)), prompt);
    return PV_E_ABOVE_MAXIMUM;
  }
  if (number < -kFloatMaximum) {
    if (prompt)
      FormatErrorPromptInfo2(PV_PROMPT_BELOW_MINIMUM, text,
                             StandardExponent(FormatNumber(L"%0.6e", -kFloatMaximum)), prompt);
    return PV_E_BELOW_MINIMUM;
  }
  *value = number;
  return S_OK;
}

HRESULT CCnvTextToFloat3::ConvertTextToFloat(const CString& text, float* value, CPromptInfo* prompt) const {
  double number = 0;
  const HRESULT hr = ConvertTextToDouble(text, &number, prompt);
  if (SUCCEEDED(hr)) *value = static_cast<float>(number);
  return hr;
}

HRESULT CCnvTextToFloat3::ConvertTextToValueRounded(const CString& text, int decimals, float* value,
                                                    CString* rounded, CPromptInfo* prompt) const {
  if (!DecimalsAreValid(decimals)) return E_INVALIDARG;
  double number = 0;
  const HRESULT hr = ConvertTextToDouble(text, &number, prompt);
  if (FAILED(hr)) return hr;
  // The digits are counted on the trimmed text: a trailing blank is no dropped digit.
  CString trimmed = text;
  TrimText(trimmed);
  return RoundText(trimmed, number, decimals, value, rounded);
}

HRESULT CCnvTextToFloat3::ConvertFloatToText(float value, int decimals, CString* text) const {
  if (!DecimalsAreValid(decimals)) return E_INVALIDARG;
  *text = FormatNumber(FixedFormat(decimals), static_cast<double>(value));
  return S_OK;
}

HRESULT CCnvTextToFloat3::RoundFloatToText(float value, int decimals, float* rounded, CString* text,
                                           CPromptInfo*) const {
  if (!DecimalsAreValid(decimals)) return E_INVALIDARG;
  const double number = static_cast<double>(value);
  return RoundText(FormatNumber(FixedFormat(decimals + 1), number), number, decimals, rounded, text);
}

HRESULT CCnvTextToFloat3::RoundText(const CString& text, double value, int decimals, float* rounded,
                                    CString* roundedText) const {
  if (!DecimalsAreValid(decimals)) return E_INVALIDARG;
  if (FAILED(ValidateText(text))) return E_FAIL;
  const int point = text.ReverseFind(kPoint);
  const double sign = text[0] == L'-' ? -1.0 : 1.0;
  if (point >= 0 && text.GetLength() - point - 1 > decimals) {
    const wchar_t dropped = text[point + decimals + 1];
    if (dropped >= L'5' && dropped <= L'9') {
      value += sign * 0.5 / std::pow(10.0, decimals);
    }
  }
  const CString formatted = FormatNumber(FixedFormat(decimals), value);
  *roundedText = formatted;
  *rounded = static_cast<float>(ReadNumber(formatted));
  return S_OK;
}

CCnvTextToFloat3* GetCnvTextToFloat3() {
  if (!g_converter) g_converter = std::make_unique<CCnvTextToFloat3>();
  return g_converter.get();
}
