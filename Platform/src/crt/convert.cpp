// Wide-text number conversions with the platform runtime's contracts, on the host C library.
#include <cerrno>
#include <cwchar>

#include "crtwide.h"

namespace {

wchar_t* UnsignedToText(uint64_t value, bool negative, wchar_t* buffer, int radix) {
  if (!buffer) return buffer;
  if (radix < 2 || radix > 36) {
    buffer[0] = L'\0';
    return buffer;
  }
  wchar_t digits[66];
  int count = 0;
  do {
    const int digit = static_cast<int>(value % static_cast<uint64_t>(radix));
    digits[count++] = static_cast<wchar_t>(digit < 10 ? L'0' + digit : L'a' + digit - 10);
    value /= static_cast<uint64_t>(radix);
  } while (value);
  wchar_t* out = buffer;
  if (negative) *out++ = L'-';
  while (count) *out++ = digits[--count];
  *out = L'\0';
  return buffer;
}

}  // namespace

EXTERN_C int64_t _wcstoi64(const wchar_t* text, wchar_t** end, int base) {
  static_assert(sizeof(long long) == sizeof(int64_t));
  return wcstoll(text, end, base);
}

EXTERN_C uint64_t _wcstoui64(const wchar_t* text, wchar_t** end, int base) {
  static_assert(sizeof(unsigned long long) == sizeof(uint64_t));
  return wcstoull(text, end, base);
}

EXTERN_C wchar_t* _i64tow(int64_t value, wchar_t* buffer, int radix) {
  if (radix == 10 && value < 0)
    // The magnitude of the most negative value is taken in unsigned arithmetic.
    return UnsignedToText(0 - static_cast<uint64_t>(value), true, buffer, radix);
  return UnsignedToText(static_cast<uint64_t>(value), false, buffer, radix);
}

EXTERN_C wchar_t* _ui64tow(uint64_t value, wchar_t* buffer, int radix) {
  return UnsignedToText(value, false, buffer, radix);
}

EXTERN_C int _set_errno(int value) {
  errno = value;
  return 0;
}

EXTERN_C int _get_errno(int* value) {
  if (!value) return EINVAL;
  *value = errno;
  return 0;
}
