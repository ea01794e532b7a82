// The host command line as a user runs it: its exit codes and messages for odd arguments and
// paths, and its registry file under concurrent runs, long values and long key names.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "HostProcess.h"

namespace {

using hosttest::Bin;
using hosttest::Finish;
using hosttest::Outcome;
using hosttest::RunHost;
using hosttest::Start;

class HostCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("host_command_line_test-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    registry_ = (folder_ / "registry.txt").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Write(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder_;
  std::string registry_;
};

TEST_F(HostCommandLine, MalformedArgumentsPrintTheUsageAndExitWith2) {
  const std::string definition = DEFINITIONS_DIR "/Corvane300.xml";
  const std::vector<std::string> cases[] = {
      {},
      {"--registry"},
      {"--registry", "", "list"},
      {"--registry", registry_},
      {"frobnicate"},
      {"list", "extra"},
      {"register"},
      {"validate"},
      {"validate", definition, "english"},
      {"validate", definition, "99999999999999999999"},
      {"validate", definition, "4294967296"},
      {"validate", definition, "-1"},
      {"validate", definition, "1033x"},
      {"validate", definition, ""},
      {"validate", definition, "1033", "extra"},
  };
  for (const auto& args : cases) {
    std::string line;
    for (const auto& arg : args) line += "[" + arg + "] ";
    SCOPED_TRACE(line);
    const Outcome outcome = RunHost(args);
    EXPECT_EQ(outcome.exitCode, 2) << outcome.output;
    EXPECT_EQ(outcome.output.rfind("usage: host", 0), 0u) << outcome.output;
  }
  EXPECT_FALSE(std::filesystem::exists(registry_)) << "a refused command line writes no registry file";
}

TEST_F(HostCommandLine, APathThatIsNoReadableFileSaysSoAndExitsWith1) {
  const struct {
    std::vector<std::string> args;
    std::string output;
  } cases[] = {
      {{"validate", folder_.string()}, folder_.string() + ": a directory, not a file\n"},
      {{"validate", (folder_ / "absent.xml").string()},
       (folder_ / "absent.xml").string() + ": no such file\n"},
      {{"--registry", folder_.string(), "list"},
       "cannot read the registry file " + folder_.string() + ": a directory, not a file\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    const Outcome outcome = RunHost(c.args);
    EXPECT_EQ(outcome.exitCode, 1) << outcome.output;
    EXPECT_EQ(outcome.output, c.output);
  }
}

TEST_F(HostCommandLine, ARunThatChangesNothingLeavesTheRegistryFileAsItWas) {
  const std::string text =
      "PLATFORM-REGISTRY 1\n# kept as written\nkey \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{A}\"\n";
  Write(registry_, text);
  EXPECT_EQ(RunHost({"--registry", registry_, "list"}).exitCode, 0);
  EXPECT_EQ(Read(registry_), text);
  EXPECT_EQ(RunHost({"--registry", registry_, "load", Bin("CorvaneTags.dll")}).exitCode, 0);
  EXPECT_EQ(Read(registry_), text);
}

TEST_F(HostCommandLine, ConcurrentRunsOnOneRegistryFileKeepEveryRegistration) {
  // The DLLs that register classes of their own; a list runs beside each registration (it
  // used to rewrite the file as well).
  const char* dlls[] = {"CorvaneTags.dll", "PVTestPages.dll", "PVPanelPages.dll"};
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::filesystem::remove(registry_);
    std::vector<FILE*> runs;
    for (const char* dll : dlls) {
      runs.push_back(Start({"--registry", registry_, "register", Bin(dll)}));
      runs.push_back(Start({"--registry", registry_, "list"}));
    }
    for (FILE* run : runs) {
      ASSERT_NE(run, nullptr);
      const Outcome outcome = Finish(run);
      EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    }
    const Outcome list = RunHost({"--registry", registry_, "list"});
    EXPECT_EQ(list.exitCode, 0) << list.output;
    for (const char* dll : dlls)
      EXPECT_NE(list.output.find(std::string("\\") + dll + "\n"), std::string::npos) << dll << " lost:\n"
                                                                                     << list.output;
  }
}

TEST_F(HostCommandLine, ListReadsAValueOfAnyLengthAndReportsKeyNamesBeyond255Characters) {
  // A default value exactly as long as 1024 characters, stored without a terminator; a key
  // name of 300 characters; and a class after it that is still listed.
  const std::string longValue(1024, 'v');
  const std::string longName = "{" + std::string(298, 'L') + "}";
  Write(
      registry_,
      "PLATFORM-REGISTRY 1\n"
      "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{A}\"\nvalue \"\" sz \"" +
          longValue +
          "\"\n"
          "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\" +
          longName +
          "\"\n"
          "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{Z}\\\\InProcServer32\"\nvalue \"\" sz \"Z:\\\\z.dll\\0\"\n");
  const Outcome outcome = RunHost({"--registry", registry_, "list"});
  EXPECT_EQ(outcome.exitCode, 1) << outcome.output;
  EXPECT_NE(outcome.output.find("{A}  " + longValue + "\n"), std::string::npos) << outcome.output;
  EXPECT_NE(outcome.output.find("class 1: its key name is longer than 255 characters\n"), std::string::npos)
      << outcome.output;
  EXPECT_NE(outcome.output.find("{Z}  \n    Z:\\z.dll\n"), std::string::npos) << outcome.output;
}

TEST_F(HostCommandLine, TheLockFileGoesWhenTheRunEndsAndAMissingFolderIsNamed) {
  EXPECT_EQ(RunHost({"--registry", registry_, "list"}).exitCode, 0);
  EXPECT_EQ(RunHost({"--registry", registry_, "register", Bin("CorvaneTags.dll")}).exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(registry_));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1)
      << "only the registry file stays beside itself";

