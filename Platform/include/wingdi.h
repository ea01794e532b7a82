// The platform's graphics device interface, as far as layout code needs it: rectangles and
// points, fonts with deterministic metrics, device contexts and stock objects. Nothing is
// drawn; a device context only carries the object selected into it.
//
// The synthetic font engine. Every font measures by one rule, so that every layout computation
// in the project gives the same numbers on every machine:
//
//   em      = -lfHeight when lfHeight < 0 (the character height);
//             when lfHeight > 0 (a cell height), the largest em whose tmHeight fits in it;
//             11 when lfHeight is 0 (8 points at 96 dots per inch).
//   tmHeight = em + (em + 2) / 5   tmInternalLeading = tmHeight - em   tmExternalLeading = em / 8
//   tmAscent = tmHeight - tmHeight / 5   tmDescent = tmHeight / 5
//   character widths, by the character's class:
//     narrow  (space ! " ' ( ) , . : ; [ ] ` | f i j l t I)   (em * 5 + 10) / 22
//     wide    (M W m w @ %)                                     (em * 15 + 10) / 22
//     other   (every other character)                           (em * 10 + 10) / 22
//     a bold font (lfWeight >= FW_SEMIBOLD) adds 1 to every width; tabs and line breaks
//     measure 0 in GetTextExtentPoint32W
//   tmAveCharWidth = the "other" width; tmMaxCharWidth = the wide width.
//
// The face name is kept (GetObjectW gives it back) but does not change the metrics; italic,
// underline and charset are kept likewise. An 8-point font (em 11) has tmHeight 13,
// tmAveCharWidth 5, tmExternalLeading 1.
#pragma once

#include "wtypesbase.h"

#ifndef WINGDIAPI
#define WINGDIAPI EXTERN_C PLATFORM_API
#endif

// ---------------------------------------------------------------------------------------
// Geometry

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *PSIZE, *LPSIZE;

// ---------------------------------------------------------------------------------------
// Fonts

#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2

#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0
#define FF_SWISS (2 << 4)

typedef struct tagLOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *PLOGFONTW, *LPLOGFONTW;
typedef LOGFONTW LOGFONT;

typedef struct tagTEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICW, *PTEXTMETRICW, *LPTEXTMETRICW;
typedef TEXTMETRICW TEXTMETRIC;
typedef LPTEXTMETRICW LPTEXTMETRIC;

// lplf: in, the font's description. Returns a new font (delete it with DeleteObject), or null
// for a null lplf (ERROR_INVALID_PARAMETER). The face is copied up to its terminator or 31
// characters.
WINGDIAPI HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf);
// As CreateFontIndirectW with the LOGFONTW fields given one by one; pszFaceName may be null.
WINGDIAPI HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                                   DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                                   DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                                   DWORD iPitchAndFamily, LPCWSTR pszFaceName);

// h: a font; c: the size of pv; pv: out, a LOGFONTW (or a shorter prefix of one). Returns the
// bytes copied, sizeof(LOGFONTW) when pv is null, and 0 for a handle that is not a live font
// or c too small to hold anything (ERROR_INVALID_HANDLE / ERROR_INVALID_PARAMETER).
WINGDIAPI int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv);

// Out, the metrics of the font selected into hdc (by the rule above). FALSE for a handle that
// is not a live device context.
WINGDIAPI BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm);
// Out, the width (sum of the character widths) and height (tmHeight) of c characters of
// lpString in the font selected into hdc. FALSE for a dead hdc, a null string with c > 0 or a
// negative c.
WINGDIAPI BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl);

// ---------------------------------------------------------------------------------------
// Device contexts and objects

#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12

#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// The display's device context: every name is accepted as "DISPLAY" (the only device here).
// The new context has SYSTEM_FONT selected. Delete it with DeleteDC.
// The device's initialisation data (pdm) is not read here.
typedef struct _devicemodeW DEVMODEW;
WINGDIAPI HDC WINAPI CreateDCW(LPCWSTR pwszDriver, LPCWSTR pwszDevice, LPCWSTR pszPort, const DEVMODEW* pdm);
// A memory context like hdc (null: like the display), with SYSTEM_FONT selected.
WINGDIAPI HDC WINAPI CreateCompatibleDC(HDC hdc);
// Deletes a context made by CreateDCW or CreateCompatibleDC; FALSE for another handle. The
// objects selected into it are not deleted (the caller still owns them).
WINGDIAPI BOOL WINAPI DeleteDC(HDC hdc);
// Selects a font into hdc and returns the font selected before; null for a dead hdc or an
// object that is not a live font. (Only fonts can be selected here.)
WINGDIAPI HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
// Deletes a font; a stock object is accepted and kept (TRUE), as on the platform. FALSE for a
// handle that is not a live object. Deleting a font still selected into a context is the
// caller's error: the context keeps measuring with the system font then.
WINGDIAPI BOOL WINAPI DeleteObject(HGDIOBJ ho);
// The stock fonts: SYSTEM_FONT (em 13: tmHeight 16, tmAveCharWidth 6), DEFAULT_GUI_FONT
// and the others (8 points, em 11). Null for another index. Never deleted.
WINGDIAPI HGDIOBJ WINAPI GetStockObject(int i);
// The display's fixed capabilities: LOGPIXELSX/Y 96, HORZRES 1920, VERTRES 1080, BITSPIXEL 32;
// 0 for another index or a dead hdc.
WINGDIAPI int WINAPI GetDeviceCaps(HDC hdc, int index);

#define CLR_INVALID 0xFFFFFFFF

// The colour text is drawn in (black in a new context). SetTextColor returns the previous
// colour; both give CLR_INVALID for a dead hdc.
WINGDIAPI COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
WINGDIAPI COLORREF WINAPI GetTextColor(HDC hdc);

namespace platform::gdi {

// The number of live fonts and device contexts (stock objects not counted): a test that
// deletes what it made ends with the count it started with.
PLATFORM_API size_t LiveObjectCount();

// The width of one character in a font by the rule above (0 for a dead font).
PLATFORM_API int CharacterWidth(HFONT font, wchar_t c);

}  // namespace platform::gdi
