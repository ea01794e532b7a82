// Wide formatting with the platform C runtime's conventions, on the host C library.
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

#include "crt_internal.h"
#include "crtwide.h"
#include "../internal/unicode.h"

namespace platform {

namespace {

bool IsFlagChar(wchar_t c) {
  return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

}  // namespace

// The size prefix of a conversion as the platform reads it ('l' and 'w' are 32 bits; I64, ll,
// I, z, t and j 64 bits; I32 the default); p moves past it.
enum class SizePrefix { kNone, kChar, kShort, kLong, kLongLong, kInt64, kSizeT, kLongDouble };

SizePrefix ReadSizePrefix(const wchar_t*& p) {
  // One look at the first letter (and the next where a longer prefix begins with it): this
  // runs for every conversion the product formats.
  switch (*p) {
    case L'I':
      if (p[1] == L'6' && p[2] == L'4') {
        p += 3;
        return SizePrefix::kInt64;
      }
      if (p[1] == L'3' && p[2] == L'2') {
        p += 3;
        return SizePrefix::kNone;
      }
      ++p;
      return SizePrefix::kSizeT;
    case L'l':
      if (p[1] == L'l') {
        p += 2;
        return SizePrefix::kLongLong;
      }
      ++p;
      return SizePrefix::kLong;
    case L'h':
      if (p[1] == L'h') {
        p += 2;
        return SizePrefix::kChar;
      }
      ++p;
      return SizePrefix::kShort;
    case L'w':
      ++p;
      return SizePrefix::kLong;
    case L'L':
      ++p;
      return SizePrefix::kLongDouble;
    case L'z':
    case L't':
    case L'j':
      ++p;
      return SizePrefix::kSizeT;
    default:
      return SizePrefix::kNone;
  }
}

// Walks each conversion: copies flags, width and precision, rewrites the size prefix and the
// conversion letter to what the host library expects for the same argument types.
std::wstring_view TranslateWideFormat(const wchar_t* format, std::wstring& out) {
  out.clear();
  out.reserve(wcslen(format) + 8);
  const wchar_t* p = format;
  while (*p) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    out += *p++;
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    while (IsFlagChar(*p)) out += *p++;
    while (*p == L'*' || std::iswdigit(static_cast<wint_t>(*p))) out += *p++;
    if (*p == L'.') {
      out += *p++;
      while (*p == L'*' || std::iswdigit(static_cast<wint_t>(*p))) out += *p++;
    }
    // The size prefix as the host library spells it for the same argument.
    enum class Size { None, Short, Long, LongLong, Wide64, SizeT } size = Size::None;
    switch (ReadSizePrefix(p)) {
      case SizePrefix::kNone:
        break;
      case SizePrefix::kChar:
        size = Size::Short;
        out += L"hh";
        break;
      case SizePrefix::kShort:
        size = Size::Short;
        break;
      case SizePrefix::kLong:
        size = Size::Long;
        break;
      case SizePrefix::kLongLong:
        size = Size::LongLong;
        break;
      case SizePrefix::kInt64:
        size = Size::Wide64;
        break;
      case SizePrefix::kSizeT:
        size = Size::SizeT;
        break;
      case SizePrefix::kLongDouble:
        size = Size::Long;
        out += L'L';
        break;
    }
    wchar_t conv = *p;
    if (conv == 0) break;
    ++p;
    switch (conv) {
      case L's':
      case L'c':
        // Wide unless marked narrow with 'h'.
        out += size == Size::Short ? L"" : L"l";
        out += conv;
        break;
      case L'S':
      case L'C':
        out += size == Size::Long ? L"l" : L"";
        out += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(conv)));
        break;
      case L'd':
      case L'i':
      case L'u':
      case L'x':
      case L'X':
      case L'o':
        if (size == Size::Wide64 || size == Size::LongLong) out += L"ll";
        if (size == Size::Short && out.back() != L'h') out += L'h';
        if (size == Size::SizeT) out += L'z';
        out += conv;
        break;
      case L'n':
        // Never writes through an argument: the platform runtime refuses it too.
        out += L"%";
        break;
      default:
        out += conv;
        break;
    }
  }
  return out;
}

}  // namespace platform

