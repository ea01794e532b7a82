// The built-in module definitions of both meters, checked against what the pages bind and what
// the validation reads: every member of every page with the type its control needs, the unit
// codes each caption's table knows, the entry positions the pages depend on, and the codes the
// validation rules name. The tables here are written from the pages and rules, not from the
// definition files.
#include <HostModule.h>
#include <platform/testing_text.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ModuleDefinition.h"

namespace {

using hostsim::MemberDefinition;
using hostsim::MemberType;
using hostsim::TagDefinition;

using platform::test_support::Narrow;

// A control's binding: the member and the type its value object needs (a combo box or a unit
// caption an enumeration, a float edit a REAL, an integer edit a DINT).
struct Binding {
  std::wstring member;
  MemberType type;
};
struct Page {
  const char* name;
  std::vector<Binding> bindings;
};

constexpr MemberType kEnum = MemberType::kEnumeration;
constexpr MemberType kReal = MemberType::kReal;
constexpr MemberType kDint = MemberType::kDint;

std::vector<Binding> InputAssembly() {
  std::vector<Binding> rows;
  for (int n = 1; n <= 20; ++n) rows.push_back({L"Input_assembly_Position_" + std::to_wstring(n), kEnum});
  return rows;
}

std::vector<Binding> Totalizers() {
  std::vector<Binding> rows;
  for (int n = 1; n <= 3; ++n) {
    const std::wstring t = L"Totalizer_" + std::to_wstring(n) + L"_";
    const std::wstring number = std::to_wstring(n);
    rows.push_back({t + L"Assign_process_variable", kEnum});
    rows.push_back({t + L"Unit_totalizer_" + number, kEnum});
    rows.push_back({t + L"Totalizer_operation_mode", kEnum});
    rows.push_back({t + L"Preset_value_" + number, kReal});
    rows.push_back({t + L"Failure_mode", kEnum});
  }
  return rows;
}

std::vector<Binding> DiagnosticBehaviours(const wchar_t* prefix,
                                          std::initializer_list<const wchar_t*> events) {
  std::vector<Binding> rows;
  for (const wchar_t* event : events) rows.push_back({std::wstring(prefix) + event, kEnum});
  return rows;
}

std::vector<Binding> Join(std::vector<Binding> head, const std::vector<Binding>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

const std::vector<Binding> kLowFlow = {
    {L"Low_flow_cut_off_Assign_variable", kEnum}, {L"Low_flow_cut_off_On_value", kReal},
    {L"System_units_Mass_flow_unit", kEnum},      {L"System_units_Volume_flow_unit", kEnum},
    {L"System_units_Corvolflow_unit", kEnum},     {L"Low_flow_cut_off_Off_value", kReal},
    {L"Low_flow_cut_off_Pres_shock_sup", kReal}};
const std::vector<Binding> kSensor = {{L"Sensor_adjustm_Install_direct", kEnum}};
const std::vector<Binding> kSystem = Join(
    {{L"EIP_SWWriteProtection", kEnum}, {L"DiagnosticHandlingAlarmDelay", kReal}},
    DiagnosticBehaviours(L"DiagnosticBehaviorAssign", {L"044", L"046", L"132", L"274", L"392", L"532", L"832",
                                                       L"833", L"834", L"835", L"912", L"913", L"932"}));
const std::vector<Binding> kSystemUnits = {
    {L"System_units_Mass_flow_unit", kEnum},   {L"System_units_Volume_flow_unit", kEnum},
    {L"System_units_Corvolflow_unit", kEnum},  {L"System_units_Mass_unit", kEnum},
    {L"System_units_Volume_unit", kEnum},      {L"System_units_Corrected_volume_unit", kEnum},
    {L"System_units_Density_unit", kEnum},     {L"System_units_Reference_density_unit", kEnum},
    {L"System_units_Temperature_unit", kEnum}, {L"System_units_Pressure_unit", kEnum}};

const std::vector<Page>& CoriolisPages() {
  static const std::vector<Page> pages = {
      {"COMM", InputAssembly()},
      {"CALC",
       {{L"Corr_volflow_Corr_volflow", kEnum},
        {L"Corr_volflow_Fix_refdensity", kReal},
        {L"Corr_volflow_Linear_exp_coeff", kReal},
        {L"Corr_volflow_Square_exp_coeff", kReal},
        {L"Corr_volflow_Ref_temperature", kReal},
        {L"System_units_Temperature_unit", kEnum},
        {L"System_units_Reference_density_unit", kEnum}}},
      {"COMP",
       {{L"External_comp_Pressure_compen", kEnum},
        {L"External_comp_Tempcorrsource", kEnum},
        {L"External_compensation_Pressure_value", kReal},
        {L"System_units_Pressure_unit", kEnum}}},
      {"CONC",
       {{L"Liquid_type", kEnum},
        {L"Concentration_profile_1_A0", kReal},
        {L"Concentration_profile_1_A1", kReal},
        {L"Concentration_profile_1_A2", kReal},
        {L"Concentration_profile_1_A3", kReal},
        {L"Concentration_profile_1_A4", kReal},
        {L"Concentration_profile_1_B1", kReal},
        {L"Concentration_profile_1_B2", kReal},
        {L"Concentration_profile_1_B3", kReal},
        {L"Concentration_profile_1_D1", kReal},
        {L"Concentration_profile_1_D2", kReal},
        {L"Concentration_profile_1_D3", kReal},
        {L"Concentration_profile_1_D4", kReal}}},
      {"LOWFLOW", kLowFlow},
      {"MEDIUM",
       {{L"Medium_selection_Select_medium", kEnum},
        {L"Medium_selection_Select_gas_type", kEnum},
        {L"Medium_selection_Sound_velocity", kReal},
        {L"Medium_selection_Temp_coeff_SV", kReal}}},
      {"PARTIALLY",
       {{L"Partial_pipe_det_Assign_variable", kEnum},
        {L"Partial_pipe_det_Low_value", kReal},
        {L"Partial_pipe_det_High_value", kReal},
        {L"Partial_pipe_det_Response_time", kReal},
        {L"Partial_pipe_det_Max_damping", kReal},
        {L"System_units_Density_unit", kEnum},
        {L"System_units_Reference_density_unit", kEnum}}},
      {"PETRO",
       {{L"Petroleum_Petroleum_mode", kEnum},
        {L"Petroleum_API_commodity_group", kEnum},
        {L"Petroleum_API_table_selection", kEnum},
        {L"Petroleum_Thermexpcoeff", kReal},
        {L"Petroleum_SW_input_mode", kEnum},
        {L"Petroleum_Water_cut_mode", kEnum},
        {L"Petroleum_Oil_density_sample", kReal},
        {L"Petroleum_Oil_temperature_sample", kReal},
        {L"Petroleum_Oil_pressure_sample", kReal},
        {L"Petroleum_Water_density_sample", kReal},
        {L"Petroleum_Water_temperature_sample", kReal},
        {L"System_units_Pressure_unit", kEnum},
        {L"System_units_Temperature_unit", kEnum},
        {L"System_units_Water_density_unit", kEnum},
        {L"System_units_Oil_density_unit", kEnum}}},
      {"PROCESS",
       {{L"Process_parameters_Flow_override", kEnum},
        {L"Process_parameters_Density_damping", kReal},
        {L"Process_parameters_Temperature_damping", kReal},
        {L"Process_parameters_Flow_damping", kReal}}},
      {"SENSOR", kSensor},
      {"SYSTEM", kSystem},
      {"SYSTEM2", Join({{L"STD_AccessCode_1", kDint},
                        {L"EIP_SWWriteProtection", kEnum},
                        {L"Diagnostic_handling_Alarm_delay", kReal}},
                       DiagnosticBehaviours(
                           L"Diagn_behavior_Diagnostic_no",
                           {L"046", L"140", L"144", L"374", L"441", L"442", L"443", L"444", L"830", L"831",
                            L"832", L"833", L"834", L"835", L"862", L"912", L"913", L"944", L"948"}))},
      {"SYSUNIT", kSystemUnits},
      {"SYSUNIT2", Join(kSystemUnits, {{L"System_units_Kinematic_viscosity_unit", kEnum},
                                       {L"System_units_Dynamic_viscosity_unit", kEnum},
                                       {L"System_units_Concentration_unit", kEnum},
                                       {L"System_units_Water_density_unit", kEnum},
                                       {L"System_units_Water_ref_dens", kEnum},
                                       {L"System_units_Oil_density_unit", kEnum}})},
      {"TotalizerConfig", Totalizers()},
      {"Viscosity", {{L"System_units_Temperature_unit", kEnum}}},
      // What the tag extension reads, with the type it asks for (a long of an enumeration is its
      // code).
      {"validation",
       {{L"System_units_Oil_density_unit", kEnum},
        {L"System_units_Water_density_unit", kEnum},
        {L"Petroleum_Oil_density_sample", kReal},
        {L"Petroleum_Water_density_sample", kReal},
        {L"Petroleum_Water_temperature_sample", kReal},
        {L"Petroleum_Oil_temperature_sample", kReal},
        {L"System_units_Temperature_unit", kEnum},
        {L"Petroleum_Petroleum_mode", kEnum},
        {L"Petroleum_API_commodity_group", kEnum},
        {L"Petroleum_API_table_selection", kEnum},
        {L"Petroleum_SW_input_mode", kEnum},
        {L"Petroleum_Water_cut_mode", kEnum},
        {L"External_comp_Pressure_compen", kEnum},
        {L"External_comp_Tempcorrsource", kEnum},
        {L"Corr_volflow_Corr_volflow", kEnum},
        {L"System_units_Concentration_unit", kEnum},
        {L"Liquid_type", kEnum},
        {L"Totalizer_1_Assign_process_variable", kEnum},
        {L"Totalizer_2_Assign_process_variable", kEnum},
        {L"Totalizer_3_Assign_process_variable", kEnum},
        {L"Corr_volflow_Ref_temperature", kReal}}},
  };
  return pages;
}

const std::vector<Page>& ElectromagneticPages() {
  static const std::vector<Page> pages = {
      {"COMM", InputAssembly()},
      {"COMP",
       {{L"External_compensation_Density_source", kEnum},
        {L"External_comp_Temp_source", kEnum},
        {L"External_compensation_Fixed_density", kReal},
        {L"System_units_Density_unit", kEnum}}},
      {"LOWFLOW", kLowFlow},
      {"PARTIALLY",
       {{L"Empty_pipe_det_Empty_pipe_det", kEnum},
        {L"Empty_pipe_det_Response_time", kReal},
        {L"Empty_pipe_det_Switch_point_EPD", kReal},
        {L"Empty_pipe_detection_New_adjustment", kEnum}}},
      {"PROCESS",
       {{L"Process_parameters_Flow_override", kEnum},
        {L"Process_param_Conduct_damping", kReal},
        {L"Process_parameters_Filter_options", kEnum},
        {L"Process_parameters_Flow_damping", kDint}}},
      {"SENSOR", kSensor},
      {"SYSTEM", kSystem},
      {"SYSTEM2",
       Join({{L"Access_Enter_access_code", kDint},
             {L"Write_protection", kEnum},
             {L"Diagnostic_handling_Alarm_delay", kReal}},
            DiagnosticBehaviours(L"Diagn_behavior_Diagnostic_no",
                                 {L"302", L"531", L"832", L"833", L"834", L"835", L"937", L"962"}))},
      {"SYSUNIT2",
       {{L"System_units_Mass_flow_unit", kEnum},
        {L"System_units_Volume_flow_unit", kEnum},
        {L"System_units_Corvolflow_unit", kEnum},
        {L"System_units_Mass_unit", kEnum},
        {L"System_units_Volume_unit", kEnum},
        {L"System_units_Density_unit", kEnum},
        {L"System_units_Temperature_unit", kEnum},
        {L"System_units_Conductivity_unit", kEnum}}},
      {"TotalizerConfig", Totalizers()},
  };
  return pages;
}

// The members only the framework's own tests bind; the Coriolis definition keeps them.
const wchar_t* const kFrameworkTestMembers[] = {L"Totalizer_1_Reset", L"Process_Damping",
                                                L"System_Alarm_delay", L"Module_Serial_number",
                                                L"System_Device_tag"};

// The unit tables of the captions, by code.
constexpr LONG kMassFlow[] = {5124, 5131, 5132, 5133, 5135, 5136, 5173, 5174, 5175, 5188, 5189, 5208,
                              5209, 5210, 5211, 5212, 5217, 5218, 5219, 5220, 5248, 5249, 5250, 5251};
constexpr LONG kVolumeFlow[] = {
    2132, 2133, 2134, 2135, 2304, 2305, 2306, 2307, 5122, 5125, 5126, 5127, 5128, 5129, 5130, 5137, 5138,
    5139, 5140, 5141, 5142, 5143, 5144, 5145, 5146, 5147, 5148, 5149, 5150, 5151, 5152, 5153, 5154, 5155,
    5156, 5157, 5158, 5159, 5160, 5161, 5162, 5163, 5164, 5165, 5166, 5167, 5168, 5169, 5170, 5171, 5172,
    5176, 5177, 5178, 5179, 5180, 5181, 5182, 5183, 5184, 5185, 5186, 5187, 5190, 5191, 5192, 5193, 5194,
    5195, 5196, 5197, 5198, 5199, 5221, 5222, 5223, 5224, 5225, 5226, 5227, 5244, 5245, 5246, 5247};
constexpr LONG kCorrectedVolumeFlow[] = {2190, 2191, 2192, 2193, 2211, 2212, 2213, 2214, 2216, 2217,
                                         2218, 2219, 5200, 5201, 5202, 5203, 5204, 5205, 5206, 5207,
                                         5213, 5214, 5215, 5216, 5228, 5229, 5230, 5231};
constexpr LONG kDensity[] = {2088, 2109, 2173, 2174, 2175, 2176,  2178,  2179,  2180,  2204, 2226,
                             2227, 2228, 2229, 2230, 2236, 12039, 12040, 12043, 12044, 12048};
constexpr LONG kReferenceDensity[] = {2328, 2329, 2330, 2331, 12052, 12054, 12055, 12056, 12064};
constexpr LONG kPressure[] = {2165, 2116, 2137, 4871, 2166, 2117, 2138, 2053, 2182, 2183};
constexpr LONG kTemperature[] = {4608, 4609, 4610, 4611};
constexpr LONG kDensityWithApi[] = {12288, 12039, 12048, 12040, 2323,  12069,
                                    12070, 12044, 12043, 12063, 12059, 12062};
constexpr LONG kDensityWithoutApi[] = {12039, 12048, 12040, 2323, 12069, 12070, 12044, 12043, 12063};
constexpr LONG kElectromagneticDensity[] = {12040, 12051, 12048, 12053, 12039, 12065, 12066,
                                            12067, 12068, 12069, 12070, 12044, 12043, 12058,
                                            12057, 12059, 12060, 12063, 12061, 12062};
// The concentration units the validation allows for some liquid.
constexpr LONG kConcentration[] = {2231, 2313, 2315, 2320, 2321, 2322, 2324, 12807, 12810, 12813, 12814};

struct UnitMember {
  const wchar_t* member;
  std::vector<LONG> codes;
};

template <size_t N>
std::vector<LONG> Codes(const LONG (&table)[N]) {
  return std::vector<LONG>(table, table + N);
}

const std::vector<UnitMember>& CoriolisUnits() {
  static const std::vector<UnitMember> units = {
      {L"System_units_Mass_flow_unit", Codes(kMassFlow)},
      {L"System_units_Volume_flow_unit", Codes(kVolumeFlow)},
      {L"System_units_Corvolflow_unit", Codes(kCorrectedVolumeFlow)},
      {L"System_units_Density_unit", Codes(kDensity)},
      {L"System_units_Reference_density_unit", Codes(kReferenceDensity)},
      {L"System_units_Pressure_unit", Codes(kPressure)},
      {L"System_units_Temperature_unit", Codes(kTemperature)},
      {L"System_units_Oil_density_unit", Codes(kDensityWithApi)},
      {L"System_units_Water_density_unit", Codes(kDensityWithoutApi)},
      {L"System_units_Concentration_unit", Codes(kConcentration)},
  };
  return units;
}

const std::vector<UnitMember>& ElectromagneticUnits() {
  static const std::vector<UnitMember> units = {
      {L"System_units_Mass_flow_unit", Codes(kMassFlow)},
      {L"System_units_Volume_flow_unit", Codes(kVolumeFlow)},
      {L"System_units_Corvolflow_unit", Codes(kCorrectedVolumeFlow)},
      {L"System_units_Density_unit", Codes(kElectromagneticDensity)},
      {L"System_units_Temperature_unit", Codes(kTemperature)},
  };
  return units;
}

// The unit members no caption reads: their codes are the definition's own.
const wchar_t* const kCoriolisOwnUnits[] = {L"System_units_Mass_unit",
                                            L"System_units_Volume_unit",
                                            L"System_units_Corrected_volume_unit",
                                            L"System_units_Kinematic_viscosity_unit",
                                            L"System_units_Dynamic_viscosity_unit",
                                            L"System_units_Water_ref_dens"};
const wchar_t* const kElectromagneticOwnUnits[] = {L"System_units_Mass_unit", L"System_units_Volume_unit",
                                                   L"System_units_Conductivity_unit"};

// The totalizer unit texts, by index (the stored value of a totalizer unit).
const wchar_t* const kTotalizerUnits[] = {L"g",
                                          L"kg",
                                          L"t",
                                          L"oz",
                                          L"lb",
                                          L"Ston",
                                          L"cm3",
                                          L"dm3",
                                          L"m3",
                                          L"ml",
                                          L"l",
                                          L"hl",
                                          L"Ml",
                                          L"af",
                                          L"ft3",
                                          L"fl oz (us)",
                                          L"gal (us)",
                                          L"kgal (us)",
                                          L"Mgal (us)",
                                          L"bbl (us.liq.)",
                                          L"bbl (us.beer)",
                                          L"bbl (us.oil)",
                                          L"bbl (us.tank)",
                                          L"gal (imp)",
                                          L"Mgal (imp)",
                                          L"bbl (imp.beer)",
                                          L"bbl (imp.oil)",
                                          L"Nl",
                                          L"Nm3",
                                          L"Sl",
                                          L"Sm3",
                                          L"Sft3",
                                          L"Sgal (us)",
                                          L"Sbbl (us.liq.)",
                                          L"Sgal (imp)",
                                          L"None"};

struct Loaded {
  std::optional<hostsim::ModuleDefinition> module;
  const TagDefinition* standard = nullptr;
};

Loaded Load(const std::filesystem::path& file) {
  Loaded loaded;
  std::string error;
  loaded.module = hostsim::LoadModuleDefinition(file, &error);
  EXPECT_TRUE(loaded.module.has_value()) << file << ": " << error;
  if (loaded.module) loaded.standard = loaded.module->FindTag(hostsim::TagKind::kStandard);
  return loaded;
}

std::vector<LONG> SortedCodes(const MemberDefinition& member) {
  std::vector<LONG> codes;
  for (const auto& entry : member.entries) codes.push_back(entry.code);
  std::sort(codes.begin(), codes.end());
  return codes;
}

std::vector<LONG> Sorted(std::vector<LONG> codes) {
  std::sort(codes.begin(), codes.end());
  return codes;
}

struct Meter {
  const char* name;
  std::filesystem::path file;
  const std::vector<Page>& pages;
  std::vector<std::wstring> extraMembers;
};

std::vector<Meter> Meters() {
  return {{"Coriolis", hostsim::CoriolisDefinitionFile(), CoriolisPages(),
           std::vector<std::wstring>(std::begin(kFrameworkTestMembers), std::end(kFrameworkTestMembers))},
          {"electromagnetic", hostsim::ElectromagneticDefinitionFile(), ElectromagneticPages(), {}}};
}

TEST(BuiltInDefinitions, EveryMemberOfEveryPageExistsWithTheTypeItsControlBinds) {
  for (const Meter& meter : Meters()) {
    SCOPED_TRACE(meter.name);
    const Loaded loaded = Load(meter.file);
    ASSERT_NE(nullptr, loaded.standard);
    std::set<std::wstring> bound(meter.extraMembers.begin(), meter.extraMembers.end());
    for (const Page& page : meter.pages) {
      SCOPED_TRACE(page.name);
      for (const Binding& binding : page.bindings) {
        SCOPED_TRACE(Narrow(binding.member));
        bound.insert(binding.member);
        const MemberDefinition* member = loaded.standard->Find(binding.member);
        ASSERT_NE(nullptr, member);
        EXPECT_EQ(binding.type, member->type);
      }
    }
    // Nothing else: every member is one a page binds, the validation reads or a framework test
    // uses.
    for (const MemberDefinition& member : loaded.standard->members)
      EXPECT_EQ(1u, bound.count(member.name)) << Narrow(member.name) << " is bound by no page";
  }
}

TEST(BuiltInDefinitions, EachUnitMemberHoldsExactlyTheCodesOfItsTable) {
  std::set<LONG> tableCodes;
  for (const auto* units : {&CoriolisUnits(), &ElectromagneticUnits()})
    for (const UnitMember& unit : *units) tableCodes.insert(unit.codes.begin(), unit.codes.end());
  const struct {
    const char* name;
    std::filesystem::path file;
    const std::vector<UnitMember>& units;
    std::vector<const wchar_t*> ownUnits;
  } meters[] = {{"Coriolis", hostsim::CoriolisDefinitionFile(), CoriolisUnits(),
                 std::vector<const wchar_t*>(std::begin(kCoriolisOwnUnits), std::end(kCoriolisOwnUnits))},
                {"electromagnetic", hostsim::ElectromagneticDefinitionFile(), ElectromagneticUnits(),
                 std::vector<const wchar_t*>(std::begin(kElectromagneticOwnUnits),
                                             std::end(kElectromagneticOwnUnits))}};
  for (const auto& meter : meters) {
    SCOPED_TRACE(meter.name);
    const Loaded loaded = Load(meter.file);
    ASSERT_NE(nullptr, loaded.standard);
    for (const UnitMember& unit : meter.units) {
      SCOPED_TRACE(Narrow(unit.member));
      const MemberDefinition* member = loaded.standard->Find(unit.member);
      ASSERT_NE(nullptr, member);
      EXPECT_EQ(Sorted(unit.codes), SortedCodes(*member));
    }
    for (const wchar_t* name : meter.ownUnits) {
      SCOPED_TRACE(Narrow(name));
      const MemberDefinition* member = loaded.standard->Find(name);
      ASSERT_NE(nullptr, member);
      EXPECT_FALSE(member->entries.empty());
      for (const auto& entry : member->entries)
        EXPECT_EQ(0u, tableCodes.count(entry.code)) << entry.code << " is a code of a unit table";
    }
  }
}

// The family of a process variable, as its entry text names it.
enum class Family { kMass, kVolume, kCorrectedVolume, kOther };

Family FamilyOf(const std::wstring& text) {
  if (text.find(L"orrected volume") != std::wstring::npos) return Family::kCorrectedVolume;
  if (text.find(L"olume flow") != std::wstring::npos) return Family::kVolume;
  if (text.find(L"ass flow") != std::wstring::npos) return Family::kMass;
  return Family::kOther;
}

const char* FamilyName(Family family) {
  switch (family) {
    case Family::kMass:
      return "mass";
    case Family::kVolume:
      return "volume";
    case Family::kCorrectedVolume:
      return "corrected volume";
    default:
      return "other";
  }
}

// Entry positions that pages read: the families of the process-variable positions.
void ExpectFamilies(const MemberDefinition& member, const std::vector<Family>& families, size_t atLeast) {
  SCOPED_TRACE(Narrow(member.name));
  EXPECT_GE(member.entries.size(), atLeast);
  for (size_t i = 0; i < families.size() && i < member.entries.size(); ++i)
    EXPECT_STREQ(FamilyName(families[i]), FamilyName(FamilyOf(member.entries[i].text)))
        << "position " << i << ": " << Narrow(member.entries[i].text);
}

std::vector<Family> Runs(std::initializer_list<std::pair<Family, int>> runs) {
  std::vector<Family> out;
  for (const auto& [family, count] : runs) out.insert(out.end(), count, family);
  return out;
}

// A position whose entry a page depends on, named by a word of its text.
struct Position {
  const wchar_t* member;
  size_t atLeast;
  size_t position;
  const wchar_t* text;
};

void ExpectPositions(const TagDefinition& tag, const std::vector<Position>& positions) {
  for (const Position& p : positions) {
    SCOPED_TRACE(Narrow(p.member) + " position " + std::to_string(p.position));
    const MemberDefinition* member = tag.Find(p.member);
    ASSERT_NE(nullptr, member);
    EXPECT_GE(member->entries.size(), p.atLeast);
    ASSERT_LT(p.position, member->entries.size());
    EXPECT_NE(std::wstring::npos, member->entries[p.position].text.find(p.text))
        << Narrow(member->entries[p.position].text);
  }
}

TEST(BuiltInDefinitions, TheCoriolisEnumerationsHaveTheLengthsAndPositionsItsPagesRead) {
  const Loaded loaded = Load(hostsim::CoriolisDefinitionFile());
  ASSERT_NE(nullptr, loaded.standard);
  const TagDefinition& tag = *loaded.standard;
  ExpectPositions(tag, {{L"Low_flow_cut_off_Assign_variable", 5, 0, L"Off"},
                        {L"Partial_pipe_det_Assign_variable", 4, 0, L"Off"},
                        {L"Partial_pipe_det_Assign_variable", 4, 1, L"Density"},
                        {L"Partial_pipe_det_Assign_variable", 4, 2, L"Reference density"},
                        {L"Corr_volflow_Corr_volflow", 3, 0, L"Fixed"},
                        {L"External_comp_Pressure_compen", 2, 1, L"Fixed"},
                        {L"Liquid_type", 22, 21, L"profile 1"},
                        {L"Medium_selection_Select_medium", 3, 1, L"Gas"},
                        {L"Medium_selection_Select_gas_type", 24, 22, L"User gas"},
                        {L"Petroleum_Petroleum_mode", 4, 3, L"Off"},
                        {L"Petroleum_API_commodity_group", 6, 5, L""},
                        {L"Petroleum_Water_cut_mode", 6, 5, L""}});
  // Only the entry at position 3 or above switches the petroleum functions off.
  const MemberDefinition* mode = tag.Find(L"Petroleum_Petroleum_mode");
  ASSERT_NE(nullptr, mode);
  for (size_t i = 0; i < 3; ++i) EXPECT_NE(L"Off", mode->entries[i].text) << i;
  ExpectFamilies(*tag.Find(L"Low_flow_cut_off_Assign_variable"),
                 {Family::kOther, Family::kMass, Family::kVolume, Family::kCorrectedVolume}, 5);
  for (const wchar_t* name : {L"Totalizer_1_Assign_process_variable", L"Totalizer_2_Assign_process_variable",
                              L"Totalizer_3_Assign_process_variable"}) {
    const MemberDefinition* member = tag.Find(name);
    ASSERT_NE(nullptr, member) << Narrow(name);
    std::vector<Family> families =
        Runs({{Family::kVolume, 6}, {Family::kMass, 5}, {Family::kCorrectedVolume, 5}});
    families.resize(member->entries.size(), Family::kOther);
    ExpectFamilies(*member, families, 21);
  }
}

TEST(BuiltInDefinitions, TheElectromagneticEnumerationsHaveTheLengthsAndPositionsItsPagesRead) {
  const Loaded loaded = Load(hostsim::ElectromagneticDefinitionFile());
  ASSERT_NE(nullptr, loaded.standard);
  const TagDefinition& tag = *loaded.standard;
  ExpectPositions(tag, {{L"Low_flow_cut_off_Assign_variable", 5, 0, L"Off"},
                        {L"Empty_pipe_det_Empty_pipe_det", 4, 0, L"Off"},
                        {L"External_compensation_Density_source", 1, 0, L"Fixed density"}});
  ExpectFamilies(*tag.Find(L"Low_flow_cut_off_Assign_variable"),
                 {Family::kOther, Family::kVolume, Family::kMass, Family::kCorrectedVolume}, 5);
  for (const wchar_t* name : {L"Totalizer_1_Assign_process_variable", L"Totalizer_2_Assign_process_variable",
                              L"Totalizer_3_Assign_process_variable"}) {
    const MemberDefinition* member = tag.Find(name);
    ASSERT_NE(nullptr, member) << Narrow(name);
    std::vector<Family> families = {Family::kVolume, Family::kMass, Family::kCorrectedVolume};
    families.resize(member->entries.size(), Family::kOther);
    ExpectFamilies(*member, families, 4);
  }
}

TEST(BuiltInDefinitions, EveryTotalizerUnitIsTheThirtySixUnitsByIndex) {
  for (const Meter& meter : Meters()) {
    SCOPED_TRACE(meter.name);
    const Loaded loaded = Load(meter.file);
    ASSERT_NE(nullptr, loaded.standard);
    for (int n = 1; n <= 3; ++n) {
      const std::wstring name = L"Totalizer_" + std::to_wstring(n) + L"_Unit_totalizer_" + std::to_wstring(n);
      SCOPED_TRACE(Narrow(name));
      const MemberDefinition* member = loaded.standard->Find(name);
      ASSERT_NE(nullptr, member);
      ASSERT_EQ(std::size(kTotalizerUnits), member->entries.size());
      for (size_t i = 0; i < member->entries.size(); ++i) {
        EXPECT_EQ(static_cast<LONG>(i), member->entries[i].code);
        EXPECT_EQ(Narrow(kTotalizerUnits[i]), Narrow(member->entries[i].text));
      }
    }
  }
}

TEST(BuiltInDefinitions, EveryCodeTheValidationNamesIsAnEntryOfItsMember) {
  const Loaded loaded = Load(hostsim::CoriolisDefinitionFile());
  ASSERT_NE(nullptr, loaded.standard);
  const std::vector<LONG> totalized = {793, 900, 901, 3094, 3096, 3097, -32575, -32443, -32414};
  const struct {
    const wchar_t* member;
    std::vector<LONG> codes;
  } named[] = {
      {L"Liquid_type", {3060, 3061, 3062, 3063, 3064, 3065, 3066, 3067, 3068, 3069, 3070,  3071,
                        3072, 3073, 3074, 3075, 3077, 3081, 3082, 3083, 3084, 3099, -32532}},
      {L"Totalizer_1_Assign_process_variable", totalized},
      {L"Totalizer_2_Assign_process_variable", totalized},
      {L"Totalizer_3_Assign_process_variable", totalized},
      {L"System_units_Concentration_unit", Codes(kConcentration)},
      {L"Petroleum_SW_input_mode", {3199, 2285, 2286, 2287}},
      {L"Petroleum_Water_cut_mode", {3200, 2285, 2286, 2287}},
      {L"External_comp_Tempcorrsource", {307, 2285, 2286, 2287}},
      {L"External_comp_Pressure_compen", {-32380, 2285, 2286, 2287}},
      {L"Corr_volflow_Corr_volflow", {488, 2285, 2286, 2287}},
      {L"Petroleum_Petroleum_mode", {-32532, 3148, 3149}},
      {L"Petroleum_API_commodity_group", {3032, 3034, 3036}},
      {L"Petroleum_API_table_selection", {3037}},
      // The density units with a sample range of their own.
      {L"System_units_Oil_density_unit",
       {12039, 12040, 12048, 2323, 12069, 12070, 12044, 12043, 12063, 12059, 12062, 12288}},
      {L"System_units_Water_density_unit", {12039, 12040, 12048, 2323, 12069, 12070, 12044, 12043, 12063}},
      {L"System_units_Temperature_unit", {4608, 4609, 4610, 4611}},
  };
  for (const auto& n : named) {
    SCOPED_TRACE(Narrow(n.member));
    const MemberDefinition* member = loaded.standard->Find(n.member);
    ASSERT_NE(nullptr, member);
    const std::vector<LONG> codes = SortedCodes(*member);
    for (LONG code : n.codes) EXPECT_TRUE(std::binary_search(codes.begin(), codes.end(), code)) << code;
  }
}

TEST(BuiltInDefinitions, AModuleOverEitherDefinitionHandsOutItsMembers) {
  const struct {
    const char* name;
    std::filesystem::path file;
    const wchar_t* member;
    VARTYPE type;
  } cases[] = {
      {"Coriolis", hostsim::CoriolisDefinitionFile(), L"STD_AccessCode_1", VT_I4},
      {"Coriolis", hostsim::CoriolisDefinitionFile(), L"Process_parameters_Flow_damping", VT_R4},
      {"electromagnetic", hostsim::ElectromagneticDefinitionFile(), L"Process_parameters_Flow_damping",
       VT_I4},
      {"electromagnetic", hostsim::ElectromagneticDefinitionFile(), L"Access_Enter_access_code", VT_I4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + Narrow(c.member));
    hostsim::Ref<hostsim::HostModule> module(hostsim::HostModule::CreateFromFile(c.file));
    ASSERT_NE(nullptr, module->StandardTag());
    ITag* tag = nullptr;
    ASSERT_EQ(S_OK, module->GetConfigurationTag(&tag));
    VARIANT value;
    VariantInit(&value);
    BSTR name = SysAllocString(c.member);
    EXPECT_EQ(S_OK, tag->GetMemberValue(name, &value));
    EXPECT_EQ(c.type, V_VT(&value));
    SysFreeString(name);
    VariantClear(&value);
    tag->Release();
  }
}

}  // namespace
