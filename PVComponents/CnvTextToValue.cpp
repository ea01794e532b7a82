#include "CnvTextToValue.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cwctype>
#include <limits>
#include <memory>

#include "PVInputErrors.h"
#include "PVLog.h"
#include "PromptInfo.h"

namespace {

constexpr CPVSourceLog Log(L"CnvTextToValue");
constexpr double kFloatMaximum = 3.4028234663852886e38;
constexpr int kMostDecimals = 9;

// The first character of the C runtime's current decimal-point string, read at every use.
wchar_t DecimalPoint() {
  const char* point = std::localeconv()->decimal_point;
  return point && *point ? static_cast<wchar_t>(static_cast<unsigned char>(*point)) : L'.';
}

// Prompts are fetched only when asked for; a failed fetch leaves the result code alone.
void EmptyTextPrompt(CPromptInfo* prompt) {
  if (prompt) GetErrorPromptInfo(PV_PROMPT_EMPTY_TEXT, prompt);
}

void Prompt(LONG id, const wchar_t* insert, CPromptInfo* prompt) {
  if (prompt) FormatErrorPromptInfo(id, insert, prompt);
}

void Prompt(LONG id, const wchar_t* insert1, const CString& insert2, CPromptInfo* prompt) {
  if (prompt) FormatErrorPromptInfo2(id, insert1, insert2, prompt);
}

// Trims a copy of the text and validates it: an empty text fetches the empty-text prompt, any
// other rejection the converter's own prompt with the text as typed.
HRESULT TrimAndValidate(const CCnvTextToValue& converter, const CString& text, CString* trimmed,
                        LONG invalidPrompt, HRESULT invalidCode, CPromptInfo* prompt) {
  *trimmed = text;
  TrimText(*trimmed);
  const HRESULT valid = converter.ValidateText(*trimmed);
  if (valid == PV_E_EMPTY_TEXT) {
    EmptyTextPrompt(prompt);
    return PV_E_EMPTY_TEXT;
  }
  if (FAILED(valid)) {
    Prompt(invalidPrompt, text, prompt);
    return invalidCode;
  }
  return S_OK;
}

CString FormatNumber(const wchar_t* format, double value) {
  CString text;
  text.Format(format, value);
  return text;
}

template <class Integer>
CString FormatInteger(const wchar_t* format, Integer value) {
  CString text;
  text.Format(format, value);
  return text;
}

// Logs a message whose %1!s! insert is the text.
void LogWithText(const wchar_t* format, const CString& text, const wchar_t* function, int line) {
  CString message;
  message.FormatMessage(format, static_cast<const wchar_t*>(text));
  Log(message, function, line);
}

// The decimal digits as an unsigned number; false when it exceeds 64 bits. No digits are 0.
bool ParseMagnitude(const CString& digits, uint64_t* magnitude) {
  uint64_t result = 0;
  for (int i = 0; i < digits.GetLength(); ++i) {
    if (__builtin_mul_overflow(result, uint64_t{10}, &result) ||
        __builtin_add_overflow(result, static_cast<uint64_t>(digits[i] - L'0'), &result))
      return false;
  }
  *magnitude = result;
  return true;
}

uint64_t PowerOfTen(int decimals) {
  return static_cast<uint64_t>(std::pow(10.0, decimals));
}

int64_t PowerOfTen32(int decimals) {
  int32_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  return scale;
}

template <class T>
T* Instance(std::unique_ptr<T>& holder) {
  if (!holder) holder = std::make_unique<T>();
  return holder.get();
}

std::unique_ptr<CCnvTextToFloat> g_float;
std::unique_ptr<CCnvTextToInteger> g_integer;
std::unique_ptr<CCnvTextToText> g_text;

}  // namespace

void TrimText(CString& text) {
  text.Trim();
}

bool StripLeadingZeros(CString& text) {
  if (text.IsEmpty()) return false;
  const CString before = text;
  int zeros = 0;
  while (zeros < text.GetLength() && text[zeros] == L'0') ++zeros;
  text = zeros == text.GetLength() ? CString(L"0") : text.Mid(zeros);
  return text != before;
}

