// A configuration page end to end, through the host's door: the host opens and activates the
// page, the user chooses and types, and the host saves, refreshes, flushes and changes the
// controller's state. What the controls show and what reaches the simulated tag (member,
// VARIANT type, value) are compared with what the page's bindings promise.
#include <platform/testing_windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ConfigPageHost.h"
#include "PVInputErrors.h"

namespace {

namespace win = platform::windows;
using configpage::ComboSelection;
using configpage::ConfigPage;
using configpage::EntriesOf;
using configpage::Lines;
using configpage::Narrow;
using configpage::Retype;
using configpage::TakeLog;
using Write = hostsim::ConfigurationTag::Write;

constexpr wchar_t kControlsFunction[] = L"CPVPanelEnum::";

std::wstring TextOf(HWND window) {
  return win::TextOf(window);
}

std::string Describe(const std::vector<Write>& writes) {
  return pvtest::DescribeWrites(writes);
}

class ConfigPageEndToEnd : public configpage::ConfigPageHost {
 public:
  // A new module at its defaults and a new parent, for the next case of a table.
  void FreshHost() {
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create());
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
    m_writesSeen = 0;
  }
  // The page opened into the host window, shown and activated as the host does it; nothing
  // written, logged or reported dirty on the way.
  ConfigPage OpenActive() {
    ConfigPage page = Open();
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->OnActivate());
    EXPECT_EQ(TakeLog(), Lines{});
    EXPECT_TRUE(StandardTag()->Writes().empty()) << Describe(StandardTag()->Writes());
    EXPECT_TRUE(m_parent->dirtyNotices.empty());
    return page;
  }
  HWND Combo(const ConfigPage& page) const { return page.Item(IDC_CONFIG_COMBO); }
  HWND FloatEdit(const ConfigPage& page) const { return page.Item(IDC_CONFIG_FLOAT); }
  HWND IntegerEdit(const ConfigPage& page) const { return page.Item(IDC_CONFIG_INTEGER); }

 protected:
  // The writes since the last look.
  std::vector<Write> TakeWrites() {
    std::vector<Write> writes(StandardTag()->Writes().begin() + static_cast<ptrdiff_t>(m_writesSeen),
                              StandardTag()->Writes().end());
    m_writesSeen = StandardTag()->Writes().size();
    return writes;
  }
  size_t m_writesSeen = 0;
};

// ---------------------------------------------------------------------------------------------
// Showing

