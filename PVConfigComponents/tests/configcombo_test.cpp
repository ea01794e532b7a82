// The configuration combo box. Through the host's door: the configuration test page holds
// one, bound to an enumeration of the simulated module's standard tag; the host opens,
// activates, saves and refreshes the page, and the user chooses with the mouse and the keys.
// Below the door, for what the simulated tag cannot answer (a text form without its last
// newline, a stored value outside the list) and what no page uses (the enable condition, the
// text colour): the control on a bare combo box window, bound to value objects over the small
// module definition.
#include <HostViewConnector.h>
#include <oleauto.h>
#include <wingdi.h>

#include <functional>
#include <string>
#include <vector>

#include "ConfigPageHost.h"
#include "ConfigTestSupport.h"
#include "ControlDoubles.h"
#include "PVCtrlConfigComboBox.h"
#include "PVGetEnumStrings.h"
#include "PVGetSetEnum.h"

namespace {

namespace win = platform::windows;
using configpage::ComboSelection;
using configpage::ConfigPage;
using configpage::EntriesOf;
using Texts = std::vector<std::wstring>;

constexpr wchar_t kMember[] = L"System_units_Temperature_unit";
constexpr wchar_t kNotShown[] = L"System_units_Mass_flow_unit";  // a member no control of the page shows

bool IsOpen(HWND combo) {
  return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

// ---------------------------------------------------------------------------------------------
// Through the host's door

class ConfigCombo : public configpage::ConfigPageHost {
 protected:
  static HWND Combo(const ConfigPage& page) { return page.Item(IDC_CONFIG_COMBO); }
  size_t DirtyNotices() const { return m_parent->dirtyNotices.size(); }
  // The member's writes that reached the tag, as entry codes.
  std::vector<std::wstring> MemberWrites() const {
    std::vector<std::wstring> codes;
    for (const auto& write : StandardTag()->Writes()) {
      if (write.member == kMember) codes.push_back(write.value + (write.vt == VT_I4 ? L"" : L" (not VT_I4)"));
    }
    return codes;
  }
};

TEST_F(ConfigCombo, TheListHoldsTheMembersTextsInOrderAndShowsTheStoredEntry) {
  ASSERT_TRUE(StandardTag()->SetInteger(kMember, 4610));  // "K", entry 2
  ConfigPage page = OpenActive();
  HRESULT combo = E_UNEXPECTED, floatEdit = E_UNEXPECTED, integerEdit = E_UNEXPECTED;
  ASSERT_HR(S_OK, page.test->GetBindResults(&combo, &floatEdit, &integerEdit));
  EXPECT_HR(S_OK, combo);
  EXPECT_EQ(EntriesOf(Combo(page)), (Texts{L"°C", L"°F", L"K", L"°R"}));
  EXPECT_EQ(ComboSelection(Combo(page)), 2);
  EXPECT_EQ(DirtyNotices(), 0u) << "showing the stored entry changes nothing";
  page.Release();
}

TEST_F(ConfigCombo, ACommittedChoiceMarksThePageDirtyAndSaveWritesItsIndexOnce) {
  ConfigPage page = OpenActive();
  HWND combo = Combo(page);
  ASSERT_TRUE(win::SelectComboItem(combo, 3));
  EXPECT_EQ(ComboSelection(combo), 3);
  EXPECT_EQ(DirtyNotices(), 1u);
  EXPECT_EQ(MemberWrites(), std::vector<std::wstring>{}) << "nothing reaches the tag before the save";

  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(MemberWrites(), std::vector<std::wstring>{L"4611"});
  LONG index = -1;
  EXPECT_HR(S_OK, StandardTag()->GetEnumValue(_bstr_t(kMember), &index));
  EXPECT_EQ(index, 3);
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(MemberWrites().size(), 1u) << "a clean control writes nothing";
  page.Release();
}

TEST_F(ConfigCombo, OnlyAChoiceCommittedInTheOpenListCounts) {
  const struct {
    const char* name;
    std::function<bool(HWND)> act;
    int selection;
    size_t dirtyNotices;
  } cases[] = {
      {"Return on another entry", [](HWND c) { return win::ChooseComboItemByKeys(c, 2, VK_RETURN); }, 2, 1},
      {"Escape puts the remembered entry back",
       [](HWND c) { return win::ChooseComboItemByKeys(c, 2, VK_ESCAPE); }, 0, 0},
      {"the entry already selected", [](HWND c) { return win::SelectComboItem(c, 0); }, 0, 0},
      {"Return on the entry already selected",
       [](HWND c) { return win::ChooseComboItemByKeys(c, 0, VK_RETURN); }, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(StandardTag()->SetInteger(kMember, 4608));
    m_parent->dirtyNotices.clear();
    const size_t writesBefore = MemberWrites().size();
    ConfigPage page = OpenActive();
    HWND combo = Combo(page);
    ASSERT_TRUE(c.act(combo));
    EXPECT_FALSE(IsOpen(combo));
    EXPECT_EQ(ComboSelection(combo), c.selection);
    EXPECT_EQ(DirtyNotices(), c.dirtyNotices);
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_EQ(MemberWrites().size() - writesBefore, c.dirtyNotices) << "only a dirty control writes";
    page.Release();
  }
}

TEST_F(ConfigCombo, KeysOpenTheListExceptLeftRightAndControlKeys) {
  const struct {
    const char* name;
    int key;
    bool opens;
    int selection;
  } cases[] = {
      {"VK_DOWN", VK_DOWN, true, 1},    {"a letter no entry starts with", 'Z', true, 0},
      {"VK_LEFT", VK_LEFT, false, 0},   {"VK_RIGHT", VK_RIGHT, false, 0},
      {"VK_SHIFT", VK_SHIFT, false, 0},
  };
  ConfigPage page = OpenActive();
  HWND combo = Combo(page);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win::PressKey(combo, c.key);
    win::PumpMessages();
    EXPECT_EQ(IsOpen(combo), c.opens);
    EXPECT_EQ(ComboSelection(combo), c.selection);
    if (IsOpen(combo)) {
      win::PressKey(combo, VK_ESCAPE);
      win::PumpMessages();
    }
    EXPECT_FALSE(IsOpen(combo));
    EXPECT_EQ(ComboSelection(combo), 0) << "Escape keeps the stored entry";
  }
  EXPECT_EQ(DirtyNotices(), 0u);
  page.Release();
}

TEST_F(ConfigCombo, OpeningTheListSizesItForAtMostSixEntries) {
  ConfigPage page = OpenActive();
  HWND combo = Combo(page);
  RECT client{};
  GetClientRect(combo, &client);
  ASSERT_TRUE(win::ChooseComboItemByKeys(combo, 0, VK_ESCAPE));
  RECT window{};
  GetWindowRect(combo, &window);
  // Four entries of the page's 8-point font (tmHeight 13) between two edges of 2, plus 2.
  EXPECT_EQ(window.bottom - window.top, client.bottom + 2 * 2 + 4 * 13 + 2);
  EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0), client.right)
      << "the entries are narrower than the combo box";
  page.Release();
}