CString StandardExponent(const CString& text) {
  const int e = std::max(text.ReverseFind(L'e'), text.ReverseFind(L'E'));
  if (e < 0) return text;
  int digits = e + 1;
  if (digits < text.GetLength() && (text[digits] == L'+' || text[digits] == L'-')) ++digits;
  const bool threeDigits = text.GetLength() - digits == 3;
  return threeDigits && text[digits] == L'0' ? text.Left(digits) + text.Mid(digits + 1) : text;
}

CCnvTextToValue::~CCnvTextToValue() = default;

HRESULT CCnvTextToValue::IsValidChar(wchar_t character) const {
  return (character >= L'0' && character <= L'9') || character == L'+' || character == L'-'
             ? S_OK
             : PV_E_INVALID_CHARACTER;
}

HRESULT CCnvTextToValue::ValidateText(const CString& text) const {
  if (text.IsEmpty()) return PV_E_EMPTY_TEXT;
  CString digits = text;
  digits.Remove(L'+');
  digits.Remove(L'-');
  const wchar_t point = GetDecimalPoint();
  digits.Remove(point);
  if (digits.IsEmpty()) return PV_E_NO_DIGIT;
  for (int i = 0; i < text.GetLength(); ++i) {
    const HRESULT hr = IsValidChar(text[i]);
    if (FAILED(hr)) return hr;
  }
  return CheckSignAndDecimalPoint(text, point);
}

wchar_t CCnvTextToValue::GetDecimalPoint() const {
  return DecimalPoint();
}

HRESULT CCnvTextToValue::CheckSignAndDecimalPoint(const CString& text) {
  return CheckSignAndDecimalPoint(text, DecimalPoint());
}

HRESULT CCnvTextToValue::CheckSignAndDecimalPoint(const CString& text, wchar_t point) {
  if (text.ReverseFind(L'-') > 0 || text.ReverseFind(L'+') > 0) return PV_E_SIGN_NOT_FIRST;
  if (text.Find(point) >= 0 && text.ReverseFind(point) != text.Find(point))
    return PV_E_MULTIPLE_DECIMAL_POINTS;
  return S_OK;
}

HRESULT CCnvTextToFloat::IsValidChar(wchar_t character) const {
  if (character == DecimalPoint()) return S_OK;
  return CCnvTextToValue::IsValidChar(character);
}

HRESULT CCnvTextToFloat::ConvertTextToFloat(const CString& text, float* value, CPromptInfo* prompt) const {
  CString trimmed;
  const HRESULT valid =
      TrimAndValidate(*this, text, &trimmed, PV_PROMPT_INVALID_DECIMAL, PV_E_INVALID_DECIMAL, prompt);
  if (FAILED(valid)) return valid;
  const double number = wcstod(trimmed, nullptr);
  if (number > kFloatMaximum) {
    Prompt(PV_PROMPT_ABOVE_MAXIMUM, text, StandardExponent(FormatNumber(L"%0.6e", kFloatMaximum)), prompt);
    return PV_E_ABOVE_MAXIMUM;
  }
  if (number < -kFloatMaximum) {
    Prompt(PV_PROMPT_BELOW_MINIMUM, text, StandardExponent(FormatNumber(L"%0.6e", -kFloatMaximum)), prompt);
    return PV_E_BELOW_MINIMUM;
  }
  *value = static_cast<float>(number);
  return S_OK;
}

