// Files and folders, in the platform's path form: the host file system is drive Z: with
// backslashes ("Z:\opt\profiles\CorvaneView.dll" is "/opt/profiles/CorvaneView.dll"); forward
// slashes are accepted as separators too. A relative path is relative to the process's
// current directory. Paths on other drives are never found.
#pragma once

#include "wtypesbase.h"
#include "winerror.h"
#include "winbase.h"

#ifndef ERROR_DIRECTORY
#define ERROR_DIRECTORY 267L
#endif

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// lpFileName: in. Returns FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_NORMAL for a
// file, or INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND (the file is absent),
// ERROR_PATH_NOT_FOUND (a folder on the way is absent), ERROR_ACCESS_DENIED, or
// ERROR_INVALID_PARAMETER for a null or empty name.
// Simplified: no other attributes are reported.
WINBASEAPI DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName);

// lpFileName: in; lpBuffer: out, nBufferLength characters; lpFilePart: out, optional, the
// last component inside lpBuffer (null when the path ends with a backslash).
// The absolute form, worked out from the text alone (the file need not exist): relative to the
// current directory, "\x" on the current drive, "." and ".." resolved, '/' turned into '\'.
// Returns the length without the terminator; when the buffer is too small, the size needed
// including the terminator (nothing written); 0 with ERROR_INVALID_NAME for an empty name,
// ERROR_INVALID_PARAMETER for a null one.
WINBASEAPI DWORD WINAPI GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer,
                                         LPWSTR* lpFilePart);

// lpszShortPath: in; lpszLongPath: out, cchBuffer characters (may be the same buffer).
// Every name here is already long, so the path is copied as it is once the file is found.
// Returns the length without the terminator; when the buffer is too small, the size needed
// including the terminator; 0 with GetFileAttributesW's error for a missing file, or
// ERROR_INVALID_PARAMETER for a null path.
WINBASEAPI DWORD WINAPI GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer);

// lpBuffer: out, nBufferLength characters: the process's current directory in platform form
// ("Z:\work\main"; the host's root is "Z:\"). Returns the length without the terminator;
// when the buffer is too small, the size needed including the terminator.
WINBASEAPI DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);

// Changes the process's current directory. Returns TRUE, or FALSE with ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND (as GetFileAttributesW), ERROR_DIRECTORY (not a folder),
// ERROR_ACCESS_DENIED.
WINBASEAPI BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName);

// lpPathName: in, the folder to create (its parent must exist); lpSecurityAttributes: ignored.
// Returns TRUE, or FALSE with ERROR_ALREADY_EXISTS (a file or folder of that name exists),
// ERROR_PATH_NOT_FOUND (the parent is absent), ERROR_ACCESS_DENIED.
WINBASEAPI BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);

// Removes an empty folder. Returns TRUE, or FALSE with ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND, ERROR_DIR_NOT_EMPTY, ERROR_DIRECTORY (not a folder), ERROR_ACCESS_DENIED.
WINBASEAPI BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName);

// Deletes a file. Returns TRUE, or FALSE with ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED (also for a folder, as on the platform).
WINBASEAPI BOOL WINAPI DeleteFileW(LPCWSTR lpFileName);

// Copies a file with its contents and permissions. bFailIfExists: TRUE refuses to replace an
// existing lpNewFileName. Returns TRUE, or FALSE with ERROR_FILE_NOT_FOUND (no source),
// ERROR_PATH_NOT_FOUND (the target's folder is absent), ERROR_FILE_EXISTS, ERROR_ACCESS_DENIED.
WINBASEAPI BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
