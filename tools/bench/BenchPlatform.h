// What the benchmark's floor needs beyond the platform's API, in two implementations: on the
// stand-in (BenchStandIn.cpp) its test hooks serve (the live window count, a tooltip's state,
// the log records kept in memory); on Windows (BenchWindows.cpp) the platform's own means do
// (the thread's windows, the tooltip's messages, a message hook for what a tooltip cannot
// report). The floor and the benchmark drivers reach the platform's particulars only here.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pagebench {

// The folder of the build's binaries: PROJECT_BIN_DIR, else the program's folder.
std::filesystem::path BuiltBinaries();
// The path in the platform's form, as a server registers it.
std::wstring PlatformPath(const std::filesystem::path& path);

// The windows alive on this thread (top-level windows with their descendants), to count what
// a page makes.
size_t LiveWindowCount();

// One tool of a tooltip control.
struct TooltipTool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  std::wstring text;
};
struct TooltipState {
  std::vector<TooltipTool> tools;
  bool active = false;
};
// The tooltip control's tools and whether it is active; false for a window that is not a
// tooltip. The platform's tooltip cannot tell whether it is active: there, a tooltip's active
// state is what TTM_ACTIVATE last said to it while a TooltipWatch was alive, false otherwise.
bool GetTooltipState(HWND tooltip, TooltipState* state);

// Watches, from construction to destruction, what the thread's tooltips are told of their
// activation where the platform cannot tell it back (nothing on the stand-in, which can). Only
// observations are watched: a measured cycle runs without it.
class TooltipWatch {
 public:
  TooltipWatch();
  ~TooltipWatch();
  TooltipWatch(const TooltipWatch&) = delete;
  TooltipWatch& operator=(const TooltipWatch&) = delete;

 private:
  void* m_hook = nullptr;  // the message hook, where the platform needs one
};

// Forgets the log records the stand-in keeps in memory (the platform's log keeps none).
void ForgetLogRecords();

}  // namespace pagebench
