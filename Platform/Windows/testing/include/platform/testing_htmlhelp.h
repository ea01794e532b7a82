// HTML Help on the platform records no calls: ClearHtmlHelpCalls does nothing and
// HtmlHelpCalls fails the calling test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform::htmlhelp {

struct HtmlHelpCall {
  HWND caller;
  std::wstring file;
  UINT command;
  DWORD_PTR data;
  HWND result;
};

std::vector<HtmlHelpCall> HtmlHelpCalls();
void ClearHtmlHelpCalls();

}  // namespace platform::htmlhelp
