// Languages and locales: language and locale ids, and the names of the languages the
// stand-in knows. The user's and the system's language are US English (1033).
#pragma once

#include "wtypesbase.h"
#include "winerror.h"

#ifndef ERROR_INVALID_FLAGS
#define ERROR_INVALID_FLAGS 1004L
#endif

typedef DWORD LCTYPE;

// A language id is a primary language (10 bits) and a sublanguage (6 bits); a locale id is a
// language id and a sort id.
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))
#define PRIMARYLANGID(lgid) ((WORD)(lgid)&0x3ff)
#define SUBLANGID(lgid) ((WORD)(lgid) >> 10)
#define MAKELCID(lgid, srtid) ((DWORD)((((DWORD)((WORD)(srtid))) << 16) | ((DWORD)((WORD)(lgid)))))
#define LANGIDFROMLCID(lcid) ((WORD)(lcid))
#define SORTIDFROMLCID(lcid) ((WORD)((((DWORD)(lcid)) >> 16) & 0xf))

#define LANG_NEUTRAL 0x00
#define LANG_INVARIANT 0x7f
#define LANG_CHINESE 0x04
#define LANG_GERMAN 0x07
#define LANG_ENGLISH 0x09
#define LANG_SPANISH 0x0a
#define LANG_FRENCH 0x0c
#define LANG_ITALIAN 0x10
#define LANG_JAPANESE 0x11
#define LANG_KOREAN 0x12
#define LANG_DUTCH 0x13
#define LANG_POLISH 0x15
#define LANG_PORTUGUESE 0x16
#define LANG_RUSSIAN 0x19
#define LANG_SWEDISH 0x1d

#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_ENGLISH_UK 0x02
#define SUBLANG_GERMAN 0x01
#define SUBLANG_FRENCH 0x01
#define SUBLANG_ITALIAN 0x01
#define SUBLANG_SPANISH 0x01
#define SUBLANG_SPANISH_MODERN 0x03
#define SUBLANG_CHINESE_TRADITIONAL 0x01
#define SUBLANG_CHINESE_SIMPLIFIED 0x02
#define SUBLANG_PORTUGUESE_BRAZILIAN 0x01
#define SUBLANG_PORTUGUESE 0x02

#define SORT_DEFAULT 0x0

#define LANG_SYSTEM_DEFAULT MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT)
#define LANG_USER_DEFAULT MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)
#define LOCALE_SYSTEM_DEFAULT MAKELCID(LANG_SYSTEM_DEFAULT, SORT_DEFAULT)
#define LOCALE_USER_DEFAULT MAKELCID(LANG_USER_DEFAULT, SORT_DEFAULT)
#define LOCALE_NEUTRAL MAKELCID(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), SORT_DEFAULT)
#define LOCALE_INVARIANT MAKELCID(MAKELANGID(LANG_INVARIANT, SUBLANG_NEUTRAL), SORT_DEFAULT)

// Locale information kinds.
#define LOCALE_NOUSEROVERRIDE 0x80000000
#define LOCALE_ILANGUAGE 0x00000001
#define LOCALE_SLANGUAGE 0x00000002
#define LOCALE_SABBREVLANGNAME 0x00000003
#define LOCALE_SENGLANGUAGE 0x00001001
#define LOCALE_SENGCOUNTRY 0x00001002
#define LOCALE_SISO639LANGNAME 0x00000059
#define LOCALE_SISO3166CTRYNAME 0x0000005A

// Locale: in, a locale id (LOCALE_USER_DEFAULT and LOCALE_SYSTEM_DEFAULT are 1033); LCType:
// in, one of the kinds above, optionally with LOCALE_NOUSEROVERRIDE (there are no user
// overrides here); lpLCData: out, cchData characters; cchData 0 asks for the size.
// LOCALE_SABBREVLANGNAME gives the platform's three letters (1033 "ENU", 1031 "DEU", 1036
// "FRA", 3082 "ESN", 1041 "JPN", ...), LOCALE_SLANGUAGE "German (Germany)",
// LOCALE_SENGLANGUAGE "German", LOCALE_SENGCOUNTRY "Germany", LOCALE_SISO639LANGNAME "de",
// LOCALE_SISO3166CTRYNAME "DE", LOCALE_ILANGUAGE the language id in four hexadecimal digits.
// Returns the characters written including the terminator (or needed, for cchData 0); 0 with
// ERROR_INVALID_PARAMETER for a locale it does not know, a negative cchData or a null buffer
// with a size, ERROR_INVALID_FLAGS for another kind, ERROR_INSUFFICIENT_BUFFER when the text
// does not fit.
WINBASEAPI int WINAPI GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);

