// The device controls through the host's door: the device test page, opened over the
// Coriolis module, holds one of each device control with the item ids and masters of the
// meter pages; the user chooses entries and types, the host activates, saves, refreshes and
// reverts, and the tests read the captions, lists and enable states on screen and what
// reached the tag.
#include <gtest/gtest.h>
#include <platform/testing_locale.h>

#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

#include "DevicePageHost.h"

namespace {

namespace win = platform::windows;
using devicepage::ComboSelection;
using devicepage::DevicePage;
using devicepage::DevicePageHost;
using devicepage::EntriesOf;
using devicepage::Lines;
using devicepage::TotalizerUnitTexts;

using pvtest::Choose;

class DeviceControls : public DevicePageHost {};

// ---------------------------------------------------------------------------------------------
// Binding

TEST_F(DeviceControls, EveryControlBindsOverTheBuiltInModule) {
  UseModule(devicepage::BuiltInDefinition());
  devicepage::TakeLog();
  DevicePage page = OpenActive();
  const int bound[] = {
      IDC_LOWFLOW_ASSIGN,     IDC_LOWFLOW_ON_VALUE, IDC_LOWFLOW_UNIT,        IDC_PARTIALLY_ASSIGN,
      IDC_PARTIALLY_LOW_UNIT, IDC_MEDIUM_SELECT,    IDC_MEDIUM_GAS_TYPE,     IDC_MEDIUM_SOUND_VELOCITY,
      IDC_TOTALIZER_ASSIGN,   IDC_TOTALIZER_UNIT,   IDC_TOTALIZER_FLOW_UNIT, IDC_DEVICE_FLOAT,
      IDC_NOTIFYING_COMBO,    IDC_SILENT_COMBO,     IDC_DENSITY_NAME,        IDC_DENSITY_WITHOUT_API_NAME,
      IDC_UNLISTED_NAME,      IDC_ORPHAN_UNIT,      IDC_ORPHAN_EDIT};
  for (int id : bound) {
    HRESULT result = E_UNEXPECTED;
    ASSERT_HR(S_OK, page.test->GetBindResult(id, &result));
    EXPECT_HR(S_OK, result) << id;
  }
  EXPECT_EQ(devicepage::TakeLog(), Lines{});
  EXPECT_HR(S_OK, page.child->Refresh());
  page.Release();
}

TEST_F(DeviceControls, UnitNameAndFloatBindingsWithBadSettingsAreRefusedAndLogged) {
  devicepage::TakeLog();
  DevicePage page = OpenActive(kRefusedBindingsPageClsid);
  struct Case {
    int id;
    HRESULT result;
  };
  for (const Case& c :
       {Case{IDC_FLOAT_TYPE_NAME, S_OK}, Case{IDC_TOO_MANY_DECIMALS_NAME, E_FAIL},
        Case{IDC_UNKNOWN_TYPE_NAME, E_FAIL}, Case{IDC_DEVICE_FLOAT_TOO_MANY_DECIMALS, E_FAIL}}) {
    HRESULT result = E_UNEXPECTED;
    ASSERT_HR(S_OK, page.test->GetBindResult(c.id, &result));
    EXPECT_HR(c.result, result) << c.id;
  }
  const Lines log = devicepage::TakeLog();
  const Lines expected = {
      L"CPVCtrlConfigStaticTextPages::InitializationIsValid: Invalid number of decimal places specified for "
      L"Tavelin5000_Float data type.",
      L"CPVCtrlConfigStaticTextPages::Initialize: Fail to initialise.",
      L"CPVCtrlConfigStaticTextPages::InitializationIsValid: Invalid Tavelin data type for control.",
      L"CPVCtrlConfigStaticTextPages::DoRefresh: Fail to initialise."};
  for (const std::wstring& line : expected)
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << devicepage::Narrow(line);
  // A caption whose binding failed is left as it was, and its refresh fails.
  EXPECT_EQ(page.Text(IDC_TOO_MANY_DECIMALS_NAME), L"");
  EXPECT_EQ(page.Text(IDC_UNKNOWN_TYPE_NAME), L"");
  EXPECT_EQ(page.Text(IDC_FLOAT_TYPE_NAME), L"??") << "9335 has no table";
  EXPECT_HR(E_FAIL, page.child->Refresh());
  // The device float edit refused for its twelve decimals rounds nothing on focus loss: what is
  // typed stays as typed (twelve decimals are beyond the device's rounding, as no decimals are).
  HWND edit = page.Item(IDC_DEVICE_FLOAT_TOO_MANY_DECIMALS);
  SetWindowTextW(edit, L"1.23456");
  ASSERT_TRUE(win::FocusControl(edit));
  SetFocus(page.Window());
  EXPECT_EQ(page.Text(IDC_DEVICE_FLOAT_TOO_MANY_DECIMALS), L"1.23456") << "not rounded";
  page.Release();
}

TEST_F(DeviceControls, RefusedUnitNameBindingsLogAtTheirFixedLinesUnderTheControlsSource) {
  devicepage::TakeLog();
  DevicePage page = OpenActive(kRefusedBindingsPageClsid);
  struct Record {
    std::wstring function;
    std::wstring message;
    int32_t line;
    bool operator==(const Record&) const = default;
  };
  std::vector<Record> seen;
  for (const orvolog::Record& record : orvolog::RecentRecords()) {
    if (record.sourceFile != L"PVCtrlConfigStaticTextPages") continue;
    EXPECT_EQ(record.level, 0) << devicepage::Narrow(record.message);
    seen.push_back({record.function, record.message, record.line});
  }
  // The binding with twelve decimals (three arguments), the one with data type 7 (two), then
  // the refresh of each on activation.
  const std::wstring valid = L"CPVCtrlConfigStaticTextPages::InitializationIsValid";
  const std::wstring initialize = L"CPVCtrlConfigStaticTextPages::Initialize";
  const std::wstring refresh = L"CPVCtrlConfigStaticTextPages::DoRefresh";
  const std::wstring decimals =
      L"Invalid number of decimal places specified for Tavelin5000_Float data type.";
  const std::wstring type = L"Invalid Tavelin data type for control.";
  const Record expected[] = {
      {valid, decimals, 149}, {initialize, L"Fail to initialise.", 100},
      {valid, type, 139},     {initialize, L"Fail to initialise.", 70},
      {valid, decimals, 149}, {refresh, L"Fail to initialise.", 203},
      {valid, type, 139},     {refresh, L"Fail to initialise.", 203},
  };
  ASSERT_GE(seen.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(testing::Message() << "record " << i << ": " << devicepage::Narrow(seen[i].function) << ": "
                                    << devicepage::Narrow(seen[i].message));
    EXPECT_EQ(seen[i].function, expected[i].function);
    EXPECT_EQ(seen[i].message, expected[i].message);
    EXPECT_EQ(seen[i].line, expected[i].line);
  }
  page.Release();
}

TEST_F(DeviceControls, AUnitNameStaticTakesTheTableOfItsOwnId) {
  DevicePage page = OpenActive();
  struct Case {
    LONG code;
    const wchar_t* density;
    const wchar_t* withoutApi;
  };
  const Case cases[] = {{12039, L"kg/m3", L"kg/m3"},
                        {12288, L"API", L"??"},
                        {12059, L"lb/bbl (us;oil)", L"??"},
                        {2204, L"??", L"??"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Store(kDensityUnitMember, c.code);
    EXPECT_HR(S_OK, page.events->DataChanged());
    EXPECT_EQ(page.Text(IDC_DENSITY_NAME), c.density);
    EXPECT_EQ(page.Text(IDC_DENSITY_WITHOUT_API_NAME), c.withoutApi);
    EXPECT_EQ(page.Text(IDC_UNLISTED_NAME), L"??") << "an id without a table";
  }
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// Unit captions of the master's unit member

TEST_F(DeviceControls, TheLowFlowCaptionShowsTheFlowUnitOfItsAssignment) {
  Store(kMassFlowUnitMember, 5124);
  Store(kVolumeFlowUnitMember, 5170);
  Store(kCorrectedVolumeFlowUnitMember, 5201);
  DevicePage page = OpenActive();
  struct Case {
    int selection;
    const wchar_t* caption;
  };
  const Case cases[] = {{0, L" "}, {1, L"kg/s"}, {2, L"m3/h"}, {3, L"Nm3/h"}, {4, L" "}, {-1, L" "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "selection " << c.selection);
    Choose(page, IDC_LOWFLOW_ASSIGN, c.selection);
    EXPECT_EQ(page.Text(IDC_LOWFLOW_UNIT), c.caption);
  }
  page.Release();
}

TEST_F(DeviceControls, TheDensityCaptionShowsTheDensityUnitsOfItsAssignment) {
  Store(kReferenceDensityUnitMember, 12054);
  DevicePage page = OpenActive();
  struct Case {
    int selection;
    LONG densityUnit;
    const wchar_t* caption;
  };
  const Case cases[] = {{1, 12039, L"kg/m3"},  {1, 12288, L" "}, {1, 2204, L"SD 4C"},
                        {2, 12039, L"kg/Nm3"}, {0, 12039, L" "}, {3, 12039, L" "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "selection " << c.selection << " density unit " << c.densityUnit);
    Store(kDensityUnitMember, c.densityUnit);
    page.events->DataChanged();
    Choose(page, IDC_PARTIALLY_ASSIGN, c.selection);
    EXPECT_EQ(page.Text(IDC_PARTIALLY_LOW_UNIT), c.caption);
  }
  page.Release();
}

TEST_F(DeviceControls, ATotalizerMasterShowsVolumeMassAndCorrectedVolumeUnits) {
  Store(kMassFlowUnitMember, 5136);
  Store(kVolumeFlowUnitMember, 5126);
  Store(kCorrectedVolumeFlowUnitMember, 5214);
  DevicePage page = OpenActive();
  const std::vector<std::wstring> expected = {L" ", L"l/s", L"kg/h", L"Sm3/h", L"l/s", L"kg/h", L" ", L" "};
  for (int selection = 0; selection < static_cast<int>(expected.size()); ++selection) {
    SCOPED_TRACE(testing::Message() << "selection " << selection);
    Choose(page, IDC_TOTALIZER_ASSIGN, selection);
    EXPECT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), expected[selection]);
  }
  page.Release();
}

TEST_F(DeviceControls, AUnitCodeOutsideItsTableAnEmptySelectorAndAFailedReadShowABlank) {
  Store(kVolumeFlowUnitMember, 5170);
  DevicePage page = OpenActive();
  Choose(page, IDC_TOTALIZER_ASSIGN, 1);
  ASSERT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), L"m3/h");

  Store(kVolumeFlowUnitMember, 9999);
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), L" ") << "9999 is in no volume flow row";

  Store(kVolumeFlowUnitMember, 5170);
  Tag()->FailValueReads(kVolumeFlowUnitMember, E_FAIL);
  page.child->Refresh();
  EXPECT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), L" ") << "a failed read";
  Tag()->FailValueReads(kVolumeFlowUnitMember, S_OK);

  HRESULT bound = E_UNEXPECTED;
  ASSERT_HR(S_OK, page.test->RebindFlowUnit(TRUE, FALSE, TRUE, &bound));
  EXPECT_HR(S_OK, bound);
  page.child->Refresh();
  EXPECT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), L" ") << "no volume flow selector";
  Choose(page, IDC_TOTALIZER_ASSIGN, 3);
  EXPECT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), L"Nm3/h");
  page.Release();
}

