// HTML Help: a recorder that checks the help file and hands out a token for the viewer.
#include "htmlhelp.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "../internal/paths.h"
#include "platform/testing_htmlhelp.h"

namespace {

std::mutex g_lock;
std::vector<platform::htmlhelp::HtmlHelpCall> g_calls;

// The viewer's window token: not null and never a window of the window manager.
HWND ViewerToken() {
  static int viewer;
  return reinterpret_cast<HWND>(&viewer);
}

// The file part of "file.chm::/topic.htm" or "file.chm>window".
std::wstring HelpFilePart(const std::wstring& file) {
  size_t end = file.find(L"::");
  const size_t window = file.find(L'>');
  if (window != std::wstring::npos && (end == std::wstring::npos || window < end)) end = window;
  return end == std::wstring::npos ? file : file.substr(0, end);
}

bool NeedsFile(UINT command) {
  return command != HH_CLOSE_ALL && command != HH_INITIALIZE && command != HH_UNINITIALIZE;
}

}  // namespace

HWND WINAPI HtmlHelpW(HWND hwndCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData) {
  const std::wstring file = pszFile ? pszFile : L"";
  HWND result = nullptr;
  if (NeedsFile(uCommand) && !file.empty()) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(platform::HostPathFromPlatform(HelpFilePart(file)), ignored))
      result = ViewerToken();
  }
  std::lock_guard lock(g_lock);
  g_calls.push_back({hwndCaller, file, uCommand, dwData, result});
  return result;
}

namespace platform::htmlhelp {

std::vector<HtmlHelpCall> HtmlHelpCalls() {
  std::lock_guard lock(g_lock);
  return g_calls;
}

void ClearHtmlHelpCalls() {
  std::lock_guard lock(g_lock);
  g_calls.clear();
}

}  // namespace platform::htmlhelp
