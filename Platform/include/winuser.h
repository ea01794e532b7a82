// The platform's user interface: windows, messages, dialogs, and the resource names and string
// loading that they use.
#pragma once

#include "wtypesbase.h"
#include "libloaderapi.h"
#include "dlgtemplate.h"  // DLGTEMPLATE and the template reader and writer
#include "wingdi.h"       // RECT, POINT, LOGFONTW

// ---------------------------------------------------------------------------------------
// Resources: names, types and strings

// A resource name or type is either a string or a 16-bit ordinal carried in the pointer.
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEW(i)

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_VERSION MAKEINTRESOURCEW(16)

// hInstance: the module whose RT_STRING resources hold the string (null: the executable).
// uID: in, the string's id; strings are stored in blocks of 16 (block uID / 16 + 1).
// lpBuffer: out, cchBufferMax characters: copies at most cchBufferMax - 1 characters and a
// terminator, and returns the number copied (0 when the string is absent or empty, with
// ERROR_RESOURCE_NAME_NOT_FOUND or similar as FindResourceW sets it).
// With cchBufferMax 0, lpBuffer receives a read-only pointer (it is taken as LPCWSTR*) to the
// string inside the resource, which is not terminated, and the string's length is returned.
WINUSERAPI int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);

// ---------------------------------------------------------------------------------------
// Windows: classes, creation and destruction
//
// Windows are headless: each HWND is a real object with its class, id, style, extended
// style, text, parent, rectangle, enabled and visible state and its class's data, and
// messages reach its window procedure, but nothing is painted. A handle is never reused, so
// IsWindow on a destroyed window's handle is FALSE.

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

#define MAKEINTATOM(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

// Class styles (kept, not interpreted).
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_GLOBALCLASS 0x4000

typedef struct tagWNDCLASSEXW {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
  HICON hIconSm;
} WNDCLASSEXW, *PWNDCLASSEXW, *LPWNDCLASSEXW;

typedef struct tagWNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
} WNDCLASSW, *PWNDCLASSW, *LPWNDCLASSW;

// The predefined classes, registered before any call: "Button" (atom 0x0080), "Edit" (0x0081),
// "Static" (0x0082), "ComboBox" (0x0085), the dialog class "#32770" (WC_DIALOG) and, from
// commctrl.h, TOOLTIPS_CLASSW. Class names compare without regard to case.
#define WC_DIALOG MAKEINTATOM(0x8002)
#define WC_BUTTONW L"Button"
#define WC_EDITW L"Edit"
#define WC_STATICW L"Static"
#define WC_COMBOBOXW L"ComboBox"

// lpwcx: in, cbSize must be sizeof(WNDCLASSEXW) (else ERROR_INVALID_PARAMETER). Returns the
// class's atom, or 0 with ERROR_CLASS_ALREADY_EXISTS when the name is already registered for
// the same instance (or is a predefined class's name).
WINUSERAPI ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* lpwcx);
WINUSERAPI ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass);
// FALSE with ERROR_CANNOT_FIND_WND_CLASS for an unknown class; ERROR_CLASS_HAS_WINDOWS while a
// window of the class lives. Predefined classes cannot be unregistered.
WINUSERAPI BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance);
// Out, the class's registration (lpszClassName points into the class record). FALSE with
// ERROR_CANNOT_FIND_WND_CLASS for an unknown class.
WINUSERAPI BOOL WINAPI GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx);
// Out, the window's class name (the name it was registered with); returns its length, 0 for a
// dead window (ERROR_INVALID_WINDOW_HANDLE).
WINUSERAPI int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_CHILDWINDOW WS_CHILD

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_RIGHT 0x00001000L
#define WS_EX_LEFTSCROLLBAR 0x00004000L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_APPWINDOW 0x00040000L
#define WS_EX_NOACTIVATE 0x08000000L

#define CW_USEDEFAULT ((int)0x80000000)
#define HWND_DESKTOP ((HWND)0)
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)
#define HWND_MESSAGE ((HWND)-3)

typedef struct tagCREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
} CREATESTRUCTW, *LPCREATESTRUCTW;