namespace {

// ---- Native formatting of the common conversions

// The conversions the product formats most (integers, characters, strings, "%%") are
// written here directly, with the C library's rules for flags, width and precision; the host
// library's wide formatting costs tens of times more for the same text. Anything else (floats,
// pointers, a narrow text outside ASCII, whose conversion depends on the locale, a null text)
// makes FormatNatively give up, and the host library formats the whole text instead.
struct Conversion {
  bool left = false, plus = false, space = false, alternate = false, zero = false;
  int width = 0;
  int precision = -1;  // none
};

void Pad(std::wstring& out, size_t length, int width, bool left, const std::wstring_view body) {
  const size_t padding =
      width > 0 && static_cast<size_t>(width) > length ? static_cast<size_t>(width) - length : 0;
  if (!left) out.append(padding, L' ');
  out.append(body);
  if (left) out.append(padding, L' ');
}

void AppendInteger(std::wstring& out, const Conversion& c, unsigned long long magnitude, bool negative,
                   bool isSigned, wchar_t conv) {
  const unsigned base = conv == L'o' ? 8 : (conv == L'x' || conv == L'X') ? 16 : 10;
  const wchar_t* digitsOf = conv == L'X' ? L"0123456789ABCDEF" : L"0123456789abcdef";
  wchar_t digits[32];
  int count = 0;
  for (unsigned long long v = magnitude; v; v /= base) digits[count++] = digitsOf[v % base];
  wchar_t prefix[3];
  int prefixLength = 0;
  if (isSigned && (negative || c.plus || c.space))
    prefix[prefixLength++] = negative ? L'-' : c.plus ? L'+' : L' ';
  if (c.alternate && magnitude != 0 && base == 16) {
    prefix[prefixLength++] = L'0';
    prefix[prefixLength++] = conv;
  }
  int minimum = c.precision >= 0 ? c.precision : 1;
  if (c.alternate && base == 8 && minimum <= count) minimum = count + 1;  // a leading zero
  if (magnitude == 0 && c.precision == 0 && !(c.alternate && base == 8)) minimum = 0;
  int zeros = minimum > count ? minimum - count : 0;
  if (c.zero && !c.left && c.precision < 0 && c.width > prefixLength + zeros + count)
    zeros = c.width - prefixLength - count;
  const int length = prefixLength + zeros + count;
  const size_t padding = c.width > length ? static_cast<size_t>(c.width - length) : 0;
  if (!c.left) out.append(padding, L' ');
  out.append(prefix, static_cast<size_t>(prefixLength));
  out.append(static_cast<size_t>(zeros), L'0');
  while (count > 0) out += digits[--count];
  if (c.left) out.append(padding, L' ');
}

bool FormatNatively(const wchar_t* format, va_list source, std::wstring& out) {
  va_list args;
  va_copy(args, source);
  out.clear();
  bool done = true;
  for (const wchar_t* p = format; *p && done;) {
    if (*p != L'%') {
      const wchar_t* run = p;
      while (*p && *p != L'%') ++p;
      out.append(run, static_cast<size_t>(p - run));
      continue;
    }
    ++p;
    if (*p == L'%') {
      out += *p++;
      continue;
    }
    Conversion c;
    for (;; ++p) {
      if (*p == L'-')
        c.left = true;
      else if (*p == L'+')
        c.plus = true;
      else if (*p == L' ')
        c.space = true;
      else if (*p == L'#')
        c.alternate = true;
      else if (*p == L'0')
        c.zero = true;
      else
        break;
    }
    if (*p == L'*') {
      c.width = va_arg(args, int);
      if (c.width < 0) {
        c.left = true;
        c.width = -c.width;
      }
      ++p;
    } else {
      for (; *p >= L'0' && *p <= L'9'; ++p) c.width = c.width * 10 + (*p - L'0');
    }
    if (*p == L'.') {
      ++p;
      c.precision = 0;
      if (*p == L'*') {
        c.precision = va_arg(args, int);
        if (c.precision < 0) c.precision = -1;
        ++p;
      } else {
        for (; *p >= L'0' && *p <= L'9'; ++p) c.precision = c.precision * 10 + (*p - L'0');
      }
    }
    if (c.width > 4096 || c.precision > 4096) {
      done = false;  // the host library's limits then
      break;
    }
    enum class Size { kDefault, kChar, kShort, kLong, kWide64 } size = Size::kDefault;
    switch (platform::ReadSizePrefix(p)) {
      case platform::SizePrefix::kNone:
        break;
      case platform::SizePrefix::kChar:
        size = Size::kChar;
        break;
      case platform::SizePrefix::kShort:
        size = Size::kShort;
        break;
      case platform::SizePrefix::kLong:
        size = Size::kLong;
        break;
      case platform::SizePrefix::kLongLong:
      case platform::SizePrefix::kInt64:
      case platform::SizePrefix::kSizeT:
        size = Size::kWide64;
        break;
      case platform::SizePrefix::kLongDouble:
        done = false;
        break;  // no integer, character or text
    }
    if (!done) break;
    const wchar_t conv = *p ? *p++ : L'\0';
    switch (conv) {
      case L'd':
      case L'i': {
        long long value = size == Size::kWide64 ? va_arg(args, long long) : va_arg(args, int);
        if (size == Size::kShort) value = static_cast<short>(value);
        if (size == Size::kChar) value = static_cast<signed char>(value);
        const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                       : static_cast<unsigned long long>(value);
        AppendInteger(out, c, magnitude, value < 0, true, conv);
        break;
      }
      case L'u':
      case L'x':
      case L'X':
      case L'o': {
        unsigned long long value =
            size == Size::kWide64 ? va_arg(args, unsigned long long) : va_arg(args, unsigned int);
        if (size == Size::kShort) value = static_cast<unsigned short>(value);
        if (size == Size::kChar) value = static_cast<unsigned char>(value);
        AppendInteger(out, c, value, false, false, conv);
        break;
      }
      case L'c':
      case L'C': {
        const bool narrow = conv == L'c' ? size == Size::kShort : size != Size::kLong;
        const int value = va_arg(args, int);
        if (narrow && (value & 0xFF) >= 0x80) {
          done = false;
          break;
        }
        const wchar_t character = narrow ? static_cast<wchar_t>(value & 0xFF) : static_cast<wchar_t>(value);
        Pad(out, 1, c.width, c.left, std::wstring_view(&character, 1));
        break;
      }
      case L's':
      case L'S': {
        const bool narrow = conv == L's' ? size == Size::kShort : size != Size::kLong;
        const void* text = va_arg(args, const void*);
        if (!text) {
          done = false;
          break;
        }
        const size_t limit = c.precision >= 0 ? static_cast<size_t>(c.precision) : SIZE_MAX;
        if (narrow) {
          const char* bytes = static_cast<const char*>(text);
          std::wstring wide;
          for (size_t i = 0; i < limit && bytes[i]; ++i) {
            if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
              done = false;
              break;
            }
            wide += static_cast<wchar_t>(bytes[i]);
          }
          if (done) Pad(out, wide.size(), c.width, c.left, wide);
        } else {
          const wchar_t* wide = static_cast<const wchar_t*>(text);
          const size_t length = wcsnlen(wide, limit);
          Pad(out, length, c.width, c.left, std::wstring_view(wide, length));
        }
        break;
      }
      default:
        done = false;
        break;
    }
  }
  va_end(args);
  return done;
}

