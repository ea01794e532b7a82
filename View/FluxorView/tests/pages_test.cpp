// FluxorView's pages through the host's door on the electromagnetic meter's built-in
// definition, built from the pages' tables (its own pages and the configuration rows of those
// it shares with CorvaneView): each row's item lists or shows its own member and
// a change there writes that member alone; the focus, the enable rules, the density caption,
// the order in which host calls reach the controls and the flow damping's input.
#include <platform/testing_windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../../DeviceControls/tests/UnitCaptionTables.h"
#include "FluxorViewHost.h"

namespace {

namespace win = platform::windows;
using fluxorview::kCatalogue;
using fluxorview::Page;
using pvtest::ComboSelection;
using pvtest::EntriesOf;
using pvtest::Lines;
using pvtest::Narrow;
using pvtest::TakeLog;
using Write = hostsim::ConfigurationTag::Write;

enum class Kind { kCombo, kFloat, kInteger };

struct Row {
  int id;
  Kind kind;
  const wchar_t* member;
};

// A page of the catalogue with its table in control-list order, its focus item, and the
// master position at which every dependent edit of the page is enabled (-1: none).
struct PageTable {
  size_t catalogueIndex;
  std::vector<Row> rows;
  int focus;
  int master;
  int masterPosition;
};

constexpr Kind C = Kind::kCombo, F = Kind::kFloat, I = Kind::kInteger;

const std::vector<PageTable>& Tables() {
  static const std::vector<PageTable> tables = {
      {1,
       {{9066, C, L"External_compensation_Density_source"},
        {9064, C, L"External_comp_Temp_source"},
        {9062, F, L"External_compensation_Fixed_density"}},
       9066,
       9066,
       0},
      {3,
       {{9059, C, L"Empty_pipe_det_Empty_pipe_det"},
        {9171, F, L"Empty_pipe_det_Response_time"},
        {9173, F, L"Empty_pipe_det_Switch_point_EPD"},
        {9060, C, L"Empty_pipe_detection_New_adjustment"}},
       9059,
       9059,
       1},
      {4,
       {{9141, C, L"Process_parameters_Flow_override"},
        {9142, F, L"Process_param_Conduct_damping"},
        {9166, C, L"Process_parameters_Filter_options"},
        {9163, I, L"Process_parameters_Flow_damping"}},
       9141,
       -1,
       -1},
      {7,
       {{9164, I, L"Access_Enter_access_code"},
        {9128, C, L"Write_protection"},
        {9160, F, L"Diagnostic_handling_Alarm_delay"},
        {9413, C, L"Diagn_behavior_Diagnostic_no302"},
        {9412, C, L"Diagn_behavior_Diagnostic_no531"},
        {9181, C, L"Diagn_behavior_Diagnostic_no832"},
        {9162, C, L"Diagn_behavior_Diagnostic_no833"},
        {9168, C, L"Diagn_behavior_Diagnostic_no834"},
        {9170, C, L"Diagn_behavior_Diagnostic_no835"},
        {9242, C, L"Diagn_behavior_Diagnostic_no937"},
        {9182, C, L"Diagn_behavior_Diagnostic_no962"}},
       9128,
       -1,
       -1},
      {8,
       {{9132, C, L"System_units_Mass_flow_unit"},
        {9133, C, L"System_units_Volume_flow_unit"},
        {9125, C, L"System_units_Corvolflow_unit"},
        {9134, C, L"System_units_Mass_unit"},
        {9135, C, L"System_units_Volume_unit"},
        {9156, C, L"System_units_Density_unit"},
        {9022, C, L"System_units_Temperature_unit"},
        {9021, C, L"System_units_Conductivity_unit"}},
       9132,
       -1,
       -1},
      // The pages shared with the Coriolis meter, on this meter's definition.
      {0,
       {{9025, C, L"Input_assembly_Position_1"},  {9028, C, L"Input_assembly_Position_2"},
        {9033, C, L"Input_assembly_Position_3"},  {9038, C, L"Input_assembly_Position_4"},
        {9041, C, L"Input_assembly_Position_5"},  {9043, C, L"Input_assembly_Position_6"},
        {9044, C, L"Input_assembly_Position_7"},  {9045, C, L"Input_assembly_Position_8"},
        {9046, C, L"Input_assembly_Position_9"},  {9047, C, L"Input_assembly_Position_10"},
        {9048, C, L"Input_assembly_Position_11"}, {9049, C, L"Input_assembly_Position_12"},
        {9050, C, L"Input_assembly_Position_13"}, {9051, C, L"Input_assembly_Position_14"},
        {9052, C, L"Input_assembly_Position_15"}, {9053, C, L"Input_assembly_Position_16"},
        {9054, C, L"Input_assembly_Position_17"}, {9055, C, L"Input_assembly_Position_18"},
        {9056, C, L"Input_assembly_Position_19"}, {9057, C, L"Input_assembly_Position_20"}},
       9025,
       -1,
       -1},
      {2,
       {{9058, C, L"Low_flow_cut_off_Assign_variable"},
        {9165, F, L"Low_flow_cut_off_On_value"},
        {9169, F, L"Low_flow_cut_off_Off_value"},
        {9167, F, L"Low_flow_cut_off_Pres_shock_sup"}},
       9058,
       9058,
       1},
      {5, {{9126, C, L"Sensor_adjustm_Install_direct"}}, 9126, -1, -1},
      {6,
       {{9128, C, L"EIP_SWWriteProtection"},
        {9160, F, L"DiagnosticHandlingAlarmDelay"},
        {9143, C, L"DiagnosticBehaviorAssign044"},
        {9144, C, L"DiagnosticBehaviorAssign046"},
        {9146, C, L"DiagnosticBehaviorAssign132"},
        {9149, C, L"DiagnosticBehaviorAssign274"},
        {9152, C, L"DiagnosticBehaviorAssign392"},
        {9158, C, L"DiagnosticBehaviorAssign532"},
        {9181, C, L"DiagnosticBehaviorAssign832"},
        {9162, C, L"DiagnosticBehaviorAssign833"},
        {9168, C, L"DiagnosticBehaviorAssign834"},
        {9170, C, L"DiagnosticBehaviorAssign835"},
        {9172, C, L"DiagnosticBehaviorAssign912"},
        {9174, C, L"DiagnosticBehaviorAssign913"},
        {9177, C, L"DiagnosticBehaviorAssign932"}},
       9128,
       -1,
       -1},
      // The totalizers' rows without their process variables (a change there writes the unit
      // at once, shown by the totalizer test) and units.
      {9,
       {{9328, C, L"Totalizer_1_Totalizer_operation_mode"},
        {9330, F, L"Totalizer_1_Preset_value_1"},
        {9331, C, L"Totalizer_1_Failure_mode"},
        {9150, C, L"Totalizer_2_Totalizer_operation_mode"},
        {9037, F, L"Totalizer_2_Preset_value_2"},
        {9154, C, L"Totalizer_2_Failure_mode"},
        {9404, C, L"Totalizer_3_Totalizer_operation_mode"},
        {9039, F, L"Totalizer_3_Preset_value_3"},
        {9406, C, L"Totalizer_3_Failure_mode"}},
       9327,
       -1,
       -1},
  };
  return tables;
}

// An edit the user can type into: enabled and not read-only.
bool Typable(HWND edit) {
  return IsWindowEnabled(edit) && !(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

class FluxorPages : public fluxorview::FluxorViewHost {
 protected:
  std::vector<Write> TakeWrites() {
    const auto& all = StandardTag()->Writes();
    std::vector<Write> writes(all.begin() + static_cast<ptrdiff_t>(m_writesSeen), all.end());
    m_writesSeen = all.size();
    return writes;
  }
  std::vector<std::string> WrittenMembers() {
    std::vector<std::string> members;
    for (const Write& write : TakeWrites()) members.push_back(Narrow(write.member));
    return members;
  }

  // Changes the row's item as a user does: the next entry of a list, a new number in an edit.
  void Change(const Page& page, const Row& row) {
    HWND item = page.Item(row.id);
    ASSERT_NE(item, nullptr);
    if (row.kind == Kind::kCombo) {
      const int count = static_cast<int>(SendMessageW(item, CB_GETCOUNT, 0, 0));
      ASSERT_GT(count, 1) << "a list of one entry cannot change";
      ASSERT_TRUE(win::SelectComboItem(item, (ComboSelection(item) + 1) % count));
    } else {
      pvtest::Retype(item, row.kind == Kind::kFloat ? L"1.5" : L"12");
    }
  }

  size_t m_writesSeen = 0;
};

TEST_F(FluxorPages, EveryRowShowsAndWritesItsOwnMemberWithTheFocusOnTheTablesFocusItem) {
  for (const PageTable& table : Tables()) {
    SCOPED_TRACE(kCatalogue[table.catalogueIndex].name);
    Page page = OpenActive(kCatalogue[table.catalogueIndex]);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), table.focus);
    if (table.master > 0) {
      ASSERT_TRUE(win::SelectComboItem(page.Item(table.master), table.masterPosition));
      EXPECT_HR(S_OK, page.child->Save());
      TakeWrites();
    }
    for (const Row& row : table.rows) {
      SCOPED_TRACE(Narrow(row.member));
      HWND item = page.Item(row.id);
      if (row.kind == Kind::kCombo) {
        EXPECT_FALSE(EntriesOf(item).empty()) << "the member's texts listed";
        EXPECT_GE(ComboSelection(item), 0) << "the member's value shown";
      } else {
        EXPECT_TRUE(Typable(item));
        EXPECT_FALSE(TextOf(item).empty()) << "the member's value shown";
      }
      Change(page, row);
      // Leaving the item ends the edit (an edit puts its rounded text back on focus loss).
      ASSERT_TRUE(win::FocusControl(page.Item(table.focus)));
      EXPECT_HR(S_OK, page.child->Save());
      EXPECT_EQ(WrittenMembers(), std::vector<std::string>{Narrow(row.member)});
      if (row.id == table.master) {
        // Back to the position that enables the page's dependent edits.
        ASSERT_TRUE(win::SelectComboItem(page.Item(table.master), table.masterPosition));
        EXPECT_HR(S_OK, page.child->Save());
        TakeWrites();
      }
    }
    EXPECT_EQ(TakeLog(), Lines{});
    EXPECT_HR(S_OK, page.panel->Destroy());
  }
}

TEST_F(FluxorPages, CompFixedDensityIsTypedOnlyAtTheFirstDensitySource) {
  Page page = OpenActive(kCatalogue[1]);
  HWND source = page.Item(9066), temperature = page.Item(9064), fixed = page.Item(9062);
  const int count = static_cast<int>(SendMessageW(source, CB_GETCOUNT, 0, 0));
  ASSERT_GE(count, 3);
  for (int position = count - 1; position >= 0; --position) {
    SCOPED_TRACE(position);
    ASSERT_TRUE(win::SelectComboItem(source, position));
    EXPECT_EQ(Typable(fixed), position == 0);
    ASSERT_TRUE(win::SelectComboItem(
        temperature,
        (ComboSelection(temperature) + 1) % static_cast<int>(SendMessageW(temperature, CB_GETCOUNT, 0, 0))));
    EXPECT_EQ(Typable(fixed), position == 0) << "the temperature source changes no enable state";
  }
  EXPECT_HR(S_OK, page.panel->Destroy());
}

// The built-in electromagnetic definition, and its density unit member (null without one).
hostsim::ModuleDefinition DefinitionWithDensityUnit() {
  std::string error;
  auto definition = hostsim::LoadModuleDefinition(hostsim::ElectromagneticDefinitionFile(), &error);
  EXPECT_TRUE(definition.has_value()) << error;
  return definition ? *definition : hostsim::ModuleDefinition{};
}
hostsim::MemberDefinition* DensityUnit(hostsim::ModuleDefinition& definition) {
  if (definition.tags.empty()) return nullptr;
  auto& members = definition.tags[0].members;
  auto unit = std::find_if(members.begin(), members.end(),
                           [](const auto& member) { return member.name == L"System_units_Density_unit"; });
  return unit == members.end() ? nullptr : &*unit;
}

TEST_F(FluxorPages, CompDensityCaptionNamesTheUnitFromTheMetersOwnTable) {
  struct Case {
    LONG code;
    const char* shown;
  };
  // 12288 is no unit of this meter's table (the Coriolis meter's "API").
  for (const Case& c :
       {Case{12053, "kg/dm3"}, Case{12039, "kg/m3"}, Case{12065, "SD 4C"}, Case{12288, "??"}}) {
    SCOPED_TRACE(c.code);
    hostsim::ModuleDefinition definition = DefinitionWithDensityUnit();
    hostsim::MemberDefinition* unit = DensityUnit(definition);
    ASSERT_NE(unit, nullptr);
    if (c.code == 12288) unit->entries.push_back({12288, L"API"});
    unit->defaultValue.integer = c.code;
    UseModule(hostsim::HostModule::Create(definition));
    Page page = OpenActive(kCatalogue[1]);
    EXPECT_EQ(Narrow(TextOf(page.Item(9243))), c.shown);
    EXPECT_EQ(TakeLog(), Lines{});
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
  }
}

TEST_F(FluxorPages, PartiallyEditsFollowTheDetectionAndTheNewAdjustmentIsAlwaysEnabled) {
  Page page = OpenActive(kCatalogue[3]);
  HWND detection = page.Item(9059);
  const int count = static_cast<int>(SendMessageW(detection, CB_GETCOUNT, 0, 0));
  ASSERT_GE(count, 2);
  for (int position = 0; position < count; ++position) {
    SCOPED_TRACE(position);
    ASSERT_TRUE(win::SelectComboItem(detection, position));
    const bool inRange = position == 1 || position == 2;
    EXPECT_EQ(Typable(page.Item(9171)), inRange);
    EXPECT_EQ(Typable(page.Item(9173)), inRange);
    EXPECT_TRUE(IsWindowEnabled(page.Item(9060)));
  }
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(FluxorPages, PartiallyHostCallsReachDetectionResponseTimeSwitchPointAndNewAdjustmentInThatOrder) {
  Page page = OpenActive(kCatalogue[3]);
  ASSERT_TRUE(win::SelectComboItem(page.Item(9059), 1));
  // Changed from the last to the first: the save reaches them in the control list's order.
  for (auto row = Tables()[1].rows.rbegin(); row != Tables()[1].rows.rend(); ++row)
    if (row->id != 9059) Change(page, *row);
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(WrittenMembers(), (std::vector<std::string>{
                                  "Empty_pipe_det_Empty_pipe_det", "Empty_pipe_det_Response_time",
                                  "Empty_pipe_det_Switch_point_EPD", "Empty_pipe_detection_New_adjustment"}));
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(FluxorPages, TheWholeNumberEditsTakeTheirDigitsButNoSignAndNoPoint) {
  struct Case {
    size_t catalogueIndex;
    int id;
    const wchar_t* member;
    const wchar_t* typed;
    const char* shown;
    LONGLONG saved;
  };
  // The process page's flow damping: two digits; the second system page's access code: five.
  const Case cases[] = {{4, 9163, L"Process_parameters_Flow_damping", L"-1.234", "12", 12},
                        {7, 9164, L"Access_Enter_access_code", L"-1234.567", "12345", 12345}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.member));
    Page page = OpenActive(kCatalogue[c.catalogueIndex]);
    HWND edit = page.Item(c.id);
    pvtest::Retype(edit, c.typed);
    EXPECT_EQ(Narrow(TextOf(edit)), c.shown);
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_EQ(WrittenMembers(), std::vector<std::string>{Narrow(c.member)});
    hostsim::MemberValue value;
    ASSERT_TRUE(StandardTag()->GetValue(c.member, &value));
    EXPECT_EQ(value.integer, c.saved);
    EXPECT_HR(S_OK, page.child->OnDeactivate());
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
    TakeLog();
  }
}

// The second system page's online pair on the meter's device: activation runs "Refresh" and
// the access status then shows the role of the level the device answers; a failed refresh
// writes "Refresh Failed" into the plain static 9042 and leaves the access status empty.
TEST_F(FluxorPages, System2RefreshShowsTheAccessRoleOrRefreshFailed) {
  m_parent->vexil.mode = 1;  // online
  for (const bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "refresh fails" : "refresh succeeds");
    if (fails) m_module->device.Fail({0, L"Refresh", E_FAIL, L"The device did not refresh.", false});
    Page page = OpenActive(kCatalogue[7]);
    win::AdvanceClock(300);
    win::PumpMessages();
    EXPECT_EQ(Narrow(TextOf(page.Item(9411))), fails ? "" : "Production");
    EXPECT_EQ(Narrow(TextOf(page.Item(9042))), fails ? "Refresh Failed" : "");
    EXPECT_HR(S_OK, page.child->OnDeactivate());
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
    m_module->device.ClearFailures();
    m_parent->errorDialogs.clear();
    TakeLog();
  }
}

