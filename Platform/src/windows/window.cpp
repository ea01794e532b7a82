// The headless window manager: window classes, the window table with its tree, window data,
// text, state, geometry and focus, window procedures and the default procedure.
#include <algorithm>
#include <array>
#include <atomic>
#include <map>
#include <mutex>

#include "errhandlingapi.h"
#include "platform/testing_windows.h"
#include "windows_internal.h"
#include "winerror.h"

#include "../internal/unicode.h"

namespace platform::windows::internal {
namespace {

struct Manager {
  std::recursive_mutex lock;
  std::vector<std::unique_ptr<ClassRecord>> classes;
  std::map<HWND, std::unique_ptr<Window>> windows;
  uintptr_t nextHandle = 0x10010;
  ATOM nextAtom = 0xC000;
  Window desktop;

  Manager() {
    desktop.handle = reinterpret_cast<HWND>(uintptr_t{0x10000});
    desktop.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    desktop.rect = {0, 0, 1920, 1080};
    desktop.text = L"";
    struct Predefined {
      const wchar_t* name;
      ATOM atom;
      WNDPROC proc;
      int extra;
    };
    const Predefined predefined[] = {
        {L"Button", 0x0080, ButtonProc, 0},
        {L"Edit", 0x0081, EditProc, 0},
        {L"Static", 0x0082, StaticProc, 0},
        {L"ComboBox", 0x0085, ComboBoxProc, 0},
        {L"#32770", 0x8002, DefDlgProcW, DLGWINDOWEXTRA},
        {L"ListBox", 0x0083, DefWindowProcW, 0},  // no list behaviour here
        {L"ScrollBar", 0x0084, DefWindowProcW, 0},
        {TOOLTIPS_CLASSW, 0xC000 - 1, TooltipProc, 0},
    };
    for (const auto& p : predefined) {
      auto record = std::make_unique<ClassRecord>();
      record->name = p.name;
      record->atom = p.atom;
      record->proc = p.proc;
      record->cbWndExtra = p.extra;
      record->style = CS_GLOBALCLASS | CS_DBLCLKS;
      record->predefined = true;
      classes.push_back(std::move(record));
    }
  }
};

Manager& Windows() {
  static Manager manager;
  return manager;
}

// Every message looks its window up several times, so each thread keeps the windows it found
// last, valid until any window's record is removed (records are never moved while they live).
std::atomic<uint64_t> gRemovals{0};
struct FoundWindow {
  HWND hwnd = nullptr;
  Window* window = nullptr;
  uint64_t removals = 0;
};
thread_local std::array<FoundWindow, 64> tFound;

thread_local HWND tFocus = nullptr;
thread_local HWND tActive = nullptr;
thread_local HWND tCapture = nullptr;

ClassRecord* FindClass(LPCWSTR name, HINSTANCE instance) {
  Manager& m = Windows();
  ClassRecord* any = nullptr;
  for (auto& c : m.classes) {
    bool match = IS_INTRESOURCE(name) ? c->atom == LOWORD(reinterpret_cast<ULONG_PTR>(name))
                                      : ::platform::CompareNoCase(c->name, name) == 0;
    if (!match) continue;
    if (c->instance == instance || c->predefined) return c.get();
    if (!any) any = c.get();
  }
  return any;  // a class of another module: found too (one process, no module isolation here)
}

RECT ScreenRect(const Window* w);

POINT ClientOrigin(const Window* w) {
  if (w == &Windows().desktop) return {0, 0};
  RECT r = ScreenRect(w);
  RECT insets = FrameInsets(w->style, w->exStyle);
  return {r.left + insets.left, r.top + insets.top};
}

RECT ScreenRect(const Window* w) {
  RECT r = w->rect;
  if (w->parent) {
    if (const Window* p = Find(w->parent)) {
      POINT o = ClientOrigin(p);
      r.left += o.x;
      r.right += o.x;
      r.top += o.y;
      r.bottom += o.y;
    }
  }
  return r;
}

SIZE ClientSize(const Window* w) {
  RECT insets = FrameInsets(w->style, w->exStyle);
  LONG cx = (w->rect.right - w->rect.left) - insets.left - insets.right;
  LONG cy = (w->rect.bottom - w->rect.top) - insets.top - insets.bottom;
  return {std::max<LONG>(cx, 0), std::max<LONG>(cy, 0)};
}

// A child joins and leaves its parent's lists of handles and of records together, so that
// a search of the children by id needs no lookup of each handle.
void AddChild(Window* parent, Window* child) {
  parent->children.push_back(child->handle);
  parent->childRecords.push_back(child);
}

void RemoveChild(Window* parent, const Window* child) {
  std::erase(parent->children, child->handle);
  std::erase(parent->childRecords, child);
}

// Sends WM_DESTROY to the window and then to its children, parents first.
void SendDestroy(HWND hwnd) {
  SendMessageW(hwnd, WM_DESTROY, 0, 0);
  Window* w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) {
    if (Find(child)) SendDestroy(child);
  }
}

// Removes the children's records, then the window's, each after its WM_NCDESTROY.
void FreeWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) FreeWindow(child);
  SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
  ForgetWindowTimers(hwnd);
  ForgetClipboardWindow(hwnd);
  if (tCapture == hwnd) tCapture = nullptr;
  if (tActive == hwnd) tActive = nullptr;
  if (tFocus == hwnd) tFocus = nullptr;
  Manager& m = Windows();
  std::unique_ptr<Window> record;
  {
    std::lock_guard guard(m.lock);
    auto it = m.windows.find(hwnd);
    if (it == m.windows.end()) return;
    record = std::move(it->second);
    m.windows.erase(it);
    gRemovals.fetch_add(1, std::memory_order_acq_rel);
    if (record->parent) {
      if (Window* p = Find(record->parent)) RemoveChild(p, record.get());
    }
    if (record->cls) record->cls->liveWindows--;
  }
  // The control state and dialog data go here, outside the lock (a dialog deletes its font).
}

}  // namespace

