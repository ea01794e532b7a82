// The user's actions for tests: each goes through the messages the user's input would make.
#include "platform/testing_windows.h"
#include "windows_internal.h"

using namespace platform::windows::internal;

namespace platform::windows {

bool ClickButton(HWND button) {
  if (!IsReachable(button)) return false;
  RECT r{};
  GetClientRect(button, &r);
  LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  if (IsWindow(button)) SendMessageW(button, WM_LBUTTONUP, 0, centre);
  return true;
}

bool FocusControl(HWND control) {
  if (!IsReachable(control)) return false;
  SetFocus(control);
  return GetFocus() == control;
}

bool TypeText(HWND control, const std::wstring& text) {
  if (!FocusControl(control)) return false;
  for (wchar_t c : text) {
    if (!IsWindow(control)) return false;
    SendMessageW(control, WM_CHAR, static_cast<WPARAM>(c), 1);
  }
  return true;
}

bool Paste(HWND control) {
  if (!FocusControl(control)) return false;
  SendMessageW(control, WM_PASTE, 0, 0);
  return true;
}

bool SelectComboItem(HWND combo, int index) {
  if (!IsReachable(combo)) return false;
  int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  if (index < 0 || index >= count) return false;
  SetFocus(combo);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  NotifyParent(combo, CBN_SELCHANGE);
  if (IsWindow(combo)) NotifyParent(combo, CBN_SELENDOK);
  if (IsWindow(combo)) NotifyParent(combo, CBN_CLOSEUP);
  return true;
}

void PressKey(HWND target, int vk) {
  if (target) FocusControl(target);
  HWND focus = GetFocus();
  if (!focus) focus = GetActiveWindow();
  PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
  PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
}

bool GetTooltipState(HWND tooltip, TooltipState* state) {
  return ReadTooltipState(tooltip, state);
}

int ScrollCaretCount(HWND edit) {
  return EditScrollCaretCalls(edit);
}

}  // namespace platform::windows