// Creates a window of lpClassName (a name or an atom from MAKEINTATOM). A WS_CHILD window needs
// a parent and takes hMenu as its control id; another window takes hWndParent as its owner.
// Position and size are in the parent's client coordinates for a child and in screen
// coordinates otherwise; CW_USEDEFAULT gives 0 (position) or 0 (size) here. The window
// procedure receives WM_NCCREATE (FALSE fails the creation), WM_CREATE (-1 fails it; the
// window is then destroyed with WM_DESTROY and WM_NCDESTROY), then WM_SIZE and WM_MOVE;
// WS_VISIBLE shows it. A lpWindowName whose first unit is 0xFFFF is an ordinal title
// (0xFFFF, ordinal): the window's text stays empty and the class reads the ordinal (SS_ICON).
// Returns null with ERROR_CANNOT_FIND_WND_CLASS, ERROR_INVALID_WINDOW_HANDLE (a dead parent),
// ERROR_TLW_WITH_WSCHILD (a child without a parent) or the procedure's refusal.
WINUSERAPI HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName,
                                       DWORD dwStyle, int X, int Y, int nWidth, int nHeight, HWND hWndParent,
                                       HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
#define CreateWindowW(c, n, s, x, y, w, h, p, m, i, l) CreateWindowExW(0, c, n, s, x, y, w, h, p, m, i, l)

// Destroys the window, the windows it owns and its children. As on the platform, the window
// is hidden, then WM_DESTROY goes to the window and then to its children (parents before
// children), and WM_NCDESTROY goes to the children before the window (children after
// parents are gone from the tree, the window last). Focus inside the window moves to its
// parent (a child's) or to none. FALSE with ERROR_INVALID_WINDOW_HANDLE for a dead window.
WINUSERAPI BOOL WINAPI DestroyWindow(HWND hWnd);
// TRUE while hWnd is a live window.
WINUSERAPI BOOL WINAPI IsWindow(HWND hWnd);

// ---------------------------------------------------------------------------------------
// Window data

#define GWL_WNDPROC (-4)
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define GWL_USERDATA (-21)
#define GWLP_ID (-12)
#define GWL_ID (-12)

// The dialog class's extra data (DLGWINDOWEXTRA bytes): the message result, the dialog
// procedure and a slot for the application.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC ((int)sizeof(LRESULT))
#define DWLP_USER ((int)(DWLP_DLGPROC + sizeof(DLGPROC)))
#define DWL_MSGRESULT DWLP_MSGRESULT
#define DWL_USER DWLP_USER
#define DLGWINDOWEXTRA 30

// nIndex: a GWL/GWLP index, or a byte offset into the class's cbWndExtra bytes (a LONG_PTR
// at that offset). Setting GWLP_WNDPROC subclasses the window: later messages go to the new
// procedure, which reaches the old one with CallWindowProcW. GWL_STYLE is set as given (its
// WS_VISIBLE and WS_DISABLED bits are the window's state); no WM_STYLECHANGED is sent here.
// Returns the previous value; 0 with
// ERROR_INVALID_WINDOW_HANDLE or ERROR_INVALID_INDEX (also an ordinary 0 value: clear the last
// error first to tell them apart).
WINUSERAPI LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex);
WINUSERAPI LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
// The 32-bit forms, for the styles and id.
WINUSERAPI LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex);
WINUSERAPI LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);

// The window's help context id (0 until set); a dialog's controls take their template's.
WINUSERAPI BOOL WINAPI SetWindowContextHelpId(HWND hWnd, DWORD dwContextHelpId);
WINUSERAPI DWORD WINAPI GetWindowContextHelpId(HWND hWnd);

// ---------------------------------------------------------------------------------------
// Messages

#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_NEXTDLGCTL 0x0028
#define WM_DRAWITEM 0x002B
#define WM_MEASUREITEM 0x002C
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NOTIFY 0x004E
#define WM_HELP 0x0053
#define WM_CONTEXTMENU 0x007B
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCHITTEST 0x0084
#define WM_GETDLGCODE 0x0087
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0109
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MOUSELAST 0x020E
#define WM_PARENTNOTIFY 0x0210
#define WM_CUT 0x0300
#define WM_COPY 0x0301
#define WM_PASTE 0x0302
#define WM_CLEAR 0x0303
#define WM_UNDO 0x0304
#define WM_USER 0x0400
#define WM_APP 0x8000

