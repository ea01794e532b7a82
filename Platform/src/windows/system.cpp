// System services of the window manager: keyboard state, system metrics and parameters,
// system menus, cursors and icons, and the message box and beep recorders.
#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "errhandlingapi.h"
#include "platform/testing_windows.h"
#include "windows_internal.h"
#include "winerror.h"

using namespace platform::windows::internal;

namespace {

struct SystemState {
  std::mutex lock;
  bool keys[256] = {};
  int messageBoxAnswer = IDOK;
  std::vector<platform::windows::MessageBoxCall> messageBoxes;
  std::vector<UINT> beeps;
  HCURSOR cursor = nullptr;
  // Icons of modules, by module and name; they live with the process.
  std::map<std::pair<HINSTANCE, std::wstring>, std::unique_ptr<int>> moduleIcons;
};

SystemState& System() {
  static SystemState state;
  return state;
}

// The system icons and cursors: fixed objects whose addresses are the handles.
constexpr WORD kFirstSystemIcon = 32512, kLastSystemIcon = 32517;
int gSystemIcons[kLastSystemIcon - kFirstSystemIcon + 1];
constexpr WORD kSystemCursors[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                                   32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};
int gSystemCursors[std::size(kSystemCursors)];

}  // namespace

EXTERN_C SHORT WINAPI GetAsyncKeyState(int vKey) {
  if (vKey < 0 || vKey > 255) return 0;
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  bool down = s.keys[vKey];
  // The generic modifier keys are down when either side is.
  if (vKey == VK_SHIFT) down = down || s.keys[VK_LSHIFT] || s.keys[VK_LSHIFT + 1];
  if (vKey == VK_CONTROL) down = down || s.keys[VK_LCONTROL] || s.keys[VK_LCONTROL + 1];
  if (vKey == VK_MENU) down = down || s.keys[0xA4] || s.keys[0xA5];
  return down ? static_cast<SHORT>(0x8000) : 0;
}

EXTERN_C SHORT WINAPI GetKeyState(int nVirtKey) {
  return GetAsyncKeyState(nVirtKey);
}

EXTERN_C int WINAPI GetSystemMetrics(int nIndex) {
  static const std::map<int, int> kMetrics = {
      {SM_CXSCREEN, 1920}, {SM_CYSCREEN, 1080}, {SM_CXVSCROLL, 17},      {SM_CYHSCROLL, 17},
      {SM_CYCAPTION, 23},  {SM_CXBORDER, 1},    {SM_CYBORDER, 1},        {SM_CXDLGFRAME, 3},
      {SM_CYDLGFRAME, 3},  {SM_CXICON, 32},     {SM_CYICON, 32},         {SM_CXCURSOR, 32},
      {SM_CYCURSOR, 32},   {SM_CYMENU, 20},     {SM_CXFULLSCREEN, 1920}, {SM_CYFULLSCREEN, 1034},
      {SM_CXMIN, 136},     {SM_CYMIN, 39},      {SM_CXFRAME, 4},         {SM_CYFRAME, 4},
      {SM_CXEDGE, 2},      {SM_CYEDGE, 2},      {SM_CXSMICON, 16},       {SM_CYSMICON, 16},
  };
  auto it = kMetrics.find(nIndex);
  return it == kMetrics.end() ? 0 : it->second;
}

EXTERN_C DWORD WINAPI GetSysColor(int nIndex) {
  static const std::map<int, DWORD> kColors = {
      {COLOR_WINDOW, 0x00FFFFFF},
      {COLOR_WINDOWTEXT, 0x00000000},
      {COLOR_BTNFACE, 0x00F0F0F0},
      {COLOR_GRAYTEXT, 0x006D6D6D},
  };
  auto it = kColors.find(nIndex);
  return it == kColors.end() ? 0 : it->second;
}

EXTERN_C BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT) {
  if (uiAction == SPI_GETNONCLIENTMETRICS && pvParam) {
    auto* metrics = static_cast<NONCLIENTMETRICSW*>(pvParam);
    const UINT full = sizeof(NONCLIENTMETRICSW);
    const UINT older = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if ((metrics->cbSize != full && metrics->cbSize != older) || uiParam != metrics->cbSize) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    UINT size = metrics->cbSize;
    NONCLIENTMETRICSW m{};
    m.cbSize = size;
    m.iBorderWidth = 1;
    m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    m.iCaptionWidth = 36;
    m.iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
    m.iSmCaptionWidth = 22;
    m.iSmCaptionHeight = 22;
    m.iMenuWidth = 19;
    m.iMenuHeight = GetSystemMetrics(SM_CYMENU) - 1;
    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, L"System Sans");
    m.lfCaptionFont = m.lfSmCaptionFont = m.lfMenuFont = m.lfStatusFont = m.lfMessageFont = font;
    m.lfCaptionFont.lfWeight = FW_BOLD;
    std::memcpy(metrics, &m, size);
    return TRUE;
  }
  if (uiAction == SPI_GETWORKAREA && pvParam) {
    *static_cast<RECT*>(pvParam) = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 46};
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

