// The panel through the host's door: the factory and the module lock, the interfaces it
// answers, Init and Create into the host window, the window operations, the language, help,
// and the end of the page with Destroy and the last Release.
#include <afxres.h>
#include <platform/testing_htmlhelp.h>

#include <string>
#include <vector>

#include "PanelHost.h"

namespace {

using pvtest::HostedPage;
using pvtest::LoggedSinceClear;
using Logged = std::vector<std::wstring>;
namespace pw = platform::windows;

class PanelLifecycle : public pvtest::PanelHost {};

TEST_F(PanelLifecycle, ThePageKeepsTheModuleLockedFromItsFirstReferenceToItsLastRelease) {
  IClassFactory* factory = nullptr;
  ASSERT_HR(S_OK, m_exports->getClassObject(pvtest::ClsidFromText(kPanelPageClsid), IID_IClassFactory,
                                            reinterpret_cast<void**>(&factory)));
  IPVChild* child = nullptr;
  EXPECT_HR(S_OK, factory->CreateInstance(nullptr, __uuidof(IPVChild), reinterpret_cast<void**>(&child)));
  // The factory and the page are each counted under their own class.
  const std::string live = LiveObjects().Report();
  EXPECT_NE(live.find("1 x CPVPropPageClassFactory<(anonymous namespace)::CPanelTestPage<"),
            std::string::npos)
      << live;
  EXPECT_NE(live.find("1 x (anonymous namespace)::CPanelTestPage<"), std::string::npos) << live;
  EXPECT_EQ(LiveObjects().Count("CPVPanel"), 0) << "the factory counts the page as its own class";
  factory->Release();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(m_livePages(), 1);
  EXPECT_HR(S_FALSE, m_exports->canUnloadNow()) << "a live page holds the lock";
  EXPECT_EQ(child->AddRef(), 2u);
  EXPECT_EQ(child->Release(), 1u);
  EXPECT_EQ(child->Release(), 0u);
  EXPECT_EQ(m_livePages(), 0) << "the last release deletes the page";
  EXPECT_EQ(LiveObjects().Report(), "");
  EXPECT_HR(S_OK, m_exports->canUnloadNow());
}

TEST_F(PanelLifecycle, EveryPanelInterfaceIsOneObjectAndHelpIsOfferedOnlyOnceEnabled) {
  struct Case {
    const char* name;
    IID iid;
    HRESULT onHelpless;  // the page that never enabled help
  };
  const Case cases[] = {
      {"IUnknown", IID_IUnknown, S_OK},
      {"IPVChild", __uuidof(IPVChild), S_OK},
      {"IPVPanel3", __uuidof(IPVPanel3), S_OK},
      {"IPVPanel2", __uuidof(IPVPanel2), S_OK},
      {"IPVPanel", __uuidof(IPVPanel), S_OK},
      {"IPVExtendedInfoXml2", __uuidof(IPVExtendedInfoXml2), S_OK},
      {"IPVExtendedInfoXml", __uuidof(IPVExtendedInfoXml), S_OK},
      {"IPVProvideHelp", __uuidof(IPVProvideHelp), E_NOINTERFACE},
      {"IPVEventHandler2", __uuidof(IPVEventHandler2), S_OK},
      {"IPVDocumentation", __uuidof(IPVDocumentation), S_OK},
      {"IPVWndMsg", __uuidof(IPVWndMsg), S_OK},
      {"IDynamicSubItemEvents", __uuidof(IDynamicSubItemEvents), S_OK},
      {"IPVDynamicSubItem", __uuidof(IPVDynamicSubItem), S_OK},
      {"IPVPropPageEnum", __uuidof(IPVPropPageEnum), S_OK},
      {"IPVCtrl (a control's, not the page's)", __uuidof(IPVCtrl), E_NOINTERFACE},
  };
  HostedPage helpless = Open(kMissingPageClsid, false, false);
  HostedPage page = Open(kPanelPageClsid, false, false);
  IUnknownPtr identity(page.child);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IUnknown* found = reinterpret_cast<IUnknown*>(1);
    EXPECT_HR(c.onHelpless, helpless.child->QueryInterface(c.iid, reinterpret_cast<void**>(&found)));
    if (found) found->Release();
    found = nullptr;
    const HRESULT hr = page.child->QueryInterface(c.iid, reinterpret_cast<void**>(&found));
    if (c.iid == __uuidof(IPVCtrl)) {
      EXPECT_HR(E_NOINTERFACE, hr);
      EXPECT_EQ(found, nullptr);
      continue;
    }
    ASSERT_HR(S_OK, hr);
    EXPECT_EQ(IUnknownPtr(found), identity) << "one object behind every interface";
    found->Release();
  }
  // The two older panel versions are the newest one's entry.
  IPVPanel* first = nullptr;
  ASSERT_HR(S_OK, page.child->QueryInterface(__uuidof(IPVPanel), reinterpret_cast<void**>(&first)));
  EXPECT_EQ(static_cast<void*>(first), static_cast<void*>(page.panel.GetInterfacePtr()));
  first->Release();
  ASSERT_HR(S_OK, helpless.test->EnablePanelHelp(TRUE));
  IUnknown* help = nullptr;
  EXPECT_HR(S_OK, helpless.child->QueryInterface(__uuidof(IPVProvideHelp), reinterpret_cast<void**>(&help)));
  if (help) help->Release();
}

