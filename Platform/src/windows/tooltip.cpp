// The tooltip control: its tools and texts, delays, width and activation. Nothing is shown.
#include <algorithm>
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
      return TRUE;
    }
    case TTM_DELTOOLW: {
      const TOOLINFOW* info = Info(lParam);
      if (info)
        std::erase_if(s->tools, [&](const Tool& t) { return t.hwnd == info->hwnd && t.id == info->uId; });
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
