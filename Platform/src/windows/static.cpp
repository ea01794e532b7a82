// The static control: text, font, an icon for SS_ICON.
#include "windows_internal.h"

namespace platform::windows::internal {
namespace {

struct StaticState : ControlState {
  HICON icon = nullptr;
  bool pressed = false;
};

HICON LoadStaticIcon(HINSTANCE instance, LPCWSTR title) {
  LPCWSTR name = IsOrdinalTitle(title) ? MAKEINTRESOURCEW(static_cast<WORD>(title[1])) : title;
  HICON icon = instance ? LoadIconW(instance, name) : nullptr;
  // A system icon by ordinal (IDI_ERROR, ...) when the module has none of that name.
  return icon ? icon : LoadIconW(nullptr, name);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  StaticState* s = StateOf<StaticState>(hwnd);
  const bool isIcon = (w->style & SS_TYPEMASK) == SS_ICON;
  switch (msg) {
    case WM_NCCREATE: {
      DefWindowProcW(hwnd, msg, wParam, lParam);
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (isIcon && cs->lpszName && cs->lpszName[0]) {
        s->icon = LoadStaticIcon(cs->hInstance, cs->lpszName);
        // The control takes the icon's size, as on the platform; a missing icon leaves it empty.
        if (s->icon && !(w->style & SS_CENTERIMAGE)) {
          w->rect.right = w->rect.left + GetSystemMetrics(SM_CXICON);
          w->rect.bottom = w->rect.top + GetSystemMetrics(SM_CYICON);
        }
      }
      return TRUE;
    }
    case STM_SETICON: {
      HICON previous = s->icon;
      s->icon = reinterpret_cast<HICON>(wParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(s->icon);
    case STM_SETIMAGE: {
      if (wParam != IMAGE_ICON) return 0;
      HICON previous = s->icon;
      s->icon = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETIMAGE:
      return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(s->icon) : 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_LBUTTONDOWN:
      s->pressed = true;
      return 0;
    case WM_LBUTTONUP:
      if (s->pressed && (w->style & SS_NOTIFY)) NotifyParent(hwnd, STN_CLICKED);
      s->pressed = false;
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace platform::windows::internal
