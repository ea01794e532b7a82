// The Coriolis meter's configuration pages through the host's door, over the built-in
// Coriolis module: each page's control table as the page's description gives it (item,
// control class, member, arguments), checked row by row; the dependencies of the dependent
// controls on their masters' positions; the unit captions; the device's own float edit; and
// the two unit pages sharing their first ten members.
#include <gtest/gtest.h>
#include <platform/testing_locale.h>

#include <algorithm>
#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "CorvanePageTable.h"

namespace {

using corvanepages::Ctrl;
using corvanepages::PageTable;
using corvanepages::Row;
using corvanepages::win::FocusControl;
using corvanepages::win::TextOf;
using pvtest::Choose;
using pvtest::Narrow;
using Page = corvaneview::Page;

constexpr const wchar_t* kMassFlowUnit = L"System_units_Mass_flow_unit";
constexpr const wchar_t* kVolumeFlowUnit = L"System_units_Volume_flow_unit";
constexpr const wchar_t* kCorrectedVolumeFlowUnit = L"System_units_Corvolflow_unit";
constexpr const wchar_t* kDensityUnit = L"System_units_Density_unit";
constexpr const wchar_t* kReferenceDensityUnit = L"System_units_Reference_density_unit";

Row Combo(int id, const wchar_t* member) {
  return {.id = id, .ctrl = Ctrl::kComboBox, .member = member};
}
Row DependCombo(int id, const wchar_t* member, int master, int low, int high) {
  return {.id = id, .ctrl = Ctrl::kDependComboBox, .member = member, .first = {master, low, high}};
}
Row Edit(Ctrl ctrl, int id, const wchar_t* member, int textLimit, int signFlags, int decimals,
         corvanepages::Range first = {}, corvanepages::Range second = {}) {
  return {.id = id,
          .ctrl = ctrl,
          .member = member,
          .textLimit = textLimit,
          .signFlags = signFlags,
          .decimals = decimals,
          .first = first,
          .second = second};
}
Row UnitCaption(int id, int master, std::array<const wchar_t*, 5> units) {
  return {.id = id, .ctrl = Ctrl::kUnitCaption, .first = {master}, .units = units};
}
Row UnitName(int id, const wchar_t* member) {
  return {.id = id, .ctrl = Ctrl::kUnitName, .member = member};
}

// ---------------------------------------------------------------------------------------------
// The pages' tables

const PageTable kLowFlow = {
    "CPVPageCorvaneLOWFLOW",
    9058,
    {
        Combo(9058, L"Low_flow_cut_off_Assign_variable"),
        Edit(Ctrl::kDependEditFloat3, 9165, L"Low_flow_cut_off_On_value", 23, 3, 5, {9058, 1, 3}),
        UnitCaption(9199, 9058, {kMassFlowUnit, kVolumeFlowUnit, kCorrectedVolumeFlowUnit, nullptr, nullptr}),
        Edit(Ctrl::kDependEdit, 9169, L"Low_flow_cut_off_Off_value", 6, 1, 1, {9058, 1, 3}),
        Edit(Ctrl::kDependEdit, 9167, L"Low_flow_cut_off_Pres_shock_sup", 7, 1, 2, {9058, 1, 3}),
    }};

const PageTable kMedium = {"CPVPageCorvaneMEDIUM",
                           9020,
                           {
                               Combo(9020, L"Medium_selection_Select_medium"),
                               DependCombo(9017, L"Medium_selection_Select_gas_type", 9020, 1, 1),
                               Edit(Ctrl::kTwoDependEdit, 9029, L"Medium_selection_Sound_velocity", 6, 1, 2,
                                    {9020, 1, 1}, {9017, 22, 22}),
                               Edit(Ctrl::kTwoDependEdit, 9035, L"Medium_selection_Temp_coeff_SV", 6, 1, 2,
                                    {9020, 1, 1}, {9017, 22, 22}),
                           }};

const PageTable kPartially = {
    "CPVPageCorvanePARTIALLY",
    9059,
    {
        Combo(9059, L"Partial_pipe_det_Assign_variable"),
        Edit(Ctrl::kDependEdit, 9184, L"Partial_pipe_det_Low_value", 8, 1, 1, {9059, 1, 2}),
        Edit(Ctrl::kDependEdit, 9186, L"Partial_pipe_det_High_value", 8, 1, 1, {9059, 1, 2}),
        Edit(Ctrl::kDependEdit, 9171, L"Partial_pipe_det_Response_time", 4, 1, 1, {9059, 1, 2}),
        Edit(Ctrl::kDependEdit, 9173, L"Partial_pipe_det_Max_damping", 8, 1, 3, {9059, 1, 2}),
        UnitCaption(9191, 9059, {nullptr, nullptr, nullptr, kDensityUnit, kReferenceDensityUnit}),
        UnitCaption(9193, 9059, {nullptr, nullptr, nullptr, kDensityUnit, kReferenceDensityUnit}),
    }};

const PageTable kPetro = {
    "CPVPageCorvanePETRO",
    9306,
    {
        Combo(9306, L"Petroleum_Petroleum_mode"),
        DependCombo(9307, L"Petroleum_API_commodity_group", 9306, 0, 2),
        DependCombo(9308, L"Petroleum_API_table_selection", 9306, 0, 2),
        Edit(Ctrl::kTwoDependEdit, 9309, L"Petroleum_Thermexpcoeff", 11, 3, 6, {9307, 0, 4}, {9306, 0, 2}),
        DependCombo(9312, L"Petroleum_SW_input_mode", 9306, 0, 2),
        DependCombo(9315, L"Petroleum_Water_cut_mode", 9306, 0, 2),
        Edit(Ctrl::kTwoDependEdit, 9317, L"Petroleum_Oil_density_sample", 11, 3, 5, {9306, 0, 2},
             {9315, 0, 4}),
        Edit(Ctrl::kTwoDependEdit, 9318, L"Petroleum_Oil_temperature_sample", 10, 3, 2, {9306, 0, 2},
             {9315, 0, 4}),
        Edit(Ctrl::kTwoDependEdit, 9319, L"Petroleum_Oil_pressure_sample", 10, 3, 2, {9306, 0, 2},
             {9315, 0, 4}),
        Edit(Ctrl::kTwoDependEdit, 9322, L"Petroleum_Water_density_sample", 11, 3, 5, {9306, 0, 2},
             {9315, 0, 4}),
        Edit(Ctrl::kTwoDependEdit, 9323, L"Petroleum_Water_temperature_sample", 10, 3, 2, {9306, 0, 2},
             {9315, 0, 4}),
        UnitName(9235, L"System_units_Pressure_unit"),
        UnitName(9237, L"System_units_Temperature_unit"),
        UnitName(9236, L"System_units_Temperature_unit"),
        UnitName(9244, L"System_units_Water_density_unit"),
        UnitName(9238, L"System_units_Oil_density_unit"),
    }};

const PageTable kProcess = {
    "CPVPageCorvanePROCESS",
    9141,
    {
        Combo(9141, L"Process_parameters_Flow_override"),
        Edit(Ctrl::kEditFloat, 9142, L"Process_parameters_Density_damping", 5, 1, 1),
        Edit(Ctrl::kEditFloat, 9166, L"Process_parameters_Temperature_damping", 5, 1, 1),
        Edit(Ctrl::kEditFloat, 9163, L"Process_parameters_Flow_damping", 5, 1, 1),
    }};

const PageTable kSensor = {"CPVPageCorvaneSENSOR", 9126, {Combo(9126, L"Sensor_adjustm_Install_direct")}};

const PageTable kSystem = {"CPVPageCorvaneSYSTEM",
                           9128,
                           {
                               Combo(9128, L"EIP_SWWriteProtection"),
                               Edit(Ctrl::kEditFloat, 9160, L"DiagnosticHandlingAlarmDelay", 5, 1, 1),
                               Combo(9143, L"DiagnosticBehaviorAssign044"),
                               Combo(9144, L"DiagnosticBehaviorAssign046"),
                               Combo(9146, L"DiagnosticBehaviorAssign132"),
                               Combo(9149, L"DiagnosticBehaviorAssign274"),
                               Combo(9152, L"DiagnosticBehaviorAssign392"),
                               Combo(9158, L"DiagnosticBehaviorAssign532"),
                               Combo(9181, L"DiagnosticBehaviorAssign832"),
                               Combo(9162, L"DiagnosticBehaviorAssign833"),
                               Combo(9168, L"DiagnosticBehaviorAssign834"),
                               Combo(9170, L"DiagnosticBehaviorAssign835"),
                               Combo(9172, L"DiagnosticBehaviorAssign912"),
                               Combo(9174, L"DiagnosticBehaviorAssign913"),
                               Combo(9177, L"DiagnosticBehaviorAssign932"),
                           }};

const PageTable kSystemUnits = {"CPVPageCorvaneSYSUNIT",
                                9132,
                                {
                                    Combo(9132, kMassFlowUnit),
                                    Combo(9133, kVolumeFlowUnit),
                                    Combo(9125, kCorrectedVolumeFlowUnit),
                                    Combo(9134, L"System_units_Mass_unit"),
                                    Combo(9135, L"System_units_Volume_unit"),
                                    Combo(9138, L"System_units_Corrected_volume_unit"),
                                    Combo(9156, kDensityUnit),
                                    Combo(9131, kReferenceDensityUnit),
                                    Combo(9022, L"System_units_Temperature_unit"),
                                    Combo(9021, L"System_units_Pressure_unit"),
                                }};

// Rows 1 to 10 are those of the system unit page.
const PageTable kExtendedSystemUnits = [] {
  PageTable table = {"CPVPageCorvaneSYSUNIT2", 9132, kSystemUnits.rows};
  for (const Row& row : {
           Combo(9024, L"System_units_Kinematic_viscosity_unit"),
           Combo(9027, L"System_units_Dynamic_viscosity_unit"),
           Combo(9031, L"System_units_Concentration_unit"),
           Combo(9080, L"System_units_Water_density_unit"),
           Combo(9081, L"System_units_Water_ref_dens"),
           Combo(9083, L"System_units_Oil_density_unit"),
       })
    table.rows.push_back(row);
  return table;
}();

// ---------------------------------------------------------------------------------------------
// Every page follows its table

class CorvanePages : public corvanepages::CorvanePageTest {};

TEST_F(CorvanePages, LowFlowPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kLowFlow);
}
TEST_F(CorvanePages, MediumPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kMedium);
}
TEST_F(CorvanePages, PartiallyFilledPipePageFollowsItsTable) {
  ExpectPageFollowsItsTable(kPartially);
}
TEST_F(CorvanePages, PetroleumPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kPetro);
}
TEST_F(CorvanePages, ProcessPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kProcess);
}
TEST_F(CorvanePages, SensorPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kSensor);
}
TEST_F(CorvanePages, SystemPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kSystem);
}
TEST_F(CorvanePages, SystemUnitPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kSystemUnits);
}
TEST_F(CorvanePages, ExtendedSystemUnitPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kExtendedSystemUnits);
}

