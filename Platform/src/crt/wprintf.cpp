// Wide formatting with the platform C runtime's conventions, on the host C library.
#include <cstdlib>
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

// Walks each conversion: copies flags, width and precision, rewrites the size prefix and the
// conversion letter to what the host library expects for the same argument types.
std::wstring_view TranslateWideFormat(const wchar_t* format, std::wstring& out) {
  out.clear();
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
    // Size prefix as the platform reads it.
    enum class Size { None, Short, Long, LongLong, Wide64, Narrow, Wide, SizeT } size = Size::None;
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      size = Size::Wide64;
      p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (p[0] == L'I') {
      size = Size::SizeT;
      p += 1;
    } else if (p[0] == L'l' && p[1] == L'l') {
      size = Size::LongLong;
      p += 2;
    } else if (p[0] == L'h' && p[1] == L'h') {
      size = Size::Short;
      out += L"hh";
      p += 2;
    } else if (p[0] == L'h') {
      size = Size::Short;
      p += 1;
    } else if (p[0] == L'l' || p[0] == L'w') {
      size = Size::Long;
      p += 1;
    } else if (p[0] == L'L') {
      size = Size::Long;
      out += L'L';
      p += 1;
    } else if (p[0] == L'z' || p[0] == L't' || p[0] == L'j') {
      size = Size::SizeT;
      p += 1;
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

// Formats into a growing buffer; returns the full text.
std::wstring FormatAll(const wchar_t* format, va_list args) {
  std::wstring translated;
  platform::TranslateWideFormat(format, translated);
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
  std::wstring text = FormatAll(format, args);
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
  std::wstring text = FormatAll(format, args);
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
