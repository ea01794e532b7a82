// The tooltip control: its tools and texts, delays, width and activation, and the relay of
// the mouse messages of TTF_SUBCLASS tools' windows. Nothing is shown.
#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "platform/testing_windows.h"
#include "windows_internal.h"

namespace platform::windows::internal {
namespace {

constexpr int kInitialDelay = 500, kAutopopDelay = 5000, kReshowDelay = 100;

struct Tool {
  UINT flags;
  HWND hwnd;
  UINT_PTR id;
  RECT rect;
  HINSTANCE instance;
  std::wstring text;
  bool callback;
  LPARAM lParam;
};

struct TooltipData : ControlState {
  bool active = true;
  int maxTipWidth = -1;
  int initial = kInitialDelay, autopop = kAutopopDelay, reshow = kReshowDelay;
  int relayed = 0;
  UINT lastRelayed = 0;
  std::vector<Tool> tools;
};

const TOOLINFOW* Info(LPARAM lParam) {
  auto* info = reinterpret_cast<const TOOLINFOW*>(lParam);
  return info && info->cbSize >= TTTOOLINFOW_V1_SIZE ? info : nullptr;
}

Tool* FindTool(TooltipData* s, const TOOLINFOW* info) {
  for (Tool& t : s->tools) {
    if (t.hwnd == info->hwnd && t.id == info->uId) return &t;
  }
  return nullptr;
}

// The tool's text from TOOLINFOW: a string, a string id in hinst, or the callback marker.
void TakeText(Tool* tool, const TOOLINFOW* info) {
  tool->callback = info->lpszText == LPSTR_TEXTCALLBACKW;
  tool->text.clear();
  if (tool->callback || !info->lpszText) return;
  if (IS_INTRESOURCE(info->lpszText) && info->hinst) {
    const wchar_t* p = nullptr;
    int n = LoadStringW(info->hinst, LOWORD(reinterpret_cast<ULONG_PTR>(info->lpszText)),
                        reinterpret_cast<LPWSTR>(&p), 0);
    if (p && n > 0) tool->text.assign(p, static_cast<size_t>(n));
    return;
  }
  if (!IS_INTRESOURCE(info->lpszText)) tool->text = info->lpszText;
}

// ---- The TTF_SUBCLASS relay. As on the platform, the tooltip subclasses the window of each
// tool registered with TTF_SUBCLASS and passes that window's mouse messages to itself as
// TTM_RELAYEVENT before the window's own procedure sees them. A window is hooked once
// however many tooltips relay from it; the hook goes with the window (WM_NCDESTROY) and a
// tooltip leaves the hook when it loses its last such tool there or is destroyed.

struct SubclassHook {
  WNDPROC previous = nullptr;
  std::vector<HWND> tooltips;
};

std::mutex gHookLock;
std::map<HWND, SubclassHook>& Hooks() {
  static auto* hooks = new std::map<HWND, SubclassHook>;  // never destroyed: windows may go at exit
  return *hooks;
}

// The window a tool lies on: the one its id names with TTF_IDISHWND, else its hwnd.
HWND ToolWindow(UINT flags, HWND hwnd, UINT_PTR id) {
  return (flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(id) : hwnd;
}

LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = nullptr;
  std::vector<HWND> tooltips;
  {
    std::lock_guard guard(gHookLock);
    auto it = Hooks().find(hwnd);
    if (it == Hooks().end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
    previous = it->second.previous;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) tooltips = it->second.tooltips;
  }
  if (!tooltips.empty()) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &pt);
    const MSG relayed{hwnd, msg, wParam, lParam, 0, pt};
    for (HWND tooltip : tooltips)
      SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  const LRESULT result = CallWindowProcW(previous, hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    std::lock_guard guard(gHookLock);
    Hooks().erase(hwnd);
  }
  return result;
}

void HookToolWindow(HWND tooltip, HWND window) {
  if (!IsWindow(window)) return;
  std::lock_guard guard(gHookLock);
  auto [it, inserted] = Hooks().try_emplace(window);
  if (inserted) {
    it->second.previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProc)));
  }
  std::vector<HWND>& tooltips = it->second.tooltips;
  if (std::find(tooltips.begin(), tooltips.end(), tooltip) == tooltips.end()) tooltips.push_back(tooltip);
}

