// The shell's path helpers: text operations on paths in the platform's form (backslashes,
// drive letters), plus the two that ask the file system.
#pragma once

#include "wtypesbase.h"
#include "winbase.h"
#include "fileapi.h"

// Returns TRUE when the file or folder exists (GetFileAttributesW succeeds).
EXTERN_C PLATFORM_API BOOL WINAPI PathFileExistsW(LPCWSTR pszPath);

// Returns (BOOL)FILE_ATTRIBUTE_DIRECTORY when pszPath is an existing folder, FALSE otherwise
// (also for a file), as on the platform.
EXTERN_C PLATFORM_API BOOL WINAPI PathIsDirectoryW(LPCWSTR pszPath);

// pszPath: in/out, a buffer of MAX_PATH characters; pszMore: in. Appends pszMore with exactly
// one backslash between them (leading backslashes of pszMore are dropped; none is added to an
// empty path), then resolves "." and ".." components. A pszMore with a drive ("Z:\x") replaces
// the path. Returns TRUE, or FALSE with pszPath unchanged when either pointer is null or the
// result would not fit MAX_PATH characters with its terminator.
EXTERN_C PLATFORM_API BOOL WINAPI PathAppendW(LPWSTR pszPath, LPCWSTR pszMore);

// Returns the component after the first backslash ("Z:\a\b" -> "a\b", "b" -> "" at the
// terminator), or null when pszPath is null or empty. A doubled backslash (a network path's
// "\\") counts as one separator.
EXTERN_C PLATFORM_API LPWSTR WINAPI PathFindNextComponentW(LPCWSTR pszPath);

// Returns the file name: the text after the last backslash or drive colon that is not the
// final character ("Z:\a\b.txt" -> "b.txt", "Z:\a\" -> "a\"); pszPath itself when there is
// none; null for null.
EXTERN_C PLATFORM_API LPWSTR WINAPI PathFindFileNameW(LPCWSTR pszPath);

// pszPath: in/out. Removes the last component and its backslash ("Z:\a\b" -> "Z:\a"), but
// keeps a root's backslash ("Z:\a" -> "Z:\", "\a" -> "\"); "a" becomes "". Returns TRUE when
// something was removed, FALSE otherwise (a root, an empty path, null).
EXTERN_C PLATFORM_API BOOL WINAPI PathRemoveFileSpecW(LPWSTR pszPath);