TEST_F(ConfigCombo, ALockedListPutsEveryChoiceBack) {
  ConfigPage page = OpenActive();
  HWND combo = Combo(page);
  SetWindowLongW(combo, GWL_STYLE, GetWindowLongW(combo, GWL_STYLE) | 0x0800);
  ASSERT_TRUE(win::SelectComboItem(combo, 2));
  EXPECT_EQ(ComboSelection(combo), 0);
  ASSERT_TRUE(win::ChooseComboItemByKeys(combo, 3, VK_RETURN));
  EXPECT_EQ(ComboSelection(combo), 0);
  EXPECT_EQ(DirtyNotices(), 0u);
  page.Release();
}

TEST_F(ConfigCombo, RefreshKeepsThePendingChoiceUntilItIsSavedOrReverted) {
  ConfigPage page = OpenActive();
  HWND combo = Combo(page);
  ASSERT_TRUE(win::SelectComboItem(combo, 1));
  ASSERT_TRUE(StandardTag()->SetInteger(kMember, 4610));  // the host changes the member meanwhile
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_HR(S_OK, page.events->DataChanged());
  EXPECT_EQ(ComboSelection(combo), 1) << "the user's choice stays";
  EXPECT_HR(S_OK, page.events->Reverted());
  EXPECT_EQ(ComboSelection(combo), 2) << "a revert shows the stored entry again";
  EXPECT_EQ(MemberWrites(), std::vector<std::wstring>{});
  page.Release();
}