// The format translated for the host library, in a buffer of the calling thread that keeps
// its capacity: formatting allocates nothing for the format once the thread has seen one as
// long. The host library never calls back into these functions while it formats.
const wchar_t* TranslatedFormat(const wchar_t* format) {
  thread_local std::wstring translated;
  platform::TranslateWideFormat(format, translated);
  return translated.c_str();
}

// Formats into a growing buffer; returns the full text.
std::wstring FormatAll(const wchar_t* format, va_list args) {
  const std::wstring translated = TranslatedFormat(format);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = vswprintf(buffer.data(), buffer.size(), translated.c_str(), copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < buffer.size())
      return std::wstring(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() > (1u << 24)) return std::wstring();
    buffer.resize(buffer.size() * 4);
  }
}

}  // namespace

EXTERN_C int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args) {
  if (!format || (!buffer && count)) return -1;
  thread_local std::wstring text;
  if (!FormatNatively(format, args, text)) {
    // A text that fits with its terminator is written in place by the host library; one that
    // does not is measured in full, for the platform's truncation rules.
    if (count > 0) {
      va_list copy;
      va_copy(copy, args);
      const int written = vswprintf(buffer, count, TranslatedFormat(format), copy);
      va_end(copy);
      if (written >= 0 && static_cast<size_t>(written) < count) return written;
    }
    text = FormatAll(format, args);
  }
  if (text.size() > count) {
    wmemcpy(buffer, text.data(), count);
    return -1;
  }
  wmemcpy(buffer, text.data(), text.size());
  if (text.size() < count) buffer[text.size()] = L'\0';
  return static_cast<int>(text.size());
}

