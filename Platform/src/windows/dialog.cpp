// The dialog manager: dialogs built from DLGTEMPLATE and DLGTEMPLATEEX resources, dialog
// units, the dialog class's procedure, the modal loop and the dialog keyboard.
#include <algorithm>
#include <mutex>

#include "errhandlingapi.h"
#include "platform/testing_windows.h"
#include "windows_internal.h"
#include "winbase.h"
#include "winerror.h"

using namespace platform::windows::internal;
using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;

namespace {

constexpr size_t kIndirectTemplateBound = 65536;  // a template never exceeds this
constexpr int kMaxIdleRounds = 1000;

std::mutex gHookLock;
std::function<void(HWND)> gIdleHook;

// The dialog base units of a font: cx from the average width of the 52 letters, cy its height.
SIZE BaseUnitsOf(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{};
  GetTextExtentPoint32W(dc, kLetters, 52, &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (previous) SelectObject(dc, previous);
  DeleteDC(dc);
  return {(extent.cx / 26 + 1) / 2, tm.tmHeight};
}

DialogInfo* InfoOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? w->dialog.get() : nullptr;
}

// A class name from a template field: the predefined class of an ordinal, or the string.
std::wstring ClassFromTemplate(const NameOrOrdinal& name) {
  if (!name.isOrdinal) return name.text;
  switch (name.ordinal) {
    case 0x0080:
      return L"Button";
    case 0x0081:
      return L"Edit";
    case 0x0082:
      return L"Static";
    case 0x0083:
      return L"ListBox";
    case 0x0084:
      return L"ScrollBar";
    case 0x0085:
      return L"ComboBox";
    default:
      return L"#" + std::to_wstring(name.ordinal);
  }
}

// A title from a template field; an ordinal becomes (0xFFFF, ordinal, 0).
std::wstring TitleFromTemplate(const NameOrOrdinal& title) {
  if (!title.isOrdinal) return title.text;
  return std::wstring{static_cast<wchar_t>(0xFFFF), static_cast<wchar_t>(title.ordinal)};
}

void FocusControl(HWND control) {
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

void CollectTabItems(HWND parent, std::vector<HWND>* items) {
  Window* p = Find(parent);
  if (!p) return;
  for (HWND child : p->children) {
    Window* c = Find(child);
    if (!c || !(c->style & WS_VISIBLE) || (c->style & WS_DISABLED)) continue;
    if (c->exStyle & WS_EX_CONTROLPARENT) {
      CollectTabItems(child, items);
    } else if (c->style & WS_TABSTOP) {
      items->push_back(child);
    }
  }
}

HWND CreateFromTemplate(HINSTANCE hInstance, const void* data, size_t size, HWND hWndParent, DLGPROC proc,
                        LPARAM param, bool modal) {
  auto parsed = data ? platform::dialogs::ParseDialogTemplate(data, size) : std::nullopt;
  if (!parsed) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const DialogTemplate& t = *parsed;
  DWORD style = t.style;
  if (modal) style = (style & ~WS_CHILD) | WS_POPUP;

  HFONT font = nullptr;
  if (t.HasFont()) {
    std::wstring face = t.typeface.substr(0, LF_FACESIZE - 1);
    font = CreateFontW(-MulDiv(t.pointSize, 96, 72), 0, 0, 0, t.extended && t.weight ? t.weight : FW_NORMAL,
                       t.extended ? t.italic : 0, 0, 0, t.extended ? t.charset : DEFAULT_CHARSET, 0, 0, 0, 0,
                       face.c_str());
  }
  SIZE base = BaseUnitsOf(font);
  auto px = [&](int v) { return MulDiv(v, base.cx, 4); };
  auto py = [&](int v) { return MulDiv(v, base.cy, 8); };

  RECT r{px(t.x), py(t.y), px(t.x) + px(t.cx), py(t.y) + py(t.cy)};
  AdjustWindowRectEx(&r, style, FALSE, t.exStyle);
  HWND owner = (style & WS_CHILD) ? hWndParent : (hWndParent ? GetAncestor(hWndParent, GA_ROOT) : nullptr);
  if (style & DS_CENTER) {
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) {
      if (style & WS_CHILD) {
        GetClientRect(owner, &around);
      } else {
        GetWindowRect(owner, &around);
      }
    }
    LONG w = r.right - r.left, h = r.bottom - r.top;
    r.left = around.left + ((around.right - around.left) - w) / 2;
    r.top = around.top + ((around.bottom - around.top) - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
  } else if (!(style & WS_CHILD) && owner && !(style & DS_ABSALIGN)) {
    POINT origin{0, 0};
    ClientToScreen(owner, &origin);
    OffsetRect(&r, origin.x, origin.y);
  }

  std::wstring className = t.windowClass.IsNone() ? L"" : ClassFromTemplate(t.windowClass);
  std::wstring title = TitleFromTemplate(t.title);
  HWND dialog = CreateWindowExW(t.exStyle, className.empty() ? WC_DIALOG : className.c_str(), title.c_str(),
                                style & ~WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                hWndParent, nullptr, hInstance, nullptr);
  if (!dialog) {
    if (font) DeleteObject(font);
    return nullptr;
  }
  Window* w = Find(dialog);
  w->dialog = std::make_unique<DialogInfo>();
  w->dialog->ownedFont = font;
  w->dialog->font = font;
  w->dialog->baseX = base.cx;
  w->dialog->baseY = base.cy;
  w->dialog->modal = modal;
  w->helpId = t.helpId;
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
  if (font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  for (const auto& item : t.items) {
    std::wstring itemClass = ClassFromTemplate(item.windowClass);
    std::wstring itemTitle = TitleFromTemplate(item.title);
    LPVOID creationData = item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
    HWND control =
        CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, itemClass.c_str(), itemTitle.c_str(),
                        item.style | WS_CHILD, px(item.x), py(item.y), px(item.cx), py(item.cy), dialog,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), hInstance, creationData);
    if (!control) {
      if (t.style & DS_NOFAILCREATE) continue;
      DWORD error = GetLastError();
      DestroyWindow(dialog);
      SetLastError(error);
      return nullptr;
    }
    SetWindowContextHelpId(control, item.helpId);
    if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && ClassNameOfIs(control, L"Button")) {
      Find(dialog)->dialog->defaultId = static_cast<WORD>(item.id);
    }
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!IsWindow(dialog)) return nullptr;
  }

  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT focus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
  if (!IsWindow(dialog)) {
    SetLastError(ERROR_INVALID_OPERATION);
    return nullptr;
  }
  if (focus && first && IsWindow(first)) FocusControl(first);
  DialogInfo* info = InfoOf(dialog);
  if ((t.style & WS_VISIBLE) && !(info && info->ended)) ShowWindow(dialog, SW_SHOWNORMAL);
  return dialog;
}

