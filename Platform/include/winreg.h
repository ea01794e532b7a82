// The registry: one in-memory hive per process under the predefined keys (see
// platform/testing_registry.h for loading, saving and failure injection).
// Key names compare without regard to case and keep the case they were created with. Every
// call returns a Win32 error code (LONG) and leaves the thread's last error alone.
// Simplified: HKEY_CLASSES_ROOT is a key tree of its own, not a merged view of the machine's
// and the user's classes; access masks are checked only for the rights listed at each call;
// there are no security descriptors, classes, volatile keys or change notifications.
#pragma once

#include "wtypesbase.h"
#include "winerror.h"
#include "winbase.h"

#ifndef ERROR_BAD_PATHNAME
#define ERROR_BAD_PATHNAME 161L
#endif

typedef DWORD REGSAM;

// Predefined keys: always open, never closed (RegCloseKey on them succeeds).
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))

// Access rights.
#define DELETE 0x00010000L
#define READ_CONTROL 0x00020000L
#define SYNCHRONIZE 0x00100000L
#define STANDARD_RIGHTS_READ READ_CONTROL
#define STANDARD_RIGHTS_WRITE READ_CONTROL
#define STANDARD_RIGHTS_ALL 0x001F0000L
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ \
  ((STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY) & (~SYNCHRONIZE))
#define KEY_WRITE ((STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) & (~SYNCHRONIZE))
#define KEY_EXECUTE ((KEY_READ) & (~SYNCHRONIZE))
#define KEY_ALL_ACCESS                                                                                    \
  ((STANDARD_RIGHTS_ALL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | \
    KEY_NOTIFY | KEY_CREATE_LINK) &                                                                       \
   (~SYNCHRONIZE))
static_assert(KEY_READ == 0x20019 && KEY_WRITE == 0x20006 && KEY_ALL_ACCESS == 0xF003F,
              "the platform's masks");

// Value types.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

// RegCreateKeyExW options and dispositions.
#define REG_OPTION_NON_VOLATILE 0x00000000L
#define REG_OPTION_VOLATILE 0x00000001L
#define REG_CREATED_NEW_KEY 0x00000001L
#define REG_OPENED_EXISTING_KEY 0x00000002L

// hKey: in, an open key or a predefined key; lpSubKey: in, a path of names separated by
// single backslashes below hKey (null or empty: hKey itself); Reserved, lpClass,
// lpSecurityAttributes: ignored; dwOptions: REG_OPTION_NON_VOLATILE (volatile keys are kept as
// non-volatile ones); samDesired: the access of the new handle; phkResult: out, a new handle;
// lpdwDisposition: out, optional, REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
// Creates every missing key on the path, intermediate ones included.
// Returns ERROR_SUCCESS; ERROR_INVALID_HANDLE for a handle that is not open;
// ERROR_KEY_DELETED when hKey's key has been deleted; ERROR_ACCESS_DENIED when a key must be
// created and hKey lacks KEY_CREATE_SUB_KEY; ERROR_BAD_PATHNAME for a path with a leading or
// doubled backslash; ERROR_INVALID_PARAMETER for a null phkResult. *phkResult is null on
// failure.
WINADVAPI LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                                      DWORD dwOptions, REGSAM samDesired,
                                      const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                                      LPDWORD lpdwDisposition);

// As RegCreateKeyExW, but opens only: ERROR_FILE_NOT_FOUND when a key on the path is absent.
// ulOptions: 0.
WINADVAPI LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                                    PHKEY phkResult);

// Closes a handle from RegCreateKeyExW or RegOpenKeyExW (a deleted key's handle too).
// Returns ERROR_SUCCESS (also for a predefined key), ERROR_INVALID_HANDLE otherwise.
WINADVAPI LONG WINAPI RegCloseKey(HKEY hKey);

// lpValueName: in, null or empty for the key's default value; dwType: REG_*; lpData/cbData:
// in, the bytes, stored exactly as given (a REG_SZ's cbData counts its terminator, in bytes:
// (length + 1) * sizeof(WCHAR)). Needs KEY_SET_VALUE.
// Returns ERROR_SUCCESS; ERROR_INVALID_HANDLE; ERROR_KEY_DELETED; ERROR_ACCESS_DENIED;
// ERROR_INVALID_PARAMETER for null data with a non-zero size.
WINADVAPI LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                                     const BYTE* lpData, DWORD cbData);