// ---------------------------------------------------------------------------------------------
// Dependencies by position, on activation, refresh and every change of a master

TEST_F(CorvanePages, LowFlowValuesNeedAFlowVariable) {
  ExpectDependenciesFollowTheirMasters(kLowFlow);
}
TEST_F(CorvanePages, MediumGasTypeNeedsAGasAndTheSoundVelocityTheUsersGasToo) {
  ExpectDependenciesFollowTheirMasters(kMedium);
}
TEST_F(CorvanePages, PartiallyFilledPipeValuesNeedADensityVariable) {
  ExpectDependenciesFollowTheirMasters(kPartially);
}
TEST_F(CorvanePages, PetroleumSettingsFollowTheModeTheCommodityGroupAndTheWaterCutMode) {
  ExpectDependenciesFollowTheirMasters(kPetro);
}

// The rules of the page's description in words, on top of the rule run over every position.
TEST_F(CorvanePages, PetroleumModeAtThreeOrAboveDisablesEveryDependentWhateverTheOtherMasters) {
  const std::vector<int> dependents = {9307, 9308, 9309, 9312, 9315, 9317, 9318, 9319, 9322, 9323};
  StoreTableValues(kPetro);
  Page page = OpenActive(kPetro);
  struct Case {
    int mode, group, waterCut;
    std::vector<int> disabled;
  };
  const Case cases[] = {
      {0, 0, 0, {}},
      {2, 4, 4, {}},
      {0, 5, 0, {9309}},
      {1, 0, 5, {9317, 9318, 9319, 9322, 9323}},
      {2, 5, 5, {9309, 9317, 9318, 9319, 9322, 9323}},
      {3, 0, 0, dependents},
      {3, 5, 5, dependents},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " group " << c.group << " water cut "
                                    << c.waterCut);
    Choose(page, 9306, 0);
    Choose(page, 9307, c.group);
    Choose(page, 9315, c.waterCut);
    Choose(page, 9306, c.mode);
    for (int id : dependents) {
      const bool disabled = std::find(c.disabled.begin(), c.disabled.end(), id) != c.disabled.end();
      EXPECT_EQ(IsWindowEnabled(page.Item(id)) != FALSE, !disabled) << "item " << id;
    }
  }
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// Unit captions

