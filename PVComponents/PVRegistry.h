// Thin wrappers over the registry calls of page registration. Each returns the Win32 error
// code of the call unchanged.
#pragma once

#include <windows.h>

// Creates or opens a key with full access (no class, options 0).
LONG PVRegCreateKey(HKEY parent, const wchar_t* subKey, HKEY* key);
LONG PVRegCreateKey(const wchar_t* subKey, HKEY* key);  // under HKEY_CLASSES_ROOT

// Opens an existing key for reading.
LONG PVRegOpenKeyForRead(HKEY parent, const wchar_t* subKey, HKEY* key);
LONG PVRegOpenKeyForRead(const wchar_t* subKey, HKEY* key);  // under HKEY_CLASSES_ROOT

// The name of the subkey at index into a buffer of nameSize characters.
LONG PVRegEnumSubKey(HKEY key, DWORD index, wchar_t* name, DWORD nameSize);

// The key's default value; size in bytes in and out.
LONG PVRegQueryDefaultValue(HKEY key, wchar_t* text, DWORD* size);

// Writes a REG_SZ value; its size is the text length in bytes plus the terminator.
LONG PVRegSetStringValue(HKEY key, const wchar_t* valueName, const wchar_t* text);

LONG PVRegCloseKey(HKEY key);

// Deletes subKey of parent with everything below it: each child first, depth first, then the
// key itself. Returns the first failure.
LONG PVRegDeleteKeyRecursive(HKEY parent, const wchar_t* subKey);