// WM_SIZE kinds and WM_ACTIVATE states.
#define SIZE_RESTORED 0
#define WA_INACTIVE 0
#define WA_ACTIVE 1

// Mouse-message key flags.
#define MK_LBUTTON 0x0001

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *PMSG, *LPMSG;

// WM_HELP's record.
#define HELPINFO_WINDOW 0x0001
#define HELPINFO_MENUITEM 0x0002
typedef struct tagHELPINFO {
  UINT cbSize;
  int iContextType;
  int iCtrlId;
  HANDLE hItemHandle;
  DWORD_PTR dwContextId;
  POINT MousePos;
} HELPINFO, *LPHELPINFO;

// WM_NOTIFY's header.
typedef struct tagNMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
} NMHDR, *LPNMHDR;

// Calls the window's procedure now, on the calling thread, and returns its result. 0 with
// ERROR_INVALID_WINDOW_HANDLE for a dead window.
WINUSERAPI LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Calls lpPrevWndFunc (a subclassed window's previous procedure).
WINUSERAPI LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                                          LPARAM lParam);
// The default handling: WM_NCCREATE takes the title (TRUE); WM_SETTEXT / WM_GETTEXT /
// WM_GETTEXTLENGTH keep the window's text; WM_CLOSE destroys the window; WM_HELP and
// WM_KEYDOWN F1 (which becomes WM_HELP for the window) go to a child's parent; WM_PARENTNOTIFY,
// WM_NOTIFY, WM_COMMAND and the rest give 0.
WINUSERAPI LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Queues the message for the thread that created hWnd (null hWnd: the calling thread, as
// PostThreadMessageW). FALSE with ERROR_INVALID_WINDOW_HANDLE for a dead window.
WINUSERAPI BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
WINUSERAPI BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
// Posts WM_QUIT(nExitCode) to the calling thread.
WINUSERAPI void WINAPI PostQuitMessage(int nExitCode);

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// The next message of the calling thread's queue for hWnd (null: any; a message's window or a
// descendant of hWnd matches) within [wMsgFilterMin, wMsgFilterMax] (0, 0: all): posted
// messages in order, then WM_TIMER for each due timer (one per timer however long it is due,
// as on the platform). PeekMessageW returns FALSE when none is there. GetMessageW returns
// FALSE for WM_QUIT and TRUE otherwise; on an empty queue it waits, and waiting here means the
// clock moves on to the next timer; with no timer to wait for it returns -1
// (ERROR_INVALID_OPERATION) rather than hang the test.
WINUSERAPI BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                    UINT wRemoveMsg);
WINUSERAPI BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// WM_KEYDOWN of a character key posts the character (WM_CHAR): letters (upper case while
// VK_SHIFT is down), digits, space, VK_BACK (8), VK_RETURN (13), VK_ESCAPE (27). TRUE when a
// character was posted.
WINUSERAPI BOOL WINAPI TranslateMessage(const MSG* lpMsg);
// Calls the message's window procedure (a WM_TIMER with a TIMERPROC in lParam calls that
// instead) and returns its result.
WINUSERAPI LRESULT WINAPI DispatchMessageW(const MSG* lpMsg);
// The calling thread's id (as the platform's GetCurrentThreadId).
WINBASEAPI DWORD WINAPI GetCurrentThreadId();
WINUSERAPI DWORD WINAPI GetMessageTime();

// ---------------------------------------------------------------------------------------
// Window tree, text, state, geometry, focus

// The parent of a child window; the owner of another window (null when none). Null with
// ERROR_INVALID_WINDOW_HANDLE for a dead window.
WINUSERAPI HWND WINAPI GetParent(HWND hWnd);
// Makes hWndNewParent (null: the desktop) the parent and returns the previous one.
WINUSERAPI HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent);
// TRUE when hWnd is a child or a deeper descendant of hWndParent.
WINUSERAPI BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd);

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

// Siblings are in creation order (the first created is first). Null when there is none.
WINUSERAPI HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);
WINUSERAPI HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags);
// The first child of hDlg whose id is nIDDlgItem; null with ERROR_CONTROL_ID_NOT_FOUND.
WINUSERAPI HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
// A child window's id (0 for a dead window or a window that is not a child).
WINUSERAPI int WINAPI GetDlgCtrlID(HWND hWnd);
// Calls lpEnumFunc for each child and deeper descendant (parents first) until it returns FALSE.
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);
WINUSERAPI BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam);
// Calls lpEnumFunc for each top-level window (owned ones included, children not), oldest
// first, until it returns FALSE; FALSE then, TRUE when every window was enumerated.
WINUSERAPI BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);