bool FindTemplate(HINSTANCE hInstance, LPCWSTR name, const void** data, size_t* size) {
  HRSRC resource = FindResourceW(hInstance, name, RT_DIALOG);
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(hInstance, resource);
  *data = loaded ? LockResource(loaded) : nullptr;
  *size = SizeofResource(hInstance, resource);
  return *data != nullptr;
}

INT_PTR RunModal(HINSTANCE hInstance, const void* data, size_t size, HWND hWndParent, DLGPROC proc,
                 LPARAM param) {
  HWND owner = hWndParent ? GetAncestor(hWndParent, GA_ROOT) : nullptr;
  HWND dialog = CreateFromTemplate(hInstance, data, size, owner, proc, param, true);
  if (!dialog) return -1;
  bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  DialogInfo* info = InfoOf(dialog);
  if (info && !info->ended) ShowWindow(dialog, SW_SHOWNORMAL);

  bool abandoned = false;
  int idleRounds = 0;
  while ((info = InfoOf(dialog)) && !info->ended) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      continue;
    }
    std::function<void(HWND)> hook;
    {
      std::lock_guard guard(gHookLock);
      hook = gIdleHook;
    }
    if (hook && idleRounds < kMaxIdleRounds) {
      ++idleRounds;
      hook(dialog);
      continue;
    }
    if (AdvanceToNextTimer()) continue;
    abandoned = true;
    break;
  }
  info = InfoOf(dialog);
  INT_PTR result = abandoned || !info ? -1 : info->result;
  if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (abandoned) SetLastError(ERROR_INVALID_OPERATION);
  return result;
}

}  // namespace

