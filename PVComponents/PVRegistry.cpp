#include "PVRegistry.h"

namespace {
// RegEnumKeyExW refuses a name that does not fit; 127 characters and the terminator fit.
constexpr DWORD kSubKeyNameBufferSize = 128;
}  // namespace

LONG PVRegCreateKey(HKEY parent, const wchar_t* subKey, HKEY* key) {
  return RegCreateKeyExW(parent, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key, nullptr);
}

LONG PVRegCreateKey(const wchar_t* subKey, HKEY* key) {
  return PVRegCreateKey(HKEY_CLASSES_ROOT, subKey, key);
}

LONG PVRegOpenKeyForRead(HKEY parent, const wchar_t* subKey, HKEY* key) {
  return RegOpenKeyExW(parent, subKey, 0, KEY_READ, key);
}

LONG PVRegOpenKeyForRead(const wchar_t* subKey, HKEY* key) {
  return PVRegOpenKeyForRead(HKEY_CLASSES_ROOT, subKey, key);
}

LONG PVRegEnumSubKey(HKEY key, DWORD index, wchar_t* name, DWORD nameSize) {
  return RegEnumKeyExW(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
}

LONG PVRegQueryDefaultValue(HKEY key, wchar_t* text, DWORD* size) {
  return RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), size);
}

LONG PVRegSetStringValue(HKEY key, const wchar_t* valueName, const wchar_t* text) {
  const DWORD size = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size);
}

LONG PVRegCloseKey(HKEY key) {
  return RegCloseKey(key);
}

LONG PVRegDeleteKeyRecursive(HKEY parent, const wchar_t* subKey) {
  HKEY key = nullptr;
  LONG result = PVRegOpenKeyForRead(parent, subKey, &key);
  if (result != ERROR_SUCCESS) return result;
  // Index 0 each time: every child found is deleted before the next enumeration.
  wchar_t child[kSubKeyNameBufferSize];
  while (PVRegEnumSubKey(key, 0, child, kSubKeyNameBufferSize) == ERROR_SUCCESS) {
    result = PVRegDeleteKeyRecursive(key, child);
    if (result != ERROR_SUCCESS) {
      PVRegCloseKey(key);
      return result;
    }
  }
  result = PVRegCloseKey(key);
  if (result != ERROR_SUCCESS) return result;
  return RegDeleteKeyW(parent, subKey);
}