TEST_F(ConfigCombo, FlushAndDeactivationWriteThePendingChoice) {
  const struct {
    const char* name;
    std::function<HRESULT(const ConfigPage&)> write;
  } cases[] = {
      {"Flush", [](const ConfigPage& p) { return p.events->Flush(); }},
      {"OnDeactivate", [](const ConfigPage& p) { return p.child->OnDeactivate(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(StandardTag()->SetInteger(kMember, 4608));
    const size_t before = StandardTag()->Writes().size();
    ConfigPage page = OpenActive();
    ASSERT_TRUE(win::SelectComboItem(Combo(page), 1));
    EXPECT_HR(S_OK, c.write(page));
    ASSERT_EQ(StandardTag()->Writes().size(), before + 1);
    EXPECT_EQ(StandardTag()->Writes().back().value, L"4609");
    EXPECT_HR(S_OK, page.events->Flush());
    EXPECT_EQ(StandardTag()->Writes().size(), before + 1) << "clean after the write";
    page.Release();
  }
}

TEST_F(ConfigCombo, AFailedWriteKeepsTheChoicePendingForTheNextSave) {
  ConfigPage page = OpenActive();
  ASSERT_TRUE(win::SelectComboItem(Combo(page), 1));
  StandardTag()->FailOperation(kMember, hostsim::TagOperation::kEnumWrite, E_ACCESSDENIED);
  configpage::TakeLog();
  EXPECT_HR(E_FAIL, page.child->Save()) << "E_FAIL is no input error: the page's save carries on";
  EXPECT_EQ(MemberWrites(), std::vector<std::wstring>{});
  EXPECT_EQ(configpage::TakeLog(),
            (configpage::Lines{L"CPVGetSetAdapeterErrorHandler::ErrorSavingValue: Error: Saving value "
                               L"for member System_units_Temperature_unit to services!\r\n",
                               L"CPVPanelEnum::Save: A control failed to handle save event."}));
  StandardTag()->FailOperation(kMember, hostsim::TagOperation::kEnumWrite, S_OK);
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(MemberWrites(), std::vector<std::wstring>{L"4609"});
  page.Release();
}

TEST_F(ConfigCombo, AValidationErrorOfItsMemberIsShownByTheList) {
  ICreateErrorInfoPtr create;
  ASSERT_HR(S_OK, CreateErrorInfo(&create));
  create->SetDescription(const_cast<LPOLESTR>(L"The unit does not fit the sensor."));
  create->SetHelpFile(const_cast<LPOLESTR>(L"Corvane.chm"));
  create->SetHelpContext(77);
  IErrorInfoPtr info(create);
  IErrorInfo* raw = info;

  ConfigPage page = OpenActive();
  HWND combo = Combo(page);
  EXPECT_HR(S_OK, page.child->OnValidationError(5, _bstr_t(kMember), &raw));
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  EXPECT_EQ(m_parent->errorDialogs[0].text, L"The unit does not fit the sensor.");
  EXPECT_EQ(m_parent->errorDialogs[0].caption, L"Corvane.chm");
  EXPECT_EQ(m_parent->errorDialogs[0].helpContext, 77);
  EXPECT_EQ(GetFocus(), combo);

  EXPECT_HR(E_FAIL, page.child->OnValidationError(5, _bstr_t(kNotShown), &raw));
  EXPECT_HR(E_FAIL, page.child->OnValidationError(5, _bstr_t(L"system_units_temperature_unit"), &raw))
      << "member names are compared with their case";
  EXPECT_EQ(m_parent->errorDialogs.size(), 1u);
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// Below the door

// The texts object with a text form of the test's choice.
class CannedStrings : public CPVGetEnumStrings {
 public:
  CannedStrings(IPVGetSetAdapter* adapter, HRESULT result, const wchar_t* text)
      : CPVGetEnumStrings(L"Unit", adapter), m_result(result), m_text(text) {}
  STDMETHODIMP GetValue(CString& text, int format, CPromptInfo*) override {
    ++reads;
    if (format != PV_FORMAT_ENUM_STRINGS) return E_FAIL;
    if (SUCCEEDED(m_result)) text = m_text;
    return m_result;
  }
  int reads = 0;

 private:
  HRESULT m_result;
  const wchar_t* m_text;
};

// The enumeration value object with a stored position of the test's choice; it counts its
// writes.
class CannedEnum : public CPVGetSetEnum {
 public:
  CannedEnum(IPVGetSetAdapter* adapter, LONG stored) : CPVGetSetEnum(L"Unit", adapter), m_stored(stored) {}
  using CPVGetSetEnum::GetValue;
  using CPVGetSetEnum::SetValue;
  STDMETHODIMP GetValue(LONG* value, CPromptInfo*) override {
    *value = m_stored;
    return S_OK;
  }
  STDMETHODIMP SetValue(LONG, CPromptInfo*) override {
    ++writes;
    return S_OK;
  }
  int writes = 0;

 private:
  LONG m_stored;
};

using pvconfigtest::FixedCondition;
using pvconfigtest::ParentPage;

// The control subclassed onto a bare drop-down list in a host window, with no page.
class BareCombo : public pvconfigtest::ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    m_windowsAtStart = win::LiveWindowCount();
    ASSERT_TRUE(m_combo.SubclassWindow(NewComboWindow(9011)));
    orvolog::ClearRecords();
  }
  HWND NewComboWindow(int id) {
    HWND combo =
        CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 100, 20,
                        m_window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(combo, nullptr);
    return combo;
  }
  void TearDown() override {
    m_combo.DestroyWindow();
    EXPECT_EQ(win::LiveWindowCount(), m_windowsAtStart);
    ConfigFixture::TearDown();
  }
  IPVGetSetValuePtr Enum() { return IPVGetSetValuePtr(new CPVGetSetEnum(L"Unit", m_adapter), false); }
  IPVGetSetValuePtr Strings() { return IPVGetSetValuePtr(new CPVGetEnumStrings(L"Unit", m_adapter), false); }

  hostsim::HostWindow m_window;
  CPVCtrlConfigComboBox m_combo{9011};
  size_t m_windowsAtStart = 0;
};

TEST_F(BareCombo, EveryTextEndedByANewlineIsOneEntry) {
  const struct {
    const char* name;
    HRESULT result;
    const wchar_t* text;
    Texts entries;
  } cases[] = {
      {"three texts", S_OK, L"ten\ntwenty\nminus\n", {L"ten", L"twenty", L"minus"}},
      {"the second without its newline", S_OK, L"ten\ntwenty", {L"ten"}},
      {"an empty text", S_OK, L"\n", {L""}},
      {"no text", S_OK, L"", {}},
      {"a failed read", E_ACCESSDENIED, L"ten\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPVCtrlConfigComboBox control(9012);
    ASSERT_TRUE(control.SubclassWindow(NewComboWindow(9012)));
    control.AddString(L"left over");
    IPVGetSetValuePtr strings(new CannedStrings(m_adapter, c.result, c.text), false);
    EXPECT_HR(S_OK, control.Initialize(Enum(), strings, nullptr)) << "the text read does not decide";
    EXPECT_EQ(EntriesOf(control.m_hWnd), c.entries);
    control.DestroyWindow();
  }
}

TEST_F(BareCombo, TheFirstBindingDecidesForGood) {
  EXPECT_HR(S_OK, m_combo.Initialize(Enum(), Strings(), nullptr));
  EXPECT_EQ(EntriesOf(m_combo.m_hWnd), (Texts{L"ten", L"twenty", L"minus"}));
  IPVGetSetValuePtr other(new CannedStrings(m_adapter, S_OK, L"other\n"), false);
  EXPECT_HR(E_FAIL, m_combo.Initialize(Enum(), other, nullptr));
  EXPECT_EQ(static_cast<CannedStrings*>(other.GetInterfacePtr())->reads, 0) << "no refill";
  EXPECT_EQ(EntriesOf(m_combo.m_hWnd), (Texts{L"ten", L"twenty", L"minus"}));
  EXPECT_EQ(pvconfigtest::Lines{}, TakeLog());
}

TEST_F(BareCombo, AnInvalidFirstBindingLeavesTheControlUnboundForGood) {
  const pvconfigtest::Lines noPointer{L"InterfaceIsValid: Error: Interface pointer check failed!"};
  const struct {
    const char* name;
    std::function<IPVGetSetValuePtr()> value, strings;
    pvconfigtest::Lines log;
  } cases[] = {
      {"no value", [] { return IPVGetSetValuePtr(); }, [this] { return Strings(); }, noPointer},
      {"no strings", [this] { return Enum(); }, [] { return IPVGetSetValuePtr(); }, noPointer},
      {"a value without its adapter",
       [] { return IPVGetSetValuePtr(new CPVGetSetEnum(L"Unit", nullptr), false); },
       [this] { return Strings(); },
       {L"InterfaceIsValid: Error: Interface pointer check failed!",
        L"CPVGetSetMemberNameValue::InitializationIsValid: Error: m_spIPVGetSetAdapter not initialized!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPVCtrlConfigComboBox control(9012);
    ASSERT_TRUE(control.SubclassWindow(NewComboWindow(9012)));
    EXPECT_HR(E_FAIL, control.Initialize(c.value(), c.strings(), nullptr));
    EXPECT_EQ(TakeLog(), c.log);
    EXPECT_HR(E_FAIL, control.ReadValue());
    EXPECT_HR(E_FAIL, control.WriteValue());
    pvconfigtest::Lines twice = c.log;
    twice.insert(twice.end(), c.log.begin(), c.log.end());
    EXPECT_EQ(TakeLog(), twice) << "the read and the write each check the binding again";
    EXPECT_HR(E_FAIL, control.Initialize(Enum(), Strings(), nullptr)) << "a valid second binding is too late";
    EXPECT_EQ(control.GetCount(), 0);
    control.DestroyWindow();
  }
}

TEST_F(BareCombo, AStoredValueOutsideTheListShowsNoSelectionAndSavesNothing) {
  auto* stored = new CannedEnum(m_adapter, 5);
  IPVGetSetValuePtr value(stored, false);
  ASSERT_HR(S_OK, m_combo.Initialize(value, Strings(), nullptr));
  m_combo.SetCurSel(1);
  EXPECT_HR(S_OK, m_combo.RefreshFromValue());
  EXPECT_EQ(m_combo.GetCurSel(), -1);
  EXPECT_FALSE(m_combo.IsDirty());
  EXPECT_HR(S_OK, m_combo.Save());
  EXPECT_EQ(stored->writes, 0);
}

TEST_F(BareCombo, TheEnableConditionCanOnlyDisable) {
  hostsim::Ref<hostsim::HostParent> parent(hostsim::HostParent::Create(m_module));
  ParentPage page(parent.get());
  ASSERT_HR(S_OK, m_combo.SetIPVPropPageEnum(&page));
  ASSERT_HR(S_OK, m_combo.SetIModule(m_module));
  const struct {
    const char* name;
    HRESULT result;
    BOOL answer;
    BOOL enabled;
  } cases[] = {
      {"yes", S_OK, TRUE, TRUE}, {"no", S_OK, FALSE, FALSE}, {"a failed question", E_FAIL, TRUE, FALSE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedCondition condition(c.result, c.answer);
    CPVCtrlConfigComboBox control(9011);
    ASSERT_HR(S_OK, control.SetIPVPropPageEnum(&page));
    ASSERT_HR(S_OK, control.SetIModule(m_module));
    control.Initialize(Enum(), Strings(), &condition);
    EXPECT_EQ(condition.References(), 2u);
    EXPECT_EQ(control.GetEnableState(), c.enabled);
    parent->vexil.mode = 4;
    EXPECT_FALSE(control.GetEnableState()) << "the default rule still applies";
    parent->vexil.mode = 0;
  }
  EXPECT_TRUE(m_combo.GetEnableState()) << "no condition: the default rule alone";
}

TEST_F(BareCombo, TheTextColourFollowsTheRecordedForceState) {
  hostsim::Ref<hostsim::HostParent> parent(hostsim::HostParent::Create(m_module));
  ParentPage page(parent.get());
  ASSERT_HR(S_OK, m_combo.SetIPVPropPageEnum(&page));
  ASSERT_HR(S_OK, m_combo.Initialize(Enum(), Strings(), nullptr));
  hostsim::ViewConnectorState& host = *parent->viewConnector;
  constexpr COLORREF kUnset = 0x00123456;
  const struct {
    const char* name;
    bool forced, forcesEnabled;
    bool answersApplication;
    HRESULT propertyResult;
    int forceState;
    HRESULT result;
    COLORREF color;
  } cases[] = {
      {"not forced", false, false, true, S_OK, 0, S_OK, GetSysColor(COLOR_WINDOWTEXT)},
      {"forced, forces disabled", true, false, true, S_OK, 1, S_OK, host.forcedColour},
      {"forced, forces enabled", true, true, true, S_OK, 2, S_OK, host.forcedEnabledColour},
      {"no application object", true, true, false, S_OK, 2, S_OK, kUnset},
      {"a failed colour read", true, false, true, DISP_E_MEMBERNOTFOUND, 1, DISP_E_MEMBERNOTFOUND, kUnset},
  };
  CClientDC dc(&m_combo);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Tag()->SetForced(L"Unit", c.forced));
    Tag()->SetForcesEnabled(c.forcesEnabled ? VARIANT_TRUE : VARIANT_FALSE);
    host.answersApplicationInterface = c.answersApplication;
    host.propertyResult = c.propertyResult;
    EXPECT_HR(S_OK, m_combo.Refresh());
    EXPECT_EQ(m_combo.GetForceState(), c.forceState);
    SetTextColor(dc.GetSafeHdc(), kUnset);
    EXPECT_HR(c.result, m_combo.SetTextColorFromForceState(&dc));
    EXPECT_EQ(GetTextColor(dc.GetSafeHdc()), c.color);
  }
  TakeLog();
}

}  // namespace
