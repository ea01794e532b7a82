#include "PVDefines.h"

#include "PVLog.h"

#include <cwchar>

namespace {
constexpr CPVSourceLog Log(L"PVDefines");
constexpr size_t kClsidTextBufferSize = 64;
}  // namespace

namespace {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" without its terminator.
constexpr int kGuidTextLength = 38;

// The value's digits, upper-case hexadecimal, most significant first, digits wide.
wchar_t* PutHex(wchar_t* out, unsigned long value, int digits) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; --i) out[i] = kDigits[(value >> (4 * (digits - 1 - i))) & 0xF];
  return out + digits;
}

}  // namespace

// The text of "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}" written directly: every
// DllGetClassObject formats the requested CLSID once per registered page, and the general
// formatter costs tens of times more for the same text.
int PVStringFromGUID(REFGUID guid, wchar_t* buffer, int bufferSize) {
  if (!buffer || bufferSize <= 0) return -1;
  wchar_t text[kGuidTextLength];
  wchar_t* out = text;
  *out++ = L'{';
  out = PutHex(out, guid.Data1, 8);
  *out++ = L'-';
  out = PutHex(out, guid.Data2, 4);
  *out++ = L'-';
  out = PutHex(out, guid.Data3, 4);
  *out++ = L'-';
  out = PutHex(out, guid.Data4[0], 2);
  out = PutHex(out, guid.Data4[1], 2);
  *out++ = L'-';
  for (int i = 2; i < 8; ++i) out = PutHex(out, guid.Data4[i], 2);
  *out = L'}';
  // A text that fills the buffer exactly has no terminator: callers compare it as a string,
  // so it counts as not fitting. What fits of it is written, terminated, as a truncating
  // formatter leaves it.
  if (bufferSize <= kGuidTextLength) {
    wmemcpy(buffer, text, static_cast<size_t>(bufferSize - 1));
    buffer[bufferSize - 1] = L'\0';
    return -1;
  }
  wmemcpy(buffer, text, kGuidTextLength);
  buffer[kGuidTextLength] = L'\0';
  return kGuidTextLength;
}

void PVCLSIDFromString(const wchar_t* text, CLSID* clsid) {
  wchar_t local[kClsidTextBufferSize];
  if (!text || !clsid || wcslen(text) >= kClsidTextBufferSize) {
    Log(L"Error: CLSIDFromString failed!", L"PVCLSIDFromString", __LINE__);
    return;
  }
  wcscpy(local, text);
  if (FAILED(CLSIDFromString(local, clsid)))
    Log(L"Error: CLSIDFromString failed!", L"PVCLSIDFromString", __LINE__);
}