namespace platform::windows::internal {

DialogInfo::~DialogInfo() {
  if (ownedFont) DeleteObject(ownedFont);
}

bool ClassNameOfIs(HWND hwnd, const wchar_t* name) {
  Window* w = Find(hwnd);
  return w && w->cls && w->cls->name == name;
}

}  // namespace platform::windows::internal

// ---------------------------------------------------------------------------------------
// Dialog units

EXTERN_C LONG WINAPI GetDialogBaseUnits() {
  SIZE base = BaseUnitsOf(nullptr);
  return MAKELONG(base.cx, base.cy);
}

EXTERN_C BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
  DialogInfo* info = InfoOf(hDlg);
  if (!info || !lpRect) {
    SetLastError(ERROR_WINDOW_NOT_DIALOG);
    return FALSE;
  }
  lpRect->left = MulDiv(lpRect->left, info->baseX, 4);
  lpRect->right = MulDiv(lpRect->right, info->baseX, 4);
  lpRect->top = MulDiv(lpRect->top, info->baseY, 8);
  lpRect->bottom = MulDiv(lpRect->bottom, info->baseY, 8);
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Creation

EXTERN_C HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate,
                                                HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return CreateFromTemplate(hInstance, lpTemplate, kIndirectTemplateBound, hWndParent, lpDialogFunc,
                            dwInitParam, false);
}

EXTERN_C HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                        DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  const void* data;
  size_t size;
  if (!FindTemplate(hInstance, lpTemplateName, &data, &size)) return nullptr;
  return CreateFromTemplate(hInstance, data, size, hWndParent, lpDialogFunc, dwInitParam, false);
}

EXTERN_C INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate,
                                                HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  return RunModal(hInstance, hDialogTemplate, kIndirectTemplateBound, hWndParent, lpDialogFunc, dwInitParam);
}

EXTERN_C INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                        DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  const void* data;
  size_t size;
  if (!FindTemplate(hInstance, lpTemplateName, &data, &size)) return -1;
  return RunModal(hInstance, data, size, hWndParent, lpDialogFunc, dwInitParam);
}