TEST_F(PanelLifecycle, InitHandsEveryControlTheHostModuleAndCreateMakesAChildOfTheHostWindow) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  ASSERT_HR(S_OK, page.child->Init(m_parent->GetUnknown()));
  EXPECT_EQ(page.TakeCalls(), L"1:SetIModule 2:SetIModule 3:SetIModule");
  for (LONG control = 1; control <= 3; ++control) {
    IUnknownPtr module;
    ASSERT_HR(S_OK, page.test->GetControlModule(control, &module));
    EXPECT_EQ(module, IUnknownPtr(m_module->GetUnknown())) << "control " << control;
  }
  ASSERT_HR(S_OK, page.panel->Create(m_window.get()));
  EXPECT_EQ(page.TakeCalls(), L"1:PreInitialActivate 2:PreInitialActivate 3:PreInitialActivate")
      << "the dialog's start reaches every control";
  HWND window = page.Window();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(GetParent(window), m_window.get());
  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  EXPECT_EQ(style & 0x00CC0080u, 0u) << "no caption, system menu, sizing or modal frame";
  EXPECT_EQ(style & 0x40000400u, 0x40000400u) << "a child control parent";
  EXPECT_EQ(exStyle & 0x00000101u, 0u);
  EXPECT_EQ(exStyle & 0x00010000u, 0x00010000u);
  EXPECT_EQ(m_parent->moduleQueries, 2) << "Init and the dialog's start";
  EXPECT_EQ(LoggedSinceClear(), Logged{});
}

TEST_F(PanelLifecycle, TheHostShowsMovesAndNamesThePageAndDestroyEndsItsWindow) {
  HostedPage page = Open(kPanelPageClsid);
  HWND window = page.Window();
  struct ShowCase {
    int command;
    bool visible;
    bool enabled;
  };
  const ShowCase shows[] = {{SW_HIDE, false, false}, {SW_SHOWNA, true, false}, {SW_SHOW, true, true}};
  for (const ShowCase& c : shows) {
    SCOPED_TRACE(c.command);
    EXPECT_HR(S_OK, page.panel->Show(c.command));
    EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible);
    EXPECT_EQ(IsWindowEnabled(window) != FALSE, c.enabled);
  }
  const RECT placed{10, 20, 310, 220};
  EXPECT_HR(S_OK, page.panel->Move(&placed));
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, m_window.get(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10) << "in the host window's client coordinates";
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right, 310);
  EXPECT_EQ(rect.bottom, 220);

  _bstr_t title, banner;
  EXPECT_HR(S_OK, page.panel->GetTitle(title.GetAddress()));
  EXPECT_HR(S_OK, page.panel->GetBannerTitle(banner.GetAddress()));
  EXPECT_EQ(std::wstring(title), L"Flow Settings") << "the dialog's own text";
  EXPECT_EQ(std::wstring(banner), L"Flow Settings");
  VARIANT_BOOL expanded = VARIANT_FALSE;
  EXPECT_HR(S_OK, page.panel->GetPanelDefaultExpandedState(&expanded));
  EXPECT_EQ(expanded, VARIANT_TRUE);
  EXPECT_HR(E_POINTER, page.panel->GetPanelDefaultExpandedState(nullptr));
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanel::GetPanelDefaultExpandedState: pExpanded is null pointer"});

  EXPECT_HR(S_OK, page.panel->Destroy());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_HR(S_FALSE, page.panel->Destroy()) << "nothing left to destroy";
  EXPECT_HR(E_UNEXPECTED, page.panel->Show(SW_SHOW));
  EXPECT_HR(E_UNEXPECTED, page.panel->Move(&placed));
  _bstr_t none;
  EXPECT_HR(E_UNEXPECTED, page.panel->GetTitle(none.GetAddress()));
  ExpectNoWindowLeft();
}