Window* Find(HWND hwnd, bool fail) {
  Manager& m = Windows();
  if (hwnd == m.desktop.handle) return &m.desktop;
  if (!hwnd) {
    if (fail) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  const uint64_t removals = gRemovals.load(std::memory_order_acquire);
  FoundWindow& found = tFound[(reinterpret_cast<uintptr_t>(hwnd) >> 2) % tFound.size()];
  if (found.hwnd == hwnd && found.removals == removals) return found.window;
  std::lock_guard guard(m.lock);
  auto it = m.windows.find(hwnd);
  if (it == m.windows.end()) {
    if (fail) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  found = {hwnd, it->second.get(), removals};
  return it->second.get();
}

void NotifyParent(HWND control, WORD code) {
  Window* w = Find(control);
  if (!w || !w->parent) return;
  SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code),
               reinterpret_cast<LPARAM>(control));
}

bool IsReachable(HWND hwnd) {
  for (Window* w = Find(hwnd); w; w = w->parent ? Find(w->parent) : nullptr) {
    if ((w->style & WS_DISABLED) || !(w->style & WS_VISIBLE)) return false;
  }
  return Find(hwnd) != nullptr;
}

RECT FrameInsets(DWORD style, DWORD exStyle) {
  int frame = 0;
  if (style & WS_THICKFRAME) {
    frame = GetSystemMetrics(SM_CXFRAME);
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    frame = GetSystemMetrics(SM_CXDLGFRAME);
  } else if (style & WS_BORDER) {
    frame = GetSystemMetrics(SM_CXBORDER);
  }
  if (exStyle & WS_EX_CLIENTEDGE) frame += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) frame += 1;
  int caption = (style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0;
  return {frame, frame + caption, frame, frame};
}