// Through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH, so a control's procedure sees them.
// GetWindowTextW copies at most nMaxCount - 1 characters and a terminator and returns the
// number copied.
WINUSERAPI BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);
WINUSERAPI int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
WINUSERAPI int WINAPI GetWindowTextLengthW(HWND hWnd);

// Enables or disables input; WM_ENABLE goes to the window when the state changes (a disabled
// window holding the focus loses it). Returns TRUE when the window was disabled before.
WINUSERAPI BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
WINUSERAPI BOOL WINAPI IsWindowEnabled(HWND hWnd);

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// Shows (every command but SW_HIDE) or hides the window; WM_SHOWWINDOW goes to it when the
// state changes; hiding the window that holds the focus (or its ancestor) moves the focus to
// the parent. Returns TRUE when the window was visible before (its own WS_VISIBLE).
WINUSERAPI BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
// TRUE when the window and all its ancestors have WS_VISIBLE.
WINUSERAPI BOOL WINAPI IsWindowVisible(HWND hWnd);
// Painting does nothing here: TRUE for a live window.
WINUSERAPI BOOL WINAPI UpdateWindow(HWND hWnd);
WINUSERAPI BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);

// The non-client frame, by one rule (from GetSystemMetrics): a frame of 4 pixels for
// WS_THICKFRAME, else 3 for WS_DLGFRAME or WS_EX_DLGMODALFRAME, else 1 for WS_BORDER; 2 more
// for WS_EX_CLIENTEDGE and 1 for WS_EX_STATICEDGE; a caption of SM_CYCAPTION (23) above when
// the style has all of WS_CAPTION. lpRect: in, a client rectangle; out, the window rectangle.
WINUSERAPI BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);

// Moves the window (x, y in the parent's client coordinates for a child, screen coordinates
// otherwise); WM_MOVE and WM_SIZE go to it when its position or size changes. bRepaint is
// ignored.
WINUSERAPI BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOOWNERZORDER 0x0200

// As MoveWindow, keeping the position (SWP_NOMOVE) or size (SWP_NOSIZE), and showing or
// hiding the window (SWP_SHOWWINDOW / SWP_HIDEWINDOW). The z-order is kept (no painting).
WINUSERAPI BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                                    UINT uFlags);
// Rectangle arithmetic.
WINUSERAPI BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
WINUSERAPI BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy);
WINUSERAPI BOOL WINAPI PtInRect(const RECT* lprc, POINT pt);
// Out, the window's rectangle in screen coordinates.
WINUSERAPI BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
// Out, the client area: (0, 0, width, height) of the window less its frame (AdjustWindowRectEx).
WINUSERAPI BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
// Converts cPoints points from hWndFrom's client coordinates to hWndTo's (null: the screen).
// Returns the horizontal offset in the low word and the vertical in the high word (0 with
// ERROR_INVALID_WINDOW_HANDLE for a dead window; also an ordinary result).
WINUSERAPI int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);
WINUSERAPI BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint);
WINUSERAPI BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint);

// The focus is per thread. SetFocus sends WM_KILLFOCUS(new) to the window losing it and then
// WM_SETFOCUS(old) to hWnd, and returns the previous focus (null: none, or a dead or disabled
// hWnd, which does not take the focus). A null hWnd removes the focus.
WINUSERAPI HWND WINAPI SetFocus(HWND hWnd);
WINUSERAPI HWND WINAPI GetFocus();
// The active window is the calling thread's last top-level window given the focus or activated.
WINUSERAPI HWND WINAPI GetActiveWindow();
WINUSERAPI HWND WINAPI SetActiveWindow(HWND hWnd);
WINUSERAPI HWND WINAPI GetForegroundWindow();
WINUSERAPI BOOL WINAPI SetForegroundWindow(HWND hWnd);
// The desktop window: the screen as one window (SM_CXSCREEN x SM_CYSCREEN), never destroyed.
WINUSERAPI HWND WINAPI GetDesktopWindow();
// Mouse capture (per thread); ReleaseCapture clears it.
WINUSERAPI HWND WINAPI SetCapture(HWND hWnd);
WINUSERAPI BOOL WINAPI ReleaseCapture();
WINUSERAPI HWND WINAPI GetCapture();

