// What the host's extended information changes in the panel as the host sees it: titles,
// expanded state and the custom help, which resolves its file through the host's file finder
// and opens it through HTML Help.
#include <afxres.h>
#include <ModuleSpecificFileFind.h>
#include <platform/testing_htmlhelp.h>
#include <platform/testing_shell.h>

#include <filesystem>
#include <fstream>

#include "PanelHost.h"

namespace {

using pvtest::HostedPage;
using pvtest::LoggedSinceClear;
using Logged = std::vector<std::wstring>;

class PanelHelp : public pvtest::PanelHost {
 protected:
  void SetUp() override {
    PanelHost::SetUp();
    m_programFiles = m_folder.PathOf("Program Files");
    std::filesystem::create_directories(platform::HostPathFromPlatform(m_programFiles + L"\\Orvo"));
    platform::shell::SetFolderPath(CSIDL_PROGRAM_FILES, m_programFiles);
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::mfc::ClearMessageBoxCalls();
  }
  void TearDown() override {
    platform::shell::ResetFolderPaths();
    PanelHost::TearDown();
  }

  // An empty file at a platform path.
  static void Install(const std::wstring& path) {
    std::ofstream(platform::HostPathFromPlatform(path)) << "help";
  }

  HRESULT ShowHelp(const HostedPage& page) {
    IPVProvideHelp* help = nullptr;
    EXPECT_HR(S_OK, page.child->QueryInterface(__uuidof(IPVProvideHelp), reinterpret_cast<void**>(&help)));
    if (!help) return E_NOINTERFACE;
    const HRESULT hr = help->ShowHelp();
    help->Release();
    return hr;
  }

  std::wstring m_programFiles;
};

constexpr wchar_t kInfo[] =
    L"<ExtendedInfo xmlns:pv='xsdPV'>"
    L"<pv:PVPanelTitle><pv:Text LCID='1031'>Seite</pv:Text><pv:Text LCID='1033'>Flow page</pv:Text>"
    L"</pv:PVPanelTitle>"
    L"<pv:PVBannerTitle><pv:Text LCID='1033'>Flow banner</pv:Text></pv:PVBannerTitle>"
    L"<pv:PVPanelState Expand='false'/>"
    L"<pv:Help HelpID='4242' HelpFile='\\Orvo\\Flow'/>"
    L"</ExtendedInfo>";

TEST_F(PanelHelp, TitlesAndTheExpandedStateComeFromTheExtendedInformation) {
  HostedPage page = Open(kPanelPageClsid);
  ASSERT_HR(S_OK, IPVExtendedInfoXml2Ptr(page.child)->SetExtendedInfoEx(_bstr_t(kInfo), 7));
  _bstr_t title, banner;
  EXPECT_HR(S_OK, page.panel->GetTitle(title.GetAddress()));
  EXPECT_HR(S_OK, page.panel->GetBannerTitle(banner.GetAddress()));
  EXPECT_EQ(std::wstring(title), L"Flow page");
  EXPECT_EQ(std::wstring(banner), L"Flow banner");
  VARIANT_BOOL expanded = VARIANT_TRUE;
  EXPECT_HR(S_OK, page.panel->GetPanelDefaultExpandedState(&expanded));
  EXPECT_EQ(expanded, VARIANT_FALSE);
}

TEST_F(PanelHelp, CustomHelpOpensTheFileTheHostResolvesWithTheHelpIdGiven) {
  const std::wstring listed = m_programFiles + L"\\Orvo\\FlowENU.chm";
  Install(listed);
  const std::wstring hostCopy = m_folder.PathOf("FlowENU.HLP");
  const std::wstring opened = m_folder.PathOf("FlowENU.chm");
  struct Case {
    const char* name;
    HRESULT createResult;
    bool resolvable;
    bool installed;
    HRESULT expected;
    Logged logged;
  };
  const Case cases[] = {
      {"resolved, a .HLP name opens its .chm", S_OK, true, true, S_OK, {}},
      {"the help file is missing",
       S_OK,
       true,
       false,
       S_OK,
       {L"CPVPanel::CustomHelp: Error: Failed to display help - HtmlHelp: HelpFile = " + opened +
        L", HH_HELP_CONTEXT: = $f, HelpID: = 4242."}},
      {"no file finder",
       E_ACCESSDENIED,
       true,
       true,
       E_ACCESSDENIED,
       {L"CPVPanel::CustomHelp: Failed to create ModuleSpecificFileFind."}},
      {"the finder does not know the file",
       S_OK,
       false,
       true,
       HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
       {L"CPVPanel::CustomHelp: Failed to find resolved path."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::FileFindSettings& finder = hostsim::MutableFileFindSettings();
    finder = hostsim::FileFindSettings{};
    finder.createResult = c.createResult;
    if (c.resolvable) finder.paths[listed] = hostCopy;
    std::error_code ignored;
    std::filesystem::remove(platform::HostPathFromPlatform(opened), ignored);
    if (c.installed) Install(opened);
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::mfc::ClearMessageBoxCalls();

    HostedPage page = Open(kPanelPageClsid);
    ASSERT_HR(S_OK, IPVExtendedInfoXml2Ptr(page.child)->SetExtendedInfo(_bstr_t(kInfo)));
    orvolog::ClearRecords();
    EXPECT_HR(c.expected, ShowHelp(page));
    EXPECT_EQ(LoggedSinceClear(), c.logged);
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    if (SUCCEEDED(c.expected)) {
      EXPECT_EQ(hostsim::MutableFileFindSettings().requests, std::vector<std::wstring>{listed});
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].caller, page.Window());
      EXPECT_EQ(calls[0].file, opened);
      EXPECT_EQ(calls[0].command, 0x000Fu);
      EXPECT_EQ(calls[0].data, 4242u);
      EXPECT_EQ(platform::mfc::MessageBoxCalls().size(), c.installed ? 0u : 1u);
    } else {
      EXPECT_TRUE(calls.empty());
    }
    page.Release();
  }
}

TEST_F(PanelHelp, AHelpElementWithoutAttributesUsesTheDialogsHelpIdAndTheApplicationsFile) {
  HostedPage page = Open(kPanelPageClsid);
  ASSERT_HR(S_OK,
            IPVExtendedInfoXml2Ptr(page.child)
                ->SetExtendedInfo(_bstr_t(L"<ExtendedInfo xmlns:pv='xsdPV'><pv:Help/></ExtendedInfo>")));
  EXPECT_HR(S_OK, ShowHelp(page));
  EXPECT_TRUE(hostsim::MutableFileFindSettings().requests.empty()) << "no file to resolve";
  const auto calls = platform::htmlhelp::HtmlHelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].file, m_folder.PathOf("PVPanelPages.chm"));
  EXPECT_EQ(calls[0].data, 9100u) << "the dialog's own help id, without the resource base";
}

}  // namespace