TEST_F(PanelLifecycle, WindowOperationsBeforeCreateAnswerUnexpected) {
  HostedPage page = Open(kPanelPageClsid, true, false);
  const RECT rect{0, 0, 10, 10};
  _bstr_t title;
  EXPECT_HR(E_UNEXPECTED, page.panel->Show(SW_SHOW));
  EXPECT_HR(E_UNEXPECTED, page.panel->Move(&rect));
  EXPECT_HR(E_UNEXPECTED, page.panel->GetTitle(title.GetAddress()));
  EXPECT_HR(E_UNEXPECTED, page.panel->GetBannerTitle(title.GetAddress()));
  EXPECT_HR(S_FALSE, page.panel->Destroy());
}

TEST_F(PanelLifecycle, TheLastReleaseOfALivePageDestroysItsWindow) {
  HostedPage page = Open(kPanelPageClsid);
  ASSERT_TRUE(IsWindow(page.Window()));
  page.Release();
  EXPECT_EQ(m_livePages(), 0);
  ExpectNoWindowLeft();
}

TEST_F(PanelLifecycle, InitRefusesANullParentAndAParentWithoutModule) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  EXPECT_HR(E_INVALIDARG, page.child->Init(nullptr));
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanelEnum::Init: Invalid parameter."});
  orvolog::ClearRecords();
  m_parent->moduleResult = E_FAIL;
  EXPECT_HR(E_UNEXPECTED, page.child->Init(m_parent->GetUnknown()));
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanelEnum::Init: Unable to get IModule interface."});
  EXPECT_EQ(page.TakeCalls(), L"") << "no control is reached";
  orvolog::ClearRecords();
  m_parent->moduleResult = S_OK;
  ASSERT_HR(S_OK, page.test->SetControlResult(2, kOpSetIModule, E_UNEXPECTED));
  EXPECT_HR(E_UNEXPECTED, page.child->Init(m_parent->GetUnknown()));
  EXPECT_EQ(page.TakeCalls(), L"1:SetIModule 2:SetIModule 3:SetIModule");
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanelEnum::Init: IPVCtrl::SetIModule() failed."});
}

TEST_F(PanelLifecycle, CreateWithoutInitMakesTheWindowButReportsTheMissingModule) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  EXPECT_HR(S_OK, page.panel->Create(m_window.get()));
  EXPECT_TRUE(IsWindow(page.Window()));
  EXPECT_EQ(LoggedSinceClear(), (Logged{L"CPVPanel::GetIPVParent: Panel has invalid parent pointer.",
                                        L"CPVPanel::OnInitDialog: Failed to retrieve IModule"}));
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(PanelLifecycle, APageWhoseTemplateIsMissingCannotBeCreatedOrSized) {
  HostedPage page = Open(kMissingPageClsid, true, false);
  EXPECT_HR(E_FAIL, page.panel->Create(m_window.get()));
  SIZE size{-1, -1};
  EXPECT_HR(E_FAIL, page.panel->GetSize(&size));
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(LoggedSinceClear(), (Logged{L"CPVPanel::Create: Failed to create panel.",
                                        L"CPVPanel::GetSize: Unable to find panel dialog resource."}));
  ExpectNoWindowLeft();
}

