// HTML Help: every call is recorded; display commands give a window only for a file that
// exists, with or without a topic or window suffix.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "htmlhelp.h"
#include "platform/paths.h"
#include "platform/testing_htmlhelp.h"

namespace {

TEST(HtmlHelp, DisplayCommandsOpenOnlyExistingFilesAndEveryCallIsRecorded) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "platform-htmlhelp-test.chm";
  { std::ofstream(file) << "chm"; }
  const std::wstring existing = platform::PlatformPathFromHost(file.string());
  struct Case {
    std::wstring file;
    UINT command;
    DWORD_PTR data;
    bool window;
  };
  const Case cases[] = {
      {existing, HH_HELP_CONTEXT, 0x30017, true},
      {existing + L"::/topic.htm", HH_DISPLAY_TOPIC, 0, true},
      {existing + L">main", HH_DISPLAY_TOC, 0, true},
      {existing + L".missing", HH_HELP_CONTEXT, 5, false},
      {L"", HH_DISPLAY_TOPIC, 0, false},
      {L"", HH_CLOSE_ALL, 0, false},
      {existing, HH_CLOSE_ALL, 0, false},
  };
  platform::htmlhelp::ClearHtmlHelpCalls();
  HWND owner = reinterpret_cast<HWND>(0x1234);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << testing::PrintToString(c.file) << " command " << c.command);
    HWND window = HtmlHelpW(owner, c.file.empty() ? nullptr : c.file.c_str(), c.command, c.data);
    EXPECT_EQ(window != nullptr, c.window);
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().caller, owner);
    EXPECT_EQ(calls.back().file, c.file);
    EXPECT_EQ(calls.back().command, c.command);
    EXPECT_EQ(calls.back().data, c.data);
    EXPECT_EQ(calls.back().result, window);
  }
  EXPECT_EQ(platform::htmlhelp::HtmlHelpCalls().size(), std::size(cases));
  platform::htmlhelp::ClearHtmlHelpCalls();
  EXPECT_TRUE(platform::htmlhelp::HtmlHelpCalls().empty());
  std::filesystem::remove(file);
}

}  // namespace