// The digits are read from the trimmed text: on the text as typed a leading blank would hide
// the minus sign and a trailing blank would count as a fraction digit. The range is judged on
// the exact number the digits name, in integer arithmetic: the float of a text near 2 to the
// 63 rounds to it whether or not the number itself fits.
HRESULT CCnvTextToFloat::ConvertTextToScaledInt64(const CString& text, int decimals, uint64_t scale,
                                                  bool round, int64_t* value, CPromptInfo* prompt) const {
  static constexpr wchar_t kFunction[] = L"CCnvTextToFloat::ConvertTextToScaledInt64";
  float number = 0;
  const HRESULT hr = ConvertTextToFloat(text, &number, prompt);
  if (FAILED(hr)) return hr;
  CString digits = text;
  TrimText(digits);
  const bool negative = digits[0] == L'-';
  const int integerStart = negative || digits[0] == L'+' ? 1 : 0;
  const int point = digits.ReverseFind(DecimalPoint());
  const int integerEnd = point >= 0 ? point : digits.GetLength();
  // The magnitude of integer part times scale plus the fraction; the fraction has the sign of
  // the whole text, so the two magnitudes add.
  uint64_t magnitude = 0;
  bool fits = ParseMagnitude(digits.Mid(integerStart, integerEnd - integerStart), &magnitude) &&
              !__builtin_mul_overflow(magnitude, scale, &magnitude);
  if (fits && point >= 0) {
    int fractionLength = digits.GetLength() - point - 1;
    if (fractionLength < decimals) {
      digits += CString(L'0', decimals - fractionLength);
      fractionLength = decimals;
    }
    const int taken = round && fractionLength > decimals ? decimals + 1 : decimals;
    uint64_t fraction = 0;
    fits = ParseMagnitude(digits.Mid(point + 1, taken), &fraction);
    if (taken > decimals) fraction = (fraction + 5) / 10;
    fits = fits && !__builtin_add_overflow(magnitude, fraction, &magnitude);
  }
  // A negative number reaches one further than a positive one: 2 to the 63 itself.
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
  if (!fits || magnitude > limit) {
    LogWithText(L"Error: Conversion of float %1!s! exceeded _INT64 data type!\n", text, kFunction, __LINE__);
    return E_FAIL;
  }
  *value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
  return S_OK;
}

HRESULT CCnvTextToFloat::ConvertScaledInt64ToText(int64_t value, int decimals, CString* text) const {
  // The magnitude in unsigned arithmetic, so that the most negative value has one too.
  const bool negative = value < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  wchar_t buffer[32];
  CString digits = _ui64tow(magnitude, buffer, 10);
  TrimText(digits);
  const int n = digits.GetLength();
  CString result = n - decimals > 0 ? digits.Left(n - decimals) : CString(L"0");
  if (decimals != 0) {
    result += DecimalPoint();
    result += n < decimals ? CString(L'0', decimals - n) + digits : digits.Right(decimals);
  }
  result.Insert(0, negative ? L'-' : L' ');
  result.TrimLeft();
  *text = result;
  return S_OK;
}

HRESULT CCnvTextToFloat::NormalizeText(const CString& text, int decimals, int64_t* scaled,
                                       CString* normalized, CPromptInfo* prompt) const {
  int64_t value = 0;
  const HRESULT hr = ConvertTextToScaledInt64(text, decimals, PowerOfTen(decimals), true, &value, prompt);
  if (FAILED(hr)) return hr;
  *scaled = value;
  return ConvertScaledInt64ToText(value, decimals, normalized);
}

HRESULT CCnvTextToFloat::ConvertTextToValueRounded(const CString& text, int decimals, float* value,
                                                   CString* normalized, CPromptInfo* prompt) const {
  if (decimals < 0 || decimals > kMostDecimals) {
    Log(L"Invalid number of decimal places.", L"CCnvTextToFloat::ConvertTextToValueRounded", __LINE__);
    if (prompt) FormatErrorPromptInfo(PV_PROMPT_INVALID_DECIMALS, FormatInteger(L"%d", decimals), prompt);
    return E_FAIL;
  }
  int64_t scaled = 0;
  CString rounded;
  const HRESULT hr = NormalizeText(text, decimals, &scaled, &rounded, prompt);
  if (FAILED(hr)) return hr;
  *value = static_cast<float>(wcstod(rounded, nullptr));
  *normalized = rounded;
  return hr;
}

HRESULT CCnvTextToFloat::ConvertFloatToText(float value, int decimals, CString* text) const {
  CString format;
  format.Format(L"%s%d%c", L"%0.", decimals + 1, L'f');
  const CString printed = FormatNumber(format, static_cast<double>(value));
  int64_t scaled = 0;
  CString normalized;
  const HRESULT hr = NormalizeText(printed, decimals, &scaled, &normalized, nullptr);
  if (SUCCEEDED(hr)) *text = normalized;
  return hr;
}