// The low flow cut-off's unit caption by this meter's rule: the volume flow unit at the first
// flow position of the assignment, the mass flow unit at the second.
TEST_F(FluxorPages, LowFlowCaptionShowsVolumeMassAndCorrectedVolumeUnitsByPosition) {
  ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Volume_flow_unit", 5170));
  ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Mass_flow_unit", 5124));
  ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Corvolflow_unit", 5201));
  Page page = OpenActive(kCatalogue[2]);
  const char* const captions[] = {" ", "m3/h", "kg/s", "Nm3/h", " "};
  for (int position = 0; position < 5; ++position) {
    SCOPED_TRACE(position);
    ASSERT_TRUE(win::SelectComboItem(page.Item(9058), position));
    EXPECT_EQ(Narrow(TextOf(page.Item(9199))), captions[position]);
    EXPECT_EQ(Typable(page.Item(9165)), position >= 1 && position <= 3);
  }
  EXPECT_EQ(TakeLog(), Lines{});
  EXPECT_HR(S_OK, page.panel->Destroy());
}

// The totalizer page on this meter: the first process variable lists the mass units at its
// second position and writes unit 4 when chosen; its switches read the control state from
// object class 112, and a button writes its totalizer's state and reads it back from there.
TEST_F(FluxorPages, TotalizerListsThisMetersFamiliesAndItsSwitchesReadAndWriteObjectClass112) {
  m_parent->vexil.mode = 1;  // online
  Page page = OpenActive(kCatalogue[9]);
  HWND assign = page.Item(9327), units = page.Item(9326);
  ASSERT_TRUE(win::SelectComboItem(assign, 0));
  ASSERT_TRUE(win::SelectComboItem(assign, 1));
  EXPECT_EQ(EntriesOf(units).size(), 6u) << "the six mass units";
  EXPECT_EQ(ComboSelection(units), 4);
  LONG unitIndex = -1;
  EXPECT_HR(S_OK, StandardTag()->GetEnumValue(_bstr_t(L"Totalizer_1_Unit_totalizer_1"), &unitIndex));
  EXPECT_EQ(unitIndex, 4) << "the mass family's default written at once";
  ASSERT_TRUE(win::SelectComboItem(assign, 0));
  EXPECT_EQ(EntriesOf(units).size(), 21u) << "the volume units";
  // The switches read their instance's control attribute in the meter's totalizer class.
  win::AdvanceClock(300);
  win::PumpMessages();
  auto& device = m_module->device;
  const auto reads = device.RequestsOf(L"TotalizerControl");
  ASSERT_EQ(reads.size(), 3u);
  for (size_t n = 0; n < reads.size(); ++n)
    EXPECT_EQ(reads[n].values, (std::vector<LONG>{112, static_cast<LONG>(n + 1), 9}));
  // A user's choice written by the button of its totalizer, read back from the same class.
  ASSERT_TRUE(win::SelectComboItem(page.Item(9148), 4));
  device.requests.clear();
  ASSERT_TRUE(win::ClickButton(page.Item(9243)));
  win::AdvanceClock(2000);
  win::PumpMessages();
  const auto& record = device.requests;
  ASSERT_EQ(record.size(), 4u);
  EXPECT_EQ(record[0].name, L"SetAttributeSingleTotalizer");
  EXPECT_EQ(record[0].values, (std::vector<LONG>{2, 9, 199}));
  EXPECT_EQ(record[2].name, L"TotalizerControl");
  EXPECT_EQ(record[2].values, (std::vector<LONG>{112, 2, 9}));
  EXPECT_EQ(device.Integer({112, 2, 9}), 199);
  EXPECT_EQ(ComboSelection(page.Item(9148)), 4);
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  EXPECT_HR(S_OK, page.panel->Destroy());
  page.Release();
  TakeLog();
}

