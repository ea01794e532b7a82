// VARIANT handling and conversion. Every conversion among the scalar types goes through one
// rule: the source is read into a Number (an exact integer, or a floating-point value with its
// precision), and the Number is written as the target type, with one range check, one
// rounding helper, one text parser and one text formatter.
#include "com_internal.h"
#include "crtwide.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace platform::com {

namespace {

struct ValueSizeEntry {
  VARTYPE vt;
  ULONG size;
};

constexpr ValueSizeEntry kValueSizes[] = {
    {VT_I1, 1},
    {VT_UI1, 1},
    {VT_I2, 2},
    {VT_UI2, 2},
    {VT_BOOL, sizeof(VARIANT_BOOL)},
    {VT_I4, 4},
    {VT_UI4, 4},
    {VT_INT, sizeof(INT)},
    {VT_UINT, sizeof(UINT)},
    {VT_R4, sizeof(FLOAT)},
    {VT_ERROR, sizeof(SCODE)},
    {VT_I8, 8},
    {VT_UI8, 8},
    {VT_R8, sizeof(DOUBLE)},
    {VT_CY, sizeof(CY)},
    {VT_DATE, sizeof(DATE)},
    {VT_BSTR, sizeof(BSTR)},
    {VT_UNKNOWN, sizeof(IUnknown*)},
    {VT_DISPATCH, sizeof(IDispatch*)},
    {VT_VARIANT, sizeof(VARIANT)},
    {VT_DECIMAL, sizeof(DECIMAL)},
};

}  // namespace

ULONG ValueSize(VARTYPE base) {
  for (const ValueSizeEntry& entry : kValueSizes)
    if (entry.vt == base) return entry.size;
  return 0;
}

}  // namespace platform::com

using platform::com::ValueSize;

namespace {

// A type tag a VARIANT may carry: a base type with a value, or VT_EMPTY / VT_NULL alone;
// VT_VARIANT only by reference or as an array's element type.
bool IsValidVariantType(VARTYPE vt) {
  if (vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) return false;
  const VARTYPE base = vt & VT_TYPEMASK;
  if (base == VT_EMPTY || base == VT_NULL) return vt == base;
  if (base == VT_VARIANT) return (vt & (VT_ARRAY | VT_BYREF)) != 0;
  return ValueSize(base) != 0;
}

bool IsInterfaceType(VARTYPE vt) {
  return vt == VT_UNKNOWN || vt == VT_DISPATCH;
}

// Copies what src owns into out (which holds nothing yet): a BSTR duplicated with its byte
// length, an interface AddRef'd, an array copied. By-reference variants copy the pointer.
HRESULT CopyOwnedValue(VARIANT* out, const VARIANT& src) {
  *out = src;
  if (src.vt & VT_BYREF) return S_OK;
  if (src.vt & VT_ARRAY) {
    out->parray = nullptr;
    HRESULT hr = SafeArrayCopy(src.parray, &out->parray);
    if (FAILED(hr)) out->vt = VT_EMPTY;
    return hr;
  }
  if (src.vt == VT_BSTR && src.bstrVal) {
    out->bstrVal =
        SysAllocStringByteLen(reinterpret_cast<LPCSTR>(src.bstrVal), SysStringByteLen(src.bstrVal));
    if (!out->bstrVal) {
      out->vt = VT_EMPTY;
      return E_OUTOFMEMORY;
    }
  } else if (IsInterfaceType(src.vt) && src.punkVal) {
    src.punkVal->AddRef();
  }
  return S_OK;
}

// Copies the value a by-reference variant points to into out (which holds nothing yet).
HRESULT CopyReferencedValue(VARIANT* out, const VARIANT& src) {
  const VARTYPE vt = src.vt & ~VT_BYREF;
  if (!src.byref) return E_INVALIDARG;
  if (vt == VT_VARIANT) {
    if (src.pvarVal->vt & VT_BYREF) return E_INVALIDARG;
    return CopyOwnedValue(out, *src.pvarVal);
  }
  VARIANT value;
  VariantInit(&value);
  if (vt == VT_DECIMAL) {
    value.decVal = *src.pdecVal;  // overlays the type tag, set after it
  } else if (vt & VT_ARRAY) {
    value.parray = *src.pparray;
  } else {
    std::memcpy(&value.llVal, src.byref, ValueSize(vt));
  }
  value.vt = vt;
  return CopyOwnedValue(out, value);
}

}  // namespace

