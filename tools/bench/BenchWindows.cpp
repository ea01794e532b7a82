// The benchmark's platform needs on Windows: the thread's windows, the tooltip control's own
// messages, and a message hook for the one thing a tooltip does not report, whether it is
// active.
#include <windows.h>

#include <commctrl.h>

#include <map>

#include "BenchPlatform.h"

namespace pagebench {

namespace {

// What TTM_ACTIVATE last said to each tooltip while a watch was alive.
std::map<HWND, bool>& Activations() {
  static std::map<HWND, bool> activations;
  return activations;
}

LRESULT CALLBACK WatchActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == TTM_ACTIVATE) Activations()[sent->hwnd] = sent->wParam != 0;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK CountWithDescendants(HWND window, LPARAM count) {
  size_t& counted = *reinterpret_cast<size_t*>(count);
  ++counted;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    CountWithDescendants(child, count);
  return TRUE;
}

std::wstring ToolText(HWND tooltip, TOOLINFOW tool) {
  wchar_t text[1024] = L"";
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, static_cast<WPARAM>(std::size(text)), reinterpret_cast<LPARAM>(&tool));
  return text;
}

}  // namespace

std::filesystem::path BuiltBinaries() {
  if (const wchar_t* bin = _wgetenv(L"PROJECT_BIN_DIR"); bin && *bin) return bin;
  wchar_t program[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path();
}

std::wstring PlatformPath(const std::filesystem::path& path) {
  return std::filesystem::absolute(path).lexically_normal().make_preferred().wstring();
}

size_t LiveWindowCount() {
  size_t count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWithDescendants, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool GetTooltipState(HWND tooltip, TooltipState* state) {
  wchar_t className[64] = L"";
  GetClassNameW(tooltip, className, 64);
  if (_wcsicmp(className, TOOLTIPS_CLASSW) != 0) return false;
  state->tools.clear();
  const int count = static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(TOOLINFOW);
    if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool)))
      continue;
    state->tools.push_back({tool.uFlags, tool.hwnd, tool.uId, tool.rect, ToolText(tooltip, tool)});
  }
  const auto activation = Activations().find(tooltip);
  state->active = activation != Activations().end() && activation->second;
  return true;
}

TooltipWatch::TooltipWatch() {
  Activations().clear();
  m_hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchActivation, nullptr, GetCurrentThreadId());
}

TooltipWatch::~TooltipWatch() {
  if (m_hook) UnhookWindowsHookEx(static_cast<HHOOK>(m_hook));
}

// The platform's log library keeps no records in memory.
void ForgetLogRecords() {}

}  // namespace pagebench
