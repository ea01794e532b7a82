// Posted messages: the per-thread queues, timers on the test clock, the message loop's
// calls (PeekMessageW, GetMessageW, TranslateMessage, DispatchMessageW) and the test pump.
#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <mutex>

#include "errhandlingapi.h"
#include "platform/testing_windows.h"
#include "windows_internal.h"
#include "winerror.h"

using namespace platform::windows::internal;

namespace {

struct ThreadQueue {
  std::deque<MSG> posted;
  bool quit = false;
  int exitCode = 0;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  ULONGLONG due;
  TIMERPROC proc;
  DWORD thread;
};

struct Queues {
  std::mutex lock;
  std::map<DWORD, ThreadQueue> queues;
  std::vector<Timer> timers;
  ULONGLONG clock = 0x00100000;
  UINT_PTR nextThreadTimer = 0x7FF0;
};

Queues& State() {
  static Queues state;
  return state;
}

std::atomic<DWORD> gNextThreadId{0x100};
thread_local DWORD tThreadId = 0;
thread_local DWORD tMessageTime = 0;

bool Matches(const MSG& msg, HWND filter, UINT first, UINT last) {
  if (first || last) {
    if (msg.message < first || msg.message > last) return false;
  }
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return msg.hwnd == nullptr;
  return msg.hwnd == filter || IsChild(filter, msg.hwnd);
}

// Takes (or looks at) the first posted message or due timer of the calling thread that
// matches; false when there is none.
bool NextMessage(MSG* out, HWND filter, UINT first, UINT last, bool remove) {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  ThreadQueue& q = s.queues[GetCurrentThreadId()];
  for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
    if (!Matches(*it, filter, first, last)) continue;
    *out = *it;
    if (remove) q.posted.erase(it);
    return true;
  }
  for (Timer& t : s.timers) {
    if (t.thread != GetCurrentThreadId() || t.due > s.clock) continue;
    MSG msg{t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc), static_cast<DWORD>(s.clock), {0, 0}};
    if (!Matches(msg, filter, first, last)) continue;
    *out = msg;
    if (remove) t.due = s.clock + t.elapse;
    return true;
  }
  if (q.quit && (!first || first <= WM_QUIT) && (!last || WM_QUIT <= last)) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.exitCode), 0, static_cast<DWORD>(s.clock), {0, 0}};
    if (remove) q.quit = false;
    return true;
  }
  return false;
}

}  // namespace

namespace platform::windows::internal {

bool AdvanceToNextTimer() {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  bool found = false;
  ULONGLONG next = 0;
  for (const Timer& t : s.timers) {
    if (t.thread != GetCurrentThreadId()) continue;
    if (!found || t.due < next) next = t.due;
    found = true;
  }
  if (found && next > s.clock) s.clock = next;
  return found;
}

void ForgetWindowTimers(HWND hwnd) {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == hwnd; });
  for (auto& [thread, q] : s.queues) {
    std::erase_if(q.posted, [&](const MSG& m) { return m.hwnd == hwnd; });
  }
}

}  // namespace platform::windows::internal

EXTERN_C DWORD WINAPI GetCurrentThreadId() {
  if (!tThreadId) tThreadId = gNextThreadId++;
  return tThreadId;
}

EXTERN_C DWORD WINAPI GetMessageTime() {
  return tMessageTime;
}

EXTERN_C BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  s.queues[idThread].posted.push_back(MSG{nullptr, Msg, wParam, lParam, static_cast<DWORD>(s.clock), {0, 0}});
  return TRUE;
}

EXTERN_C BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!hWnd) return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
  Window* w = Find(hWnd, true);
  if (!w) return FALSE;
  Queues& s = State();
  std::lock_guard guard(s.lock);
  s.queues[w->thread].posted.push_back(MSG{hWnd, Msg, wParam, lParam, static_cast<DWORD>(s.clock), {0, 0}});
  return TRUE;
}

EXTERN_C void WINAPI PostQuitMessage(int nExitCode) {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  ThreadQueue& q = s.queues[GetCurrentThreadId()];
  q.quit = true;
  q.exitCode = nExitCode;
}

