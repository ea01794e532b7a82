// Code-page conversions: UTF-8 both ways, on the platform's one UTF-8 conversion.
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

#include "../internal/unicode.h"
#include "errhandlingapi.h"
#include "winnls.h"

namespace {

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// The text and the buffer may overlap (the result is built apart first), but not be the very
// same memory, which the platform refuses.
bool Same(const void* text, const void* buffer) {
  return text == buffer;
}

// Copies the result into the caller's buffer of capacity units (0: only the size is asked).
template <class Char>
int Deliver(const std::basic_string<Char>& result, Char* buffer, int capacity) {
  if (result.size() > static_cast<size_t>(INT_MAX)) return Fail(ERROR_INVALID_PARAMETER);
  const int size = static_cast<int>(result.size());
  if (capacity == 0) return size;
  if (size > capacity) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(buffer, result.data(), result.size() * sizeof(Char));
  return size;
}

}  // namespace

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  if (CodePage != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  if (dwFlags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr))
    return Fail(ERROR_INVALID_PARAMETER);
  // Any negative count means the text up to and with its terminator, as -1 does.
  const size_t bytes = cbMultiByte < 0 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  if (cchWideChar > 0 && Same(lpMultiByteStr, lpWideCharStr)) return Fail(ERROR_INVALID_PARAMETER);
  std::wstring result;
  if (!platform::DecodeUtf8(std::string_view(lpMultiByteStr, bytes), result, dwFlags & MB_ERR_INVALID_CHARS))
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(result, lpWideCharStr, cchWideChar);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
  if (CodePage != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  if (dwFlags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) return Fail(ERROR_INVALID_FLAGS);
  if (lpDefaultChar || lpUsedDefaultChar) return Fail(ERROR_INVALID_PARAMETER);
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr))
    return Fail(ERROR_INVALID_PARAMETER);
  const size_t characters =
      cchWideChar < 0 ? std::wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
  if (cbMultiByte > 0 && Same(lpWideCharStr, lpMultiByteStr)) return Fail(ERROR_INVALID_PARAMETER);
  std::string result;
  if (!platform::EncodeUtf8(std::wstring_view(lpWideCharStr, characters), result,
                            dwFlags & WC_ERR_INVALID_CHARS))
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  return Deliver(result, lpMultiByteStr, cbMultiByte);
}