// The user's, the system's and the thread's locale and language: 1033 each.
WINBASEAPI LCID WINAPI GetUserDefaultLCID();
WINBASEAPI LCID WINAPI GetSystemDefaultLCID();
WINBASEAPI LCID WINAPI GetThreadLocale();
WINBASEAPI LANGID WINAPI GetUserDefaultLangID();
WINBASEAPI LANGID WINAPI GetSystemDefaultLangID();
WINBASEAPI LANGID WINAPI GetUserDefaultUILanguage();
WINBASEAPI LANGID WINAPI GetSystemDefaultUILanguage();

// ---------------------------------------------------------------------------------------------
// Code pages. The stand-in converts UTF-8 only: the host's files and the C library's narrow
// strings are UTF-8 here, so that is the one narrow encoding the servers and tools meet.

#define CP_ACP 0
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080
#ifndef ERROR_NO_UNICODE_TRANSLATION
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#endif

typedef const CHAR* LPCCH;
typedef const WCHAR* LPCWCH;

// CodePage: in, CP_UTF8 (any other is ERROR_INVALID_PARAMETER here); dwFlags: in, 0 or
// MB_ERR_INVALID_CHARS (anything else ERROR_INVALID_FLAGS); lpMultiByteStr: in, cbMultiByte
// bytes, or up to and with its terminator for -1 or any other negative count (the result then
// counts the terminator too);
// lpWideCharStr: out, cchWideChar characters; cchWideChar 0 asks for the size.
// An ill-formed sequence (overlong, an encoded surrogate, above U+10FFFF, a stray continuation
// byte, cut short) becomes one U+FFFD per maximal ill-formed part (the Unicode standard's
// practice; the platform documents only that such sequences become U+FFFD, not how many of
// them); with MB_ERR_INVALID_CHARS it fails the call with
// ERROR_NO_UNICODE_TRANSLATION instead. A WCHAR is a whole code point here (wchar_t is 32 bits),
// so a character beyond the basic plane is one WCHAR, not a surrogate pair.
// Returns the characters written (or needed); 0 with ERROR_INVALID_PARAMETER for a null string
// or one that is the buffer itself (a text and a buffer that only overlap are converted), cbMultiByte 0, a
// negative cchWideChar or a null buffer with a size; ERROR_INSUFFICIENT_BUFFER when the result does not fit
// (the stand-in then writes nothing; the platform may have filled the buffer as far as it goes).
WINBASEAPI int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar);

// CodePage: in, CP_UTF8 (any other is ERROR_INVALID_PARAMETER here); dwFlags: in, 0 or
// WC_ERR_INVALID_CHARS (anything else ERROR_INVALID_FLAGS); lpWideCharStr: in, cchWideChar
// characters, or up to and with its terminator for any negative count; lpMultiByteStr: out,
// cbMultiByte bytes; cbMultiByte 0 asks for the size; lpDefaultChar and lpUsedDefaultChar: must
// be null for CP_UTF8 (ERROR_INVALID_PARAMETER otherwise), as the platform documents (its later
// versions accept them and convert).
// A high surrogate followed by a low one is one code point; a lone surrogate or a value above
// U+10FFFF becomes U+FFFD (EF BF BD), or with WC_ERR_INVALID_CHARS fails the call with
// ERROR_NO_UNICODE_TRANSLATION.
// Returns the bytes written (or needed); 0 with ERROR_INVALID_PARAMETER for a null string or
// one that is the buffer itself (a text and a buffer that only overlap are converted), cchWideChar 0, a
// negative cbMultiByte or a null buffer with a size; ERROR_INSUFFICIENT_BUFFER when the result does not fit
// (nothing written).
WINBASEAPI int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                                          LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                                          LPBOOL lpUsedDefaultChar);
