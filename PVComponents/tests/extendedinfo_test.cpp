// The panel's extended information: titles by the application's language, the expanded state
// and custom help through a page the host created; the page-id map and the sub-item document
// (which the host reaches only with dynamic sub-items on, and no page turns them on) through a
// panel of the test's own.
#include <ModuleSpecificFileFind.h>
#include <platform/paths.h>
#include <platform/testing_htmlhelp.h>
#include <platform/testing_shell.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "OrvoWinApp.h"
#include "PVPanel.h"
#include "PanelHost.h"

namespace {

using pvtest::HostedPage;
using pvtest::LoggedSinceClear;
using Logged = std::vector<std::wstring>;

constexpr wchar_t kClsidA[] = L"{11111111-2222-3333-4444-555555555555}";
constexpr wchar_t kClsidB[] = L"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
constexpr wchar_t kClsidC[] = L"{01234567-89AB-CDEF-0123-456789ABCDEF}";

// An extended-information document around the given pv elements; the document binds the
// namespace to a prefix of its own, which the reader does not rely on.
std::wstring ExtendedInfo(const std::wstring& body) {
  return L"<ExtendedInfo xmlns:x=\"xsdPV\">" + body + L"</ExtendedInfo>";
}

std::wstring Titles(const wchar_t* element, std::initializer_list<std::pair<LCID, const wchar_t*>> texts) {
  std::wstring xml = std::wstring(L"<x:") + element + L">";
  for (const auto& [lcid, text] : texts)
    xml += L"<x:Text LCID=\"" + std::to_wstring(lcid) + L"\">" + text + L"</x:Text>";
  return xml + L"</x:" + element + L">";
}

std::wstring MapItem(const wchar_t* pageId, const wchar_t* clsid) {
  return std::wstring(L"<x:PVPageIdToClsidMapItem PageId=\"") + pageId + L"\" Clsid=\"" + clsid + L"\"/>";
}

// ---------------------------------------------------------------------------------------------
// Through a page the host created.

class ExtendedInfoThroughHost : public pvtest::PanelHost {
 protected:
  void SetUp() override {
    PanelHost::SetUp();
    if (HasFatalFailure()) return;
    m_page = Open(kPanelPageClsid);
    m_info = m_page.child;
    ASSERT_TRUE(m_info);
    orvolog::ClearRecords();
  }
  void TearDown() override {
    m_info = nullptr;
    if (m_page.panel) m_page.panel->Destroy();
    m_page = HostedPage();
    platform::shell::ResetFolderPaths();
    std::error_code ignored;
    if (!m_programFiles.empty()) std::filesystem::remove_all(m_programFiles, ignored);
    PanelHost::TearDown();
  }

  std::wstring Title() {
    _bstr_t title;
    EXPECT_HR(S_OK, m_page.panel->GetTitle(title.GetAddress()));
    return std::wstring(title);
  }
  std::wstring BannerTitle() {
    _bstr_t title;
    EXPECT_HR(S_OK, m_page.panel->GetBannerTitle(title.GetAddress()));
    return std::wstring(title);
  }
  VARIANT_BOOL Expanded() {
    VARIANT_BOOL expanded = VARIANT_FALSE;
    EXPECT_HR(S_OK, m_page.panel->GetPanelDefaultExpandedState(&expanded));
    return expanded;
  }
  HRESULT Set(const std::wstring& xml) { return m_info->SetExtendedInfo(_bstr_t(xml.c_str())); }

  // A program-files folder of the test's own holding the given help files (relative paths).
  void InstallHelpFiles(std::initializer_list<const char*> files) {
    m_programFiles = std::filesystem::temp_directory_path() / "pvtest" /
                     ("extendedinfo-programs." + std::to_string(::getpid()));
    std::filesystem::remove_all(m_programFiles);
    std::filesystem::create_directories(m_programFiles / "Vendor");
    for (const char* file : files) std::ofstream(m_programFiles / file) << "help";
    platform::shell::SetFolderPath(CSIDL_PROGRAM_FILES, ProgramFilesPath(""));
    // The host finds a help file where the panel says it is.
    for (const char* file : files) {
      const std::wstring path = ProgramFilesPath(file);
      hostsim::MutableFileFindSettings().paths[path] = path;
    }
  }
  // The platform's form of a path in that folder ("" for the folder itself).
  std::wstring ProgramFilesPath(const char* relative) const {
    return platform::PlatformPathFromHost((*relative ? m_programFiles / relative : m_programFiles).string());
  }