EXTERN_C BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
  DialogInfo* info = InfoOf(hDlg);
  if (!info) {
    SetLastError(ERROR_WINDOW_NOT_DIALOG);
    return FALSE;
  }
  info->ended = true;
  info->result = nResult;
  if (info->modal) {
    HWND owner = GetWindow(hDlg, GW_OWNER);
    if (owner) EnableWindow(owner, TRUE);
  }
  ShowWindow(hDlg, SW_HIDE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// The dialog class's procedure

EXTERN_C LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hDlg, true);
  if (!w) return 0;
  DLGPROC proc = nullptr;
  if (w->extra.size() >= DWLP_DLGPROC + sizeof(DLGPROC)) {
    proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hDlg, DWLP_DLGPROC));
    SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 0);
  }
  if (proc) {
    INT_PTR handled = proc(hDlg, Msg, wParam, lParam);
    if (!IsWindow(hDlg)) return handled;
    if (handled) {
      switch (Msg) {
        case WM_INITDIALOG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
          return handled;
        default:
          return GetWindowLongPtrW(hDlg, DWLP_MSGRESULT);
      }
    }
  }
  DialogInfo* info = InfoOf(hDlg);
  switch (Msg) {
    case WM_INITDIALOG:
      return 0;
    case WM_GETFONT:
      return info ? reinterpret_cast<LRESULT>(info->font) : 0;
    case WM_SETFONT:
      if (info) info->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_CLOSE:
      SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
      return 0;
    case DM_GETDEFID:
      return info && info->defaultId ? MAKELONG(info->defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
      if (info) {
        if (HWND old = info->defaultId ? GetDlgItem(hDlg, info->defaultId) : nullptr) {
          if (ClassNameOfIs(old, L"Button")) SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
        info->defaultId = static_cast<WORD>(wParam);
        if (HWND now = GetDlgItem(hDlg, static_cast<int>(wParam))) {
          if (ClassNameOfIs(now, L"Button")) SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        }
      }
      return TRUE;
    case WM_NEXTDLGCTL: {
      HWND target = lParam ? reinterpret_cast<HWND>(wParam)
                           : GetNextDlgTabItem(hDlg, GetFocus(), wParam ? TRUE : FALSE);
      if (target) FocusControl(target);
      return 0;
    }
    case WM_SETFOCUS: {
      HWND first = GetNextDlgTabItem(hDlg, nullptr, FALSE);
      if (first) FocusControl(first);
      return 0;
    }
    default:
      return DefWindowProcW(hDlg, Msg, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------------------
// The dialog keyboard

EXTERN_C HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
  std::vector<HWND> items;
  CollectTabItems(hDlg, &items);
  if (items.empty()) return nullptr;
  auto it = hCtl ? std::find(items.begin(), items.end(), hCtl) : items.end();
  if (it == items.end()) return bPrevious ? items.back() : items.front();
  size_t index = static_cast<size_t>(it - items.begin());
  size_t n = items.size();
  return items[bPrevious ? (index + n - 1) % n : (index + 1) % n];
}

EXTERN_C BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
  if (!lpMsg || !IsWindow(hDlg)) return FALSE;
  if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
  if (lpMsg->message == WM_KEYDOWN) {
    LRESULT code = SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg));
    if (!(code & DLGC_WANTALLKEYS)) {
      switch (lpMsg->wParam) {
        case VK_TAB:
          if (!(code & DLGC_WANTTAB)) {
            HWND next = GetNextDlgTabItem(hDlg, GetFocus(), (GetKeyState(VK_SHIFT) & 0x8000) ? TRUE : FALSE);
            if (next) FocusControl(next);
            return TRUE;
          }
          break;
        case VK_ESCAPE:
          SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
          return TRUE;
        case VK_RETURN: {
          int id = IDOK;
          if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            id = GetDlgCtrlID(lpMsg->hwnd);
          } else {
            LRESULT def = SendMessageW(hDlg, DM_GETDEFID, 0, 0);
            if (HIWORD(def) == DC_HASDEFID) id = LOWORD(def);
          }
          HWND button = GetDlgItem(hDlg, id);
          if (!button || IsWindowEnabled(button)) {
            SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
          }
          return TRUE;
        }
        default:
          break;
      }
    }
  }
  TranslateMessage(lpMsg);
  DispatchMessageW(lpMsg);
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Dialog item helpers

EXTERN_C BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item ? SetWindowTextW(item, lpString) : FALSE;
}

EXTERN_C UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  if (!item) {
    if (lpString && cchMax > 0) lpString[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, lpString, cchMax));
}

EXTERN_C LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                            LPARAM lParam) {
  HWND item = GetDlgItem(hDlg, nIDDlgItem);
  return item ? SendMessageW(item, Msg, wParam, lParam) : 0;
}

EXTERN_C BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND item = GetDlgItem(hDlg, nIDButton);
  if (!item) return FALSE;
  SendMessageW(item, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

EXTERN_C UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  HWND item = GetDlgItem(hDlg, nIDButton);
  return item ? static_cast<UINT>(SendMessageW(item, BM_GETCHECK, 0, 0)) : 0;
}

namespace platform::windows {

void SetModalIdleHook(std::function<void(HWND dialog)> hook) {
  std::lock_guard guard(gHookLock);
  gIdleHook = std::move(hook);
}

}  // namespace platform::windows
