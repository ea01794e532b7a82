// The window manager's records, shared by the window, message, dialog and control sources.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "commctrl.h"
#include "platform/testing_windows.h"
#include "winuser.h"

namespace platform::windows::internal {

struct ClassRecord {
  std::wstring name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON smallIcon = nullptr;
  bool predefined = false;
  int liveWindows = 0;
};

// A control's own data (edit selection, combo box items, ...), kept with its window and
// deleted after WM_NCDESTROY.
struct ControlState {
  virtual ~ControlState() = default;
};

struct MenuItem {
  UINT id;
  UINT state;  // MF_GRAYED / MF_DISABLED bits
};
struct Menu {
  std::vector<MenuItem> items;
};

// The dialog manager's data of a dialog window.
struct DialogInfo {
  HFONT font = nullptr;       // the dialog's font (WM_GETFONT), null: the system font
  HFONT ownedFont = nullptr;  // made from the template's font block; deleted with the dialog
  int baseX = 0, baseY = 0;   // the font's dialog base units
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  WORD defaultId = 0;  // DM_SETDEFID; 0: the BS_DEFPUSHBUTTON control's
  HWND lastFocus = nullptr;
  ~DialogInfo();
};

struct Window {
  HWND handle = nullptr;
  ClassRecord* cls = nullptr;
  WNDPROC proc = nullptr;
  HWND parent = nullptr;              // a child's parent
  HWND owner = nullptr;               // another window's owner
  std::vector<HWND> children;         // in creation order
  std::vector<Window*> childRecords;  // the children's records, in the order of children
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  std::wstring text;
  RECT rect{};  // in the parent's client coordinates (a child) or the screen's
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;  // the class's cbWndExtra bytes
  HINSTANCE instance = nullptr;
  DWORD helpId = 0;
  DWORD thread = 0;
  bool destroying = false;
  HFONT font = nullptr;  // a control's WM_SETFONT font
  std::unique_ptr<ControlState> state;
  std::unique_ptr<Menu> systemMenu;
  std::unique_ptr<DialogInfo> dialog;
};

// The live window, or null (then the last error is ERROR_INVALID_WINDOW_HANDLE when `fail`).
Window* Find(HWND hwnd, bool fail = false);
// The control's state of type T, made on first use.
template <class T>
T* StateOf(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (!w->state) w->state = std::make_unique<T>();
  return dynamic_cast<T*>(w->state.get());
}

// WM_COMMAND(MAKEWPARAM(id, code), control) to the control's parent.
void NotifyParent(HWND control, WORD code);
// Whether the window and its ancestors are enabled and visible (a user can reach it).
bool IsReachable(HWND hwnd);
// The frame around the client area by the platform's rule (AdjustWindowRectEx).
RECT FrameInsets(DWORD style, DWORD exStyle);
// Hides or removes the focus when it is in the window or one of its descendants.
void MoveFocusOutOf(HWND hwnd);
// Called before a window's record goes: its timers are killed, the clipboard forgets it.
void ForgetWindowTimers(HWND hwnd);
void ForgetClipboardWindow(HWND hwnd);
// The clock moves on to the calling thread's next timer; false when it has none.
bool AdvanceToNextTimer();
// Whether the window's class has that registered name.
bool ClassNameOfIs(HWND hwnd, const wchar_t* name);
// The nearest dialog window at or above hwnd (null: none).
HWND DialogAncestor(HWND hwnd);

// The predefined classes' procedures.
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TooltipProc(HWND, UINT, WPARAM, LPARAM);

// Observers of control state for the test hooks.
int EditScrollCaretCalls(HWND edit);
bool ReadTooltipState(HWND tooltip, platform::windows::TooltipState* out);

// Whether a title is an ordinal (0xFFFF, ordinal) and its ordinal.
inline bool IsOrdinalTitle(LPCWSTR title) {
  return title && (title[0] & 0xFFFF) == 0xFFFF;
}

}  // namespace platform::windows::internal
