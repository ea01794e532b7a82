// The button control: push buttons, check boxes, radio buttons and group boxes.
#include <algorithm>

#include "windows_internal.h"

namespace platform::windows::internal {
namespace {

struct ButtonState : ControlState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
};

// The other automatic radio buttons of the button's group: its siblings from the group's
// first (the nearest one with WS_GROUP at or before it) to before the next WS_GROUP.
std::vector<HWND> RadioGroup(HWND button) {
  std::vector<HWND> group;
  Window* w = Find(button);
  Window* parent = w && w->parent ? Find(w->parent) : nullptr;
  if (!parent) return group;
  const auto& siblings = parent->children;
  auto self = std::find(siblings.begin(), siblings.end(), button);
  auto first = self;
  while (first != siblings.begin() && !(Find(*first)->style & WS_GROUP)) --first;
  for (auto it = first; it != siblings.end(); ++it) {
    Window* s = Find(*it);
    if (it != first && (s->style & WS_GROUP)) break;
    if (*it != button && (s->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && s->cls == w->cls)
      group.push_back(*it);
  }
  return group;
}

void Release(HWND hwnd, Window* w, ButtonState* s) {
  if (!s->pushed) return;
  s->pushed = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  switch (w->style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
      s->check = s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      break;
    case BS_AUTO3STATE:
      s->check = (s->check + 1) % 3;
      break;
    case BS_AUTORADIOBUTTON:
      s->check = BST_CHECKED;
      for (HWND other : RadioGroup(hwnd)) SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
      break;
    default:
      break;
  }
  NotifyParent(hwnd, BN_CLICKED);
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  ButtonState* s = StateOf<ButtonState>(hwnd);
  const DWORD type = w->style & BS_TYPEMASK;
  const bool checkable = type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX &&
                         type != BS_PUSHBOX && type != BS_OWNERDRAW && type != BS_USERBUTTON;
  switch (msg) {
    case WM_GETDLGCODE:
      switch (type) {
        case BS_PUSHBUTTON:
        case BS_PUSHBOX:
          return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
          return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
          return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
          return DLGC_STATIC;
        default:
          return DLGC_BUTTON;
      }
    case BM_GETCHECK:
      return checkable ? s->check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (checkable)
        s->check = static_cast<UINT>(wParam) & (type == BS_3STATE || type == BS_AUTO3STATE ? 3 : 1);
      return 0;
    case BM_GETSTATE:
      return (checkable ? s->check : 0) | (s->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      s->pushed = wParam != 0;
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
      return 0;
    case BM_CLICK:
      SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDOWN:
      if (type == BS_GROUPBOX) return 0;
      SetFocus(hwnd);
      SetCapture(hwnd);
      if ((w = Find(hwnd))) s->pushed = true;
      return 0;
    case WM_LBUTTONUP:
      Release(hwnd, w, s);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && type != BS_GROUPBOX) {
        s->pushed = true;
        return 0;
      }
      return DefWindowProcW(hwnd, msg, wParam, lParam);  // F1 becomes WM_HELP there
    case WM_KEYUP:
      if (wParam == VK_SPACE) Release(hwnd, w, s);
      return 0;
    case WM_SETFOCUS:
      if (w->style & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      s->pushed = false;
      if (w->style & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::windows::internal
