// Kernel services: structures shared by the file and registry calls, wide-string helpers,
// message formatting, local and global memory, and MulDiv.
#pragma once

#include <cstdarg>

#include "wtypesbase.h"
#include "winerror.h"
#include "errhandlingapi.h"

#ifndef ERROR_NOT_LOCKED
#define ERROR_NOT_LOCKED 158L
#endif
#ifndef ERROR_MR_MID_NOT_FOUND
#define ERROR_MR_MID_NOT_FOUND 317L
#endif

// Security descriptors are not modelled; the structure is accepted and ignored.
typedef struct _SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

// 100-nanosecond intervals since 1601-01-01 (UTC).
typedef struct _FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

// ---------------------------------------------------------------------------------------------
// Wide strings.

// lpString1: out, iMaxLength characters; lpString2: in. Copies at most iMaxLength - 1
// characters and always terminates (iMaxLength > 0). Returns lpString1; null when either
// pointer is null or iMaxLength <= 0 (nothing written).
WINBASEAPI LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength);

// The number of characters before the terminator; 0 for a null pointer.
WINBASEAPI int WINAPI lstrlenW(LPCWSTR lpString);

// ---------------------------------------------------------------------------------------------
// Message formatting.

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

// dwFlags: in, where the message comes from (FROM_STRING: lpSource is the text; FROM_SYSTEM:
//   dwMessageId in the system's table of error texts, language 0, 0x400 or 0x409; FROM_HMODULE:
//   a module's message table), how inserts are read (ARGUMENT_ARRAY: Arguments is really a
//   DWORD_PTR array; otherwise a va_list*), IGNORE_INSERTS, ALLOCATE_BUFFER (lpBuffer is really
//   an LPWSTR* that receives memory from LocalAlloc, at least nSize characters, freed by the
//   caller with LocalFree), and in the low byte the line width (0: each line break of the text,
//   "\r\n" or a bare "\n" or "\r", is written as "\r\n";
//   MAX_WIDTH_MASK: the text's own line breaks become spaces, only %n breaks a line; 1-254:
//   the text's line breaks become spaces and lines wrap at that width).
// The text: %1..%99 insert an argument, formatted as the printf conversion between two
//   exclamation marks (%1!X!, %2!lu!; a bare %1 is %1!s!, a wide string) with the platform's
//   conventions; '*' as width or precision takes the next argument numbers. No floating-point
//   conversion: the platform takes none in an insert (the stand-in refuses it). Escapes:
//   %0 ends the message (with no line break after it), %n a line break, %% %. %! and "% " the
//   character itself, %r a carriage return, %t a tab. With IGNORE_INSERTS the inserts and every
//   escape but %0, %n, %r and %t are copied as they stand.
// lpBuffer/nSize: out, nSize characters including the terminator.
// Returns the number of characters stored without the terminator, or 0 with the last error:
//   ERROR_INSUFFICIENT_BUFFER when the result does not fit nSize; ERROR_MR_MID_NOT_FOUND for a
//   system message id the table does not have; ERROR_RESOURCE_LANG_NOT_FOUND for another
//   language; ERROR_RESOURCE_TYPE_NOT_FOUND for FROM_HMODULE (the stand-in's modules have no
//   message tables) unless FROM_SYSTEM is set as well; ERROR_INVALID_PARAMETER for no source,
//   a null output, an insert with no arguments, a %n or floating-point conversion, or a '%'
//   that ends the text.
// Simplified: in the va_list form every argument takes one pointer-sized slot. Wrapping breaks
// at the last space.
WINBASEAPI DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                                       LPWSTR lpBuffer, DWORD nSize, va_list* Arguments);

// ---------------------------------------------------------------------------------------------
// Local and global memory. Both heaps are one here. A fixed block's handle is its address; a
// moveable block's handle is not, and GlobalLock/LocalLock give its address.

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

// uFlags: GMEM_FIXED or GMEM_MOVEABLE, optionally GMEM_ZEROINIT; dwBytes: the size (0 is a
// valid, empty block). Returns the block's handle, or null with ERROR_NOT_ENOUGH_MEMORY.
WINBASEAPI HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// Returns the block's address (a moveable block's lock count goes up), or null with
// ERROR_INVALID_HANDLE for a handle that is not a live block.
WINBASEAPI LPVOID WINAPI GlobalLock(HGLOBAL hMem);
// Returns TRUE while a moveable block stays locked; FALSE once it is unlocked (last error
// NO_ERROR), for a block that was not locked (ERROR_NOT_LOCKED), for a fixed block, and for a
// handle that is not a live block (ERROR_INVALID_HANDLE).
WINBASEAPI BOOL WINAPI GlobalUnlock(HGLOBAL hMem);
// Returns null when the block is freed (a null hMem is accepted), or hMem with
// ERROR_INVALID_HANDLE for a handle that is not a live block.
WINBASEAPI HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
// The size asked for at allocation; 0 with ERROR_INVALID_HANDLE for a handle that is not a
// live block.
WINBASEAPI SIZE_T WINAPI GlobalSize(HGLOBAL hMem);

// The local heap: as the global calls, with LMEM_ flags.
WINBASEAPI HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
WINBASEAPI LPVOID WINAPI LocalLock(HLOCAL hMem);
WINBASEAPI BOOL WINAPI LocalUnlock(HLOCAL hMem);
WINBASEAPI HLOCAL WINAPI LocalFree(HLOCAL hMem);
WINBASEAPI SIZE_T WINAPI LocalSize(HLOCAL hMem);

// ---------------------------------------------------------------------------------------------
// Arithmetic.

// nNumber * nNumerator / nDenominator with a 64-bit intermediate, rounded half away from
// zero. Returns -1 when nDenominator is 0 or the result does not fit 32 bits, as on the
// platform (so -1 is also an ordinary result of, say, MulDiv(-1, 1, 1)).
WINBASEAPI int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);
