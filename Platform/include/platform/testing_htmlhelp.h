// Test hooks of HTML Help: the calls HtmlHelpW received.
#pragma once

#include <string>
#include <vector>

#include "../htmlhelp.h"

namespace platform::htmlhelp {

struct HtmlHelpCall {
  HWND caller;
  std::wstring file;  // empty for a null file
  UINT command;
  DWORD_PTR data;
  HWND result;
};

PLATFORM_API std::vector<HtmlHelpCall> HtmlHelpCalls();
PLATFORM_API void ClearHtmlHelpCalls();

}  // namespace platform::htmlhelp
