// The benchmark's platform needs on the stand-in: its test hooks.
#include <OrvoLog.h>
#include <platform/paths.h>
#include <platform/testing_windows.h>

#include <cstdlib>

#include "BenchPlatform.h"

namespace pagebench {

namespace pw = platform::windows;

std::filesystem::path BuiltBinaries() {
  if (const char* bin = std::getenv("PROJECT_BIN_DIR")) return bin;
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

std::wstring PlatformPath(const std::filesystem::path& path) {
  return platform::PlatformPathFromHost(path.string());
}

size_t LiveWindowCount() {
  return pw::LiveWindowCount();
}

bool GetTooltipState(HWND tooltip, TooltipState* state) {
  pw::TooltipState read;
  if (!pw::GetTooltipState(tooltip, &read)) return false;
  state->tools.clear();
  for (const pw::TooltipTool& tool : read.tools)
    state->tools.push_back({tool.flags, tool.hwnd, tool.id, tool.rect, tool.text});
  state->active = read.active;
  return true;
}

// The stand-in reads a tooltip's active state back: nothing to watch.
TooltipWatch::TooltipWatch() = default;
TooltipWatch::~TooltipWatch() = default;

void ForgetLogRecords() {
  orvolog::ClearRecords();
}

}  // namespace pagebench