TEST_F(FluxorPages, CompDensityCaptionNamesEveryUnitOfTheMetersOwnTable) {
  hostsim::ModuleDefinition definition = DefinitionWithDensityUnit();
  hostsim::MemberDefinition* unit = DensityUnit(definition);
  ASSERT_NE(unit, nullptr);
  // The member offers every code of the table, and one of none (the Coriolis meter's "API").
  unit->entries.clear();
  std::vector<captiontables::Caption> rows = captiontables::kFluxorDensityNames;
  for (const captiontables::Caption& row : rows) unit->entries.push_back({row.code, row.text});
  unit->entries.push_back({12288, L"API"});
  rows.push_back({12288, L"??"});
  for (const auto& entry : unit->entries) {
    unit->minimum.integer = std::min<LONGLONG>(unit->minimum.integer, entry.code);
    unit->maximum.integer = std::max<LONGLONG>(unit->maximum.integer, entry.code);
  }
  UseModule(hostsim::HostModule::Create(definition));
  Page page = OpenActive(kCatalogue[1]);
  for (const captiontables::Caption& row : rows) {
    SCOPED_TRACE(row.code);
    ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Density_unit", row.code));
    EXPECT_HR(S_OK, page.events->DataChanged());
    EXPECT_EQ(Narrow(TextOf(page.Item(9243))), Narrow(row.text));
  }
  EXPECT_HR(S_OK, page.panel->Destroy());
  page.Release();
}

}  // namespace