TEST_F(DeviceControls, ACaptionFollowsTheStoredUnitAfterARevertOrADataChange) {
  Store(kMassFlowUnitMember, 5124);
  DevicePage page = OpenActive();
  Choose(page, IDC_LOWFLOW_ASSIGN, 1);
  ASSERT_EQ(page.Text(IDC_LOWFLOW_UNIT), L"kg/s");
  Store(kMassFlowUnitMember, 5136);
  EXPECT_HR(S_OK, page.events->DataChanged());
  EXPECT_EQ(page.Text(IDC_LOWFLOW_UNIT), L"kg/h");
  Store(kMassFlowUnitMember, 5124);
  Store(kLowFlowAssignMember, 2);
  EXPECT_HR(S_OK, page.events->Reverted());
  EXPECT_EQ(ComboSelection(page.Item(IDC_LOWFLOW_ASSIGN)), 2);
  EXPECT_EQ(page.Text(IDC_LOWFLOW_UNIT), L"m3/h") << "reverted to the volume flow assignment";
  page.Release();
}

TEST_F(DeviceControls, AChangeOfAnotherControlLeavesTheCaption) {
  Store(kMassFlowUnitMember, 5124);
  DevicePage page = OpenActive();
  Choose(page, IDC_LOWFLOW_ASSIGN, 1);
  Store(kMassFlowUnitMember, 5136);
  Choose(page, IDC_PARTIALLY_ASSIGN, 2);
  EXPECT_EQ(page.Text(IDC_LOWFLOW_UNIT), L"kg/s");
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// The totalizer's unit list and preset unit caption

using devicepage::UnitTexts;

TEST_F(DeviceControls, ChangingTheProcessVariableListsItsFamilyAndWritesItsDefaultUnit) {
  // Volume, mass, corrected volume and every unit, by the process variable's position.
  ExpectTotalizerFamilies({{0, 6, 26, 18},
                           {5, 6, 26, 18},
                           {6, 0, 5, 4},
                           {10, 0, 5, 4},
                           {11, 27, 34, 30},
                           {15, 27, 34, 30},
                           {16, 0, 35, 35},
                           {20, 0, 35, 35}},
                          20);
}

TEST_F(DeviceControls, TheUnitListShowsTheStoredUnitAtItsPositionInTheFamily) {
  Store(kTotalizerAssignMember, 100 + 2);  // a volume variable
  Store(kTotalizerUnitMember, devicepage::kTotalizerUnitCodeBase + 10);
  DevicePage page = OpenActive();
  EXPECT_EQ(ComboSelection(page.Item(IDC_TOTALIZER_UNIT)), 4);
  EXPECT_EQ(page.Text(IDC_TOTALIZER_PRESET_UNIT), L"l");
  page.Release();
}

TEST_F(DeviceControls, TheChosenUnitIsSavedAsItsPositionPlusTheFamilyOffset) {
  DevicePage page = OpenActive();
  struct Case {
    int selector;
    int position;
    int unit;
    const wchar_t* caption;
  };
  const Case cases[] = {{12, 3, 30, L"Sm3"}, {7, 1, 1, L"kg"}, {0, 0, 6, L"cm3"}, {20, 35, 35, L"None"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "process variable " << c.selector << " unit position " << c.position);
    Choose(page, IDC_TOTALIZER_ASSIGN, c.selector);
    Choose(page, IDC_TOTALIZER_UNIT, c.position);
    EXPECT_EQ(page.Text(IDC_TOTALIZER_PRESET_UNIT), c.caption);
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_EQ(Stored(kTotalizerUnitMember), devicepage::kTotalizerUnitCodeBase + c.unit);
  }
  page.Release();
}

TEST_F(DeviceControls, AUnitListWithoutSelectionShowsAnUnknownPresetUnitAndSavesNothing) {
  Store(kTotalizerAssignMember, 100 + 1);                               // a volume variable
  Store(kTotalizerUnitMember, devicepage::kTotalizerUnitCodeBase + 2);  // a mass unit
  DevicePage page = OpenActive();
  EXPECT_EQ(ComboSelection(page.Item(IDC_TOTALIZER_UNIT)), -1);
  EXPECT_EQ(page.Text(IDC_TOTALIZER_PRESET_UNIT), L"??");
  Choose(page, IDC_TOTALIZER_UNIT, 2);
  Choose(page, IDC_TOTALIZER_UNIT, -1);
  const size_t writes = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(Tag()->Writes().size(), writes) << "no unit of another family written";
  EXPECT_EQ(Stored(kTotalizerUnitMember), devicepage::kTotalizerUnitCodeBase + 2);
  page.Release();
}

TEST_F(DeviceControls, ARevertOfTheProcessVariableRefillsTheUnitList) {
  Store(kTotalizerAssignMember, 100 + 7);  // a mass variable
  Store(kTotalizerUnitMember, devicepage::kTotalizerUnitCodeBase + 4);
  DevicePage page = OpenActive();
  HWND units = page.Item(IDC_TOTALIZER_UNIT);
  ASSERT_EQ(EntriesOf(units), UnitTexts(0, 5));
  // The host reverts both members to a volume variable and unit.
  Store(kTotalizerAssignMember, 100 + 3);
  Store(kTotalizerUnitMember, devicepage::kTotalizerUnitCodeBase + 8);
  const size_t writes = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.events->Reverted());
  EXPECT_EQ(EntriesOf(units), UnitTexts(6, 26));
  EXPECT_EQ(ComboSelection(units), 2);
  EXPECT_EQ(page.Text(IDC_TOTALIZER_PRESET_UNIT), L"m3");
  EXPECT_EQ(Tag()->Writes().size(), writes) << "a refill from the stored value writes nothing";
  page.Release();
}