// ---------------------------------------------------------------------------------------
// System menus

EXTERN_C HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert) {
  Window* w = Find(hWnd, true);
  if (!w) return nullptr;
  if (bRevert) {
    w->systemMenu.reset();
    return nullptr;
  }
  if (!w->systemMenu) {
    w->systemMenu = std::make_unique<Menu>();
    for (UINT id : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) {
      w->systemMenu->items.push_back({id, MF_ENABLED});
    }
  }
  return reinterpret_cast<HMENU>(w->systemMenu.get());
}

namespace {
MenuItem* FindItem(HMENU menu, UINT item, UINT flags) {
  if (!menu) return nullptr;
  // Menus are only the system menus here, which live inside their window's record.
  auto* m = reinterpret_cast<Menu*>(menu);
  if (flags & MF_BYPOSITION) return item < m->items.size() ? &m->items[item] : nullptr;
  for (MenuItem& i : m->items) {
    if (i.id == item) return &i;
  }
  return nullptr;
}
}  // namespace

EXTERN_C BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  MenuItem* item = FindItem(hMenu, uIDEnableItem, uEnable);
  if (!item) return -1;
  UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
  item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

EXTERN_C UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
  MenuItem* item = FindItem(hMenu, uId, uFlags);
  return item ? item->state : static_cast<UINT>(-1);
}

// ---------------------------------------------------------------------------------------
// Cursors and icons

EXTERN_C HCURSOR WINAPI LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName) {
  if (!hInstance && IS_INTRESOURCE(lpCursorName)) {
    WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(lpCursorName));
    for (size_t i = 0; i < std::size(kSystemCursors); ++i) {
      if (kSystemCursors[i] == id) return reinterpret_cast<HCURSOR>(&gSystemCursors[i]);
    }
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

EXTERN_C HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  return std::exchange(s.cursor, hCursor);
}

EXTERN_C HCURSOR WINAPI GetCursor() {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  return s.cursor;
}

EXTERN_C HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
  if (!lpIconName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!hInstance) {
    if (IS_INTRESOURCE(lpIconName)) {
      WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(lpIconName));
      if (id >= kFirstSystemIcon && id <= kLastSystemIcon) {
        return reinterpret_cast<HICON>(&gSystemIcons[id - kFirstSystemIcon]);
      }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  if (!FindResourceW(hInstance, lpIconName, RT_GROUP_ICON)) return nullptr;
  std::wstring key = IS_INTRESOURCE(lpIconName)
                         ? L"#" + std::to_wstring(LOWORD(reinterpret_cast<ULONG_PTR>(lpIconName)))
                         : std::wstring(lpIconName);
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  auto& icon = s.moduleIcons[{hInstance, key}];
  if (!icon) icon = std::make_unique<int>(0);
  return reinterpret_cast<HICON>(icon.get());
}

EXTERN_C BOOL WINAPI DestroyIcon(HICON hIcon) {
  return hIcon ? TRUE : FALSE;
}

EXTERN_C HANDLE WINAPI LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int, int, UINT) {
  if (type == IMAGE_ICON) return LoadIconW(hInst, name);
  if (type == IMAGE_CURSOR) return LoadCursorW(hInst, name);
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// Recorders

EXTERN_C int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  s.messageBoxes.push_back({hWnd, lpText ? lpText : L"", lpCaption ? lpCaption : L"Error", uType});
  return s.messageBoxAnswer;
}

EXTERN_C BOOL WINAPI MessageBeep(UINT uType) {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  s.beeps.push_back(uType);
  return TRUE;
}

EXTERN_C BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}

EXTERN_C void WINAPI InitCommonControls() {}

namespace platform::windows {

void SetKeyDown(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  s.keys[vk] = down;
}

void ReleaseAllKeys() {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  std::fill(std::begin(s.keys), std::end(s.keys), false);
}

void SetMessageBoxAnswer(int answer) {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  s.messageBoxAnswer = answer;
}

std::vector<MessageBoxCall> MessageBoxCalls() {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  return s.messageBoxes;
}

void ClearRecorders() {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  s.messageBoxes.clear();
  s.beeps.clear();
  s.messageBoxAnswer = IDOK;
}

std::vector<UINT> MessageBeeps() {
  SystemState& s = System();
  std::lock_guard guard(s.lock);
  return s.beeps;
}

}  // namespace platform::windows
