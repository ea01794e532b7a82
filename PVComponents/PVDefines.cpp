#include "PVDefines.h"

#include "PVLog.h"

namespace {
constexpr CPVSourceLog Log(L"PVDefines");
constexpr size_t kClsidTextBufferSize = 64;
}  // namespace

int PVStringFromGUID(REFGUID guid, wchar_t* buffer, int bufferSize) {
  if (!buffer || bufferSize <= 0) return -1;
  int written = _snwprintf(buffer, static_cast<size_t>(bufferSize),
                           L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                           guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                           guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  // A text that fills the buffer exactly has no terminator: callers compare it as a string,
  // so it counts as not fitting.
  if (written < 0 || written >= bufferSize) {
    buffer[bufferSize - 1] = L'\0';
    return -1;
  }
  return written;
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