void MoveFocusOutOf(HWND hwnd) {
  if (!tFocus || !(tFocus == hwnd || IsChild(hwnd, tFocus))) return;
  Window* w = Find(hwnd);
  HWND next = w ? w->parent : nullptr;
  if (next && Find(next) && !Find(next)->destroying) {
    SetFocus(next);
  } else {
    SetFocus(nullptr);
  }
}

HWND DialogAncestor(HWND hwnd) {
  for (Window* w = Find(hwnd); w; w = w->parent ? Find(w->parent) : nullptr) {
    if (w->dialog) return w->handle;
  }
  return nullptr;
}

}  // namespace platform::windows::internal

using namespace platform::windows::internal;

// ---------------------------------------------------------------------------------------
// Classes

EXTERN_C ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* lpwcx) {
  if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXW) || !lpwcx->lpszClassName || !lpwcx->lpfnWndProc ||
      lpwcx->cbWndExtra < 0 || lpwcx->cbClsExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Manager& m = Windows();
  std::lock_guard guard(m.lock);
  for (auto& c : m.classes) {
    bool sameName = IS_INTRESOURCE(lpwcx->lpszClassName)
                        ? c->atom == LOWORD(reinterpret_cast<ULONG_PTR>(lpwcx->lpszClassName))
                        : ::platform::CompareNoCase(c->name, lpwcx->lpszClassName) == 0;
    if (sameName && (c->predefined || c->instance == lpwcx->hInstance)) {
      SetLastError(ERROR_CLASS_ALREADY_EXISTS);
      return 0;
    }
  }
  auto record = std::make_unique<ClassRecord>();
  record->name = IS_INTRESOURCE(lpwcx->lpszClassName) ? L"" : lpwcx->lpszClassName;
  record->atom = m.nextAtom++;
  record->style = lpwcx->style;
  record->proc = lpwcx->lpfnWndProc;
  record->cbClsExtra = lpwcx->cbClsExtra;
  record->cbWndExtra = lpwcx->cbWndExtra;
  record->instance = lpwcx->hInstance;
  record->icon = lpwcx->hIcon;
  record->cursor = lpwcx->hCursor;
  record->background = lpwcx->hbrBackground;
  record->smallIcon = lpwcx->hIconSm;
  ATOM atom = record->atom;
  m.classes.push_back(std::move(record));
  return atom;
}

EXTERN_C ATOM WINAPI RegisterClassW(const WNDCLASSW* c) {
  if (!c) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW ex{sizeof(WNDCLASSEXW), c->style,        c->lpfnWndProc,   c->cbClsExtra,
                 c->cbWndExtra,       c->hInstance,    c->hIcon,         c->hCursor,
                 c->hbrBackground,    c->lpszMenuName, c->lpszClassName, nullptr};
  return RegisterClassExW(&ex);
}

EXTERN_C BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance) {
  Manager& m = Windows();
  std::lock_guard guard(m.lock);
  for (auto it = m.classes.begin(); it != m.classes.end(); ++it) {
    ClassRecord& c = **it;
    bool match = IS_INTRESOURCE(lpClassName) ? c.atom == LOWORD(reinterpret_cast<ULONG_PTR>(lpClassName))
                                             : ::platform::CompareNoCase(c.name, lpClassName) == 0;
    if (!match || c.predefined || c.instance != hInstance) continue;
    if (c.liveWindows > 0) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
    m.classes.erase(it);
    return TRUE;
  }
  SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
  return FALSE;
}

EXTERN_C BOOL WINAPI GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, LPWNDCLASSEXW lpwcx) {
  ClassRecord* c = lpszClass ? FindClass(lpszClass, hInstance) : nullptr;
  if (!c || !lpwcx) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return FALSE;
  }
  *lpwcx = {sizeof(WNDCLASSEXW), c->style,      c->proc, c->cbClsExtra,   c->cbWndExtra, c->instance, c->icon,
            c->cursor,           c->background, nullptr, c->name.c_str(), c->smallIcon};
  return TRUE;
}