  const std::string lost = (folder_ / "absent" / "registry.txt").string();
  const Outcome outcome = RunHost({"--registry", lost, "list"});
  EXPECT_EQ(outcome.exitCode, 1) << outcome.output;
  EXPECT_EQ(outcome.output, "cannot use the registry file " + lost + ": its folder " +
                                (folder_ / "absent").string() + " does not exist\n");
}

TEST_F(HostCommandLine, ADefaultValueThatIsNoTextIsShownByItsType) {
  // A class whose title is a number and whose server is binary: both named by their type
  // (they used to print as stray characters), the server also where open names it.
  Write(registry_,
        "PLATFORM-REGISTRY 1\n"
        "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{6F1C2B3A-8E4D-4A5B-9C7E-0D1F2A3B4C61}\"\n"
        "value \"\" dword 0x0000002A\n"
        "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{6F1C2B3A-8E4D-4A5B-9C7E-0D1F2A3B4C61}\\\\InProcServer32\"\n"
        "value \"\" binary hex:0a0b0c\n");
  const Outcome list = RunHost({"--registry", registry_, "list"});
  EXPECT_EQ(list.exitCode, 0) << list.output;
  EXPECT_EQ(list.output,
            "{6F1C2B3A-8E4D-4A5B-9C7E-0D1F2A3B4C61}  (REG_DWORD 0x0000002A)\n    (REG_BINARY, 3 bytes)\n");
  const Outcome open = RunHost({"--registry", registry_, "open", "{6F1C2B3A-8E4D-4A5B-9C7E-0D1F2A3B4C61}"});
  EXPECT_EQ(open.exitCode, 1) << open.output;
  EXPECT_NE(open.output.find("\n    (REG_BINARY, 3 bytes)\n"), std::string::npos) << open.output;
}

TEST_F(HostCommandLine, ASaveThroughALinkReplacesItsTargetAndKeepsTheFilesMode) {
  namespace fs = std::filesystem;
  const fs::path target = folder_ / "kept" / "registry.txt";
  fs::create_directories(target.parent_path());
  Write(target.string(), "PLATFORM-REGISTRY 1\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(target, registry_);
  const Outcome outcome = RunHost({"--registry", registry_, "register", Bin("CorvaneTags.dll")});
  EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
  EXPECT_TRUE(fs::is_symlink(registry_)) << "the link stays a link";
  EXPECT_NE(Read(target.string()).find("CorvaneTags.dll"), std::string::npos)
      << "its target holds the registration";
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(HostCommandLine, AnSvgPathThatCannotBeDrawnIntoSaysSo) {
  const std::string file = (folder_ / "a-file").string();
  Write(file, "");
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string message;
  } cases[] = {
      {{"open", "Config Page", "--svg", ""}, 2, "--svg takes a file to draw the page into\n"},
      {{"open-all", "PVTestPages.dll", "--svg", ""}, 2, "--svg takes a folder to draw the pages into\n"},
      {{"open-all", "PVTestPages.dll", "--svg", file},
       1,
       "--svg " + file + ": a file, not a folder to draw the pages into\n"},
  };
  ASSERT_EQ(RunHost({"--registry", registry_, "register", Bin("PVTestPages.dll")}).exitCode, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args = {"--registry", registry_};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome outcome = RunHost(args);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.output;
    EXPECT_EQ(outcome.output.rfind(c.message, 0), 0u) << outcome.output;
  }
}

}  // namespace
