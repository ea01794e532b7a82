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

namespace {

bool IsDropDown(HWND combo) {
  return (GetWindowLongW(combo, GWL_STYLE) & 0x3) != CBS_SIMPLE;
}

// Opens a drop-down combo box's list as a click on it would: focus, then CBN_DROPDOWN.
void OpenComboList(HWND combo) {
  SetFocus(combo);
  if (IsWindow(combo) && IsDropDown(combo)) SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
}

}  // namespace

bool SelectComboItem(HWND combo, int index) {
  if (!IsReachable(combo)) return false;
  int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  if (index < 0 || index >= count) return false;
  OpenComboList(combo);
  if (!IsWindow(combo)) return true;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  NotifyParent(combo, CBN_SELCHANGE);
  if (IsWindow(combo)) NotifyParent(combo, CBN_SELENDOK);
  if (IsWindow(combo) && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) {
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  }
  return true;
}

bool ChooseComboItemByKeys(HWND combo, int index, int closeKey) {
  if (!IsReachable(combo)) return false;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  if (index < 0 || index >= count) return false;
  OpenComboList(combo);
  PumpMessages();
  // One press per entry at most: a selection that stops moving ends the walk.
  for (int presses = 0; presses <= count && IsWindow(combo); ++presses) {
    const int selection = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (selection == index) break;
    PressKey(combo, selection < index ? VK_DOWN : VK_UP);
    PumpMessages();
    if (static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) == selection) break;
  }
  if (IsWindow(combo)) {
    PressKey(combo, closeKey);
    PumpMessages();
  }
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