TEST_F(PanelLifecycle, SetLocaleToTheCurrentLanguageLeavesTheResourceDllAlone) {
  HostedPage page = Open(kPanelPageClsid, true, false);
  // Without its file the language could not be loaded again, nor even found.
  m_folder.Remove("PVPanelPagesENU.dll");
  EXPECT_HR(S_OK, page.child->SetLocale(1033));
  ASSERT_HR(S_OK, page.panel->Create(m_window.get()));
  _bstr_t title;
  EXPECT_HR(S_OK, page.panel->GetTitle(title.GetAddress()));
  EXPECT_EQ(std::wstring(title), L"Flow Settings");
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(PanelLifecycle, SetLocaleSwitchesTheTemplatesLanguageAndKeepsItWhenTheLanguageIsMissing) {
  HostedPage page = Open(kPanelPageClsid, true, false);
  struct Case {
    LCID lcid;
    HRESULT expected;
    const wchar_t* title;
  };
  const Case cases[] = {{1033, S_OK, L"Flow Settings"},
                        {1031, S_OK, L"Durchflusseinstellungen"},
                        {1036, E_FAIL, L"Durchflusseinstellungen"},
                        {1033, S_OK, L"Flow Settings"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    EXPECT_HR(c.expected, page.child->SetLocale(c.lcid));
    ASSERT_HR(S_OK, page.panel->Create(m_window.get()));
    _bstr_t title;
    EXPECT_HR(S_OK, page.panel->GetTitle(title.GetAddress()));
    EXPECT_EQ(std::wstring(title), c.title);
    EXPECT_HR(S_OK, page.panel->Destroy());
  }
}

TEST_F(PanelLifecycle, ShowHelpWithoutCustomHelpAsksTheDialogForItsOwnHelpContext) {
  // Without extended information, and with extended information that has no help element.
  const wchar_t* const extendedInfos[] = {
      nullptr,
      L"<ExtendedInfo xmlns:pv='xsdPV'><pv:PVPanelTitle><pv:Text LCID='1033'>Flow</pv:Text>"
      L"</pv:PVPanelTitle></ExtendedInfo>"};
  for (const wchar_t* extendedInfo : extendedInfos) {
    SCOPED_TRACE(extendedInfo ? "with extended information" : "without extended information");
    HostedPage page = Open(kPanelPageClsid);
    if (extendedInfo) {
      IPVExtendedInfoXmlPtr xml = page.child;
      ASSERT_HR(S_OK, xml->SetExtendedInfo(_bstr_t(extendedInfo)));
    }
    IPVProvideHelpPtr help = page.child;
    ASSERT_TRUE(help);
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::mfc::ClearMessageBoxCalls();
    EXPECT_HR(S_OK, help->ShowHelp());
    help = nullptr;
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].caller, page.Window());
    EXPECT_EQ(calls[0].file, m_folder.PathOf("PVPanelPages.chm")) << "the application's help file";
    EXPECT_EQ(calls[0].command, 0x000Fu);
    EXPECT_EQ(calls[0].data, 0x20000u + 9100u) << "the template's help id";
    // The help file is not installed: the class library says so.
    const auto boxes = platform::mfc::MessageBoxCalls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].nIDPrompt, static_cast<UINT>(AFX_IDP_FAILED_TO_LAUNCH_HELP));
    page.Release();
  }
}

TEST_F(PanelLifecycle, TheModuleDeletedEventIsThePanelsOwnAndGoesToNoControl) {
  HostedPage page = Open(kPanelPageClsid);
  EXPECT_HR(S_OK, page.events->ModuleDeleted());
  EXPECT_EQ(page.TakeCalls(), L"");
  EXPECT_EQ(LoggedSinceClear(),
            Logged{L"CPVPanel::ModuleDeleted: Unexpected module deleted event received by panel."});
}