TEST_F(CorvanePages, LowFlowCaptionShowsTheUnitOfTheAssignedFlowVariable) {
  ASSERT_TRUE(StandardTag()->SetInteger(kMassFlowUnit, 5124));
  ASSERT_TRUE(StandardTag()->SetInteger(kVolumeFlowUnit, 5126));
  ASSERT_TRUE(StandardTag()->SetInteger(kCorrectedVolumeFlowUnit, 5214));
  const std::vector<std::wstring> byPosition = {L" ", L"kg/s", L"l/s", L"Sm3/h", L" "};
  for (int position = 0; position < 5; ++position) {
    SCOPED_TRACE(testing::Message() << "activated at " << position);
    StorePosition(L"Low_flow_cut_off_Assign_variable", position);
    Page page = OpenActive(kLowFlow);
    EXPECT_EQ(Narrow(TextOf(page.Item(9199))), Narrow(byPosition[static_cast<size_t>(position)]));
    page.Release();
  }
  Page page = OpenActive(kLowFlow);
  for (int position : {1, 2, 3, 0, 4, 2, -1}) {
    SCOPED_TRACE(testing::Message() << "chosen " << position);
    Choose(page, 9058, position);
    EXPECT_EQ(Narrow(TextOf(page.Item(9199))),
              position < 0 ? " " : Narrow(byPosition[static_cast<size_t>(position)]));
  }
  Choose(page, 9058, 1);
  ASSERT_TRUE(StandardTag()->SetInteger(kMassFlowUnit, 5218));
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_EQ(Narrow(TextOf(page.Item(9199))), "t/h") << "refreshed from the stored unit";
  page.Release();
}