EXTERN_C BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                  UINT wRemoveMsg) {
  MSG msg;
  if (!lpMsg || !NextMessage(&msg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0))
    return FALSE;
  *lpMsg = msg;
  tMessageTime = msg.time;
  return TRUE;
}

EXTERN_C BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  for (;;) {
    if (PeekMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) {
      return lpMsg->message == WM_QUIT ? FALSE : TRUE;
    }
    if (!AdvanceToNextTimer()) {
      SetLastError(ERROR_INVALID_OPERATION);
      return -1;
    }
  }
}

EXTERN_C BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  if (!lpMsg || lpMsg->message != WM_KEYDOWN) return FALSE;
  WPARAM vk = lpMsg->wParam;
  wchar_t c = 0;
  if (vk >= 'A' && vk <= 'Z') {
    c = (GetKeyState(VK_SHIFT) & 0x8000) ? static_cast<wchar_t>(vk) : static_cast<wchar_t>(vk - 'A' + 'a');
  } else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_BACK || vk == VK_RETURN ||
             vk == VK_ESCAPE) {
    c = static_cast<wchar_t>(vk);
  }
  if (!c) return FALSE;
  return PostMessageW(lpMsg->hwnd, WM_CHAR, c, lpMsg->lParam);
}

EXTERN_C LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
  if (!lpMsg) return 0;
  if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
    reinterpret_cast<TIMERPROC>(lpMsg->lParam)(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
    return 0;
  }
  if (!lpMsg->hwnd) return 0;
  return SendMessageW(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

// ---------------------------------------------------------------------------------------
// Timers and the clock

EXTERN_C UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  DWORD thread = GetCurrentThreadId();
  if (hWnd) {
    Window* w = Find(hWnd, true);
    if (!w) return 0;
    thread = w->thread;
  }
  uElapse = std::max<UINT>(uElapse, 10);
  Queues& s = State();
  std::lock_guard guard(s.lock);
  if (hWnd) {
    for (Timer& t : s.timers) {
      if (t.hwnd == hWnd && t.id == nIDEvent) {
        t.elapse = uElapse;
        t.due = s.clock + uElapse;
        t.proc = lpTimerFunc;
        return nIDEvent;
      }
    }
  } else {
    nIDEvent = s.nextThreadTimer++;
  }
  s.timers.push_back(Timer{hWnd, nIDEvent, uElapse, s.clock + uElapse, lpTimerFunc, thread});
  return nIDEvent;
}

EXTERN_C BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  size_t removed =
      std::erase_if(s.timers, [&](const Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
  return removed ? TRUE : FALSE;
}

EXTERN_C DWORD WINAPI GetTickCount() {
  return static_cast<DWORD>(GetTickCount64());
}

EXTERN_C ULONGLONG WINAPI GetTickCount64() {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  return s.clock;
}

EXTERN_C void WINAPI Sleep(DWORD dwMilliseconds) {
  platform::windows::AdvanceClock(dwMilliseconds);
}

// ---------------------------------------------------------------------------------------
// Test hooks

namespace platform::windows {

void AdvanceClock(DWORD milliseconds) {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  s.clock += milliseconds;
}

int PumpMessages() {
  int dispatched = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    HWND dialog = msg.hwnd ? DialogAncestor(msg.hwnd) : nullptr;
    // The outermost dialog of a nested page handles the keyboard for all of it.
    while (dialog) {
      Window* w = Find(dialog);
      HWND above = w && w->parent ? DialogAncestor(w->parent) : nullptr;
      if (!above) break;
      dialog = above;
    }
    if (!dialog || !IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    ++dispatched;
  }
  return dispatched;
}

size_t TimerCount() {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  const DWORD thread = GetCurrentThreadId();
  return static_cast<size_t>(
      std::count_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return t.thread == thread; }));
}

bool HasPostedMessages() {
  Queues& s = State();
  std::lock_guard guard(s.lock);
  auto it = s.queues.find(GetCurrentThreadId());
  return it != s.queues.end() && !it->second.posted.empty();
}

}  // namespace platform::windows
