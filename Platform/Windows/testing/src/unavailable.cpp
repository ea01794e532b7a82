// The hooks the platform cannot serve, which fail the test that calls them (the test clock,
// keys through the stand-in's queue, HTML Help's record), and the loader's.
#include <platform/testing_htmlhelp.h>
#include <platform/testing_modules.h>
#include <platform/testing_windows.h>

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

namespace platform::windows {
namespace {

void FailNotOnPlatform(const char* hook, const char* why) {
  ADD_FAILURE() << "platform::windows::" << hook << ": " << why << "; this test runs on the stand-in only";
}

}  // namespace

void AdvanceClock(DWORD) {
  FailNotOnPlatform("AdvanceClock", "the platform's timers run in real time, there is no test clock");
}

bool ChooseComboItemByKeys(HWND, int, int) {
  FailNotOnPlatform("ChooseComboItemByKeys", "keys go through the stand-in's posted keyboard input");
  return false;
}

}  // namespace platform::windows