TEST_F(DeviceControls, AFailedReadOfTheProcessVariableListsEveryUnitAndWritesNothing) {
  Tag()->FailOperation(kTotalizerAssignMember, hostsim::TagOperation::kEnumRead, E_FAIL);
  Store(kTotalizerUnitMember, devicepage::kTotalizerUnitCodeBase + 12);
  DevicePage page = OpenActive();
  HWND units = page.Item(IDC_TOTALIZER_UNIT);
  EXPECT_EQ(EntriesOf(units), TotalizerUnitTexts());
  EXPECT_EQ(ComboSelection(units), 12);
  EXPECT_TRUE(Tag()->Writes().empty());
  page.Release();
}

TEST_F(DeviceControls, AFailedWriteOfTheDefaultUnitIsLoggedAndSavedWithThePage) {
  DevicePage page = OpenActive();
  Tag()->FailOperation(kTotalizerUnitMember, hostsim::TagOperation::kEnumWrite, E_FAIL);
  devicepage::TakeLog();
  Choose(page, IDC_TOTALIZER_ASSIGN, 7);
  EXPECT_EQ(ComboSelection(page.Item(IDC_TOTALIZER_UNIT)), 4) << "the default unit shown";
  const Lines log = devicepage::TakeLog();
  EXPECT_NE(
      std::find(log.begin(), log.end(),
                L"CPVCtrlConfigComboBoxTot::FillUnitItems: Failed to set the default unit of the process "
                L"variable."),
      log.end());
  EXPECT_HR(E_FAIL, page.child->Save()) << "the unit shown is saved, and its failure reported";
  Tag()->FailOperation(kTotalizerUnitMember, hostsim::TagOperation::kEnumWrite, S_OK);
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(Stored(kTotalizerUnitMember), devicepage::kTotalizerUnitCodeBase + 4);
  page.Release();
}