TEST_F(CorvanePages, PartiallyFilledPipeCaptionsAlwaysShowTheSameUnit) {
  ASSERT_TRUE(StandardTag()->SetInteger(kDensityUnit, 2088));
  ASSERT_TRUE(StandardTag()->SetInteger(kReferenceDensityUnit, 2329));
  Page page = OpenActive(kPartially);
  const std::vector<std::wstring> byPosition = {L" ", L"g/m3", L"RD15 C", L" "};
  for (int position : {1, 2, 0, 3, 1, -1, 2}) {
    SCOPED_TRACE(testing::Message() << "chosen " << position);
    Choose(page, 9059, position);
    const std::string expected = position < 0 ? " " : Narrow(byPosition[static_cast<size_t>(position)]);
    EXPECT_EQ(Narrow(TextOf(page.Item(9191))), expected);
    EXPECT_EQ(Narrow(TextOf(page.Item(9193))), expected);
  }
  ASSERT_TRUE(StandardTag()->SetInteger(kReferenceDensityUnit, 2328));
  EXPECT_HR(S_OK, page.events->DataChanged());
  EXPECT_EQ(Narrow(TextOf(page.Item(9191))), "APIbase");
  EXPECT_EQ(Narrow(TextOf(page.Item(9193))), "APIbase");
  page.Release();
}

TEST_F(CorvanePages, PetroleumUnitNamesFollowTheirTables) {
  // Every entry of each caption's member; the temperature captions are checked alike.
  Page page = OpenActive(kPetro);
  for (const Row& row : kPetro.rows) {
    if (row.ctrl != Ctrl::kUnitName) continue;
    for (const hostsim::EnumerationEntry& entry : Member(row.member).entries) {
      SCOPED_TRACE(testing::Message() << "item " << row.id << " code " << entry.code);
      ASSERT_TRUE(StandardTag()->SetInteger(row.member, entry.code));
      EXPECT_HR(S_OK, page.child->Refresh());
      EXPECT_EQ(Narrow(TextOf(page.Item(row.id))), Narrow(corvanepages::UnitName(row.id, entry.code)));
      EXPECT_EQ(TextOf(page.Item(9237)), TextOf(page.Item(9236))) << "both temperature captions";
    }
  }
  page.Release();
}