  // ShowHelp's one HTML Help call: its file and help context.
  std::pair<std::wstring, DWORD_PTR> ShowHelp() {
    IPVProvideHelpPtr help(m_page.child);
    EXPECT_TRUE(help);
    if (!help) return {};
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::mfc::ClearMessageBoxCalls();
    EXPECT_HR(S_OK, help->ShowHelp());
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    EXPECT_EQ(calls.size(), 1u);
    if (calls.size() != 1) return {};
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HH_HELP_CONTEXT));
    return {calls[0].file, calls[0].data};
  }

  HostedPage m_page;
  IPVExtendedInfoXml2Ptr m_info;
  std::filesystem::path m_programFiles;
};

TEST_F(ExtendedInfoThroughHost, TitlesAreTakenInTheApplicationsLanguageAndOthersLeaveTheWindowText) {
  struct Case {
    const char* name;
    LCID language;
    std::wstring body;
    const wchar_t* title;
    const wchar_t* banner;
  };
  const Case cases[] = {
      {"both titles in English", 1033,
       Titles(L"PVPanelTitle", {{1031, L"Messwerte"}, {1033, L"Readings"}}) +
           Titles(L"PVBannerTitle", {{1033, L"Meter Readings"}}),
       L"Readings", L"Meter Readings"},
      {"titles only for German", 1033,
       Titles(L"PVPanelTitle", {{1031, L"Messwerte"}}) + Titles(L"PVBannerTitle", {{1031, L"Anzeige"}}),
       L"Flow Settings", L"Flow Settings"},
      {"the first of two matches", 1033, Titles(L"PVPanelTitle", {{1033, L"First"}, {1033, L"Second"}}),
       L"First", L"First"},
      {"German after a language switch", 1031,
       Titles(L"PVPanelTitle", {{1031, L"Messwerte"}, {1033, L"Readings"}}) +
           Titles(L"PVBannerTitle", {{1031, L"Anzeige"}}),
       L"Messwerte", L"Anzeige"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostedPage page = Open(kPanelPageClsid, true, false);
    ASSERT_HR(S_OK, page.child->SetLocale(c.language));
    ASSERT_HR(S_OK, page.panel->Create(m_window.get()));
    IPVExtendedInfoXml2Ptr info(page.child);
    EXPECT_HR(S_OK, info->SetExtendedInfo(_bstr_t(ExtendedInfo(c.body).c_str())));
    _bstr_t title, banner;
    EXPECT_HR(S_OK, page.panel->GetTitle(title.GetAddress()));
    EXPECT_HR(S_OK, page.panel->GetBannerTitle(banner.GetAddress()));
    EXPECT_EQ(std::wstring(title), c.title);
    EXPECT_EQ(std::wstring(banner), c.banner);
    EXPECT_HR(S_OK, page.panel->Destroy());
    EXPECT_HR(S_OK, page.child->SetLocale(1033));
  }
  EXPECT_EQ(LoggedSinceClear(), Logged{});
}

TEST_F(ExtendedInfoThroughHost, OnlyTrueAndLowerCaseTrueExpandAndAStateWithoutTheAttributeKeepsTheLast) {
  struct Step {
    const wchar_t* body;
    VARIANT_BOOL expanded;
  };
  const Step steps[] = {
      {L"", VARIANT_TRUE},  // no state element: expanded, as before
      {L"<x:PVPanelState Expand=\"TRUE\"/>", VARIANT_FALSE},
      {L"<x:PVPanelState Expand=\"true\"/>", VARIANT_TRUE},
      {L"<x:PVPanelState Expand=\"False\"/>", VARIANT_FALSE},
      {L"<x:PVPanelState/>", VARIANT_FALSE},
      {L"<x:PVPanelState Expand=\"True\"/>", VARIANT_TRUE},
      {L"<x:PVPanelState Expand=\"\"/>", VARIANT_FALSE},
      {L"<x:PVPanelState Expand=\"1\"/>", VARIANT_FALSE},
      {L"<PVPanelState Expand=\"True\"/>", VARIANT_FALSE},  // not in the namespace: not read
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(pvtest::Narrow(step.body));
    EXPECT_HR(S_OK, Set(ExtendedInfo(step.body)));
    EXPECT_EQ(Expanded(), step.expanded);
  }
}

TEST_F(ExtendedInfoThroughHost, AHelpElementWithoutAttributesUsesTheDialogsHelpIdAndTheApplicationsFile) {
  EXPECT_HR(S_OK, Set(ExtendedInfo(L"<x:Help/>")));
  const auto [file, context] = ShowHelp();
  EXPECT_EQ(file, m_folder.PathOf("PVPanelPages.chm"));
  EXPECT_EQ(context, 9100u) << "the template's own help id";
  EXPECT_EQ(hostsim::MutableFileFindSettings().requests, std::vector<std::wstring>{});
}

TEST_F(ExtendedInfoThroughHost, TheHelpFileIsTheLanguagesOrElseEnglishOrElseTheApplications) {
  InstallHelpFiles({"Vendor/CorvaneENU.chm", "Vendor/CorvaneDEU.chm", "Vendor/OnlyENU.chm"});
  struct Case {
    const char* name;
    LCID language;
    const wchar_t* helpFile;
    std::wstring expected;  // empty: the application's help file
  };
  const Case cases[] = {
      {"English", 1033, L"Vendor\\Corvane", ProgramFilesPath("Vendor/CorvaneENU.chm")},
      {"German", 1031, L"\\\\Vendor\\Corvane", ProgramFilesPath("Vendor/CorvaneDEU.chm")},
      {"German missing, English kept", 1031, L"Vendor\\Only", ProgramFilesPath("Vendor/OnlyENU.chm")},
      {"neither installed", 1033, L"Vendor\\Missing", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_HR(S_OK, m_page.child->SetLocale(c.language));
    hostsim::MutableFileFindSettings().requests.clear();
    EXPECT_HR(S_OK,
              Set(ExtendedInfo(std::wstring(L"<x:Help HelpID=\"4711\" HelpFile=\"") + c.helpFile + L"\"/>")));
    const auto [file, context] = ShowHelp();
    EXPECT_EQ(context, 4711u);
    if (c.expected.empty()) {
      EXPECT_EQ(file, m_folder.PathOf("PVPanelPages.chm"));
      EXPECT_EQ(hostsim::MutableFileFindSettings().requests, std::vector<std::wstring>{});
    } else {
      EXPECT_EQ(file, c.expected);
      EXPECT_EQ(hostsim::MutableFileFindSettings().requests, std::vector<std::wstring>{c.expected});
    }
  }
}

TEST_F(ExtendedInfoThroughHost, HelpAttributesThatAreMissingOrUnreadableKeepTheEarlierOnes) {
  InstallHelpFiles({"Vendor/CorvaneENU.chm"});
  const std::wstring installed = ProgramFilesPath("Vendor/CorvaneENU.chm");
  struct Step {
    const wchar_t* help;
    std::wstring file;
    DWORD_PTR context;
    Logged logged;
  };
  const Step steps[] = {
      {L"<x:Help HelpID=\"12\" HelpFile=\"Vendor\\Corvane\"/>", installed, 12, {}},
      {L"<x:Help HelpID=\"34\"/>", installed, 34, {}},
      {L"<x:Help HelpID=\"many\"/>",
       installed,
       34,
       {L"DOMUtility::GetLongAttribute: Failed to parse attribute value."}},
      {L"<x:Help HelpID=\"-5\"/>", installed, static_cast<DWORD_PTR>(static_cast<DWORD>(-5)), {}},
      {L"<x:Help/>", installed, static_cast<DWORD_PTR>(static_cast<DWORD>(-5)), {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(pvtest::Narrow(step.help));
    orvolog::ClearRecords();
    EXPECT_HR(S_OK, Set(ExtendedInfo(step.help)));
    EXPECT_EQ(LoggedSinceClear(), step.logged);
    const auto [file, context] = ShowHelp();
    EXPECT_EQ(file, step.file);
    EXPECT_EQ(context, step.context);
  }
}

TEST_F(ExtendedInfoThroughHost, IllFormedOrEmptyTextChangesNothingAndIsOnlyLogged) {
  ASSERT_HR(S_OK, Set(ExtendedInfo(Titles(L"PVPanelTitle", {{1033, L"Readings"}}) +
                                   L"<x:PVPanelState Expand=\"false\"/>")));
  for (const wchar_t* bad : {L"<ExtendedInfo><x:PVPanelTitle></ExtendedInfo>", L"", L"not xml",
                             L"<ExtendedInfo><y:Help/></ExtendedInfo>"}) {
    SCOPED_TRACE(pvtest::Narrow(bad));
    orvolog::ClearRecords();
    EXPECT_HR(S_OK, m_info->SetExtendedInfo(_bstr_t(bad)));
    EXPECT_EQ(LoggedSinceClear(),
              Logged{L"CPVPanel::SetExtendedInfo: Failed to create XML DOM for PV extended info xml"});
    EXPECT_EQ(Title(), L"Readings");
    EXPECT_EQ(Expanded(), VARIANT_FALSE);
  }
  orvolog::ClearRecords();
  EXPECT_HR(S_OK, m_info->SetExtendedInfo(nullptr));
  EXPECT_EQ(LoggedSinceClear().size(), 1u);
}

TEST_F(ExtendedInfoThroughHost, TheSecondFormIgnoresItsExtraValue) {
  const std::wstring xml = ExtendedInfo(Titles(L"PVBannerTitle", {{1033, L"Banner"}}));
  EXPECT_HR(S_OK, m_info->SetExtendedInfoEx(_bstr_t(xml.c_str()), 12345));
  EXPECT_EQ(BannerTitle(), L"Banner");
  EXPECT_EQ(Title(), L"Flow Settings");
}

TEST_F(ExtendedInfoThroughHost, AFailingMapItemIsReportedAndWhatCameBeforeStays) {
  const std::wstring xml =
      ExtendedInfo(Titles(L"PVPanelTitle", {{1033, L"Readings"}}) + L"<x:PVPanelState Expand=\"false\"/>" +
                   L"<x:PVPageIdToClsidMap>" + MapItem(L"abc", kClsidA) + L"</x:PVPageIdToClsidMap>");
  EXPECT_HR(DISP_E_TYPEMISMATCH, Set(xml));
  EXPECT_EQ(Title(), L"Readings");
  EXPECT_EQ(Expanded(), VARIANT_FALSE);
  EXPECT_EQ(LoggedSinceClear(),
            Logged{L"CPVPanel::SetExtendedInfo: Failed to convert pageId string to integer"});
}

// ---------------------------------------------------------------------------------------------
// The page-id map and the sub-item document, on a panel of the test's own.

// The application of this test executable, whose language the reader asks for.
class TestApp : public COrvoWinApp {};

class MapPanel : public CPVPanel {
 public:
  MapPanel() : CPVPanel(9100) {}
  ~MapPanel() override = default;
  const CPVPageIdMap& Map() const { return m_pageIdToClsid; }
  void SetMap(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> entries) {
    m_pageIdToClsid.clear();
    for (const auto& [id, clsid] : entries) m_pageIdToClsid[id] = clsid;
  }
};

using MapEntries = std::vector<std::pair<std::wstring, std::wstring>>;

MapEntries Entries(const CPVPageIdMap& map) {
  return MapEntries(map.begin(), map.end());
}

class PageIdMap : public ::testing::Test {
 protected:
  void SetUp() override { orvolog::ClearRecords(); }

  HRESULT Read(const std::wstring& items) {
    const std::wstring xml = ExtendedInfo(L"<x:PVPageIdToClsidMap>" + items + L"</x:PVPageIdToClsidMap>");
    return panel.SetExtendedInfo(_bstr_t(xml.c_str()));
  }

  pvtest::HostSession session;
  TestApp app;
  MapPanel panel;
};

TEST_F(PageIdMap, ItemsAreKeptAsWrittenAndALaterItemOfTheSameIdWins) {
  EXPECT_HR(S_OK, Read(MapItem(L"3", kClsidA) + MapItem(L"*", kClsidC) + MapItem(L"05", kClsidA) +
                       MapItem(L"5", kClsidB) + MapItem(L"3", kClsidB)));
  EXPECT_EQ(Entries(panel.Map()),
            (MapEntries{{L"*", kClsidC}, {L"05", kClsidA}, {L"3", kClsidB}, {L"5", kClsidB}}));
  // A second reading adds to the map.
  EXPECT_HR(S_OK, Read(MapItem(L"-7", L"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}")));
  EXPECT_EQ(panel.Map().at(L"-7"), L"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}") << "the text as written";
  EXPECT_EQ(panel.Map().size(), 5u);
  EXPECT_EQ(LoggedSinceClear(), Logged{});
}

TEST_F(PageIdMap, ABadItemStopsTheReadingWithItsFailureAndKeepsTheItemsBeforeIt) {
  struct Case {
    const char* name;
    std::wstring item;
    HRESULT result;
    std::wstring logged;
  };
  const std::wstring prefix = L"CPVPanel::SetExtendedInfo: ";
  const Case cases[] = {
      {"page id not a number", MapItem(L"abc", kClsidB), DISP_E_TYPEMISMATCH,
       prefix + L"Failed to convert pageId string to integer"},
      {"empty page id", MapItem(L"", kClsidB), DISP_E_TYPEMISMATCH,
       prefix + L"Failed to convert pageId string to integer"},
      {"clsid not a clsid", MapItem(L"2", L"not-a-clsid"), CO_E_CLASSSTRING,
       prefix + L"Failed to get clsid from string"},
      {"clsid without braces", MapItem(L"2", L"11111111-2222-3333-4444-555555555555"), CO_E_CLASSSTRING,
       prefix + L"Failed to get clsid from string"},
      {"no clsid", L"<x:PVPageIdToClsidMapItem PageId=\"2\"/>", E_FAIL,
       prefix + L"Failed to get page CLSID\n."},
      {"no page id", std::wstring(L"<x:PVPageIdToClsidMapItem Clsid=\"") + kClsidB + L"\"/>", E_FAIL,
       prefix + L"Failed to get page Id\n."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel.SetMap({});
    orvolog::ClearRecords();
    EXPECT_HR(c.result, Read(MapItem(L"1", kClsidA) + c.item + MapItem(L"9", kClsidC)));
    EXPECT_EQ(Entries(panel.Map()), (MapEntries{{L"1", kClsidA}}));
    EXPECT_EQ(LoggedSinceClear(), Logged{c.logged});
  }
}

TEST_F(PageIdMap, WithoutTheFrameworksApplicationNothingIsRead) {
  // A plain application object in place of the framework's.
  AFX_MODULE_STATE* state = AfxGetStaticModuleState();
  CWinApp* framework = state->m_pCurrentWinApp;
  HRESULT hr = S_OK;
  {
    CWinApp plain(nullptr, state);
    hr = Read(MapItem(L"1", kClsidA));
  }
  state->m_pCurrentWinApp = framework;
  EXPECT_HR(E_UNEXPECTED, hr);
  EXPECT_TRUE(panel.Map().empty());
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanel::SetExtendedInfo: Bad application pointer."});
}

// The document the panel hands back around the module's fragment.
std::wstring SubItemsDocument(const std::wstring& content) {
  return L"<ProfileViewDirectory xmlns=\"xsdPV\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         L"xsi:schemaLocation=\"xsdPV PV.xsd\">" +
         content + L"</ProfileViewDirectory>\r\n";
}

class SubItemsDocumentTest : public PageIdMap {
 protected:
  // AddPageClsidAndXMLHeader on a copy of the fragment: its result and the text afterwards.
  std::pair<HRESULT, std::wstring> Add(const std::wstring& fragment) {
    BSTR xml = SysAllocString(fragment.c_str());
    const HRESULT hr = panel.AddPageClsidAndXMLHeader(&xml);
    std::wstring text(xml ? xml : L"", SysStringLen(xml));
    SysFreeString(xml);
    return {hr, text};
  }
};

TEST_F(SubItemsDocumentTest, EveryPageAtEveryDepthGetsItsOwnOrTheDefaultClsid) {
  panel.SetMap({{L"1", kClsidA}, {L"3", kClsidB}, {L"*", kClsidC}});
  const auto [hr, text] =
      Add(L"<PageSet><Page Id=\"1\"><Page Id=\"7\"><Page Id=\"3\" Clsid=\"old\"/></Page></Page>"
          L"<Page Id=\"0003\"/></PageSet>");
  EXPECT_HR(S_OK, hr);
  EXPECT_EQ(text, SubItemsDocument(std::wstring(L"<PageSet><Page Id=\"1\" Clsid=\"") + kClsidA +
                                   L"\"><Page Id=\"7\" Clsid=\"" + kClsidC + L"\"><Page Id=\"3\" Clsid=\"" +
                                   kClsidB + L"\"/></Page></Page><Page Id=\"0003\" Clsid=\"" + kClsidB +
                                   L"\"/></PageSet>"));
  EXPECT_EQ(LoggedSinceClear(), Logged{});
}

TEST_F(SubItemsDocumentTest, AnEmptyPageSetGivesTheDocumentWithoutPages) {
  panel.SetMap({});
  const auto [hr, text] = Add(L"<PageSet/>");
  EXPECT_HR(S_OK, hr);
  EXPECT_EQ(text, SubItemsDocument(L"<PageSet/>"));
}

TEST_F(SubItemsDocumentTest, AnyFailureLeavesTheCallersTextAndIsLoggedAtEveryLevel) {
  const std::wstring add = L"CPVPanel::AddPageClsidAndXMLHeader: ";
  const std::wstring walk = L"CPVPanel::RecursivelyAddPageClsid: ";
  struct Case {
    const char* name;
    bool withDefault;
    std::wstring fragment;
    HRESULT result;
    Logged logged;
  };
  const Case cases[] = {
      {"no entry and no default",
       false,
       L"<PageSet><Page Id=\"1\"/><Page Id=\"2\"/></PageSet>",
       E_FAIL,
       {walk + L"Failed to find pageId\n.", add + L"Failed to add page clsid"}},
      {"a nested page without entry",
       false,
       L"<PageSet><Page Id=\"1\"><Page Id=\"8\"/></Page></PageSet>",
       E_FAIL,
       {walk + L"Failed to find pageId\n.", walk + L"Failed to update page clsid for child pages",
        add + L"Failed to add page clsid"}},
      {"a page without id",
       true,
       L"<PageSet><Page/></PageSet>",
       E_FAIL,
       {walk + L"Failed to get page CLSID\n.", add + L"Failed to add page clsid"}},
      {"an id that is no number",
       true,
       L"<PageSet><Page Id=\"x\"/></PageSet>",
       E_FAIL,
       {L"DOMUtility::GetLongAttribute: Failed to parse attribute value.",
        walk + L"Failed to get page CLSID\n.", add + L"Failed to add page clsid"}},
      {"a child that is no element",
       true,
       L"<PageSet><!--note--></PageSet>",
       E_FAIL,
       {walk + L"pElement is invalid", add + L"Failed to add page clsid"}},
      {"no page set", true, L"<Pages/>", E_FAIL, {add + L"Failed to get <PageSet> node"}},
      {"a page set not directly under the root",
       true,
       L"<Wrap><PageSet/></Wrap>",
       E_FAIL,
       {add + L"Failed to get <PageSet> node"}},
      {"ill-formed fragment",
       true,
       L"<PageSet><Page Id=\"1\"></PageSet>",
       E_FAIL,
       {add + L"Failed to create XML DOM for PV extended info xml"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.withDefault)
      panel.SetMap({{L"*", kClsidC}});
    else
      panel.SetMap({{L"1", kClsidA}});
    orvolog::ClearRecords();
    const auto [hr, text] = Add(c.fragment);
    EXPECT_HR(c.result, hr);
    EXPECT_EQ(text, c.fragment) << "the caller's text stays";
    EXPECT_EQ(LoggedSinceClear(), c.logged);
  }
}

TEST_F(SubItemsDocumentTest, NullArgumentsAreRefused) {
  EXPECT_HR(E_POINTER, panel.AddPageClsidAndXMLHeader(nullptr));
  IXMLDOMDocumentPtr document;
  ASSERT_HR(S_OK, document.CreateInstance(CLSID_DOMDocument60));
  EXPECT_HR(E_POINTER, panel.RecursivelyAddPageClsid(nullptr, document));
  EXPECT_EQ(LoggedSinceClear(), (Logged{L"CPVPanel::AddPageClsidAndXMLHeader: pXml is null",
                                        L"CPVPanel::RecursivelyAddPageClsid: spPageNodes is invalid"}));
}

// A map read from the host's extended information serves the sub-item document.
TEST_F(SubItemsDocumentTest, TheMapReadFromExtendedInformationGivesThePagesTheirClsids) {
  ASSERT_HR(S_OK, Read(MapItem(L"4", kClsidA) + MapItem(L"*", kClsidB)));
  const auto [hr, text] = Add(L"<PageSet><Page Id=\"4\"/><Page Id=\"7\"/></PageSet>");
  EXPECT_HR(S_OK, hr);
  EXPECT_EQ(text, SubItemsDocument(std::wstring(L"<PageSet><Page Id=\"4\" Clsid=\"") + kClsidA +
                                   L"\"/><Page Id=\"7\" Clsid=\"" + kClsidB + L"\"/></PageSet>"));
}

}  // namespace
