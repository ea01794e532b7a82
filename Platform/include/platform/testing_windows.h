// Test hooks of the window manager: the clock, the message pump, the keyboard state, the
// recorders (message boxes, beeps), the clipboard, the modal-dialog idle hook, and the user's
// actions on controls. Each action goes through the same messages a user's input would, so
// the control's procedure (and any subclass of it) sees them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../commctrl.h"
#include "../winuser.h"

namespace platform::windows {

// ---- Clock and queue

// Moves the clock on by milliseconds: timers that fall due post WM_TIMER when their thread
// reads its queue. Nothing is pumped here.
PLATFORM_API void AdvanceClock(DWORD milliseconds);
// Dispatches the calling thread's posted messages and due timers until the queue is empty
// (messages posted meanwhile included; WM_QUIT is removed and stops the pump). Messages for a
// modeless dialog go through IsDialogMessageW. Returns the number dispatched.
PLATFORM_API int PumpMessages();
// Whether the calling thread's queue holds a posted message (timers not counted).
PLATFORM_API bool HasPostedMessages();
// The number of timers the calling thread owns (window and thread timers, due or not).
PLATFORM_API size_t TimerCount();

// ---- Input state and recorders

// The state GetAsyncKeyState and GetKeyState report for vk.
PLATFORM_API void SetKeyDown(int vk, bool down);
// Every key up again.
PLATFORM_API void ReleaseAllKeys();

struct MessageBoxCall {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};
// The answer MessageBoxW returns from now on (IDOK until set).
PLATFORM_API void SetMessageBoxAnswer(int answer);
PLATFORM_API std::vector<MessageBoxCall> MessageBoxCalls();
// Forgets the calls and beeps and sets the answer back to IDOK.
PLATFORM_API void ClearRecorders();
// The uType of each MessageBeep so far.
PLATFORM_API std::vector<UINT> MessageBeeps();

// ---- Clipboard

// busy: OpenClipboard fails (ERROR_ACCESS_DENIED) as if another program held it open.
PLATFORM_API void SetClipboardBusy(bool busy);
// Closes and empties the clipboard (its data freed) and clears the busy switch.
PLATFORM_API void ResetClipboard();
// Puts text on the clipboard as CF_UNICODETEXT as another program would (open, empty, set,
// close). False when the clipboard is open or busy.
PLATFORM_API bool PutClipboardText(const std::wstring& text);
// The CF_UNICODETEXT text on the clipboard ("" when none), read without opening it.
PLATFORM_API std::wstring ClipboardText();

// ---- Windows

// The number of live windows (the desktop not counted): a test that destroys what it made ends
// with the count it started with.
PLATFORM_API size_t LiveWindowCount();
// The class name a window was created with ("" for a dead one).
PLATFORM_API std::wstring ClassNameOf(HWND hwnd);
// The window's text read directly (without WM_GETTEXT).
PLATFORM_API std::wstring TextOf(HWND hwnd);

// ---- Modal dialogs

// Called with the dialog each time a modal dialog's loop (DialogBoxIndirectParamW) is idle;
// it acts as the user would (ClickButton, PressKey, ...). An empty function removes it. The hook
// stays set across dialogs; it is called for nested dialogs too, with the innermost one.
PLATFORM_API void SetModalIdleHook(std::function<void(HWND dialog)> hook);

// ---- The user's actions

// Clicks the button as the user would with the mouse: nothing happens (false) when it, or an
// ancestor, is disabled or hidden; otherwise the button takes the focus and receives
// WM_LBUTTONDOWN and WM_LBUTTONUP at its centre, so an automatic check box or radio button
// changes its check and the parent receives WM_COMMAND(id, BN_CLICKED).
PLATFORM_API bool ClickButton(HWND button);
// Focuses the control as a click or Tab would (false when it is disabled or hidden): SetFocus.
PLATFORM_API bool FocusControl(HWND control);
// Types text into the control: focuses it, then sends WM_CHAR for each character ('\b' is
// backspace). False when the control cannot take the focus.
PLATFORM_API bool TypeText(HWND control, const std::wstring& text);
// Pastes into the control as Ctrl+V would: focuses it and sends WM_PASTE.
PLATFORM_API bool Paste(HWND control);
// Selects the combo box's item index as the user would with the mouse from its list: focus,
// the list opened (CBN_DROPDOWN), the selection (CB_SETCURSEL's effect, the text of a drop-down
// list) and CBN_SELCHANGE to the parent, then CBN_SELENDOK and the list closed (CBN_CLOSEUP).
// False for a disabled or hidden combo box or an index out of range.
PLATFORM_API bool SelectComboItem(HWND combo, int index);
// Chooses with the keyboard in the open list: focus and the list opened as a click opens it,
// then VK_DOWN or VK_UP pressed (as PressKey does, the thread's messages pumped after each)
// until the selection is index, then closeKey pressed: VK_RETURN commits the choice, VK_ESCAPE
// abandons it. False for a disabled or hidden combo box or an index out of range.
PLATFORM_API bool ChooseComboItemByKeys(HWND combo, int index, int closeKey);
// Presses and releases the key on the focused window (target: the window to focus first, or
// null to keep the focus), as posted WM_KEYDOWN and WM_KEYUP that the thread's loop
// translates: in a dialog Escape and Return act on it (IsDialogMessageW), F1 becomes WM_HELP,
// a character key becomes WM_CHAR. The messages are posted: a modal loop or PumpMessages
// delivers them.
PLATFORM_API void PressKey(HWND target, int vk);

// The number of EM_SCROLLCARET messages the edit control has received.
PLATFORM_API int ScrollCaretCount(HWND edit);

// ---- Tooltips

struct TooltipTool {
  UINT flags;
  HWND hwnd;
  UINT_PTR id;
  RECT rect;
  std::wstring text;  // "" for LPSTR_TEXTCALLBACKW, see textCallback
  bool textCallback;
};
struct TooltipState {
  bool active;
  int maxTipWidth;
  int initialDelay, autopopDelay, reshowDelay;
  int relayedEvents;  // TTM_RELAYEVENT calls
  UINT lastRelayedMessage;
  std::vector<TooltipTool> tools;
};
// The tooltip control's state; false for a window that is not a live tooltip.
PLATFORM_API bool GetTooltipState(HWND tooltip, TooltipState* state);

}  // namespace platform::windows