// ---------------------------------------------------------------------------------------
// Timers and time, on the test clock (platform::windows::AdvanceClock)

// Creates or replaces the timer (hWnd, nIDEvent) that falls due every uElapse milliseconds of
// the clock (at least 10, as on the platform; a null hWnd makes a thread timer with a new
// id). Due timers become WM_TIMER(nIDEvent, lpTimerFunc) when the owning thread reads its
// queue. Returns the id (nIDEvent for a window timer), 0 for a dead window.
WINUSERAPI UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
// FALSE when there is no such timer. A WM_TIMER not yet read is not delivered afterwards.
WINUSERAPI BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent);
// Milliseconds on the clock (it starts at 0x00100000 and wraps as a DWORD).
WINBASEAPI DWORD WINAPI GetTickCount();
WINBASEAPI ULONGLONG WINAPI GetTickCount64();
// Advances the clock by dwMilliseconds without pumping messages; nothing sleeps for real.
WINBASEAPI void WINAPI Sleep(DWORD dwMilliseconds);

// ---------------------------------------------------------------------------------------
// Keyboard, mouse, cursor, icons

#define VK_LBUTTON 0x01
#define VK_CANCEL 0x03
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_LSHIFT 0xA0
#define VK_LCONTROL 0xA2

// The key's state as a test set it (platform::windows::SetKeyDown): the high bit (0x8000)
// while it is down. GetKeyState answers the same here.
WINUSERAPI SHORT WINAPI GetAsyncKeyState(int vKey);
WINUSERAPI SHORT WINAPI GetKeyState(int nVirtKey);

#define MAKEINTRESOURCEW_CURSOR(i) MAKEINTRESOURCEW(i)
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEW(32650)

#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_WINLOGO MAKEINTRESOURCEW(32517)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

// The system cursors (null hInstance and an IDC_ ordinal): a fixed handle per cursor. Null with
// ERROR_RESOURCE_NAME_NOT_FOUND otherwise (modules carry no cursors here).
WINUSERAPI HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
// Makes hCursor current and returns the previous one (nothing is shown).
WINUSERAPI HCURSOR WINAPI SetCursor(HCURSOR hCursor);
WINUSERAPI HCURSOR WINAPI GetCursor();
// The system icons IDI_APPLICATION .. IDI_WINLOGO (32512-32517) with a null hInstance: a fixed
// handle each. A module's icon (RT_GROUP_ICON) gives a handle that lives with the process.
// Null with ERROR_RESOURCE_NAME_NOT_FOUND otherwise.
WINUSERAPI HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
// Icons are never really freed here: TRUE for an icon handle.
WINUSERAPI BOOL WINAPI DestroyIcon(HICON hIcon);

#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_DEFAULTSIZE 0x0040
#define LR_SHARED 0x8000
// Icons and cursors as LoadIconW and LoadCursorW; null for bitmaps (none here).
WINUSERAPI HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);

// ---------------------------------------------------------------------------------------
// System metrics, parameters, menus, message boxes and beeps

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_CXMIN 28
#define SM_CYMIN 29
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXSIZEFRAME SM_CXFRAME
#define SM_CYSIZEFRAME SM_CYFRAME

// Fixed values of one 96-dpi display: screen 1920 x 1080, scroll bars 17, caption 23,
// border 1, dialog frame 3, frame 4, icon 32, small icon 16, cursor 32, menu 20, edge 2,
// minimum window 136 x 39; full screen 1920 x 1034. 0 for another index.
WINUSERAPI int WINAPI GetSystemMetrics(int nIndex);

#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNFACE 15
#define COLOR_GRAYTEXT 17

// The fixed colours of the display's standard scheme: window white, window text black,
// button face 0xF0F0F0, grey text 0x6D6D6D. 0 for another index.
WINUSERAPI DWORD WINAPI GetSysColor(int nIndex);

#define SPI_GETNONCLIENTMETRICS 0x0029
#define SPI_GETWORKAREA 0x0030