EXTERN_C int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  Window* w = Find(hWnd, true);
  if (!w || !lpClassName || nMaxCount <= 0) return 0;
  std::wstring name = w->cls ? w->cls->name : L"#32769";
  int n = std::min<int>(static_cast<int>(name.size()), nMaxCount - 1);
  std::copy_n(name.begin(), n, lpClassName);
  lpClassName[n] = 0;
  return n;
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

EXTERN_C HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName,
                                     DWORD dwStyle, int X, int Y, int nWidth, int nHeight, HWND hWndParent,
                                     HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
  ClassRecord* cls = lpClassName ? FindClass(lpClassName, hInstance) : nullptr;
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  Manager& m = Windows();
  if (hWndParent == m.desktop.handle) hWndParent = nullptr;
  if (hWndParent && hWndParent != HWND_MESSAGE && !Find(hWndParent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (hWndParent == HWND_MESSAGE) hWndParent = nullptr;
  bool child = (dwStyle & WS_CHILD) != 0;
  if (child && !hWndParent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  if (X == CW_USEDEFAULT) X = Y = 0;
  if (nWidth == CW_USEDEFAULT) nWidth = nHeight = 0;

  auto record = std::make_unique<Window>();
  Window* w = record.get();
  {
    std::lock_guard guard(m.lock);
    w->handle = reinterpret_cast<HWND>(m.nextHandle);
    m.nextHandle += 4;
    w->cls = cls;
    cls->liveWindows++;
    w->proc = cls->proc;
    w->style = dwStyle & ~WS_VISIBLE;
    w->exStyle = dwExStyle;
    if (child) {
      w->parent = hWndParent;
      w->id = reinterpret_cast<UINT_PTR>(hMenu);
    } else if (hWndParent) {
      w->owner = GetAncestor(hWndParent, GA_ROOT);
    }
    w->rect = {X, Y, X + std::max(nWidth, 0), Y + std::max(nHeight, 0)};
    w->extra.assign(static_cast<size_t>(cls->cbWndExtra), 0);
    w->instance = hInstance;
    w->thread = GetCurrentThreadId();
    m.windows.emplace(w->handle, std::move(record));
    if (child) AddChild(Find(hWndParent), w);
  }
  HWND hwnd = w->handle;

  CREATESTRUCTW cs{lpParam,
                   hInstance,
                   hMenu,
                   hWndParent,
                   nHeight,
                   nWidth,
                   Y,
                   X,
                   static_cast<LONG>(dwStyle & ~WS_VISIBLE),
                   lpWindowName,
                   lpClassName,
                   dwExStyle};
  if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    FreeWindow(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Find(hwnd) || SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (Find(hwnd)) DestroyWindow(hwnd);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!(w = Find(hwnd))) return nullptr;
  SIZE size = ClientSize(w);
  SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
  if ((w = Find(hwnd))) {
    RECT insets = FrameInsets(w->style, w->exStyle);
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + insets.left, w->rect.top + insets.top));
  }
  if (Find(hwnd) && (dwStyle & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOW);
  return Find(hwnd) ? hwnd : nullptr;
}

EXTERN_C BOOL WINAPI DestroyWindow(HWND hWnd) {
  Window* w = Find(hWnd, true);
  if (!w || w == &Windows().desktop) {
    if (w) SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  w->destroying = true;
  // The windows it owns go first, as on the platform.
  std::vector<HWND> owned;
  {
    Manager& m = Windows();
    std::lock_guard guard(m.lock);
    for (auto& [handle, other] : m.windows) {
      if (other->owner == hWnd) owned.push_back(handle);
    }
  }
  for (HWND o : owned) DestroyWindow(o);
  if ((w = Find(hWnd))) w->style &= ~WS_VISIBLE;
  MoveFocusOutOf(hWnd);
  if (Find(hWnd)) SendDestroy(hWnd);
  FreeWindow(hWnd);
  return TRUE;
}

EXTERN_C BOOL WINAPI IsWindow(HWND hWnd) {
  return hWnd && Find(hWnd) != nullptr;
}

// ---------------------------------------------------------------------------------------
// Window data

EXTERN_C LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  Window* w = Find(hWnd, true);
  if (!w) return 0;
  switch (nIndex) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWL_STYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE:
      return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA:
      return w->userData;
    case GWLP_ID:
      return static_cast<LONG_PTR>(w->id);
    default:
      break;
  }
  if (nIndex < 0 || static_cast<size_t>(nIndex) + sizeof(LONG_PTR) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  LONG_PTR value;
  std::memcpy(&value, w->extra.data() + nIndex, sizeof value);
  return value;
}

EXTERN_C LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  Window* w = Find(hWnd, true);
  if (!w) return 0;
  LONG_PTR previous = GetWindowLongPtrW(hWnd, nIndex);
  switch (nIndex) {
    case GWLP_WNDPROC:
      w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
      return previous;
    case GWLP_HINSTANCE:
      w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
      return previous;
    case GWLP_HWNDPARENT:
      if (!w->parent) w->owner = reinterpret_cast<HWND>(dwNewLong);
      return previous;
    case GWL_STYLE:
      w->style = static_cast<DWORD>(dwNewLong);
      return previous;
    case GWL_EXSTYLE:
      w->exStyle = static_cast<DWORD>(dwNewLong);
      return previous;
    case GWLP_USERDATA:
      w->userData = dwNewLong;
      return previous;
    case GWLP_ID:
      w->id = static_cast<UINT_PTR>(dwNewLong);
      return previous;
    default:
      break;
  }
  if (nIndex < 0 || static_cast<size_t>(nIndex) + sizeof(LONG_PTR) > w->extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  std::memcpy(w->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
  return previous;
}

EXTERN_C LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
  return static_cast<LONG>(GetWindowLongPtrW(hWnd, nIndex));
}

EXTERN_C LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
  if (nIndex == GWL_STYLE || nIndex == GWL_EXSTYLE) {
    return static_cast<LONG>(
        SetWindowLongPtrW(hWnd, nIndex, static_cast<LONG_PTR>(static_cast<DWORD>(dwNewLong))));
  }
  return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, dwNewLong));
}

