// The platform's user interface: windows, messages, dialogs, and the resource names and string
// loading that they use.
#pragma once

#include "wtypesbase.h"
#include "libloaderapi.h"
#include "dlgtemplate.h"  // DLGTEMPLATE and the template reader and writer

// ---------------------------------------------------------------------------------------
// Resources: names, types and strings

// A resource name or type is either a string or a 16-bit ordinal carried in the pointer.
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEW(i)

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_VERSION MAKEINTRESOURCEW(16)

// hInstance: the module whose RT_STRING resources hold the string (null: the executable).
// uID: in, the string's id; strings are stored in blocks of 16 (block uID / 16 + 1).
// lpBuffer: out, cchBufferMax characters: copies at most cchBufferMax - 1 characters and a
// terminator, and returns the number copied (0 when the string is absent or empty, with
// ERROR_RESOURCE_NAME_NOT_FOUND or similar as FindResourceW sets it).
// With cchBufferMax 0, lpBuffer receives a read-only pointer (it is taken as LPCWSTR*) to the
// string inside the resource, which is not terminated, and the string's length is returned.
WINUSERAPI int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