TEST_F(PanelLifecycle, TheSmallInterfacesAnswerAsAPageWithoutDocumentationOrSubItems) {
  HostedPage page = Open(kPanelPageClsid);
  IPVDocumentation* documentation = nullptr;
  ASSERT_HR(S_OK,
            page.child->QueryInterface(__uuidof(IPVDocumentation), reinterpret_cast<void**>(&documentation)));
  VARIANT_BOOL dirty = VARIANT_TRUE;
  EXPECT_HR(S_OK, documentation->GetDocumentationDirtyState(&dirty));
  EXPECT_EQ(dirty, VARIANT_FALSE);
  documentation->Release();

  IPVDynamicSubItem* subItems = nullptr;
  ASSERT_HR(S_OK,
            page.child->QueryInterface(__uuidof(IPVDynamicSubItem), reinterpret_cast<void**>(&subItems)));
  BSTR xml = SysAllocString(L"left alone?");
  BSTR given = xml;
  EXPECT_HR(S_OK, subItems->GetSubItemsXML(&xml));
  EXPECT_EQ(xml, nullptr) << "dynamic sub-items are off";
  SysFreeString(given);
  EXPECT_HR(E_POINTER, subItems->GetSubItemsXML(nullptr));
  EXPECT_HR(S_OK, subItems->OnSubItemSelChanged(3));
  subItems->Release();
  EXPECT_EQ(LoggedSinceClear(), Logged{L"CPVPanel::GetSubItemsXML: pXml is null"});

  IDynamicSubItemEvents* subItemEvents = nullptr;
  ASSERT_HR(S_OK, page.child->QueryInterface(__uuidof(IDynamicSubItemEvents),
                                             reinterpret_cast<void**>(&subItemEvents)));
  EXPECT_HR(S_OK, subItemEvents->OnSubItemsChanged(1));
  subItemEvents->Release();
  EXPECT_TRUE(pw::HasPostedMessages()) << "the change is posted to the page window";
  pw::PumpMessages();
  EXPECT_TRUE(m_parent->rebuildRequests.empty()) << "nothing is rebuilt while dynamic sub-items are off";
}

TEST_F(PanelLifecycle, PreTranslateOffersKeysToTheDialogAndLeavesOtherMessages) {
  HostedPage page = Open(kPanelPageClsid);
  IPVWndMsg* messages = nullptr;
  ASSERT_HR(S_OK, page.child->QueryInterface(__uuidof(IPVWndMsg), reinterpret_cast<void**>(&messages)));
  HWND edit = GetDlgItem(page.Window(), 9001);
  MSG key{edit, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_HR(S_OK, messages->PreTranslateMessage(&key)) << "the dialog navigates with Tab";
  MSG move{edit, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
  EXPECT_HR(S_FALSE, messages->PreTranslateMessage(&move));
  messages->Release();
}

TEST_F(PanelLifecycle, CopyingOrAssigningAPageOnlyLogs) {
  HostedPage page = Open(kPanelPageClsid, false, false);
  ASSERT_HR(S_OK, page.test->CopyPage());
  EXPECT_EQ(LoggedSinceClear(),
            (Logged{L"CPVPanel::CPVPanel: CPVPanel does not support copy construction.",
                    L"CPVPanelEnum::CPVPanelEnum: CPVPanelEnum does not support copy construction.",
                    L"CPVPanelEnum::operator=: Assignment not supported for CPVPanelEnum.",
                    L"CPVPanel::operator=: Assignment not supported for CPVPanel."}));
}

}  // namespace

namespace {

TEST_F(PanelLifecycle, TheFrameworksStaticTextAndButtonLiveOnAPanelThroughItsWholeLife) {
  HostedPage page = Open(kFrameworkPageClsid);
  HWND text = GetDlgItem(page.Window(), 9002);
  HWND button = GetDlgItem(page.Window(), 9003);
  EXPECT_NE(CWnd::FromHandlePermanent(text), nullptr) << "the static text is subclassed";
  EXPECT_NE(CWnd::FromHandlePermanent(button), nullptr);
  m_parent->vexil.mode = 4;  // program mode disables ordinary controls, never a static text
  EXPECT_HR(S_OK, page.events->VexilStateChanged(4));
  EXPECT_TRUE(IsWindowEnabled(text));
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_HR(S_FALSE, page.child->PostModDefChange());
  ASSERT_HR(S_OK, page.panel->Show(SW_SHOW));
  EXPECT_TRUE(platform::windows::ClickButton(button)) << "a button without a sink only clicks";
  EXPECT_EQ(LoggedSinceClear(), Logged{});
  EXPECT_HR(S_OK, page.panel->Destroy());
  page.Release();
  ExpectNoWindowLeft();
}

}  // namespace