HRESULT CCnvTextToFloat::RoundFloatToText(float value, int decimals, CString* text, float* rounded) const {
  CString normalized;
  const HRESULT hr = ConvertFloatToText(value, decimals, &normalized);
  if (FAILED(hr)) return hr;
  *text = normalized;
  *rounded = static_cast<float>(wcstod(normalized, nullptr));
  return hr;
}

HRESULT CCnvTextToFloat::RoundFloat(float value, int decimals, float* rounded) const {
  CString text;
  return RoundFloatToText(value, decimals, &text, rounded);
}

HRESULT CCnvTextToFloat::ConvertTextToScaledLong(const CString& text, int decimals, int32_t* value,
                                                 CPromptInfo* prompt) const {
  int64_t scaled = 0;
  const HRESULT hr = ConvertTextToScaledInt64(text, decimals, static_cast<uint64_t>(PowerOfTen32(decimals)),
                                              false, &scaled, prompt);
  return FAILED(hr) ? hr : CheckInt32Range(scaled, value, prompt);
}

HRESULT CCnvTextToFloat::ConvertTextToScaledInt64Truncated(const CString& text, int decimals, int64_t* value,
                                                           CPromptInfo* prompt) const {
  return ConvertTextToScaledInt64(text, decimals, static_cast<uint64_t>(PowerOfTen32(decimals)), false, value,
                                  prompt);
}

HRESULT CCnvTextToFloat::ConvertTextToScaledLongRounded(const CString& text, int decimals, int32_t* value,
                                                        CString* normalized, CPromptInfo* prompt) const {
  int64_t scaled = 0;
  HRESULT hr = ConvertTextToScaledInt64(text, decimals, static_cast<uint64_t>(PowerOfTen32(decimals)), true,
                                        &scaled, prompt);
  if (FAILED(hr)) return hr;
  int32_t narrowed = 0;
  hr = CheckInt32Range(scaled, &narrowed, prompt);
  if (FAILED(hr)) return hr;
  *value = narrowed;
  return ConvertScaledInt64ToText(scaled, decimals, normalized);
}

HRESULT CCnvTextToFloat::CheckInt32Range(int64_t value, int32_t* result, CPromptInfo* prompt) const {
  const auto limitCheck = [&](LONG promptId, int32_t limit, HRESULT code) {
    CString valueText;
    ConvertScaledInt64ToText(value, 0, &valueText);
    Prompt(promptId, valueText, FormatInteger(L"%d", limit), prompt);
    return code;
  };
  if (value > std::numeric_limits<int32_t>::max())
    return limitCheck(PV_PROMPT_ABOVE_MAXIMUM, std::numeric_limits<int32_t>::max(), PV_E_ABOVE_MAXIMUM);
  if (value < std::numeric_limits<int32_t>::min())
    return limitCheck(PV_PROMPT_BELOW_MINIMUM, std::numeric_limits<int32_t>::min(), PV_E_BELOW_MINIMUM);
  *result = static_cast<int32_t>(value);
  return S_OK;
}

HRESULT CCnvTextToInteger::ConvertTextToValue(const CString& text, int64_t* value,
                                              CPromptInfo* prompt) const {
  static constexpr wchar_t kFunction[] = L"CCnvTextToInteger::ConvertTextToValue";
  CString trimmed;
  const HRESULT valid =
      TrimAndValidate(*this, text, &trimmed, PV_PROMPT_INVALID_INTEGER, PV_E_INVALID_INTEGER, prompt);
  if (FAILED(valid)) return valid;
  if (_set_errno(0) != 0) Log(L"Failed to set errno!", kFunction, __LINE__);
  const int64_t number = _wcstoi64(trimmed, nullptr, 10);
  int error = 0;
  if (_get_errno(&error) != 0) Log(L"Failed to get errno.", kFunction, __LINE__);
  if (error == ERANGE) {
    CString message;
    message.Format(L"Error: Conversion of text %s exceeded __int64 data type!",
                   static_cast<const wchar_t*>(text));
    Log(message, kFunction, __LINE__);
    return E_FAIL;
  }
  *value = number;
  return S_OK;
}