typedef struct tagNONCLIENTMETRICSW {
  UINT cbSize;
  int iBorderWidth;
  int iScrollWidth;
  int iScrollHeight;
  int iCaptionWidth;
  int iCaptionHeight;
  LOGFONTW lfCaptionFont;
  int iSmCaptionWidth;
  int iSmCaptionHeight;
  LOGFONTW lfSmCaptionFont;
  int iMenuWidth;
  int iMenuHeight;
  LOGFONTW lfMenuFont;
  LOGFONTW lfStatusFont;
  LOGFONTW lfMessageFont;
  int iPaddedBorderWidth;
} NONCLIENTMETRICSW, *PNONCLIENTMETRICSW, *LPNONCLIENTMETRICSW;

// SPI_GETNONCLIENTMETRICS: pvParam is a NONCLIENTMETRICSW whose cbSize, and uiParam, are
// sizeof(NONCLIENTMETRICSW) or that less iPaddedBorderWidth (the older layout); the fonts are
// 9 points (lfHeight -12, FW_NORMAL, DEFAULT_CHARSET, face "System Sans"), the caption font
// bold. SPI_GETWORKAREA: pvParam is a RECT, the screen less a 46-pixel bar at the bottom.
// FALSE with ERROR_INVALID_PARAMETER for another size or action.
WINUSERAPI BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni);

#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120

// The window's system menu (SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE,
// all enabled), made at the first call and destroyed with the window; bRevert TRUE restores
// it and returns null. Null for a dead window.
WINUSERAPI HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert);
// uEnable: MF_BYCOMMAND or MF_BYPOSITION with MF_ENABLED, MF_GRAYED or MF_DISABLED. Returns the
// item's previous state (MF_ENABLED / MF_GRAYED / MF_DISABLED bits), or -1 for no such item.
WINUSERAPI BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
// The item's state bits, or (UINT)-1 for no such item.
WINUSERAPI UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFBUTTON4 0x00000300L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_HELP 0x00004000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9

// A recorder here (no display): the call is recorded (platform::windows::MessageBoxCalls)
// and the answer a test set is returned (IDOK until set).
WINUSERAPI int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
// Recorded (platform::windows::MessageBeeps); TRUE.
WINUSERAPI BOOL WINAPI MessageBeep(UINT uType);

// ---------------------------------------------------------------------------------------
// Dialogs

#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_LOCALEDIT 0x20L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_NOIDLEMSG 0x100L
#define DS_SETFOREGROUND 0x200L
#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_NOFAILCREATE 0x0010L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

// WM_GETDLGCODE answers.
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

// The dialog base units of the system font (SYSTEM_FONT by the font rule of wingdi.h):
// 6 horizontally (low word) and 16 vertically (high word).
WINUSERAPI LONG WINAPI GetDialogBaseUnits();
// lpRect: in, dialog units; out, pixels of the dialog's font: x * cx / 4 and y * cy / 8
// (MulDiv), where cy is the font's tmHeight and cx is (width of the 52 letters A-Z a-z / 26 + 1)
// / 2. FALSE for a window that is not a dialog.
WINUSERAPI BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect);

// Builds a dialog from a DLGTEMPLATE or DLGTEMPLATEEX (read with ParseDialogTemplate; size
// unknown here, so the reader takes up to 64 KiB, as a template never exceeds that). The
// dialog window has the template's style, extended style, title (its caption) and class
// (default: the dialog class), and is a child of hWndParent with WS_CHILD, else owned by it.
// Its size is the template's, in dialog units of the template font (DS_SETFONT, made with
// CreateFontW and deleted with the dialog) or of the system font (GetDialogBaseUnits); a
// child dialog is placed in its parent's client coordinates, another relative to its owner's
// client area (DS_CENTER: centered on the owner or the screen). Each item becomes a child
// control with its id, style, extended style, title and help id (an ordinal title, e.g. an
// SS_ICON static's, is passed as (0xFFFF, ordinal)). Then WM_SETFONT goes to the dialog and to
// each control (template font only), then WM_INITDIALOG(first tab-stop control,
// dwInitParam) to lpDialogFunc; TRUE from it puts the focus on that control. WS_VISIBLE shows
// the dialog afterwards. Null for a malformed template (ERROR_INVALID_DATA), an unknown
// control class, a refused control or a dialog procedure that destroys the dialog during
// WM_INITDIALOG.
WINUSERAPI HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate,
                                                  HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam);