TEST_F(DeviceControls, TheOpenedUnitAndNotifyingListsAreSizedForSixRowsWhateverTheirCount) {
  DevicePage page = OpenActive();
  // Six rows of the page's 8-point font (tmHeight 13) between two edges of 2, plus 2; the
  // configuration combo box of three entries is sized for three.
  struct Case {
    int comboId;
    int rows;
  };
  for (const Case& c :
       {Case{IDC_TOTALIZER_UNIT, 6}, Case{IDC_NOTIFYING_COMBO, 6}, Case{IDC_MEDIUM_SELECT, 3}}) {
    SCOPED_TRACE(c.comboId);
    HWND combo = page.Item(c.comboId);
    RECT client{};
    GetClientRect(combo, &client);
    ASSERT_TRUE(win::ChooseComboItemByKeys(combo, 0, VK_ESCAPE));
    RECT window{};
    GetWindowRect(combo, &window);
    EXPECT_EQ(window.bottom - window.top, client.bottom + 2 * 2 + c.rows * 13 + 2);
  }
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// Dependent controls

TEST_F(DeviceControls, TheSwitchOnValueFollowsTheAssignmentAndIsRoundedOnFocusLoss) {
  DevicePage page = OpenActive();
  HWND onValue = page.Item(IDC_LOWFLOW_ON_VALUE);
  for (int selection : {-1, 0, 1, 2, 3, 4}) {
    SCOPED_TRACE(testing::Message() << "selection " << selection);
    Choose(page, IDC_LOWFLOW_ASSIGN, selection);
    EXPECT_EQ(page.Enabled(IDC_LOWFLOW_ON_VALUE), selection >= 1 && selection <= 3);
  }
  Choose(page, IDC_LOWFLOW_ASSIGN, 1);
  devicepage::Retype(onValue, L"-2.123456");
  ASSERT_TRUE(win::FocusControl(page.Item(IDC_LOWFLOW_ASSIGN)));
  EXPECT_EQ(page.Text(IDC_LOWFLOW_ON_VALUE), L"-2.12346");
  EXPECT_HR(S_OK, page.child->Save());
  hostsim::MemberValue saved;
  ASSERT_TRUE(Tag()->GetValue(kLowFlowOnValueMember, &saved));
  EXPECT_FLOAT_EQ(saved.real, -2.12346f);
  page.Release();
}

TEST_F(DeviceControls, InACommaLocaleTheSwitchOnValueKeepsWhatIsTyped) {
  DevicePage page = OpenActive();
  Choose(page, IDC_LOWFLOW_ASSIGN, 1);
  HWND onValue = page.Item(IDC_LOWFLOW_ON_VALUE);
  // The C runtime's numeric locale, put back whatever happens below.
  struct NumericLocale {
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    ~NumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
  } restore;
  ASSERT_NE(platform::test_support::SetCommaNumericLocale(), nullptr)
      << "scripts/setup generates de_DE.UTF-8";
  devicepage::Retype(onValue, L"2,123456");
  ASSERT_TRUE(win::FocusControl(page.Item(IDC_LOWFLOW_ASSIGN)));
  EXPECT_EQ(page.Text(IDC_LOWFLOW_ON_VALUE), L"2,123456") << "the device's rounding takes only '.'";
  devicepage::Retype(onValue, L"2.5");
  EXPECT_EQ(page.Text(IDC_LOWFLOW_ON_VALUE), L"25") << "the framework's mask takes the locale's point";
  page.Release();
}

TEST_F(DeviceControls, TheGasTypeFollowsTheMediumAndTheSoundVelocityFollowsBoth) {
  DevicePage page = OpenActive();
  for (int medium : {-1, 0, 1, 2}) {
    for (int gasType : {-1, 0, 21, 22, 23}) {
      SCOPED_TRACE(testing::Message() << "medium " << medium << " gas type " << gasType);
      Choose(page, IDC_MEDIUM_SELECT, 1);
      Choose(page, IDC_MEDIUM_GAS_TYPE, gasType);
      Choose(page, IDC_MEDIUM_SELECT, medium);
      EXPECT_EQ(page.Enabled(IDC_MEDIUM_GAS_TYPE), medium == 1);
      EXPECT_EQ(page.Enabled(IDC_MEDIUM_SOUND_VELOCITY), medium == 1 && gasType == 22);
    }
  }
  page.Release();
}

TEST_F(DeviceControls, TheDeviceFloatEditRoundsToItsOwnDecimalsAndSavesThem) {
  DevicePage page = OpenActive();
  HWND edit = page.Item(IDC_DEVICE_FLOAT);
  devicepage::Retype(edit, L"-1.005");
  ASSERT_TRUE(win::FocusControl(page.Item(IDC_LOWFLOW_ASSIGN)));
  EXPECT_EQ(page.Text(IDC_DEVICE_FLOAT), L"-1.01");
  EXPECT_HR(S_OK, page.child->Save());
  hostsim::MemberValue saved;
  ASSERT_TRUE(Tag()->GetValue(kDeviceFloatMember, &saved));
  EXPECT_FLOAT_EQ(saved.real, -1.01f);
  page.Release();
}

TEST_F(DeviceControls, AMasterThatIsNoItemOfThePageCountsAsNoSelection) {
  Store(kDensityUnitMember, 12039);
  DevicePage page = OpenActive();
  EXPECT_EQ(page.Text(IDC_ORPHAN_UNIT), L" ");
  EXPECT_EQ(page.Text(IDC_ORPHAN_PRESET_UNIT), L"??");
  EXPECT_FALSE(page.Enabled(IDC_ORPHAN_EDIT)) << "no selection lies in 0..0";
  EXPECT_HR(S_OK, page.child->Refresh());
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// The host edits on the page

TEST_F(DeviceControls, TheHostEditsOnThePageKeepTheirValuesApartFromWhatTheyShow) {
  DevicePage page = OpenActive();
  HWND regulator = page.Item(IDC_HOST_REGULATOR);
  HWND time = page.Item(IDC_HOST_TIME);
  EXPECT_EQ(SendMessageW(regulator, EM_GETLIMITTEXT, 0, 0), 10);
  EXPECT_EQ(SendMessageW(time, EM_GETLIMITTEXT, 0, 0), 2);
  const auto set = [&](LONG id, const wchar_t* text) {
    HRESULT result = E_UNEXPECTED;
    EXPECT_HR(S_OK, page.test->SetHostValueText(id, _bstr_t(text), &result));
    return result;
  };
  const auto get = [&](LONG id) {
    _bstr_t text;
    HRESULT result = E_UNEXPECTED;
    EXPECT_HR(S_OK, page.test->GetHostValueText(id, text.GetAddress(), &result));
    EXPECT_HR(S_OK, result);
    return std::wstring(text.length() ? static_cast<const wchar_t*>(text) : L"");
  };

  win::TypeText(regulator, L"-1.5x");
  EXPECT_EQ(page.Text(IDC_HOST_REGULATOR), L"-1.5");
  EXPECT_EQ(get(IDC_HOST_REGULATOR), L"-1.5");
  EXPECT_HR(E_INVALIDARG, set(IDC_HOST_REGULATOR, L"2x"));
  EXPECT_EQ(page.Text(IDC_HOST_REGULATOR), L"");
  EXPECT_EQ(get(IDC_HOST_REGULATOR), L"");
  EXPECT_HR(S_OK, set(IDC_HOST_REGULATOR, L"7.25"));
  ASSERT_HR(S_OK, page.test->SetHostShowWhenDisabled(IDC_HOST_REGULATOR, FALSE));
  EnableWindow(regulator, FALSE);
  EXPECT_EQ(page.Text(IDC_HOST_REGULATOR), L"");
  EXPECT_EQ(get(IDC_HOST_REGULATOR), L"");
  EnableWindow(regulator, TRUE);
  EXPECT_EQ(get(IDC_HOST_REGULATOR), L"7.25") << "the value stayed stored";

  EXPECT_HR(S_OK, set(IDC_HOST_TIME, L"42"));
  EXPECT_EQ(page.Text(IDC_HOST_TIME), std::wstring(45, L'*'));
  EXPECT_EQ(get(IDC_HOST_TIME), L"42");
  SendMessageW(time, EM_SETSEL, 0, -1);
  win::TypeText(time, L"17");
  EXPECT_EQ(page.Text(IDC_HOST_TIME), L"17");
  EXPECT_EQ(get(IDC_HOST_TIME), L"17");
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// The notifying combo box

TEST_F(DeviceControls, TheNotifyingComboBoxTellsItsNameAndSelectionAfterEachRead) {
  DevicePage page = OpenActive();
  LONG count = 0;
  _bstr_t name;
  _variant_t value;
  ASSERT_HR(S_OK, page.test->GetNotifications(&count, name.GetAddress(), &value));
  EXPECT_EQ(count, 1) << "the activation's read";
  EXPECT_EQ(std::wstring(name), kNotifyingComboName);
  EXPECT_EQ(value.vt, VT_INT);
  EXPECT_EQ(value.intVal, 1);

  Store(kNotifyingComboMember, 2);
  ASSERT_HR(S_OK, page.test->SetNotifyResult(E_ABORT));
  EXPECT_HR(E_ABORT, page.child->Refresh()) << "the notification's answer is the read's";
  ASSERT_HR(S_OK, page.test->GetNotifications(&count, name.GetAddress(), &value));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(value.intVal, 2);
  EXPECT_EQ(ComboSelection(page.Item(IDC_SILENT_COMBO)), 2)
      << "without a notify object the read shows the value";

  Choose(page, IDC_NOTIFYING_COMBO, 0);
  ASSERT_HR(S_OK, page.test->SetNotifyResult(S_OK));
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(Stored(kNotifyingComboMember), 0);
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// Every row of the caption tables, and where the device's rounding is not the framework's

TEST_F(DeviceControls, EveryRowOfTheFiveUnitCaptionTablesShowsItsCaption) {
  ExpectEveryCaptionRow({});
}

TEST_F(DeviceControls, ThePresetCaptionIsTheTotalizerUnitTextOfEveryPositionInEachFamily) {
  // Volume, mass, corrected volume and every unit.
  ExpectEveryPresetCaption({{0, 6, 26, 18}, {7, 0, 5, 4}, {12, 27, 34, 30}, {20, 0, 35, 35}});
}

TEST_F(DeviceControls, TheDeviceFloatEditsRoundAsTheDeviceDoesWhereTheFrameworkWouldNot) {
  DevicePage page = OpenActive();
  Choose(page, IDC_LOWFLOW_ASSIGN, 1);
  struct Case {
    int id;
    const wchar_t* typed;
    const wchar_t* shown;
    const char* why;
  } cases[] = {
      // A number too large for the framework's fixed-point rounding at five decimals, which
      // would leave it as typed.
      {IDC_LOWFLOW_ON_VALUE, L"100000000000000.5", L"100000000000000.50000", "fifteen integer digits"},
      // A negative number that rounds to zero keeps its sign, where the framework writes 0.00.
      {IDC_DEVICE_FLOAT, L"-0.001", L"-0.00", "a negative zero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    devicepage::Retype(page.Item(c.id), c.typed);
    ASSERT_TRUE(win::FocusControl(page.Item(IDC_MEDIUM_SELECT)));
    EXPECT_EQ(page.Text(c.id), c.shown);
  }
  page.Release();
}

}  // namespace
