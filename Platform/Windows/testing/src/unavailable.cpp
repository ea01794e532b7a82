// The hooks of the loader and HTML Help on the platform, which keeps no test records.
#include <platform/testing_htmlhelp.h>
#include <platform/testing_modules.h>

#include <gtest/gtest.h>

namespace platform::modules {

std::string LastLoadDiagnostic() {
  const DWORD error = GetLastError();
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                 sizeof text, nullptr);
  return "error " + std::to_string(error) + ": " + text;
}

bool FindLiveObjectReaders(HMODULE, LiveObjectReaders*) {
  return false;
}

}  // namespace platform::modules

namespace platform::htmlhelp {

std::vector<HtmlHelpCall> HtmlHelpCalls() {
  ADD_FAILURE() << "platform::htmlhelp::HtmlHelpCalls: the platform's HTML Help records no calls; this test "
                   "runs on the stand-in only";
  return {};
}

void ClearHtmlHelpCalls() {}

}  // namespace platform::htmlhelp
