// The shell's file operations.
#pragma once

#include "wtypesbase.h"

#define FO_MOVE 0x0001
#define FO_COPY 0x0002
#define FO_DELETE 0x0003
#define FO_RENAME 0x0004

#define FOF_MULTIDESTFILES 0x0001
#define FOF_SILENT 0x0004
#define FOF_RENAMEONCOLLISION 0x0008
#define FOF_NOCONFIRMATION 0x0010
#define FOF_ALLOWUNDO 0x0040
#define FOF_FILESONLY 0x0080
#define FOF_SIMPLEPROGRESS 0x0100
#define FOF_NOCONFIRMMKDIR 0x0200
#define FOF_NOERRORUI 0x0400

typedef WORD FILEOP_FLAGS;
typedef const WCHAR* PCZZWSTR;  // a list of texts, each terminated, ended by an empty one

typedef struct _SHFILEOPSTRUCTW {
  HWND hwnd;
  UINT wFunc;
  PCZZWSTR pFrom;
  PCZZWSTR pTo;
  FILEOP_FLAGS fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;
  PCWSTR lpszProgressTitle;
} SHFILEOPSTRUCTW, *LPSHFILEOPSTRUCTW;

// lpFileOp: in/out. FO_DELETE deletes every file or folder (with everything in it) that pFrom
// lists; the flags are accepted and there is never any user interface or recycle bin.
// Returns 0 when everything was deleted; ERROR_FILE_NOT_FOUND when an entry is absent (the
// entries before it are deleted); ERROR_ACCESS_DENIED when an entry cannot be deleted, or is a
// root ("Z:\", a drive, an empty name); ERROR_INVALID_PARAMETER for a null or empty list;
// ERROR_CALL_NOT_IMPLEMENTED for the other operations (not needed here). Wildcards are not
// expanded.
EXTERN_C PLATFORM_API int WINAPI SHFileOperationW(LPSHFILEOPSTRUCTW lpFileOp);
