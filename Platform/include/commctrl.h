// The platform's common controls, as far as the pages use them: the tooltip control.
#pragma once

#include "winuser.h"

// Registers the common control classes; they are registered from the start here, so this only
// answers TRUE.
typedef struct tagINITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;
#define ICC_WIN95_CLASSES 0x000000FF
#define ICC_TAB_CLASSES 0x00000008
WINUSERAPI BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);
WINUSERAPI void WINAPI InitCommonControls();

// ---------------------------------------------------------------------------------------
// Tooltips. No tip is ever shown; the control keeps its tools, texts, delays, width and
// activation, and counts the mouse messages relayed to it, all observable through its
// messages and platform::windows::GetTooltipState.

#define TOOLTIPS_CLASSW L"tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSW

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTS_BALLOON 0x40

#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_RTLREADING 0x0004
#define TTF_SUBCLASS 0x0010
#define TTF_TRACK 0x0020
#define TTF_ABSOLUTE 0x0080
#define TTF_TRANSPARENT 0x0100
#define TTF_PARSELINKS 0x1000

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#define LPSTR_TEXTCALLBACKW ((LPWSTR)-1L)

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_POP (WM_USER + 28)
#define TTM_ADDTOOLW (WM_USER + 50)
#define TTM_DELTOOLW (WM_USER + 51)
#define TTM_GETTOOLINFOW (WM_USER + 53)
#define TTM_GETTEXTW (WM_USER + 56)
#define TTM_UPDATETIPTEXTW (WM_USER + 57)
#define TTM_ADDTOOL TTM_ADDTOOLW
#define TTM_DELTOOL TTM_DELTOOLW
#define TTM_GETTEXT TTM_GETTEXTW
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTW

// A tool: the window it belongs to (hwnd) and its id in that window (uId; the tool window's
// handle with TTF_IDISHWND), its rectangle, and its text (a string, a string id with hinst,
// or LPSTR_TEXTCALLBACKW).
typedef struct tagTOOLINFOW {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPWSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
} TTTOOLINFOW, *PTOOLINFOW, *LPTTTOOLINFOW, TOOLINFOW, *LPTOOLINFOW;
typedef TOOLINFOW TOOLINFO;

// The sizes of the structure's older layouts: without lParam (V1) and without lpReserved (V2).
// A cbSize below TTTOOLINFOW_V1_SIZE is refused (the message returns FALSE).
#define TTTOOLINFOW_V1_SIZE offsetof(TOOLINFOW, lParam)
#define TTTOOLINFOW_V2_SIZE offsetof(TOOLINFOW, lpReserved)
#define TTTOOLINFOW_V3_SIZE sizeof(TOOLINFOW)

// The messages' contracts (wParam, lParam -> result):
//   TTM_ADDTOOLW        0, TOOLINFOW*  -> TRUE; the text is copied (a string id is loaded now)
//   TTM_DELTOOLW        0, TOOLINFOW*  (hwnd, uId) -> 0
//   TTM_UPDATETIPTEXTW  0, TOOLINFOW*  (hwnd, uId, new text) -> 0; unknown tools are ignored
//   TTM_GETTEXTW        buffer size in characters (0: unbounded, the old form), TOOLINFOW* whose
//                       lpszText receives the text -> 0
//   TTM_GETTOOLCOUNT    -> the number of tools
//   TTM_ACTIVATE        TRUE / FALSE -> 0
//   TTM_SETDELAYTIME    TTDT_*, the delay in ms in the low word (-1: the default) -> 0;
//                       TTDT_AUTOMATIC sets initial n, autopop 10n, reshow n/5; the defaults are
//                       initial 500, autopop 5000, reshow 100
//   TTM_GETDELAYTIME    TTDT_* -> the delay
//   TTM_SETMAXTIPWIDTH  0, width (-1: none) -> the previous width (-1 at first)
//   TTM_RELAYEVENT      0, MSG* -> 0; counted
// TTF_SUBCLASS: the control subclasses the tool's window (hwnd, or uId with TTF_IDISHWND) and
// relays that window's mouse messages (WM_MOUSEFIRST..WM_MOUSELAST) to itself as TTM_RELAYEVENT
// before the window's procedure sees them; the relay ends when the tooltip loses its last such
// tool for the window (TTM_DELTOOLW), or either window is destroyed.
