// The module loader and the resources of modules.
//
// A module is a shared object (a product DLL, a language resource DLL) opened with dlopen, or
// a file mapped for its resources only (the data-file flags of LoadLibraryExW). Its handle is
// the loader's own object, never dlopen's pointer. Loading runs the module's DllMain (found by
// name, as the platform's loader runs the image's entry point); FreeLibrary of the last
// reference runs the detach and really unloads, so the module's static destructors run.
// A module's resources are the ".rsrc" section of its file (see platform/resource_format.h).
//
// Paths are in the platform's form (Z:\..., backslashes). A bare file name ("x.dll") is looked
// up in the executable's folder only (simplified: no search path); a name without an
// extension gets ".dll", unless it ends with a dot.
// Pseudo-modules that are always loaded: "KERNEL32.DLL", "shfolder.dll" and "COMCTL32.DLL";
// they have no file and export a few of the platform library's own functions by name.
// "COMCTL32.DLL" exports nothing; it carries the property sheet's page template (RT_DIALOG
// 1006, 9 points "System Sans"), which callers load it as a data file to read.
#pragma once

#include "wtypesbase.h"

typedef INT_PTR(WINAPI* FARPROC)();

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define DONT_RESOLVE_DLL_REFERENCES 0x00000001
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#define LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE 0x00000040

// Handles of modules mapped for their resources only are tagged in their low bits, as on the
// platform: bit 0 for a data file, bit 1 for an image resource.
#define LDR_IS_DATAFILE(handle) (((ULONG_PTR)(handle)) & (ULONG_PTR)1)
#define LDR_IS_IMAGEMAPPING(handle) (((ULONG_PTR)(handle)) & (ULONG_PTR)2)
#define LDR_IS_RESOURCE(handle) (LDR_IS_IMAGEMAPPING(handle) || LDR_IS_DATAFILE(handle))

#define GET_MODULE_HANDLE_EX_FLAG_PIN 0x00000001
#define GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT 0x00000002
#define GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS 0x00000004

// lpLibFileName: in, a path or a bare name (see above). Returns the module's handle, the same
// one for a module that is already loaded (compared by its real path; its reference count goes
// up and DllMain is not called again). Otherwise opens the shared object, registers it (so
// GetModuleFileNameW and GetModuleHandleW work inside DllMain) and calls
// DllMain(DLL_PROCESS_ATTACH); when that returns FALSE, calls DllMain(DLL_PROCESS_DETACH),
// unloads it and fails with ERROR_DLL_INIT_FAILED, as on the platform.
// Errors: ERROR_INVALID_PARAMETER (null or empty name), ERROR_MOD_NOT_FOUND (no such file, or a
// pseudo-module made unavailable), ERROR_BAD_FORMAT (not a loadable shared object, or its
// resource section is malformed), ERROR_DLL_INIT_FAILED.
// DllMain runs under the loader's lock, which is recursive: DllMain may load and free modules.
WINBASEAPI HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);

// hFile: reserved, must be null. dwFlags: 0 loads as LoadLibraryW. Any of
// LOAD_LIBRARY_AS_DATAFILE, LOAD_LIBRARY_AS_IMAGE_RESOURCE, LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE
// reads the file for its resources only: no code is loaded and DllMain does not run. Such a
// handle is tagged (LDR_IS_RESOURCE); GetProcAddress, GetModuleFileNameW and GetModuleHandleW
// do not know it; FindResourceW, LoadStringW and FreeLibrary do. Each such load gives a new
// handle, except for a file already loaded as a module, whose handle is returned and counted.
// Errors as LoadLibraryW; ERROR_INVALID_PARAMETER for a non-null hFile or other flags.
WINBASEAPI HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags);

// Gives up one reference. At the last one: DllMain(DLL_PROCESS_DETACH), then the shared object
// is closed, which runs its static destructors. Pseudo-modules and the executable are counted
// but never unloaded. Returns FALSE with ERROR_INVALID_HANDLE for null or an unknown handle.
WINBASEAPI BOOL WINAPI FreeLibrary(HMODULE hLibModule);

// lpProcName: in, the exported name (ordinals are not supported: ERROR_PROC_NOT_FOUND).
// Returns the export's address, or null with ERROR_PROC_NOT_FOUND (no such export),
// ERROR_MOD_NOT_FOUND (a null, unknown or data-file handle).
WINBASEAPI FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);

// lpModuleName: null for the executable; otherwise a loaded module's file name, compared
// without regard to case, with or without ".dll" (so "KERNEL32" and "kernel32.dll" are one),
// or its full path. Counts no reference. Modules loaded as data files are not found.
// Returns null with ERROR_MOD_NOT_FOUND when no loaded module matches.
WINBASEAPI HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);

// dwFlags: GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS (lpModuleName is an address inside the
// module), GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT (counts no reference; otherwise one is
// counted as by LoadLibraryW), GET_MODULE_HANDLE_EX_FLAG_PIN (the module is never unloaded).
// phModule: out, the handle, or null on failure. Returns FALSE with ERROR_INVALID_PARAMETER
// (null phModule or contradicting flags) or ERROR_MOD_NOT_FOUND.
WINBASEAPI BOOL WINAPI GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule);

// hModule: null for the executable. lpFilename: out, nSize characters: the module's path in
// the platform's form ("Z:\opt\profiles\CorvaneView.dll"). Returns the length without the
// terminator. When the path does not fit, writes nSize-1 characters and a terminator, returns
// nSize and sets ERROR_INSUFFICIENT_BUFFER, as on the platform. Returns 0 with
// ERROR_MOD_NOT_FOUND for an unknown or data-file handle.
WINBASEAPI DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);

// No thread notifications are ever sent here, so there is nothing to switch off: TRUE.
WINBASEAPI BOOL WINAPI DisableThreadLibraryCalls(HMODULE hLibModule);

// ---------------------------------------------------------------------------------------
// Resources

// hModule: null for the executable (which carries no resources unless its file has a
// ".rsrc" section). lpName, lpType: MAKEINTRESOURCEW ordinals or strings; a string "#123"
// means the ordinal 123; string names compare without regard to case.
// Takes the neutral language first, then US English, then the first one stored.
// Returns the resource's handle, or null with ERROR_RESOURCE_DATA_NOT_FOUND (the module has no
// resources), ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND,
// ERROR_INVALID_HANDLE (an unknown module handle).
WINBASEAPI HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);

// As FindResourceW (mind the order: type before name) for the language wLanguage exactly;
// a neutral wLanguage (0) takes any language as FindResourceW does. Also fails with
// ERROR_RESOURCE_LANG_NOT_FOUND.
WINBASEAPI HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage);

// Returns the resource's data for LockResource, or null with ERROR_INVALID_HANDLE for a null or
// unknown resource handle. The data stays valid until the module's last FreeLibrary.
WINBASEAPI HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);

// Returns the first byte of a loaded resource (read-only, 4-byte aligned); null for null.
WINBASEAPI LPVOID WINAPI LockResource(HGLOBAL hResData);

// Returns the resource's size in bytes, or 0 with ERROR_INVALID_HANDLE.
WINBASEAPI DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);

// Resources need no freeing: FALSE (nothing to do), as on the platform.
WINBASEAPI BOOL WINAPI FreeResource(HGLOBAL hResData);