EXTERN_C int _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = _vsnwprintf(buffer, count, format, args);
  va_end(args);
  return n;
}

EXTERN_C int _vscwprintf(const wchar_t* format, va_list args) {
  if (!format) return -1;
  thread_local std::wstring text;
  if (FormatNatively(format, args, text)) return static_cast<int>(text.size());
  return static_cast<int>(FormatAll(format, args).size());
}

EXTERN_C int _scwprintf(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = _vscwprintf(format, args);
  va_end(args);
  return n;
}

EXTERN_C int vswprintf_s(wchar_t* buffer, size_t count, const wchar_t* format, va_list args) {
  if (!buffer || count == 0 || !format) return -1;
  thread_local std::wstring text;
  if (!FormatNatively(format, args, text)) {
    va_list copy;
    va_copy(copy, args);
    const int written = vswprintf(buffer, count, TranslatedFormat(format), copy);
    va_end(copy);
    if (written >= 0 && static_cast<size_t>(written) < count) return written;
    text = FormatAll(format, args);
  }
  if (text.size() + 1 > count) {
    buffer[0] = L'\0';
    return -1;
  }
  wmemcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

EXTERN_C int swprintf_s(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = vswprintf_s(buffer, count, format, args);
  va_end(args);
  return n;
}

EXTERN_C int _vswprintf_s_l(wchar_t* buffer, size_t count, const wchar_t* format, _locale_t locale,
                            va_list args) {
  const platform::crt::ScopedThreadLocale scoped(locale);
  return vswprintf_s(buffer, count, format, args);
}

EXTERN_C int _swprintf_s_l(wchar_t* buffer, size_t count, const wchar_t* format, _locale_t locale, ...) {
  va_list args;
  va_start(args, locale);
  int n = _vswprintf_s_l(buffer, count, format, locale, args);
  va_end(args);
  return n;
}

EXTERN_C int _vscwprintf_l(const wchar_t* format, _locale_t locale, va_list args) {
  const platform::crt::ScopedThreadLocale scoped(locale);
  return _vscwprintf(format, args);
}

EXTERN_C int _scwprintf_l(const wchar_t* format, _locale_t locale, ...) {
  va_list args;
  va_start(args, locale);
  int n = _vscwprintf_l(format, locale, args);
  va_end(args);
  return n;
}

EXTERN_C int _wcsicmp(const wchar_t* a, const wchar_t* b) {
  return platform::CompareNoCase(a ? a : L"", b ? b : L"");
}

EXTERN_C int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count) {
  std::wstring_view x(a ? a : L""), y(b ? b : L"");
  return platform::CompareNoCase(x.substr(0, count), y.substr(0, count));
}

EXTERN_C wchar_t* _wcsdup(const wchar_t* text) {
  if (!text) return nullptr;
  const size_t units = wcslen(text) + 1;
  auto* copy = static_cast<wchar_t*>(malloc(units * sizeof(wchar_t)));
  if (copy) wmemcpy(copy, text, units);
  return copy;
}
