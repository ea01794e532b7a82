// The window hooks of the tests on the platform's own window manager: the user's actions as
// the messages the platform's controls and their parents get from a user, the thread's
// windows counted by enumerating them, a modal dialog's idle hook called from a thread timer
// that the dialog's own loop dispatches. Time is the platform's real time: the test clock
// has no counterpart, and the hooks that need it (or the stand-in's recorders) fail the
// calling test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace platform::windows {

// Not on the platform (real time): fails the calling test.
void AdvanceClock(DWORD milliseconds);
// Dispatches the thread's waiting messages (and the timers already due).
int PumpMessages();

// Every key up: nothing to do, the tests press no key on the platform's keyboard state.
void ReleaseAllKeys();

// Nothing is recorded on the platform: a test that reads a recorder fails.
void ClearRecorders();

// The clipboard, through the platform's own clipboard functions.
void ResetClipboard();
bool PutClipboardText(const std::wstring& text);

// The windows of the calling thread, with their descendants.
size_t LiveWindowCount();
std::wstring TextOf(HWND hwnd);

// Called with the innermost modal dialog of the thread (its owner disabled) while its loop
// waits, from a thread timer that loop dispatches. An empty function removes it.
void SetModalIdleHook(std::function<void(HWND dialog)> hook);

// The user's actions; false when the control is disabled or hidden (or the index is out of
// range).
bool ClickButton(HWND button);
bool FocusControl(HWND control);
bool TypeText(HWND control, const std::wstring& text);
bool Paste(HWND control);
bool SelectComboItem(HWND combo, int index);
// Not on the platform (keys posted and translated through the stand-in's queue): fails the
// calling test.
bool ChooseComboItemByKeys(HWND combo, int index, int closeKey);

}  // namespace platform::windows