// As CreateDialogIndirectParamW with the RT_DIALOG resource lpTemplateName of hInstance (the
// resource's size bounds the reader). Null with FindResourceW's error when it is absent.
WINUSERAPI HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam);
// A modal dialog: created as CreateDialogIndirectParamW (owned by hWndParent, not a child),
// the owner is disabled, the dialog shown, and a nested message loop runs (IsDialogMessageW,
// then TranslateMessage and DispatchMessageW) until EndDialog. Whenever the loop finds no
// message it calls the test's idle hook (platform::windows::SetModalIdleHook), which acts as
// a user would; with no hook, or after 1000 idle rounds without EndDialog, the clock moves to
// the next timer, and with none the dialog cannot go on: it is destroyed and -1 is returned
// (ERROR_INVALID_OPERATION). EndDialog's result is returned after the owner is enabled again
// and the dialog destroyed; -1 when the dialog could not be created.
WINUSERAPI INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                                  HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam);
WINUSERAPI INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam);
// Ends a modal dialog with nResult (its loop ends; the owner is enabled again at once) or hides
// a modeless one. FALSE for a window that is not a dialog.
WINUSERAPI BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
// The dialog class's procedure: the DLGPROC at DWLP_DLGPROC first; when it returns TRUE the
// result is DWLP_MSGRESULT (WM_INITDIALOG and the WM_CTLCOLOR messages: its return value
// itself). Otherwise: WM_GETFONT gives the dialog font, WM_SETFONT keeps it, WM_CLOSE sends
// WM_COMMAND(IDCANCEL), DM_GETDEFID gives MAKELONG(id, DC_HASDEFID) of the default button (the
// template's BS_DEFPUSHBUTTON control, or DM_SETDEFID's id; 0 when there is none), WM_NEXTDLGCTL moves the
// focus, and the rest goes to DefWindowProcW.
WINUSERAPI LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
// The next (bPrevious: the previous) control after hCtl (null: from the start) that has
// WS_TABSTOP and is visible and enabled, among the dialog's controls and those of child
// dialogs with WS_EX_CONTROLPARENT; the search wraps around. Null when there is none.
WINUSERAPI HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// Keyboard handling of a dialog for messages to it or its descendants: Tab and Shift+Tab move
// the focus among WS_TABSTOP controls (an edit control then selects all), Escape sends
// WM_COMMAND(IDCANCEL), Return WM_COMMAND(the default id, BN_CLICKED) unless the focus wants
// it (DLGC_WANTALLKEYS); other messages are translated and dispatched. TRUE when the message
// was for the dialog (it is then handled), FALSE otherwise.
WINUSERAPI BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg);
// GetDlgItem then Set/GetWindowTextW. FALSE / 0 for a missing item.
WINUSERAPI BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
WINUSERAPI UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
WINUSERAPI LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                              LPARAM lParam);
WINUSERAPI BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
WINUSERAPI UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton);

// ---------------------------------------------------------------------------------------
// Controls: static, button, edit, combo box

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_BLACKRECT 0x00000004L
#define SS_SIMPLE 0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW 0x0000000DL
#define SS_BITMAP 0x0000000EL
#define SS_ETCHEDHORZ 0x00000010L
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_SUNKEN 0x00001000L
#define SS_ENDELLIPSIS 0x00004000L
#define SS_PATHELLIPSIS 0x00008000L
#define SS_WORDELLIPSIS 0x0000C000L
#define SS_ELLIPSISMASK 0x0000C000L
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define STN_CLICKED 0

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_PUSHBOX 0x0000000AL
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008
#define BN_CLICKED 0
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_UPPERCASE 0x0008L
#define ES_LOWERCASE 0x0010L
#define ES_PASSWORD 0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL 0x0100L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L
#define ES_NUMBER 0x2000L
#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_SCROLLCARET 0x00B7
#define EM_GETMODIFY 0x00B8
#define EM_SETMODIFY 0x00B9
#define EM_GETLINECOUNT 0x00BA
#define EM_LINELENGTH 0x00C1
#define EM_REPLACESEL 0x00C2
#define EM_LIMITTEXT 0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6
#define EM_UNDO 0x00C7
#define EM_EMPTYUNDOBUFFER 0x00CD
#define EM_SETREADONLY 0x00CF
#define EM_GETLIMITTEXT 0x00D5
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_ERRSPACE 0x0500
#define EN_MAXTEXT 0x0501

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_OWNERDRAWFIXED 0x0010L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)
#define CB_OKAY 0
#define CB_GETEDITSEL 0x0140
#define CB_LIMITTEXT 0x0141
#define CB_SETEDITSEL 0x0142
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158
#define CB_GETDROPPEDWIDTH 0x015F
#define CB_SETDROPPEDWIDTH 0x0160
#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