EXTERN_C BOOL WINAPI SetWindowContextHelpId(HWND hWnd, DWORD dwContextHelpId) {
  Window* w = Find(hWnd, true);
  if (!w) return FALSE;
  w->helpId = dwContextHelpId;
  return TRUE;
}

EXTERN_C DWORD WINAPI GetWindowContextHelpId(HWND hWnd) {
  Window* w = Find(hWnd, true);
  return w ? w->helpId : 0;
}

// ---------------------------------------------------------------------------------------
// Window procedures

EXTERN_C LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hWnd, true);
  if (!w || !w->proc) return 0;
  return w->proc(hWnd, Msg, wParam, lParam);
}

EXTERN_C LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                                        LPARAM lParam) {
  if (!lpPrevWndFunc) return 0;
  return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

EXTERN_C LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hWnd, true);
  if (!w) return 0;
  switch (Msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IsOrdinalTitle(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
      std::copy_n(w->text.begin(), n, buffer);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE:
      DestroyWindow(hWnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageW(hWnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_F1) {
        HELPINFO info{sizeof(HELPINFO), HELPINFO_WINDOW, GetDlgCtrlID(hWnd), hWnd, w->helpId, {0, 0}};
        SendMessageW(hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
      }
      return 0;
    case WM_HELP:
      if (w->parent) return SendMessageW(w->parent, WM_HELP, wParam, lParam);
      return 0;
    case WM_MOUSEACTIVATE:
      return 1;  // MA_ACTIVATE
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------------------
// Tree and lookup

EXTERN_C HWND WINAPI GetParent(HWND hWnd) {
  Window* w = Find(hWnd, true);
  if (!w) return nullptr;
  return w->parent ? w->parent : w->owner;
}

EXTERN_C HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
  Window* w = Find(hWndChild, true);
  if (!w || (hWndNewParent && !Find(hWndNewParent, true))) return nullptr;
  if (hWndNewParent == Windows().desktop.handle) hWndNewParent = nullptr;
  HWND previous = w->parent ? w->parent : Windows().desktop.handle;
  if (w->parent) {
    if (Window* p = Find(w->parent)) RemoveChild(p, w);
  }
  w->parent = hWndNewParent;
  if (hWndNewParent) AddChild(Find(hWndNewParent), w);
  return previous;
}

EXTERN_C BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  Window* w = Find(hWnd);
  while (w && w->parent) {
    if (w->parent == hWndParent) return TRUE;
    w = Find(w->parent);
  }
  return FALSE;
}

EXTERN_C HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  Window* w = Find(hWnd, true);
  if (!w) return nullptr;
  if (uCmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (uCmd == GW_OWNER) return w->owner;
  if (!w->parent) return nullptr;  // top-level siblings are not tracked
  Window* p = Find(w->parent);
  if (!p) return nullptr;
  auto& siblings = p->children;
  auto it = std::find(siblings.begin(), siblings.end(), hWnd);
  switch (uCmd) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return it != siblings.end() && it + 1 != siblings.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV:
      return it != siblings.begin() && it != siblings.end() ? *(it - 1) : nullptr;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

EXTERN_C HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags) {
  Window* w = Find(hwnd, true);
  if (!w) return nullptr;
  if (gaFlags == GA_PARENT) return w->parent ? w->parent : Windows().desktop.handle;
  while (w->parent && Find(w->parent)) w = Find(w->parent);
  if (gaFlags == GA_ROOTOWNER) {
    while (w->owner && Find(w->owner)) w = Find(w->owner);
  }
  return w->handle;
}

EXTERN_C HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Window* w = Find(hDlg, true);
  if (!w) return nullptr;
  for (const Window* child : w->childRecords)
    if (static_cast<int>(child->id) == nIDDlgItem) return child->handle;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

EXTERN_C int WINAPI GetDlgCtrlID(HWND hWnd) {
  Window* w = Find(hWnd, true);
  return w && w->parent ? static_cast<int>(w->id) : 0;
}

namespace {
bool EnumChildren(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  Window* w = Find(parent);
  if (!w) return true;
  std::vector<HWND> children = w->children;
  for (HWND child : children) {
    if (!Find(child)) continue;
    if (!proc(child, lParam)) return false;
    if (!EnumChildren(child, proc, lParam)) return false;
  }
  return true;
}
}  // namespace

EXTERN_C BOOL WINAPI EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (!lpEnumFunc) return FALSE;
  return EnumChildren(hWndParent, lpEnumFunc, lParam) ? TRUE : FALSE;
}

EXTERN_C BOOL WINAPI EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam) {
  if (!lpEnumFunc) return FALSE;
  std::vector<HWND> topLevel;
  {
    Manager& m = Windows();
    std::lock_guard guard(m.lock);
    for (const auto& [hwnd, window] : m.windows)
      if (!window->parent) topLevel.push_back(hwnd);
  }
  // The callback runs without the lock: it may create or destroy windows.
  for (HWND hwnd : topLevel) {
    if (!Find(hwnd)) continue;
    if (!lpEnumFunc(hwnd, lParam)) return FALSE;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Text and state

EXTERN_C BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  if (!Find(hWnd, true)) return FALSE;
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

EXTERN_C int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!Find(hWnd, true) || !lpString || nMaxCount <= 0) return 0;
  lpString[0] = 0;
  return static_cast<int>(
      SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

EXTERN_C int WINAPI GetWindowTextLengthW(HWND hWnd) {
  if (!Find(hWnd, true)) return 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

EXTERN_C BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* w = Find(hWnd, true);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (bEnable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    SendMessageW(hWnd, WM_ENABLE, TRUE, 0);
  } else if (!bEnable && !wasDisabled) {
    w->style |= WS_DISABLED;
    if (tFocus == hWnd || IsChild(hWnd, tFocus)) SetFocus(nullptr);
    SendMessageW(hWnd, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

EXTERN_C BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  Window* w = Find(hWnd, true);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

EXTERN_C BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  Window* w = Find(hWnd, true);
  if (!w) return FALSE;
  bool wasVisible = (w->style & WS_VISIBLE) != 0;
  bool show = nCmdShow != SW_HIDE;
  if (show != wasVisible) {
    SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!(w = Find(hWnd))) return wasVisible;
    if (show) {
      w->style |= WS_VISIBLE;
    } else {
      w->style &= ~WS_VISIBLE;
      MoveFocusOutOf(hWnd);
    }
  }
  if (show && !w->parent && nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE) tActive = hWnd;
  return wasVisible ? TRUE : FALSE;
}

EXTERN_C BOOL WINAPI IsWindowVisible(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  for (; w; w = w->parent ? Find(w->parent) : nullptr) {
    if (!(w->style & WS_VISIBLE)) return FALSE;
  }
  return TRUE;
}

EXTERN_C BOOL WINAPI UpdateWindow(HWND hWnd) {
  return Find(hWnd, true) ? TRUE : FALSE;
}

EXTERN_C BOOL WINAPI InvalidateRect(HWND hWnd, const RECT*, BOOL) {
  return !hWnd || Find(hWnd, true) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------
// Geometry

EXTERN_C BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (!lpRect) return FALSE;
  RECT insets = FrameInsets(dwStyle, dwExStyle);
  lpRect->left -= insets.left;
  lpRect->top -= insets.top + (bMenu ? GetSystemMetrics(SM_CYMENU) : 0);
  lpRect->right += insets.right;
  lpRect->bottom += insets.bottom;
  return TRUE;
}

EXTERN_C BOOL WINAPI SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags) {
  Window* w = Find(hWnd, true);
  if (!w) return FALSE;
  RECT old = w->rect;
  RECT r = old;
  if (!(uFlags & SWP_NOMOVE)) {
    r.right = X + (r.right - r.left);
    r.bottom = Y + (r.bottom - r.top);
    r.left = X;
    r.top = Y;
  }
  if (!(uFlags & SWP_NOSIZE)) {
    r.right = r.left + std::max(cx, 0);
    r.bottom = r.top + std::max(cy, 0);
  }
  w->rect = r;
  bool moved = r.left != old.left || r.top != old.top;
  bool sized = (r.right - r.left) != (old.right - old.left) || (r.bottom - r.top) != (old.bottom - old.top);
  if (moved) {
    RECT insets = FrameInsets(w->style, w->exStyle);
    SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(r.left + insets.left, r.top + insets.top));
  }
  if (sized && (w = Find(hWnd))) {
    SIZE size = ClientSize(w);
    SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
  }
  if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOWNA);
  if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  return TRUE;
}