// lpValueName: in, null or empty for the default value; lpType: out, optional; lpData: out,
// optional; lpcbData: in/out, the buffer's size in bytes, then the value's size. A null lpData
// only asks for the size. The bytes come back as they were stored (no terminator is added).
// Needs KEY_QUERY_VALUE.
// Returns ERROR_SUCCESS; ERROR_FILE_NOT_FOUND when the value is absent; ERROR_MORE_DATA when
// the buffer is too small (*lpcbData and *lpType hold the value's size and type, the buffer
// is not written); ERROR_INVALID_PARAMETER for data without a size; ERROR_INVALID_HANDLE;
// ERROR_KEY_DELETED; ERROR_ACCESS_DENIED.
WINADVAPI LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                       LPBYTE lpData, LPDWORD lpcbData);

// dwIndex: in, 0-based, subkeys in the order of their names compared without regard to case;
// lpName/lpcchName: out, in/out: the buffer's size in characters, then the name's length
// without the terminator; the other arguments are optional (class: always empty, time: zero).
// Needs KEY_ENUMERATE_SUB_KEYS.
// Returns ERROR_SUCCESS; ERROR_NO_MORE_ITEMS past the last subkey; ERROR_MORE_DATA when the
// name and its terminator do not fit (nothing is written); ERROR_INVALID_PARAMETER for a null
// name or size; ERROR_INVALID_HANDLE; ERROR_KEY_DELETED; ERROR_ACCESS_DENIED.
WINADVAPI LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName,
                                    LPDWORD lpReserved, LPWSTR lpClass, LPDWORD lpcchClass,
                                    PFILETIME lpftLastWriteTime);

// dwIndex: in, 0-based, values in the order they were first set; lpValueName/lpcchValueName:
// as RegEnumKeyExW (the default value's name is empty); lpType, lpData, lpcbData: as
// RegQueryValueExW. Needs KEY_QUERY_VALUE.
// Returns ERROR_SUCCESS, ERROR_NO_MORE_ITEMS, ERROR_MORE_DATA (name or data does not fit),
// ERROR_INVALID_PARAMETER, ERROR_INVALID_HANDLE, ERROR_KEY_DELETED, ERROR_ACCESS_DENIED.
WINADVAPI LONG WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                                    LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);

// lpSubKey: in, the key to delete below hKey (empty: hKey's own key). Fails while the key has
// subkeys, as on the platform; its values go with it. Open handles to it stay valid, and calls
// through them fail with ERROR_KEY_DELETED.
// Returns ERROR_SUCCESS; ERROR_ACCESS_DENIED while the key has a subkey, and for a predefined
// key; ERROR_FILE_NOT_FOUND when the key is absent; ERROR_INVALID_PARAMETER for a null
// lpSubKey; ERROR_INVALID_HANDLE; ERROR_KEY_DELETED.
WINADVAPI LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);

// lpValueName: in, null or empty for the default value. Needs KEY_SET_VALUE.
// Returns ERROR_SUCCESS; ERROR_FILE_NOT_FOUND when the value is absent; ERROR_INVALID_HANDLE;
// ERROR_KEY_DELETED; ERROR_ACCESS_DENIED.
WINADVAPI LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);

// lpSubKey: in, the key to delete with everything below it; null: hKey's key stays and loses
// every subkey and value.
// Returns ERROR_SUCCESS; ERROR_FILE_NOT_FOUND when the key is absent; ERROR_ACCESS_DENIED for a
// predefined key named by an empty path; ERROR_INVALID_HANDLE; ERROR_KEY_DELETED.
WINADVAPI LONG WINAPI RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey);

// Every out argument is optional: lpcSubKeys and lpcValues the counts; lpcbMaxSubKeyLen and
// lpcbMaxValueNameLen the longest name in characters without the terminator; lpcbMaxValueLen
// the largest value in bytes; the class is empty, the security descriptor size and the time 0.
// Returns ERROR_SUCCESS, ERROR_INVALID_HANDLE, ERROR_KEY_DELETED, ERROR_ACCESS_DENIED (needs
// KEY_QUERY_VALUE).
WINADVAPI LONG WINAPI RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                                       LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                       LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
                                       LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                                       PFILETIME lpftLastWriteTime);
