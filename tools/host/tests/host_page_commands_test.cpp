// The host command line as a user runs it: the built program started as a process with a
// registry file of its own, its output and exit code read back.
#include <windows.h>

#include <dlgtemplate.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "../../../PVConfigComponents/tests/fixtures/ConfigPages/resource.h"
#include "HostProcess.h"

namespace {

namespace fs = std::filesystem;

fs::path BuiltBinaries() {
  return PROJECT_BIN_DIR;
}

using hosttest::Outcome;

// A folder of its own for each test: the registry file and what the commands write.
class HostPageCommands : public ::testing::Test {
 protected:
  HostPageCommands() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = fs::temp_directory_path() / "host_page_commands" /
               (std::string(test->test_suite_name()) + "." + test->name() + "." + std::to_string(::getpid()));
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  ~HostPageCommands() override {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  // The command line run with the test's registry file.
  Outcome Host(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), {"--registry", (m_folder / "registry.txt").string()});
    return hosttest::RunHost(arguments);
  }

  void Register(const char* dll) const {
    const Outcome run = Host({"register", (BuiltBinaries() / dll).string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
  }

  fs::path m_folder;
};

// The written members in a report ("  write     MEMBER VT VALUE").
std::vector<std::string> WrittenMembers(const std::string& output) {
  std::vector<std::string> members;
  const std::regex write(R"(\n  write +(\S+) )");
  for (auto it = std::sregex_iterator(output.begin(), output.end(), write); it != std::sregex_iterator();
       ++it)
    members.push_back((*it)[1]);
  return members;
}

constexpr const char* kConfigPageTitle = "Config Page";
constexpr const char* kConfigPageClsid = "{6F1C2B3A-8E4D-4A5B-9C7E-0D1F2A3B4C60}";

TEST_F(HostPageCommands, OpenActsAsTheUserAndReportsWhatReachedTheTag) {
  Register("PVConfigPages.dll");
  const Outcome run = Host({"open", kConfigPageTitle, "--set", "9011=K", "--set", "9012=25.5", "--save"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("9011  ComboBox  enabled   selection #0"), std::string::npos) << run.output;
  EXPECT_EQ(WrittenMembers(run.output),
            (std::vector<std::string>{"System_units_Temperature_unit", "Corr_volflow_Ref_temperature"}))
      << run.output;
  EXPECT_NE(run.output.find("System_units_Temperature_unit VT_I4 4610"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\n  Save: 0x00000000\n  OnDeactivate: 0x00000000\n"), std::string::npos)
      << "both results printed\n"
      << run.output;
  EXPECT_EQ(run.output.find("left:"), std::string::npos) << run.output;
}

TEST_F(HostPageCommands, OpenChoosesByPositionAndReportsARefusedSaveWithItsPrompt) {
  Register("PVConfigPages.dll");
  // A position chosen by number, a lower-case CLSID, and an integer edit emptied by letters
  // its mask refuses: the save stops with the prompt the host showed.
  const Outcome run = Host(
      {"open", "{6f1c2b3a-8e4d-4a5b-9c7e-0d1f2a3b4c60}", "--set", "9011=#3", "--set", "9013=abc", "--save"});
  EXPECT_NE(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Save failed: 0x800402"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("  error     \"System_Alarm_delay:"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("System_units_Temperature_unit VT_I4 4611"), std::string::npos) << run.output;
}

TEST_F(HostPageCommands, MistakesAreNamedAndFail) {
  Register("PVConfigPages.dll");
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
    int exitCode;
  } cases[] = {
      {{"open", "{00000000-0000-0000-0000-0000000000AA}"}, "no class is registered under", 1},
      {{"open", "PVPageNobody Page"}, "no registered page is titled", 1},
      {{"open", kConfigPageTitle, "--dll", "CorvaneView.dll"}, "is not served by CorvaneView.dll", 1},
      {{"open", kConfigPageTitle, "--set", "9011"}, "--set takes ID=VALUE", 2},
      {{"open", kConfigPageTitle, "--set", "x=1"}, "--set takes ID=VALUE", 2},
      {{"open", kConfigPageTitle, "--mode"}, "unknown or incomplete option --mode", 2},
      {{"open", kConfigPageTitle, "--language", "english"}, "--language takes a language id", 2},
      {{"open"}, "open needs a page", 2},
      {{"open", kConfigPageTitle, "--set", "9999=1"}, "the page has no item 9999", 1},
      {{"open", kConfigPageTitle, "--set", "9011=Nowhere"}, "the list has no entry \"Nowhere\"", 1},
      {{"open", kConfigPageTitle, "--set", "9011=#4"}, "the list has no entry \"#4\"", 1},
      {{"open", kConfigPageTitle, "--definition", "/nonexistent/definition.xml"},
       "/nonexistent/definition.xml",
       1},
      {{"open-all", "Nobody.dll"}, "Nobody.dll serves no registered page", 1},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& argument : c.arguments) joined += argument + " ";
    SCOPED_TRACE(joined);
    const Outcome run = Host(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  }
}

TEST_F(HostPageCommands, APageOfAnUnregisteredDllIsNotFound) {
  Register("PVConfigPages.dll");
  ASSERT_EQ(Host({"unregister", (BuiltBinaries() / "PVConfigPages.dll").string()}).exitCode, 0);
  const Outcome run = Host({"open", kConfigPageClsid});
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("no class is registered under"), std::string::npos) << run.output;
}

// ---- The drawing

struct DrawnItem {
  int id;
  std::string windowClass;
  int x, y, width, height;
};

std::optional<std::string> Attribute(xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!value) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

xmlNode* FirstElement(xmlNode* node, const char* name) {
  for (xmlNode* child = node ? node->children : nullptr; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE &&
        xmlStrcmp(child->name, reinterpret_cast<const xmlChar*>(name)) == 0)
      return child;
  return nullptr;
}

// The drawing read back with the XML parser: one group per dialog item with the rectangle
// it is drawn in. Nothing when the file is no well-formed SVG.
std::optional<std::vector<DrawnItem>> ReadDrawing(const fs::path& file) {
  xmlDoc* document = xmlReadFile(file.string().c_str(), nullptr, XML_PARSE_NONET);
  if (!document) return std::nullopt;
  std::vector<DrawnItem> items;
  xmlNode* svg = xmlDocGetRootElement(document);
  bool wellFormed = svg && xmlStrcmp(svg->name, reinterpret_cast<const xmlChar*>("svg")) == 0;
  for (xmlNode* node = wellFormed ? svg->children : nullptr; node; node = node->next) {
    if (node->type != XML_ELEMENT_NODE || Attribute(node, "class") != "item") continue;
    xmlNode* rect = FirstElement(node, "rect");
    if (!rect) {
      wellFormed = false;
      break;
    }
    items.push_back({std::stoi(*Attribute(node, "data-id")), *Attribute(node, "data-class"),
                     std::stoi(*Attribute(rect, "x")), std::stoi(*Attribute(rect, "y")),
                     std::stoi(*Attribute(rect, "width")), std::stoi(*Attribute(rect, "height"))});
  }
  xmlFreeDoc(document);
  if (!wellFormed) return std::nullopt;
  return items;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// Each item of the template in pixels (left, top, width, height): its position and its size
// in dialog units converted each on its own, as the dialog manager creates the item, by a
// dialog made from the template itself (its font decides the conversion).
std::vector<RECT> TemplateItemRects(const fs::path& languageDll, int templateId) {
  std::vector<RECT> rects;
  HMODULE module = LoadLibraryExW(platform::PlatformPathFromHost(languageDll.string()).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return rects;
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const auto parsed =
      bytes ? platform::dialogs::ParseDialogTemplate(bytes, SizeofResource(module, resource)) : std::nullopt;
  // A page's template is a child dialog: it needs a parent window.
  HWND parent =
      CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
  HWND dialog = bytes ? CreateDialogIndirectParamW(module, static_cast<LPCDLGTEMPLATEW>(bytes), parent,
                                                   PlainDialogProc, 0)
                      : nullptr;
  if (parsed && dialog) {
    for (const auto& item : parsed->items) {
      RECT rect{item.x, item.y, item.cx, item.cy};
      MapDialogRect(dialog, &rect);
      rects.push_back(rect);
    }
  }
  if (dialog) DestroyWindow(dialog);
  DestroyWindow(parent);
  FreeLibrary(module);
  return rects;
}

// The drawing holds every item of the template at the template's position (a combo box is
// drawn closed, so its height is not compared).
void ExpectDrawnAsTemplate(const fs::path& svg, const fs::path& languageDll, int templateId) {
  SCOPED_TRACE(svg.string());
  const auto drawn = ReadDrawing(svg);
  ASSERT_TRUE(drawn.has_value()) << "not a well-formed drawing";
  const std::vector<RECT> expected = TemplateItemRects(languageDll, templateId);
  ASSERT_FALSE(expected.empty()) << "template " << templateId << " not found";
  ASSERT_EQ(drawn->size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const DrawnItem& item = (*drawn)[i];
    SCOPED_TRACE("item " + std::to_string(item.id));
    EXPECT_EQ(item.x, expected[i].left);
    EXPECT_EQ(item.y, expected[i].top);
    EXPECT_EQ(item.width, expected[i].right);
    if (item.windowClass != "ComboBox") {
      EXPECT_EQ(item.height, expected[i].bottom);
    }
  }
}

// ---- The Coriolis meter's pages

constexpr const char* kCommTitle = "PVPageCorvaneCOMM Page";

// The titles of open-all's summary lines of pages that opened without a log record of
// failure, in their order.
std::vector<std::string> CleanPages(const std::string& output) {
  const std::regex summary(R"(\n(PVPageCorvane\w+ Page) +\d+ controls  0 failures)");
  std::vector<std::string> titles;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), summary); it != std::sregex_iterator();
       ++it)
    titles.push_back((*it)[1]);
  return titles;
}

TEST_F(HostPageCommands, TwoPositionsSetOnTheInputAssemblyPageAreTheOnlyWrites) {
  Register("CorvaneView.dll");
  const Outcome run = Host({"open", kCommTitle, "--set", "9025=#2", "--set", "9057=#1", "--save"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(WrittenMembers(run.output),
            (std::vector<std::string>{"Input_assembly_Position_1", "Input_assembly_Position_20"}))
      << run.output;
}

TEST_F(HostPageCommands, OpenAllOpensEveryCoriolisPageCleanly) {
  Register("CorvaneView.dll");
  const Outcome run = Host({"open-all", "CorvaneView.dll"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("NOT CLEAN"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("left:"), std::string::npos) << run.output;
  // One summary line per page, in the catalogue's order.
  const std::vector<std::string> catalogue = {
      "PVPageCorvaneCALC Page",      "PVPageCorvaneCOMM Page",     "PVPageCorvaneCOMP Page",
      "PVPageCorvaneCONC Page",      "PVPageCorvaneLOWFLOW Page",  "PVPageCorvaneMEDIUM Page",
      "PVPageCorvanePARTIALLY Page", "PVPageCorvanePETRO Page",    "PVPageCorvanePROCESS Page",
      "PVPageCorvaneSENSOR Page",    "PVPageCorvaneSYSTEM Page",   "PVPageCorvaneSYSTEM2 Page",
      "PVPageCorvaneSYSUNIT Page",   "PVPageCorvaneSYSUNIT2 Page", "PVPageCorvaneTotalizerConfig Page",
      "PVPageCorvaneViscosity Page"};
  EXPECT_EQ(CleanPages(run.output), catalogue) << run.output;
}

TEST_F(HostPageCommands, OpenAllOpensEveryElectromagneticPageCleanly) {
  Register("FluxorView.dll");
  const Outcome run = Host({"open-all", "FluxorView.dll"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.find("NOT CLEAN"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("left:"), std::string::npos) << run.output;
  const std::vector<std::string> catalogue = {
      "PVPageCorvaneCOMM Page",           "PVPageCorvaneCOMP Page",    "PVPageCorvaneLOWFLOW Page",
      "PVPageCorvanePARTIALLY Page",      "PVPageCorvanePROCESS Page", "PVPageCorvaneSENSOR Page",
      "PVPageCorvaneSYSTEM Page",         "PVPageCorvaneSYSTEM2 Page", "PVPageCorvaneSYSUNIT2 Page",
      "PVPageCorvaneTotalizerConfig Page"};
  EXPECT_EQ(CleanPages(run.output), catalogue) << run.output;
}

TEST_F(HostPageCommands, ATitleBothMetersServeIsRefusedWithItsCandidatesUnlessOneIsPicked) {
  Register("CorvaneView.dll");
  Register("FluxorView.dll");
  Outcome run = Host({"open", kCommTitle});
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("is served by more than one DLL; pick one with --dll:"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("{D73FEEF5-A372-4053-AA90-D3C277068B3B}"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("FluxorView.dll"), std::string::npos) << run.output;
  run = Host({"open", kCommTitle, "--dll", "FluxorView.dll"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("FluxorView.dll"), std::string::npos) << run.output;
  // The system page's one CLSID names the DLL registered last: no choice to make.
  run = Host({"open", "PVPageCorvaneSYSTEM Page"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
}

// The catalogue's templates, by page title (the electromagnetic meter's ten pages have the same).
const std::map<std::string, int> kCoriolisTemplates = {
    {"PVPageCorvaneCALC Page", 9104},
    {"PVPageCorvaneCOMM Page", 9014},
    {"PVPageCorvaneCOMP Page", 9070},
    {"PVPageCorvaneCONC Page", 9109},
    {"PVPageCorvaneLOWFLOW Page", 9102},
    {"PVPageCorvaneMEDIUM Page", 9010},
    {"PVPageCorvanePARTIALLY Page", 9103},
    {"PVPageCorvanePETRO Page", 9112},
    {"PVPageCorvanePROCESS Page", 9100},
    {"PVPageCorvaneSENSOR Page", 9101},
    {"PVPageCorvaneSYSTEM Page", 9067},
    {"PVPageCorvaneSYSTEM2 Page", 9108},
    {"PVPageCorvaneSYSUNIT Page", 9072},
    {"PVPageCorvaneSYSUNIT2 Page", 9106},
    {"PVPageCorvaneTotalizerConfig Page", 9012},
    {"PVPageCorvaneViscosity Page", 9110},
};

TEST_F(HostPageCommands, EveryPageOfBothMetersIsDrawnAsItsTemplateLaysItOut) {
  const struct {
    const char* dll;
    const char* languageDll;
    int pages;
  } meters[] = {{"CorvaneView.dll", "CorvaneViewENU.dll", 16}, {"FluxorView.dll", "FluxorViewENU.dll", 10}};
  for (const auto& meter : meters) {
    SCOPED_TRACE(meter.dll);
    Register(meter.dll);
    const fs::path folder = m_folder / meter.dll;
    const Outcome run = Host({"open-all", meter.dll, "--svg", folder.string()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    int drawn = 0;
    for (const auto& [title, templateId] : kCoriolisTemplates) {
      if (!fs::exists(folder / (title + ".svg"))) continue;
      ++drawn;
      ExpectDrawnAsTemplate(folder / (title + ".svg"), BuiltBinaries() / meter.languageDll, templateId);
    }
    EXPECT_EQ(drawn, meter.pages);
  }
}

TEST_F(HostPageCommands, TheDrawingHoldsEveryItemWhereTheTemplatePutsIt) {
  Register("PVConfigPages.dll");
  const fs::path svg = m_folder / "page.svg";
  const Outcome run = Host({"open", kConfigPageTitle, "--svg", svg.string()});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  ExpectDrawnAsTemplate(svg, BuiltBinaries() / "PVConfigPagesENU.dll", IDD_CONFIG_PAGE);
}

// ---- What the report shows

TEST_F(HostPageCommands, TheItemsArePrintedAgainAfterTheActionsWithWhatChangedMarked) {
  Register("CorvaneView.dll");
  const Outcome run = Host({"open", "PVPageCorvaneCALC Page", "--set", "9061=#1"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const size_t after = run.output.find("\n  after the actions (* changed):\n");
  ASSERT_NE(after, std::string::npos) << run.output;
  EXPECT_LT(run.output.find("\n   9179  Edit      disabled"), after) << "before the choice\n" << run.output;
  EXPECT_NE(run.output.find("\n * 9179  Edit      enabled", after), std::string::npos)
      << "the dependency shows after it\n"
      << run.output;
  EXPECT_NE(run.output.find("\n * 9061  ComboBox  enabled   selection #1", after), std::string::npos)
      << run.output;
}

TEST_F(HostPageCommands, ThePagesTimersRunAfterActivationAndDeviceReadsArePrinted) {
  Register("CorvaneView.dll");
  // The second system page online refreshes its access status from its timer, unclicked.
  Outcome run = Host({"open", "PVPageCorvaneSYSTEM2 Page", "--mode", "1"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\n   9411  Static    enabled   \"Production\""), std::string::npos)
      << run.output;
  EXPECT_NE(
      run.output.find("\n  read      AccessStatusLevel path 104 asked VT_I2: VT_I2 -32729 0x00000000\n"),
      std::string::npos)
      << run.output;
  // The totalizer switches read their state on the meter's own object class.
  const struct {
    const char* dll;
    const char* objectClass;
  } meters[] = {{"CorvaneView.dll", "115"}, {"FluxorView.dll", "112"}};
  Register("FluxorView.dll");
  for (const auto& meter : meters) {
    SCOPED_TRACE(meter.dll);
    run = Host({"open", "PVPageCorvaneTotalizerConfig Page", "--dll", meter.dll, "--mode", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(std::string("\n  read      TotalizerControl class ") + meter.objectClass +
                              " instance 2 attribute 9 (VT_I1) asked VT_EMPTY: VT_BSTR \""),
              std::string::npos)
        << run.output;
  }
}

TEST_F(HostPageCommands, AnEnumerationWriteNamesItsEntrysPositionAndText) {
  Register("CorvaneView.dll");
  const Outcome run = Host({"open", kCommTitle, "--set", "9025=#2", "--save"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\n  write     Input_assembly_Position_1 VT_I4 900 (#2 \"Volume flow\")\n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("\n * 9025  ComboBox  enabled   selection #2 \"Volume flow\""), std::string::npos)
      << "the item list's selection is the same entry\n"
      << run.output;
}

TEST_F(HostPageCommands, OpenAllCountsTheControlsAndNamesThePageAnotherDllServes) {
  Register("CorvaneView.dll");
  Register("FluxorView.dll");  // last: the system page's key names it
  const Outcome run = Host({"open-all", "CorvaneView.dll"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const std::string summary = run.output.substr(run.output.find("\n\n"));
  const std::regex line(
      R"(\n(PVPageCorvane\w+ Page) +(\d+ controls  0 failures .* clean|served by FluxorView\.dll: the key names it))");
  EXPECT_EQ(std::distance(std::sregex_iterator(summary.begin(), summary.end(), line), std::sregex_iterator()),
            16)
      << summary;
  EXPECT_NE(
      summary.find("\nPVPageCorvaneSYSTEM Page             served by FluxorView.dll: the key names it\n"),
      std::string::npos)
      << summary;
  // The second system page's list holds 24 controls; its plain static 9042 is no control.
  EXPECT_NE(summary.find("\nPVPageCorvaneSYSTEM2 Page             24 controls"), std::string::npos)
      << summary;
  // The module definition is read once for all the pages.
  const std::regex read(R"(module definition .*Corvane300\.xml read\n)");
  EXPECT_EQ(
      std::distance(std::sregex_iterator(run.output.begin(), run.output.end(), read), std::sregex_iterator()),
      1)
      << run.output;

  const Outcome fluxor = Host({"open-all", "FluxorView.dll"});
  EXPECT_EQ(fluxor.exitCode, 0) << fluxor.output;
  EXPECT_NE(fluxor.output.find("\nPVPageCorvaneSYSTEM2 Page             13 controls"), std::string::npos)
      << fluxor.output;
}

TEST_F(HostPageCommands, AHostEventIsSentInItsPlaceAmongTheActions) {
  Register("CorvaneView.dll");
  Outcome run = Host({"open", "PVPageCorvaneTotalizerConfig Page", "--set", "9327=#0", "--event",
                      "DataChanged", "--set", "9328=#1"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  const size_t first = run.output.find("\n  set 9327 = \"#0\"\n");
  const size_t event = run.output.find("\n  event DataChanged: 0x00000000\n");
  const size_t second = run.output.find("\n  set 9328 = \"#1\"\n");
  ASSERT_NE(event, std::string::npos) << run.output;
  EXPECT_LT(first, event) << run.output;
  EXPECT_LT(event, second) << run.output;

  // The controller goes online while the second system page is open: its access status
  // follows from the service its timer runs.
  run = Host({"open", "PVPageCorvaneSYSTEM2 Page", "--event", "VexilStateChanged=1"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\n   9411  Static    enabled   \"\"\n"), std::string::npos) << "offline first\n"
                                                                                         << run.output;
  EXPECT_NE(run.output.find("\n  event VexilStateChanged(1): 0x00000000\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\n * 9411  Static    enabled   \"Production\"\n"), std::string::npos)
      << run.output;

  run = Host({"open", "PVPageCorvaneSYSTEM2 Page", "--event", "Changed"});
  EXPECT_EQ(run.exitCode, 2) << run.output;
  EXPECT_NE(run.output.find("--event takes one of VexilStateChanged[=MODE], "), std::string::npos)
      << run.output;
}

TEST_F(HostPageCommands, AGroupBoxIsDrawnAsAnUnfilledFrameWithItsCaptionAtTheTopLeft) {
  Register("CorvaneView.dll");
  const fs::path svg = m_folder / "conc.svg";
  const Outcome run = Host({"open", "PVPageCorvaneCONC Page", "--svg", svg.string()});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("\n     -1  Button (group box) enabled   \"Concentration profile 1\"\n"),
            std::string::npos)
      << run.output;
  std::ifstream in(svg);
  const std::string drawing((std::istreambuf_iterator<char>(in)), {});
  const std::regex group(
      R"re(<g class="item" data-id="-1" data-class="Button" data-state="enabled">\n)re"
      R"re(    <rect x="(\d+)" y="(\d+)" width="\d+" height="\d+" fill="none" stroke="none"/>\n)re"
      R"re(    <rect class="frame" x="(\d+)" y="\d+" width="\d+" height="\d+" fill="none" stroke="#a0a0a0"/>\n)re"
      R"re(    <rect [^\n]*/>\n)re"
      R"re(    <text x="(\d+)" y="\d+" fill="#000000" textLength="\d+" lengthAdjust="spacingAndGlyphs">Concentration profile 1</text>)re");
  std::smatch match;
  ASSERT_TRUE(std::regex_search(drawing, match, group)) << drawing;
  EXPECT_EQ(match[1], match[3]) << "the frame starts at the item's left";
  EXPECT_GT(std::stoi(match[4]), std::stoi(match[1])) << "the caption at the top left, not centred";
  EXPECT_EQ(drawing.find("text-anchor=\"middle\">Concentration profile 1"), std::string::npos);
}

TEST_F(HostPageCommands, AMessageBoxWhoseHelpFileIsMissingIsNoFailureOfThePage) {
  Register("CorvaneView.dll");
  // The viscosity page online refuses a reference temperature below absolute zero with a box
  // that offers help; no help file is installed.
  const Outcome run = Host(
      {"open", "PVPageCorvaneViscosity Page", "--mode", "1", "--set", "9398=-300", "--set", "9242=click"});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(
      run.output.find("\n  box       \"The reference temperature must lie between -273.14 and 99999.00.\" "
                      "caption \"Tavelin 5000\" help 206640\n"
                      "  help      topic 206640 of Z:\\"),
      std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("CorvaneView.chm not shown: no help file is installed\n"), std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("left:"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("\n  device    SetAttributeSingleRegulator"), std::string::npos)
      << "nothing written to the device\n"
      << run.output;
}

}  // namespace