TEST_F(CorvanePages, PetroleumWaterDensityNameLacksApiWhereTheOilDensityNameHasIt) {
  // The module's water density member given the oil density's entries, so that it can hold
  // the codes only the oil density's table names.
  std::string error;
  std::optional<hostsim::ModuleDefinition> definition =
      hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  ASSERT_TRUE(definition.has_value()) << error;
  for (hostsim::TagDefinition& tag : definition->tags) {
    if (tag.kind != hostsim::TagKind::kStandard) continue;
    const hostsim::MemberDefinition* oil = tag.Find(L"System_units_Oil_density_unit");
    ASSERT_NE(oil, nullptr);
    const std::vector<hostsim::EnumerationEntry> entries = oil->entries;
    for (hostsim::MemberDefinition& member : tag.members)
      if (member.name == L"System_units_Water_density_unit") {
        member.entries = entries;
        member.minimum.integer = -100000;
        member.maximum.integer = 100000;
      }
  }
  UseModule(*definition);
  Page page = OpenActive(kPetro);
  struct Case {
    int32_t code;
    const char* water;
    const char* oil;
  };
  for (const Case& c : {Case{12288, "??", "API"}, Case{12059, "??", "lb/bbl (us;oil)"},
                        Case{12062, "??", "lb/bbl (imp;oil)"}, Case{12039, "kg/m3", "kg/m3"}}) {
    SCOPED_TRACE(c.code);
    ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Water_density_unit", c.code));
    ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Oil_density_unit", c.code));
    EXPECT_HR(S_OK, page.child->Refresh());
    EXPECT_EQ(Narrow(TextOf(page.Item(9244))), c.water);
    EXPECT_EQ(Narrow(TextOf(page.Item(9238))), c.oil);
  }
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// The low flow switch-on value: the device's float edit

TEST_F(CorvanePages, LowFlowSwitchOnValueRoundsWithAPointWhateverTheLocale) {
  StoreTableValues(kLowFlow);
  Page page = OpenActive(kLowFlow);
  HWND onValue = page.Item(9165);
  HWND offValue = page.Item(9169);
  pvtest::Retype(onValue, L"2.123456");
  ASSERT_TRUE(FocusControl(page.Item(9058)));
  EXPECT_EQ(Narrow(TextOf(onValue)), "2.12346");
  const size_t before = StandardTag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_FLOAT_EQ(StoredReal(L"Low_flow_cut_off_On_value"), 2.12346f);
  EXPECT_EQ(StandardTag()->Writes().size(), before + 1);

  // In a locale whose decimal point is ',' only the switch-on value's rounding keeps to '.':
  // it leaves such a text as typed, where the framework's float edit rounds it.
  {
    // The locale is put back whatever fails.
    struct NumericLocale {
      const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
      ~NumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
    } locale;
    ASSERT_NE(platform::test_support::SetCommaNumericLocale(), nullptr)
        << "scripts/setup generates de_DE.UTF-8";
    pvtest::Retype(onValue, L"2,123456");
    pvtest::Retype(offValue, L"2,15");
    ASSERT_TRUE(FocusControl(page.Item(9058)));
    EXPECT_EQ(Narrow(TextOf(onValue)), "2,123456");
    EXPECT_EQ(Narrow(TextOf(offValue)), "2,2");
  }
  EXPECT_HR(S_OK, page.events->Reverted());
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// The two unit pages

TEST_F(CorvanePages, BothUnitPagesEditTheSameTenMembersUnderTheSameItems) {
  for (size_t i = 0; i < kSystemUnits.rows.size(); ++i) {
    const Row& row = kSystemUnits.rows[i];
    SCOPED_TRACE(testing::Message() << "item " << row.id);
    Page units = OpenActive(kSystemUnits);
    const int position =
        (StoredPosition(row.member) + 1) % static_cast<int>(Member(row.member).entries.size());
    Choose(units, row.id, position);
    EXPECT_HR(S_OK, units.child->Save());
    units.Release();
    Page extended = OpenActive(kExtendedSystemUnits);
    EXPECT_EQ(pvtest::ComboSelection(extended.Item(row.id)), position);
    extended.Release();
  }
}

}  // namespace
