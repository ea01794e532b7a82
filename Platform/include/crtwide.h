// The platform C runtime's wide-string functions with the platform's meanings. In the
// platform's wide formats "%s" and "%c" take a wide string and a wide character ("%S",
// "%hs" narrow), "%l" on an integer is 32 bits (its long is), and "%I64" is 64 bits. The
// formatting functions here translate such a format to the host C library's conventions
// once, in one place, and then format with it.
#pragma once

#include <cstdarg>
#include <clocale>
#include <string>
#include <string_view>

#include "wtypesbase.h"

// Writes at most count characters. Returns the number written without the terminator, or -1
// when the text did not fit (then the buffer holds the first count characters, unterminated,
// as on the platform).
EXTERN_C PLATFORM_API int _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...);
EXTERN_C PLATFORM_API int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args);

// The number of characters the formatted text needs, without the terminator.
EXTERN_C PLATFORM_API int _scwprintf(const wchar_t* format, ...);
EXTERN_C PLATFORM_API int _vscwprintf(const wchar_t* format, va_list args);

// Secure form: always terminates; returns -1 and leaves an empty string when the text does
// not fit into count characters with its terminator.
EXTERN_C PLATFORM_API int swprintf_s(wchar_t* buffer, size_t count, const wchar_t* format, ...);
EXTERN_C PLATFORM_API int vswprintf_s(wchar_t* buffer, size_t count, const wchar_t* format, va_list args);

// Case-insensitive comparisons: negative, zero or positive as a < b, a == b, a > b.
EXTERN_C PLATFORM_API int _wcsicmp(const wchar_t* a, const wchar_t* b);
EXTERN_C PLATFORM_API int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count);

// A heap copy of the text, allocated with malloc (the caller frees it with free); null when
// out of memory or for a null text.
EXTERN_C PLATFORM_API wchar_t* _wcsdup(const wchar_t* text);

// Wide text to 64-bit integers (base 2 to 36, or 0 for a prefix-chosen base). Out of range:
// the limit and errno ERANGE. _wcstoui64 negates a value written with a leading '-', as the
// platform's does.
EXTERN_C PLATFORM_API int64_t _wcstoi64(const wchar_t* text, wchar_t** end, int base);
EXTERN_C PLATFORM_API uint64_t _wcstoui64(const wchar_t* text, wchar_t** end, int base);

// 64-bit integers to wide text in a radix of 2 to 36; returns buffer. A negative value in
// radix 10 gets a minus sign; in any other radix _i64tow writes the two's complement.
EXTERN_C PLATFORM_API wchar_t* _i64tow(int64_t value, wchar_t* buffer, int radix);
EXTERN_C PLATFORM_API wchar_t* _ui64tow(uint64_t value, wchar_t* buffer, int radix);

// Locale objects of the runtime: the conventions of one named locale, for the "_l" forms
// below, which use them in place of the current locale (setlocale). category is LC_ALL or
// one category such as LC_NUMERIC; the other categories are those of "C". Null for an
// unknown category or a locale name the system does not have. _free_locale accepts null.
struct PlatformCrtLocale;
typedef PlatformCrtLocale* _locale_t;
EXTERN_C PLATFORM_API _locale_t _create_locale(int category, const char* locale);
EXTERN_C PLATFORM_API void _free_locale(_locale_t locale);

// wcstod with the decimal point of the given locale (the current one for a null locale).
EXTERN_C PLATFORM_API double _wcstod_l(const wchar_t* text, wchar_t** end, _locale_t locale);
// swprintf_s and _scwprintf with the numeric conventions of the given locale (the current
// one for a null locale).
EXTERN_C PLATFORM_API int _swprintf_s_l(wchar_t* buffer, size_t count, const wchar_t* format,
                                        _locale_t locale, ...);
EXTERN_C PLATFORM_API int _vswprintf_s_l(wchar_t* buffer, size_t count, const wchar_t* format,
                                         _locale_t locale, va_list args);
EXTERN_C PLATFORM_API int _scwprintf_l(const wchar_t* format, _locale_t locale, ...);
EXTERN_C PLATFORM_API int _vscwprintf_l(const wchar_t* format, _locale_t locale, va_list args);

// The runtime's error number: 0 on success, EINVAL for a null output.
EXTERN_C PLATFORM_API int _set_errno(int value);
EXTERN_C PLATFORM_API int _get_errno(int* value);

namespace platform {
// The host C library's form of a platform wide format (exposed for tests).
PLATFORM_API std::wstring_view TranslateWideFormat(const wchar_t* format, std::wstring& storage);
}  // namespace platform