HRESULT CCnvTextToInteger::ConvertTextToLong(const CString& text, int32_t* value, CPromptInfo* prompt) const {
  int64_t number = 0;
  const HRESULT hr = ConvertTextToValue(text, &number, prompt);
  if (FAILED(hr)) return hr;
  if (number > std::numeric_limits<int32_t>::max()) {
    Prompt(PV_PROMPT_ABOVE_MAXIMUM, text, FormatInteger(L"%d", std::numeric_limits<int32_t>::max()), prompt);
    return PV_E_ABOVE_MAXIMUM;
  }
  if (number < std::numeric_limits<int32_t>::min()) {
    Prompt(PV_PROMPT_BELOW_MINIMUM, text, FormatInteger(L"%d", std::numeric_limits<int32_t>::min()), prompt);
    return PV_E_BELOW_MINIMUM;
  }
  *value = static_cast<int32_t>(number);
  return S_OK;
}

HRESULT CCnvTextToInteger::ConvertTextToULong(const CString& text, uint32_t* value,
                                              CPromptInfo* prompt) const {
  int64_t number = 0;
  const HRESULT hr = ConvertTextToValue(text, &number, prompt);
  if (FAILED(hr)) return hr;
  if (number > std::numeric_limits<uint32_t>::max()) {
    Prompt(PV_PROMPT_ABOVE_MAXIMUM, text, FormatInteger(L"%u", std::numeric_limits<uint32_t>::max()), prompt);
    return PV_E_ABOVE_MAXIMUM;
  }
  if (number < 0) {
    Prompt(PV_PROMPT_BELOW_MINIMUM, text, FormatInteger(L"%d", 0), prompt);
    return PV_E_BELOW_MINIMUM;
  }
  *value = static_cast<uint32_t>(number);
  return S_OK;
}

// A value beyond the unsigned range is refused like a negative one: the conversion would
// otherwise store its limit as if it had been typed.
HRESULT CCnvTextToInteger::ConvertTextToUInt64(const CString& text, uint64_t* value,
                                               CPromptInfo* prompt) const {
  CString trimmed;
  const HRESULT valid =
      TrimAndValidate(*this, text, &trimmed, PV_PROMPT_INVALID_INTEGER, PV_E_INVALID_INTEGER, prompt);
  if (FAILED(valid)) return valid;
  _set_errno(0);
  const uint64_t number = _wcstoui64(trimmed, nullptr, 10);
  int error = 0;
  _get_errno(&error);
  if ((trimmed[0] == L'-' && number != 0) || error == ERANGE) {
    LogWithText(L"Error: Conversion of text %1!s! exceeded unsigned __int64 data type!\n", text,
                L"CCnvTextToInteger::ConvertTextToUInt64", __LINE__);
    return E_FAIL;
  }
  *value = number;
  return S_OK;
}

namespace {
CString CleanNumberText(const wchar_t* digits) {
  CString text(digits);
  TrimText(text);
  StripLeadingZeros(text);
  return text;
}
}  // namespace

HRESULT CCnvTextToInteger::ConvertValueToText(int32_t value, CString* text) const {
  return ConvertValueToText(static_cast<int64_t>(value), text);
}

HRESULT CCnvTextToInteger::ConvertValueToText(uint32_t value, CString* text) const {
  return ConvertValueToText(static_cast<uint64_t>(value), text);
}

HRESULT CCnvTextToInteger::ConvertValueToText(int64_t value, CString* text) const {
  wchar_t buffer[32];
  *text = CleanNumberText(_i64tow(value, buffer, 10));
  return S_OK;
}

HRESULT CCnvTextToInteger::ConvertValueToText(uint64_t value, CString* text) const {
  wchar_t buffer[32];
  *text = CleanNumberText(_ui64tow(value, buffer, 10));
  return S_OK;
}

CCnvTextToFloat* GetCnvTextToFloat() {
  return Instance(g_float);
}
CCnvTextToInteger* GetCnvTextToInteger() {
  return Instance(g_integer);
}
CCnvTextToText* GetCnvTextToText() {
  return Instance(g_text);
}