// ---------------------------------------------------------------------------------------
// Text drawing (measuring only: nothing is drawn)

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
#define DT_EDITCONTROL 0x00002000

// Lays out cchText characters of lpchText (-1: up to the terminator) in the font selected into
// hdc. Lines break at "\r\n", "\r" or "\n" (not with DT_SINGLELINE), and with DT_WORDBREAK
// also before a word that would pass lprc's right edge (after the spaces that end the
// previous word; a word wider than the rectangle is broken between characters). Without
// DT_NOPREFIX "&x" shows as x and "&&" as "&". Each line is tmHeight high (plus
// tmExternalLeading with DT_EXTERNALLEADING). Returns the height of the text, 0 for a dead
// hdc; an empty text is one empty line here. DT_CALCRECT: lprc's right becomes left plus the
// widest line and its bottom top plus the height; nothing else changes.
WINUSERAPI int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format);

// The window's device context: a new context (SYSTEM_FONT selected; a window's does not take the
// window's WM_GETFONT font, as on the platform) for a live window or null (the screen). Give it
// back with ReleaseDC. Null for a dead window.
WINUSERAPI HDC WINAPI GetDC(HWND hWnd);
// Frees a context from GetDC; 1 when released, 0 for another handle.
WINUSERAPI int WINAPI ReleaseDC(HWND hWnd, HDC hDC);

// ---------------------------------------------------------------------------------------
// Clipboard

#define CF_TEXT 1
#define CF_UNICODETEXT 13

// Opens the clipboard for hWndNewOwner (null: for the task). FALSE with ERROR_ACCESS_DENIED
// while another window has it open, or while a test keeps it busy
// (platform::windows::SetClipboardBusy). Opening it again from the window that has it open
// succeeds.
WINUSERAPI BOOL WINAPI OpenClipboard(HWND hWndNewOwner);
// FALSE with ERROR_CLIPBOARD_NOT_OPEN when it is not open.
WINUSERAPI BOOL WINAPI CloseClipboard();
// Frees the data of every format and makes the opener the owner. FALSE with
// ERROR_CLIPBOARD_NOT_OPEN when it is not open.
WINUSERAPI BOOL WINAPI EmptyClipboard();
// hMem: global memory (GlobalAlloc) that the clipboard owns from now on (it frees the
// format's previous data). Returns hMem; null with ERROR_CLIPBOARD_NOT_OPEN when not open.
WINUSERAPI HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem);
// The format's global memory (owned by the clipboard; lock it, do not free it), null when
// absent or with ERROR_CLIPBOARD_NOT_OPEN when not open.
WINUSERAPI HANDLE WINAPI GetClipboardData(UINT uFormat);
WINUSERAPI BOOL WINAPI IsClipboardFormatAvailable(UINT format);
// The window that has the clipboard open (null: not open, or open without a window).
WINUSERAPI HWND WINAPI GetOpenClipboardWindow();

#ifndef ERROR_INVALID_INDEX
#define ERROR_INVALID_INDEX 1413L
#endif
#ifndef ERROR_CONTROL_ID_NOT_FOUND
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#endif
#ifndef ERROR_TLW_WITH_WSCHILD
#define ERROR_TLW_WITH_WSCHILD 1406L
#endif
#ifndef ERROR_CLASS_HAS_WINDOWS
#define ERROR_CLASS_HAS_WINDOWS 1412L
#endif
#ifndef ERROR_INVALID_OPERATION
#define ERROR_INVALID_OPERATION 4317L
#endif
#ifndef ERROR_WINDOW_NOT_DIALOG
#define ERROR_WINDOW_NOT_DIALOG 1420L
#endif