// The tooltip leaves every hook where it has no TTF_SUBCLASS tool any more (all of them when
// s is null: the tooltip is going).
void PruneHooks(HWND tooltip, const TooltipData* s) {
  std::lock_guard guard(gHookLock);
  for (auto& entry : Hooks()) {
    const HWND window = entry.first;
    const bool keeps = s && std::any_of(s->tools.begin(), s->tools.end(), [&](const Tool& t) {
                         return (t.flags & TTF_SUBCLASS) && ToolWindow(t.flags, t.hwnd, t.id) == window;
                       });
    if (!keeps) std::erase(entry.second.tooltips, tooltip);
  }
}

}  // namespace

LRESULT CALLBACK TooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  TooltipData* s = StateOf<TooltipData>(hwnd);
  switch (msg) {
    case TTM_ADDTOOLW: {
      const TOOLINFOW* info = Info(lParam);
      if (!info) return FALSE;
      Tool tool{info->uFlags, info->hwnd, info->uId, info->rect,
                info->hinst,  {},         false,     info->cbSize >= TTTOOLINFOW_V2_SIZE ? info->lParam : 0};
      TakeText(&tool, info);
      s->tools.push_back(std::move(tool));
      if (info->uFlags & TTF_SUBCLASS) HookToolWindow(hwnd, ToolWindow(info->uFlags, info->hwnd, info->uId));
      return TRUE;
    }
    case TTM_DELTOOLW: {
      const TOOLINFOW* info = Info(lParam);
      if (info) {
        std::erase_if(s->tools, [&](const Tool& t) { return t.hwnd == info->hwnd && t.id == info->uId; });
        PruneHooks(hwnd, s);
      }
      return 0;
    }
    case TTM_UPDATETIPTEXTW: {
      const TOOLINFOW* info = Info(lParam);
      Tool* tool = info ? FindTool(s, info) : nullptr;
      if (tool) {
        tool->instance = info->hinst;
        TakeText(tool, info);
      }
      return 0;
    }
    case TTM_GETTEXTW: {
      auto* info = const_cast<TOOLINFOW*>(Info(lParam));
      Tool* tool = info ? FindTool(s, info) : nullptr;
      if (!info || !info->lpszText) return 0;
      std::wstring text = tool ? tool->text : L"";
      if (wParam > 0) text.resize(std::min(text.size(), static_cast<size_t>(wParam) - 1));
      std::copy(text.begin(), text.end(), info->lpszText);
      info->lpszText[text.size()] = 0;
      return 0;
    }
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(s->tools.size());
    case TTM_ACTIVATE:
      s->active = wParam != 0;
      return 0;
    case TTM_SETDELAYTIME: {
      int value = static_cast<short>(LOWORD(lParam));
      switch (wParam) {
        case TTDT_AUTOMATIC:
          if (value < 0) {
            s->initial = kInitialDelay;
            s->autopop = kAutopopDelay;
            s->reshow = kReshowDelay;
          } else {
            s->initial = value;
            s->autopop = value * 10;
            s->reshow = value / 5;
          }
          break;
        case TTDT_INITIAL:
          s->initial = value < 0 ? kInitialDelay : value;
          break;
        case TTDT_AUTOPOP:
          s->autopop = value < 0 ? kAutopopDelay : value;
          break;
        case TTDT_RESHOW:
          s->reshow = value < 0 ? kReshowDelay : value;
          break;
        default:
          break;
      }
      return 0;
    }
    case TTM_GETDELAYTIME:
      switch (wParam) {
        case TTDT_INITIAL:
        case TTDT_AUTOMATIC:
          return s->initial;
        case TTDT_AUTOPOP:
          return s->autopop;
        case TTDT_RESHOW:
          return s->reshow;
        default:
          return 0;
      }
    case TTM_SETMAXTIPWIDTH:
      return std::exchange(s->maxTipWidth, static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH:
      return s->maxTipWidth;
    case TTM_RELAYEVENT:
      if (auto* relayed = reinterpret_cast<const MSG*>(lParam)) {
        s->relayed++;
        s->lastRelayed = relayed->message;
      }
      return 0;
    case TTM_POP:
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_NCDESTROY:
      PruneHooks(hwnd, nullptr);
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

bool ReadTooltipState(HWND hwnd, platform::windows::TooltipState* out) {
  if (!ClassNameOfIs(hwnd, TOOLTIPS_CLASSW) || !out) return false;
  TooltipData* s = StateOf<TooltipData>(hwnd);
  if (!s) return false;
  *out = {s->active, s->maxTipWidth, s->initial, s->autopop, s->reshow, s->relayed, s->lastRelayed, {}};
  for (const Tool& t : s->tools) out->tools.push_back({t.flags, t.hwnd, t.id, t.rect, t.text, t.callback});
  return true;
}

}  // namespace platform::windows::internal