EXTERN_C BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

EXTERN_C BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  Window* w = Find(hWnd, true);
  if (!w || !lpRect) return FALSE;
  *lpRect = ScreenRect(w);
  return TRUE;
}

EXTERN_C BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  Window* w = Find(hWnd, true);
  if (!w || !lpRect) return FALSE;
  SIZE size = ClientSize(w);
  *lpRect = {0, 0, size.cx, size.cy};
  return TRUE;
}

EXTERN_C int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  POINT from{0, 0}, to{0, 0};
  if (hWndFrom) {
    Window* w = Find(hWndFrom, true);
    if (!w) return 0;
    from = ClientOrigin(w);
  }
  if (hWndTo) {
    Window* w = Find(hWndTo, true);
    if (!w) return 0;
    to = ClientOrigin(w);
  }
  LONG dx = from.x - to.x, dy = from.y - to.y;
  for (UINT i = 0; lpPoints && i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

EXTERN_C BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  Window* w = Find(hWnd, true);
  if (!w || !lpPoint) return FALSE;
  POINT o = ClientOrigin(w);
  lpPoint->x -= o.x;
  lpPoint->y -= o.y;
  return TRUE;
}

EXTERN_C BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  Window* w = Find(hWnd, true);
  if (!w || !lpPoint) return FALSE;
  POINT o = ClientOrigin(w);
  lpPoint->x += o.x;
  lpPoint->y += o.y;
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Focus, activation, capture

