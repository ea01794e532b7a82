// The shell's folders: special folders by CSIDL, and the desktop folder with item id lists
// that a long-path emulation walks through (not available here, see SHGetDesktopFolder).
#pragma once

#include "wtypesbase.h"
#include "winerror.h"
#include "unknwn.h"

// Special folders. The flags in the high byte are accepted and ignored.
#define CSIDL_APPDATA 0x001a
#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_COMMON_APPDATA 0x0023
#define CSIDL_PROGRAM_FILES 0x0026
#define CSIDL_FLAG_CREATE 0x8000
#define CSIDL_FLAG_DONT_VERIFY 0x4000
#define CSIDL_FLAG_MASK 0xFF00

#define SHGFP_TYPE_CURRENT 0
#define SHGFP_TYPE_DEFAULT 1

// hwndOwner, hToken: ignored; nFolder: a CSIDL_ above, with optional flags; dwFlags:
// SHGFP_TYPE_CURRENT or SHGFP_TYPE_DEFAULT; pszPath: out, MAX_PATH characters, the folder
// without a trailing backslash in platform form.
// The folders are those set with platform::shell::SetFolderPath, else folders under the host's
// temporary directory created on first use (platform/testing_shell.h).
// Returns S_OK; E_INVALIDARG for a folder it does not know or a null pszPath (then empty);
// E_FAIL when the folder cannot be created or its path does not fit MAX_PATH.
STDAPI SHGetFolderPathW(HWND hwndOwner, int nFolder, HANDLE hToken, DWORD dwFlags, LPWSTR pszPath);

// Item id lists: a sequence of SHITEMIDs, each cb bytes long with its cb, ended by cb 0.
typedef struct _SHITEMID {
  USHORT cb;
  BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
  SHITEMID mkid;
} ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;
typedef ITEMIDLIST* PIDLIST_RELATIVE;
typedef const ITEMIDLIST* PCUIDLIST_RELATIVE;

interface IBindCtx;

// The task allocator's interface, as the shell hands it out.
#ifndef PLATFORM_IMALLOC_DECLARED
#define PLATFORM_IMALLOC_DECLARED
interface IMalloc : public IUnknown {
  STDMETHOD_(void*, Alloc)(SIZE_T cb) = 0;
  STDMETHOD_(void*, Realloc)(void* pv, SIZE_T cb) = 0;
  STDMETHOD_(void, Free)(void* pv) = 0;
  STDMETHOD_(SIZE_T, GetSize)(void* pv) = 0;
  STDMETHOD_(int, DidAlloc)(void* pv) = 0;
  STDMETHOD_(void, HeapMinimize)() = 0;
};
DECLARE_UUIDOF(IMalloc, "00000002-0000-0000-C000-000000000046");
typedef IMalloc* LPMALLOC;
#endif

// A shell folder. Only its first operation is declared: nothing here implements the interface
// (SHGetDesktopFolder fails), and callers use only this one.
interface IShellFolder : public IUnknown {
  STDMETHOD(ParseDisplayName)
  (HWND hwnd, IBindCtx* pbc, LPWSTR pszDisplayName, ULONG* pchEaten, PIDLIST_RELATIVE* ppidl,
   ULONG* pdwAttributes) = 0;
};
DECLARE_UUIDOF(IShellFolder, "000214E6-0000-0000-C000-000000000046");
typedef IShellFolder* LPSHELLFOLDER;

// ppshf: out. The stand-in has no shell namespace: returns E_NOTIMPL and *ppshf null (E_POINTER
// for a null ppshf), so callers take their path without the shell.
STDAPI SHGetDesktopFolder(IShellFolder** ppshf);

// pidl: in; pszPath: out, MAX_PATH characters. No item id list names a file here: returns FALSE
// with pszPath empty.
EXTERN_C PLATFORM_API BOOL WINAPI SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR pszPath);

// ppMalloc: out, the shell's allocator (AddRef'd; a process-wide object whose count never
// frees it). Simplified: it allocates on the C heap, so what it gives is freed with its own
// Free, not with CoTaskMemFree. Returns S_OK, or E_INVALIDARG for a null ppMalloc.
STDAPI SHGetMalloc(IMalloc** ppMalloc);
