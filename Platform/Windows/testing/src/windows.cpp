#include <platform/testing_windows.h>

#include <cstring>
#include <set>

namespace platform::windows {
namespace {

// How often the thread timer looks for a modal dialog waiting for its user.
constexpr UINT kIdlePollMilliseconds = 20;

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

size_t WithDescendants(HWND window) {
  size_t count = 1;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    count += WithDescendants(child);
  return count;
}

// Reachable as a user reaches a control: alive, visible and enabled, and so its ancestors.
bool IsReachable(HWND window) {
  for (HWND w = window; w; w = GetParent(w)) {
    if (!IsWindow(w) || !IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
    if ((GetWindowLongW(w, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return window != nullptr;
}

void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = L"";
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return _wcsicmp(className, name) == 0;
}

// A modal dialog whose loop is waiting: a dialog window, visible and enabled, whose owner its
// loop disabled (or that has none).
bool IsWaitingModal(HWND window) {
  if (!IsClass(window, L"#32770") || !IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
  HWND owner = GetWindow(window, GW_OWNER);
  return !owner || !IsWindowEnabled(owner);
}

struct IdleHook {
  std::function<void(HWND)> hook;
  UINT_PTR timer = 0;
  std::set<HWND> running;  // dialogs the hook is acting on (a box it opens is polled meanwhile)
};

IdleHook& Idle() {
  static IdleHook idle;
  return idle;
}

// The innermost waiting dialog: the one no other waiting dialog of the thread is owned by.
HWND InnermostWaitingModal() {
  HWND innermost = nullptr;
  for (HWND window : ThreadWindows()) {
    if (!IsWaitingModal(window)) continue;
    if (!innermost || GetWindow(window, GW_OWNER) == innermost) innermost = window;
  }
  return innermost;
}

void CALLBACK OnIdlePoll(HWND, UINT, UINT_PTR, DWORD) {
  IdleHook& idle = Idle();
  HWND dialog = InnermostWaitingModal();
  if (!dialog || !idle.hook || idle.running.count(dialog)) return;
  idle.running.insert(dialog);
  const auto hook = idle.hook;  // the hook may replace itself
  hook(dialog);
  idle.running.erase(dialog);
}

}  // namespace

int PumpMessages() {
  int dispatched = 0;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    ++dispatched;
  }
  return dispatched;
}

void ReleaseAllKeys() {}

void ClearRecorders() {}

void ResetClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

bool PutClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool put = false;
  if (memory) {
    if (void* target = GlobalLock(memory)) {
      std::memcpy(target, text.c_str(), bytes);
      GlobalUnlock(memory);
      put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!put) GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

size_t LiveWindowCount() {
  size_t count = 0;
  for (HWND window : ThreadWindows()) count += WithDescendants(window);
  return count;
}

std::wstring TextOf(HWND hwnd) {
  if (!IsWindow(hwnd)) return L"";
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetModalIdleHook(std::function<void(HWND)> hook) {
  IdleHook& idle = Idle();
  idle.hook = std::move(hook);
  if (idle.hook && !idle.timer) idle.timer = SetTimer(nullptr, 0, kIdlePollMilliseconds, &OnIdlePoll);
  if (!idle.hook && idle.timer) {
    KillTimer(nullptr, idle.timer);
    idle.timer = 0;
  }
}

bool ClickButton(HWND button) {
  if (!IsReachable(button)) return false;
  SendMessageW(button, BM_CLICK, 0, 0);
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
    if (!IsWindow(control)) break;
    SendMessageW(control, WM_CHAR, static_cast<WPARAM>(c), 1);
  }
  return true;
}

bool Paste(HWND control) {
  if (!FocusControl(control)) return false;
  SendMessageW(control, WM_PASTE, 0, 0);
  return true;
}

// The platform's CB_SETCURSEL notifies no one: the parent gets what a user's choice from the
// list sends.
bool SelectComboItem(HWND combo, int index) {
  if (!IsReachable(combo)) return false;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  if (index < 0 || index >= count) return false;
  SetFocus(combo);
  if (!IsWindow(combo)) return true;
  Notify(combo, CBN_DROPDOWN);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Notify(combo, CBN_SELCHANGE);
  if (IsWindow(combo)) Notify(combo, CBN_SELENDOK);
  if (IsWindow(combo)) Notify(combo, CBN_CLOSEUP);
  return true;
}

}  // namespace platform::windows