TEST_F(ConfigPageEndToEnd, ActivationShowsEveryStoredValueWithTheBoxesDecimals) {
  ASSERT_TRUE(StandardTag()->SetInteger(kConfigComboMember, 4610));  // "K", entry 2
  ASSERT_TRUE(StandardTag()->SetReal(kConfigFloatMember, -3.5f));
  ASSERT_TRUE(StandardTag()->SetInteger(kConfigIntegerMember, 12));
  ConfigPage page = OpenActive();
  HRESULT combo = E_FAIL, floatEdit = E_FAIL, integerEdit = E_FAIL;
  ASSERT_HR(S_OK, page.test->GetBindResults(&combo, &floatEdit, &integerEdit));
  EXPECT_HR(S_OK, combo);
  EXPECT_HR(S_OK, floatEdit);
  EXPECT_HR(S_OK, integerEdit);
  EXPECT_EQ(EntriesOf(Combo(page)), (std::vector<std::wstring>{L"\u00b0C", L"\u00b0F", L"K", L"\u00b0R"}));
  EXPECT_EQ(ComboSelection(Combo(page)), 2);
  EXPECT_EQ(Narrow(TextOf(FloatEdit(page))), "-3.50");
  EXPECT_EQ(Narrow(TextOf(IntegerEdit(page))), "12");
  EXPECT_EQ(SendMessageW(FloatEdit(page), EM_GETLIMITTEXT, 0, 0), kConfigFloatTextLimit);
  EXPECT_EQ(SendMessageW(IntegerEdit(page), EM_GETLIMITTEXT, 0, 0), kConfigIntegerTextLimit);
  for (HWND control : {Combo(page), FloatEdit(page), IntegerEdit(page)})
    EXPECT_TRUE(IsWindowEnabled(control));
  EXPECT_EQ(GetWindowLongW(Combo(page), GWL_STYLE) & 0x0800, 0) << "the template does not lock the list";
  EXPECT_HR(S_OK, page.child->Save()) << "nothing changed, nothing written";
  EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(ConfigPageEndToEnd, ThePagesControlsValueObjectsAndAdaptersLiveWithThePageAndGoWithIt) {
  ConfigPage page = OpenActive();
  const std::string live = LiveObjects().Report();
  SCOPED_TRACE(live);
  EXPECT_EQ(LiveObjects().Count("CPVCtrlBase"), 3) << "the combo box and the two edits";
  EXPECT_GE(LiveObjects().Count("CPVGetSetValue"), 3) << "at least one value object per control";
  EXPECT_GE(LiveObjects().Count("CPVGetSetAdapterITag"), 1) << "the panel's adapter";
  EXPECT_NE(live.find("1 x (anonymous namespace)::CConfigTestPage"), std::string::npos);
  page.Release();
  EXPECT_EQ(LiveObjects().Report(), "");
}

// ---------------------------------------------------------------------------------------------
// Changing and saving

TEST_F(ConfigPageEndToEnd, AUsersChangeMarksThePageDirtyAndSaveWritesTheMembersType) {
  struct Case {
    const char* name;
    std::function<void(ConfigPageEndToEnd&, const ConfigPage&)> change;
    Write written;
  };
  const Case cases[] = {
      {"a chosen unit",
       [](auto& f, const ConfigPage& p) { ASSERT_TRUE(win::SelectComboItem(f.Combo(p), 1)); },
       {kConfigComboMember, VT_I4, L"4609"}},
      {"a typed temperature",
       [](auto& f, const ConfigPage& p) { Retype(f.FloatEdit(p), L"-12.25"); },
       {kConfigFloatMember, VT_R4, L"-12.25"}},
      {"a typed delay",
       [](auto& f, const ConfigPage& p) { Retype(f.IntegerEdit(p), L"42"); },
       {kConfigIntegerMember, VT_I4, L"42"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshHost();
    ConfigPage page = OpenActive();
    c.change(*this, page);
    EXPECT_FALSE(m_parent->dirtyNotices.empty()) << "the host learns that the page holds changes";
    EXPECT_EQ(m_parent->dirtyNotices.front(), page.panel.GetInterfacePtr());
    EXPECT_TRUE(TakeWrites().empty()) << "nothing reaches the tag before the save";
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_EQ(Describe(TakeWrites()), Describe({c.written}));
    EXPECT_TRUE(StandardTag()->IsDirty(c.written.member));
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_TRUE(TakeWrites().empty()) << "the control is clean after its save";
    EXPECT_EQ(TakeLog(), Lines{});
    page.Release();
  }
}

TEST_F(ConfigPageEndToEnd, ChoosingTheShownEntryAgainIsNoChange) {
  ConfigPage page = OpenActive();
  ASSERT_TRUE(win::SelectComboItem(Combo(page), 0));
  EXPECT_TRUE(m_parent->dirtyNotices.empty());
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(ConfigPageEndToEnd, RejectedInputStopsTheSaveWithItsCodeAndThePromptTheHostShows) {
  struct Case {
    const char* name;
    int edit;
    std::wstring typed;
    HRESULT code;
    std::wstring prompt;
    std::wstring caption;
    LONG helpContext;
    int otherEdit;                     // changed too, before or after the rejected one
    std::vector<Write> savedBeforeIt;  // the unit list first, then the float edit
  };
  const Write unit{kConfigComboMember, VT_I4, L"4611"};
  const Case cases[] = {
      {"an emptied temperature",
       IDC_CONFIG_FLOAT,
       L"",
       PV_E_EMPTY_TEXT,
       std::wstring(kConfigFloatMember) + L":  Please enter a value.",
       L"Invalid Input",
       0x20002,
       IDC_CONFIG_INTEGER,
       {unit}},
      {"a sign without digits",
       IDC_CONFIG_INTEGER,
       L"+",
       PV_E_INVALID_INTEGER,
       std::wstring(kConfigIntegerMember) + L":  '+' is not a valid whole number.",
       L"Invalid Input",
       0x20003,
       IDC_CONFIG_FLOAT,
       {unit, {kConfigFloatMember, VT_R4, L"7"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshHost();
    ConfigPage page = OpenActive();
    ASSERT_TRUE(win::SelectComboItem(Combo(page), 3));
    Retype(page.Item(c.otherEdit), L"7");
    Retype(page.Item(c.edit), c.typed);

    for (int attempt = 1; attempt <= 2; ++attempt) {
      SCOPED_TRACE(attempt);
      EXPECT_HR(c.code, page.child->Save());
      EXPECT_EQ(TakeLog(), Lines{}) << "an input error stops the save unlogged";
      ASSERT_EQ(m_parent->errorDialogs.size(), static_cast<size_t>(attempt));
      const hostsim::ErrorDialogRecord& shown = m_parent->errorDialogs.back();
      EXPECT_EQ(Narrow(shown.text), Narrow(c.prompt));
      EXPECT_EQ(Narrow(shown.caption), Narrow(c.caption));
      EXPECT_EQ(shown.helpContext, c.helpContext);
      EXPECT_EQ(TextOf(page.Item(c.edit)), c.typed) << "the typed text stays";
    }
    EXPECT_EQ(Describe(TakeWrites()), Describe(c.savedBeforeIt))
        << "the controls before the rejected one were saved once, those after it not at all";
    EXPECT_FALSE(m_parent->focusRequests.empty()) << "the rejecting control asks for the input focus";

    EXPECT_HR(c.code, page.child->OnDeactivate()) << "deactivation stops at the rejected input too";
    EXPECT_EQ(m_parent->errorDialogs.size(), 3u);
    EXPECT_EQ(TakeLog(), Lines{});
    Retype(page.Item(c.edit), L"5");
    EXPECT_HR(S_OK, page.child->Save()) << "corrected input is saved";
    EXPECT_EQ(TakeWrites().size(), c.edit == IDC_CONFIG_INTEGER ? 1u : 2u);
    page.Release();
  }
}

TEST_F(ConfigPageEndToEnd, AValueTheHostRefusesIsLoggedAndTheOtherControlsAreStillSaved) {
  ConfigPage page = OpenActive();
  TakeWrites();
  Retype(FloatEdit(page), L"1.5");
  Retype(IntegerEdit(page), L"70");  // above the member's maximum of 60: the tag refuses it
  EXPECT_HR(DISP_E_OVERFLOW, page.child->Save()) << "the host's code, passed up";
  EXPECT_EQ(TakeLog(),
            (Lines{L"CPVGetSetAdapeterErrorHandler::ErrorSavingValue: Error: Saving value for member "
                   L"System_Alarm_delay to services!\r\n",
                   std::wstring(kControlsFunction) + L"Save: A control failed to handle save event."}));
  EXPECT_EQ(Describe(TakeWrites()), Describe({{kConfigFloatMember, VT_R4, L"1.5"}}));
  EXPECT_TRUE(m_parent->errorDialogs.empty()) << "a host refusal is no input error: no prompt";
}

// ---------------------------------------------------------------------------------------------
// Refresh and events

TEST_F(ConfigPageEndToEnd, RefreshAndTheHostsEventsShowTheStoredValuesAndKeepOrDropPendingText) {
  struct Case {
    const char* name;
    std::function<HRESULT(const ConfigPage&)> trigger;
    bool pendingKept;
  };
  const Case cases[] = {
      {"Refresh", [](const ConfigPage& p) { return p.child->Refresh(); }, true},
      {"DataChanged", [](const ConfigPage& p) { return p.events->DataChanged(); }, true},
      {"OnActivate", [](const ConfigPage& p) { return p.child->OnActivate(); }, true},
      {"Reverted", [](const ConfigPage& p) { return p.events->Reverted(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FreshHost();
    ConfigPage page = OpenActive();
    Retype(FloatEdit(page), L"7");
    // The host's own changes (another view, an upload): no write, no dirty flag.
    ASSERT_TRUE(StandardTag()->SetInteger(kConfigComboMember, 4611));
    ASSERT_TRUE(StandardTag()->SetReal(kConfigFloatMember, 30.25f));
    ASSERT_TRUE(StandardTag()->SetInteger(kConfigIntegerMember, 33));
    EXPECT_HR(S_OK, c.trigger(page));
    EXPECT_EQ(ComboSelection(Combo(page)), 3);
    EXPECT_EQ(Narrow(TextOf(IntegerEdit(page))), "33");
    EXPECT_EQ(Narrow(TextOf(FloatEdit(page))), c.pendingKept ? "7" : "30.25");
    EXPECT_EQ(TakeLog(), Lines{});
    page.Release();
  }
}

TEST_F(ConfigPageEndToEnd, AFlushWritesPendingChangesButNeverStoredDataForRejectedText) {
  ASSERT_TRUE(StandardTag()->SetReal(kConfigFloatMember, 20.125f));  // more decimals than the box
  ConfigPage page = OpenActive();
  TakeWrites();
  ASSERT_TRUE(win::SelectComboItem(Combo(page), 1));
  Retype(FloatEdit(page), L"");
  Retype(IntegerEdit(page), L"9");
  EXPECT_HR(PV_E_EMPTY_TEXT, page.events->Flush());
  EXPECT_EQ(TakeLog(),
            Lines{std::wstring(kControlsFunction) + L"Flush: A control failed to handle the flush event."});
  EXPECT_EQ(Describe(TakeWrites()),
            Describe({{kConfigComboMember, VT_I4, L"4609"}, {kConfigIntegerMember, VT_I4, L"9"}}))
      << "the stored temperature is not rewritten";
  EXPECT_TRUE(m_parent->errorDialogs.empty()) << "a flush shows no prompt";
  EXPECT_EQ(TextOf(FloatEdit(page)), L"") << "the typed text stays";
  EXPECT_HR(PV_E_EMPTY_TEXT, page.child->Save()) << "the next save still rejects it";
  EXPECT_EQ(m_parent->errorDialogs.size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Controller state and forcing

TEST_F(ConfigPageEndToEnd, AnEditOfAForcibleMemberStaysEnabledButReadOnlyWhereTheRuleDisablesIt) {
  const std::wstring suffixes[] = {L"O", L"EO", L"", L"o", L"E"};
  const LONG modes[] = {0, 4, 7, 8};
  for (const std::wstring& suffix : suffixes) {
    for (LONG mode : modes) {
      SCOPED_TRACE(Narrow(L"suffix '" + suffix + L"' mode " + std::to_wstring(mode)));
      const bool forcible = suffix == L"O" || suffix == L"EO";
      const bool ruleEnables = mode != 4 && mode != 8;
      FreshHost();
      StandardTag()->SetSuffix(suffix);
      ConfigPage page = OpenActive();
      m_parent->vexil.mode = mode;
      EXPECT_HR(S_OK, page.events->VexilStateChanged(mode));
      EXPECT_EQ(IsWindowEnabled(Combo(page)) != FALSE, ruleEnables);
      for (HWND edit : {FloatEdit(page), IntegerEdit(page)}) {
        const bool readOnly = (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0;
        EXPECT_EQ(IsWindowEnabled(edit) != FALSE, forcible || ruleEnables);
        EXPECT_EQ(readOnly, forcible && !ruleEnables);
      }
      page.Release();
    }
  }
  EXPECT_EQ(TakeLog(), Lines{});
}

TEST_F(ConfigPageEndToEnd, EachRefreshRecordsTheMembersForceState) {
  struct Case {
    const char* name;
    bool forced;
    VARIANT_BOOL forcesEnabled;
    LONG state;
  };
  const Case cases[] = {
      {"not forced", false, VARIANT_TRUE, 0},
      {"forced, forces disabled", true, VARIANT_FALSE, 1},
      {"forced, forces enabled", true, VARIANT_TRUE, 2},
  };
  ConfigPage page = OpenActive();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const wchar_t* member : {kConfigComboMember, kConfigFloatMember, kConfigIntegerMember})
      ASSERT_TRUE(StandardTag()->SetForced(member, c.forced));
    ASSERT_HR(S_OK, StandardTag()->SetForcesEnabled(c.forcesEnabled));
    EXPECT_HR(S_OK, page.child->Refresh());
    LONG combo = -1, floatEdit = -1, integerEdit = -1;
    ASSERT_HR(S_OK, page.test->GetForceStates(&combo, &floatEdit, &integerEdit));
    EXPECT_EQ(combo, c.state);
    EXPECT_EQ(floatEdit, c.state);
    EXPECT_EQ(integerEdit, c.state);
  }
  EXPECT_EQ(TakeLog(), Lines{});
}

}  // namespace