EXTERN_C HWND WINAPI SetFocus(HWND hWnd) {
  HWND previous = tFocus;
  if (previous && !Find(previous)) previous = tFocus = nullptr;
  if (!hWnd) {
    tFocus = nullptr;
    if (previous) SendMessageW(previous, WM_KILLFOCUS, 0, 0);
    return previous;
  }
  Window* w = Find(hWnd, true);
  if (!w) return nullptr;
  for (Window* a = w; a; a = a->parent ? Find(a->parent) : nullptr) {
    if (a->style & WS_DISABLED) return nullptr;
  }
  if (hWnd == previous) return previous;
  tFocus = hWnd;
  tActive = GetAncestor(hWnd, GA_ROOT);
  if (previous) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (tFocus == hWnd && Find(hWnd)) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  return previous;
}

EXTERN_C HWND WINAPI GetFocus() {
  if (tFocus && !Find(tFocus)) tFocus = nullptr;
  return tFocus;
}

EXTERN_C HWND WINAPI GetActiveWindow() {
  if (tActive && !Find(tActive)) tActive = nullptr;
  return tActive;
}

EXTERN_C HWND WINAPI SetActiveWindow(HWND hWnd) {
  HWND previous = GetActiveWindow();
  if (hWnd && !Find(hWnd, true)) return nullptr;
  tActive = hWnd ? GetAncestor(hWnd, GA_ROOT) : nullptr;
  return previous;
}