void VariantInit(VARIANTARG* pvarg) {
  if (pvarg) pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  if (!IsValidVariantType(pvarg->vt)) return DISP_E_BADVARTYPE;
  if (!(pvarg->vt & VT_BYREF)) {
    if (pvarg->vt & VT_ARRAY) {
      HRESULT hr = SafeArrayDestroy(pvarg->parray);
      if (FAILED(hr)) return hr;
    } else if (pvarg->vt == VT_BSTR) {
      SysFreeString(pvarg->bstrVal);
    } else if (IsInterfaceType(pvarg->vt) && pvarg->punkVal) {
      pvarg->punkVal->Release();
    }
  }
  pvarg->vt = VT_EMPTY;
  return S_OK;
}

// Replaces *dest by value (which dest then owns); on failure to clear dest, value is freed.
static HRESULT ReplaceVariant(VARIANT* dest, VARIANT& value) {
  HRESULT hr = VariantClear(dest);
  if (FAILED(hr)) {
    VariantClear(&value);
    return hr;
  }
  *dest = value;
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  if (!IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  HRESULT hr = CopyOwnedValue(&copy, *pvargSrc);
  if (FAILED(hr)) return hr;
  return ReplaceVariant(pvargDest, copy);
}

HRESULT VariantCopyInd(VARIANT* pvarDest, const VARIANTARG* pvargSrc) {
  if (!pvarDest || !pvargSrc) return E_INVALIDARG;
  if (!(pvargSrc->vt & VT_BYREF)) return VariantCopy(pvarDest, pvargSrc);
  if (!IsValidVariantType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy;
  VariantInit(&copy);
  HRESULT hr = CopyReferencedValue(&copy, *pvargSrc);
  if (FAILED(hr)) return hr;
  return ReplaceVariant(pvarDest, copy);
}

// ---------------------------------------------------------------------------------------------
// Conversion.

namespace {

using Int = __int128;

// A scalar value between reading and writing.
struct Number {
  enum class Form { Integer, Single, Double } form = Form::Integer;
  Int integer = 0;
  double real = 0;
  bool boolean = false;            // read from VT_BOOL: the text form may be "True"/"False"
  bool empty = false;              // read from VT_EMPTY: the text form is ""
  bool sameSizeOtherSign = false;  // read from an integer type the target mirrors in sign
};

enum class Kind { Empty, Integer, Single, Double, Bool, Text };

struct ScalarType {
  VARTYPE vt;
  Kind kind;
  Int min;
  Int max;
  Int (*readInteger)(const VARIANT&);
  void (*writeInteger)(VARIANT&, Int);
};

template <class T>
Int ReadIntegerAs(const VARIANT& v) {
  T value;
  std::memcpy(&value, &v.llVal, sizeof value);
  return value;
}

template <class T>
void WriteIntegerAs(VARIANT& v, Int value) {
  const T narrowed = static_cast<T>(value);
  std::memcpy(&v.llVal, &narrowed, sizeof narrowed);
}

template <class T>
constexpr ScalarType IntegerType(VARTYPE vt) {
  return {vt,
          Kind::Integer,
          std::numeric_limits<T>::min(),
          std::numeric_limits<T>::max(),
          ReadIntegerAs<T>,
          WriteIntegerAs<T>};
}

constexpr ScalarType OtherType(VARTYPE vt, Kind kind) {
  return {vt, kind, 0, 0, nullptr, nullptr};
}

// The scalar types VariantChangeType converts among, with the C type of each integer type.
constexpr ScalarType kScalarTypes[] = {
    OtherType(VT_EMPTY, Kind::Empty), IntegerType<int8_t>(VT_I1),     IntegerType<int16_t>(VT_I2),
    IntegerType<int32_t>(VT_I4),      IntegerType<int64_t>(VT_I8),    IntegerType<uint8_t>(VT_UI1),
    IntegerType<uint16_t>(VT_UI2),    IntegerType<uint32_t>(VT_UI4),  IntegerType<uint64_t>(VT_UI8),
    IntegerType<INT>(VT_INT),         IntegerType<UINT>(VT_UINT),     OtherType(VT_R4, Kind::Single),
    OtherType(VT_R8, Kind::Double),   OtherType(VT_BOOL, Kind::Bool), OtherType(VT_BSTR, Kind::Text),
};

const ScalarType* FindScalarType(VARTYPE vt) {
  for (const ScalarType& type : kScalarTypes)
    if (type.vt == vt) return &type;
  return nullptr;
}

// The one rounding rule of floating point to integer: to nearest, halves to even.
double RoundHalfToEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The power of ten of the leading digit of a number in the C library's form ("0.05e3" -> 1).
long DecimalMagnitude(const std::string& ascii) {
  const size_t e = ascii.find('e');
  const std::string mantissa = ascii.substr(0, e);
  long exponent = 0;
  if (e != std::string::npos) {
    const std::string digits = ascii.substr(e + 1);
    for (char c : digits)
      if (c >= '0' && c <= '9' && exponent < 100000) exponent = exponent * 10 + (c - '0');
    if (!digits.empty() && digits[0] == '-') exponent = -exponent;
  }
  const size_t point = mantissa.find('.');
  const long integerDigits = static_cast<long>(point == std::string::npos ? mantissa.size() : point);
  const size_t first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return std::numeric_limits<long>::min();  // zero
  const long position = first < static_cast<size_t>(integerDigits)
                            ? integerDigits - static_cast<long>(first) - 1
                            : integerDigits - static_cast<long>(first);
  return position + exponent;
}

// The one text-to-number path: blanks, an optional sign, digits with an optional '.' fraction,
// an optional exponent, blanks. A whole number is read exactly; anything else as a double.
HRESULT ParseNumber(std::wstring_view text, Number& number) {
  text = TrimBlanks(text);
  std::string ascii;  // the number in the C library's form, without a leading '+'
  size_t i = 0;
  const auto at = [&](size_t k) { return k < text.size() ? text[k] : L'\0'; };
  bool negative = false;
  if (at(i) == L'+' || at(i) == L'-') negative = text[i++] == L'-';
  size_t digits = 0;
  bool whole = true;
  for (; at(i) >= L'0' && at(i) <= L'9'; ++i, ++digits) ascii += static_cast<char>(text[i]);
  if (at(i) == L'.') {
    whole = false;
    ascii += '.';
    for (++i; at(i) >= L'0' && at(i) <= L'9'; ++i, ++digits) ascii += static_cast<char>(text[i]);
  }
  if (digits == 0) return DISP_E_TYPEMISMATCH;
  if (at(i) == L'e' || at(i) == L'E') {
    whole = false;
    ascii += 'e';
    ++i;
    if (at(i) == L'+' || at(i) == L'-') ascii += static_cast<char>(text[i++]);
    size_t exponentDigits = 0;
    for (; at(i) >= L'0' && at(i) <= L'9'; ++i, ++exponentDigits) ascii += static_cast<char>(text[i]);
    if (exponentDigits == 0) return DISP_E_TYPEMISMATCH;
  }
  if (i != text.size()) return DISP_E_TYPEMISMATCH;

  if (whole && digits <= 36) {  // fits an Int exactly
    Int value = 0;
    for (char c : ascii) value = value * 10 + (c - '0');
    number.form = Number::Form::Integer;
    number.integer = negative ? -value : value;
    return S_OK;
  }
  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small a magnitude reads as zero; too large a one fits no type.
    if (DecimalMagnitude(ascii) > 0) return DISP_E_OVERFLOW;
    value = 0;
  } else if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) {
    return DISP_E_TYPEMISMATCH;
  }
  number.form = Number::Form::Double;
  number.real = negative ? -value : value;
  return S_OK;
}

std::wstring FormatInteger(Int value) {
  const bool negative = value < 0;
  unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(value) : value;
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  return negative ? L"-" + digits : digits;
}

// The value with at most maxDigits significant digits (15 for a double, 7 for a float), the
// last one rounded half away from zero on the value's exact decimal expansion, trailing zeros
// dropped. Fixed notation while the digits it needs (integer digits, or the zeros after the
// point and the significant digits) are no more than maxDigits; exponent form beyond
// ("5.6789E-12", "1E+15", two exponent digits at least).
std::wstring FormatReal(double value, bool single) {
  const int maxDigits = single ? 7 : 15;
  if (!std::isfinite(value)) return std::isnan(value) ? L"NaN" : (value < 0 ? L"-Infinity" : L"Infinity");
  if (value == 0) return L"0";
  // Every binary floating-point value has a finite decimal expansion: 767 significant digits
  // hold the longest a double has, so this text is exact.
  char buffer[800];
  const std::to_chars_result written =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 767);
  // buffer: "d.ddd...e+XX": split into significant digits and decimal exponent.
  const std::string_view scientific(buffer, static_cast<size_t>(written.ptr - buffer));
  const size_t e = scientific.find('e');
  int exponent = std::stoi(std::string(scientific.substr(e + 1)));
  std::string digits;
  for (char c : scientific.substr(0, e))
    if (c >= '0' && c <= '9') digits += c;
  const bool roundUp = digits[static_cast<size_t>(maxDigits)] >= '5';
  digits.resize(static_cast<size_t>(maxDigits));
  if (roundUp) {
    int i = maxDigits - 1;
    for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i) digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++digits[static_cast<size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');  // 9.99... became 10.0...
      digits.pop_back();
      ++exponent;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int significant = static_cast<int>(digits.size());

  std::string text = value < 0 ? "-" : "";
  const bool fixed = exponent >= 0 ? exponent < maxDigits : -exponent - 1 + significant <= maxDigits;
  if (!fixed) {
    text += digits[0];
    if (digits.size() > 1) text += "." + digits.substr(1);
    const std::string exponentDigits = std::to_string(std::abs(exponent));
    text += exponent < 0 ? "E-" : "E+";
    text += (exponentDigits.size() < 2 ? "0" : "") + exponentDigits;
  } else if (exponent < 0) {
    text += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else {
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      text += digits + std::string(integerDigits - digits.size(), '0');
    } else {
      text += digits.substr(0, integerDigits) + "." + digits.substr(integerDigits);
    }
  }
  return std::wstring(text.begin(), text.end());
}

HRESULT ReadNumber(const VARIANT& source, const ScalarType& type, VARTYPE target, Number& number) {
  switch (type.kind) {
    case Kind::Empty:
      number.empty = true;
      return S_OK;
    case Kind::Integer:
      number.integer = type.readInteger(source);
      return S_OK;
    case Kind::Single:
      number.form = Number::Form::Single;
      number.real = source.fltVal;
      return S_OK;
    case Kind::Double:
      number.form = Number::Form::Double;
      number.real = source.dblVal;
      return S_OK;
    case Kind::Bool:
      number.integer = source.boolVal;  // VARIANT_TRUE is -1; any other value converts as it is
      number.boolean = true;
      return S_OK;
    case Kind::Text: {
      const std::wstring_view text(source.bstrVal ? source.bstrVal : L"", SysStringLen(source.bstrVal));
      if (target == VT_BOOL) {
        const std::wstring word(TrimBlanks(text));
        if (_wcsicmp(word.c_str(), L"True") == 0 || _wcsicmp(word.c_str(), L"False") == 0) {
          number.integer = _wcsicmp(word.c_str(), L"True") == 0 ? -1 : 0;
          return S_OK;
        }
      }
      return ParseNumber(text, number);
    }
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT WriteNumber(const Number& number, const ScalarType& type, USHORT flags, VARIANT& out) {
  const bool real = number.form != Number::Form::Integer;
  switch (type.kind) {
    case Kind::Empty:
      break;
    case Kind::Integer: {
      Int value = number.integer;
      if (number.sameSizeOtherSign) {
        // An integer of the same size and the other signedness keeps its bits.
        value = number.integer < type.min   ? number.integer + (type.max - type.min + 1)
                : number.integer > type.max ? number.integer - (type.max - type.min + 1)
                                            : number.integer;
      }
      if (real) {
        const double rounded = RoundHalfToEven(number.real);
        if (!(std::abs(rounded) < 1e30)) return DISP_E_OVERFLOW;  // also NaN
        value = static_cast<Int>(rounded);
      }
      if (value < type.min || value > type.max) return DISP_E_OVERFLOW;
      type.writeInteger(out, value);
      break;
    }
    case Kind::Single: {
      const double value = real ? number.real : static_cast<double>(number.integer);
      if (std::isfinite(value) && std::abs(value) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
      out.fltVal = static_cast<float>(value);
      break;
    }
    case Kind::Double:
      out.dblVal = real ? number.real : static_cast<double>(number.integer);
      break;
    case Kind::Bool:
      out.boolVal = (real ? number.real != 0 : number.integer != 0) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Kind::Text: {
      std::wstring text;
      if (number.empty) {
        text = L"";
      } else if (number.boolean && (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))) {
        text = number.integer ? L"True" : L"False";
      } else if (real) {
        text = FormatReal(number.real, number.form == Number::Form::Single);
      } else {
        text = FormatInteger(number.integer);
      }
      out.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
      if (!out.bstrVal) return E_OUTOFMEMORY;
      break;
    }
  }
  out.vt = type.vt;
  return S_OK;
}

// Converts source (owned by the caller, taken over when it is moved) into out, which holds
// nothing yet and holds nothing again on failure.
HRESULT Convert(VARIANT& source, VARTYPE vt, USHORT flags, VARIANT& out) {
  if (source.vt == vt) {
    out = source;
    source.vt = VT_EMPTY;
    return S_OK;
  }
  if (IsInterfaceType(source.vt) && IsInterfaceType(vt)) {
    out.punkVal = nullptr;
    if (source.punkVal) {
      HRESULT hr = source.punkVal->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown,
                                                  reinterpret_cast<void**>(&out.punkVal));
      if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
    }
    out.vt = vt;
    return S_OK;
  }
  const ScalarType* from = FindScalarType(source.vt);
  const ScalarType* to = FindScalarType(vt);
  if (!from || !to) return DISP_E_TYPEMISMATCH;
  if (to->kind == Kind::Empty) {
    out.vt = VT_EMPTY;
    return S_OK;
  }
  Number number;
  HRESULT hr = ReadNumber(source, *from, vt, number);
  if (FAILED(hr)) return hr;
  number.sameSizeOtherSign = from->kind == Kind::Integer && to->kind == Kind::Integer &&
                             from->max - from->min == to->max - to->min && from->min != to->min;
  VARIANT result;
  VariantInit(&result);
  hr = WriteNumber(number, *to, flags, result);
  if (SUCCEEDED(hr)) out = result;
  return hr;
}

}  // namespace

HRESULT VariantChangeTypeEx(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, LCID /*lcid*/, USHORT wFlags,
                            VARTYPE vt) {
  if (!pvargDest || !pvarSrc) return E_INVALIDARG;
  if (!IsValidVariantType(pvarSrc->vt) || !IsValidVariantType(vt) || (vt & VT_BYREF))
    return DISP_E_BADVARTYPE;
  VARIANT source;
  VariantInit(&source);
  HRESULT hr = VariantCopyInd(&source, pvarSrc);
  if (FAILED(hr)) return hr;
  VARIANT result;
  VariantInit(&result);
  hr = Convert(source, vt, wFlags, result);
  VariantClear(&source);
  if (FAILED(hr)) return hr;
  return ReplaceVariant(pvargDest, result);
}

HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt) {
  return VariantChangeTypeEx(pvargDest, pvarSrc, 0, wFlags, vt);
}