EXTERN_C HWND WINAPI GetForegroundWindow() {
  return GetActiveWindow();
}

EXTERN_C BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  return SetActiveWindow(hWnd) || Find(hWnd) ? TRUE : FALSE;
}

EXTERN_C HWND WINAPI GetDesktopWindow() {
  return Windows().desktop.handle;
}

EXTERN_C HWND WINAPI SetCapture(HWND hWnd) {
  HWND previous = tCapture;
  tCapture = Find(hWnd) ? hWnd : nullptr;
  return previous;
}

EXTERN_C BOOL WINAPI ReleaseCapture() {
  tCapture = nullptr;
  return TRUE;
}

EXTERN_C HWND WINAPI GetCapture() {
  if (tCapture && !Find(tCapture)) tCapture = nullptr;
  return tCapture;
}

// ---------------------------------------------------------------------------------------
// Test hooks

namespace platform::windows {

size_t LiveWindowCount() {
  Manager& m = Windows();
  std::lock_guard guard(m.lock);
  return m.windows.size();
}

std::wstring ClassNameOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->cls ? w->cls->name : L"";
}

std::wstring TextOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? w->text : L"";
}

}  // namespace platform::windows

EXTERN_C BOOL WINAPI SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (!lprc) return FALSE;
  *lprc = {xLeft, yTop, xRight, yBottom};
  return TRUE;
}

EXTERN_C BOOL WINAPI OffsetRect(LPRECT lprc, int dx, int dy) {
  if (!lprc) return FALSE;
  lprc->left += dx;
  lprc->right += dx;
  lprc->top += dy;
  lprc->bottom += dy;
  return TRUE;
}

EXTERN_C BOOL WINAPI PtInRect(const RECT* lprc, POINT pt) {
  return lprc && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}
