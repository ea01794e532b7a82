// The device rules, row by row, as the host sees them: the result, the error information's
// text with its inserts and the message that GetLastMessage hands out.
#include <cmath>
#include <limits>
#include <cstring>
#include <map>
#include <vector>

#include "TagsTestSupport.h"

namespace {

using tagstest::Hex;
using tagstest::kNotPossibleText;
using tagstest::kUnreadable;
using tagstest::Narrow;

// The English rule texts, by string id; every message is the prefix with the member, then the
// rule's text with the limits.
const std::map<int, std::wstring> kRuleTexts = {
    {109, L"the oil density sample must lie between %2 and %3."},
    {112, L"the water density sample must lie between %2 and %3."},
    {124, L"this petroleum mode needs the API commodity group crude oil or refined products."},
    {125, L"this API commodity group cannot be used with the selected API table in this petroleum mode."},
    {127, L"the S&W input and the water cut take their value from the same source as another compensation."},
    {128, L"totalizer 1 cannot count this process variable with the selected liquid type."},
    {129, L"totalizer 2 cannot count this process variable with the selected liquid type."},
    {130, L"totalizer 3 cannot count this process variable with the selected liquid type."},
    {131, L"this concentration unit cannot be used with the selected liquid type."},
    {132, L"the water temperature sample must lie between %2 and %3."},
    {133, L"the oil temperature sample must lie between %2 and %3."},
    {134, L"the reference temperature must lie between %2 and %3."},
};

std::wstring Limit(float value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.5f", static_cast<double>(value));
  return std::wstring(text, text + std::strlen(text));
}

std::wstring ExpectedMessage(int id, const std::wstring& member, float lowest = 0, float highest = 0) {
  std::wstring text = L"Invalid configuration value " + member + L": " + kRuleTexts.at(id);
  for (auto [insert, value] : {std::pair{L"%2", lowest}, std::pair{L"%3", highest}}) {
    const size_t at = text.find(insert);
    if (at != std::wstring::npos) text.replace(at, 2, Limit(value));
  }
  return text;
}

const wchar_t* const kMembers[] = {L"System_units_Oil_density_unit",
                                   L"System_units_Water_density_unit",
                                   L"Petroleum_Oil_density_sample",
                                   L"Petroleum_Water_density_sample",
                                   L"Petroleum_Water_temperature_sample",
                                   L"Petroleum_Oil_temperature_sample",
                                   L"System_units_Temperature_unit",
                                   L"Petroleum_Petroleum_mode",
                                   L"Petroleum_API_commodity_group",
                                   L"Petroleum_API_table_selection",
                                   L"Petroleum_SW_input_mode",
                                   L"Petroleum_Water_cut_mode",
                                   L"External_comp_Pressure_compen",
                                   L"External_comp_Tempcorrsource",
                                   L"Corr_volflow_Corr_volflow",
                                   L"System_units_Concentration_unit",
                                   L"Liquid_type",
                                   L"Totalizer_1_Assign_process_variable",
                                   L"Totalizer_2_Assign_process_variable",
                                   L"Totalizer_3_Assign_process_variable",
                                   L"Corr_volflow_Ref_temperature"};
bool IsFloatMember(int index) {
  return index == 2 || index == 3 || index == 4 || index == 5 || index == 20;
}

constexpr wchar_t kSw[] = L"Petroleum_SW_input_mode";
constexpr wchar_t kWc[] = L"Petroleum_Water_cut_mode";
constexpr wchar_t kCommodity[] = L"Petroleum_API_commodity_group";
constexpr wchar_t kOilSample[] = L"Petroleum_Oil_density_sample";
constexpr wchar_t kWaterSample[] = L"Petroleum_Water_density_sample";
constexpr wchar_t kWaterTemperature[] = L"Petroleum_Water_temperature_sample";
constexpr wchar_t kOilTemperature[] = L"Petroleum_Oil_temperature_sample";
constexpr wchar_t kReference[] = L"Corr_volflow_Ref_temperature";
constexpr wchar_t kTemperatureUnit[] = L"System_units_Temperature_unit";
constexpr wchar_t kConcentration[] = L"System_units_Concentration_unit";
constexpr wchar_t kLiquidType[] = L"Liquid_type";
const std::wstring kTotalizers[] = {L"Totalizer_1_Assign_process_variable",
                                    L"Totalizer_2_Assign_process_variable",
                                    L"Totalizer_3_Assign_process_variable"};
// Codes the test adds to the definition that no rule mentions: a liquid type, a temperature unit
// and a density unit.
constexpr LONG kUnlistedLiquid = 3076;
constexpr LONG kUnlistedTemperatureUnit = 4612;
constexpr LONG kUnlistedDensityUnit = 12045;
// The water density unit lists the densities without API and the two oil barrels; the rules
// still give those codes a row, which the test reaches by adding them.
constexpr LONG kWaterDensityUnitsOfOilOnly[] = {12059, 12062, 12288};

class Rules : public tagstest::ExtensionFixture {
 protected:
  void AdjustDefinition(hostsim::TagDefinition& tag) override {
    for (auto& member : tag.members) {
      if (member.name == kLiquidType) member.entries.push_back({kUnlistedLiquid, L"Unlisted"});
      if (member.name == kTemperatureUnit) member.entries.push_back({kUnlistedTemperatureUnit, L"Unlisted"});
      if (member.name == L"System_units_Oil_density_unit" ||
          member.name == L"System_units_Water_density_unit")
        member.entries.push_back({kUnlistedDensityUnit, L"Unlisted"});
      if (member.name == L"System_units_Water_density_unit")
        for (LONG code : kWaterDensityUnitsOfOilOnly) member.entries.push_back({code, L"Oil only"});
    }
  }
  void SetUp() override {
    ExtensionFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_HR(S_OK, m_host->AttachExtension());
  }

  void Long(const std::wstring& member, LONG value) {
    ASSERT_TRUE(m_tag->SetInteger(member, value)) << Narrow(member) << " = " << value;
  }
  void Float(const std::wstring& member, float value) {
    ASSERT_TRUE(m_tag->SetReal(member, value)) << Narrow(member) << " = " << value;
  }

  // Validates and expects success without error information.
  void ExpectValid() {
    const auto outcome = m_host->ValidateWithExtension();
    EXPECT_HR(S_OK, outcome.result);
    EXPECT_FALSE(outcome.hasErrorInfo) << Narrow(outcome.errorDescription);
  }
  // Validates and expects the rule's failure: E_FAIL, the text as error information of
  // IValidate from the ProgID, the member as the message.
  void ExpectBroken(const std::wstring& expectedText, const std::wstring& member) {
    const auto outcome = m_host->ValidateWithExtension();
    EXPECT_HR(E_FAIL, outcome.result);
    ASSERT_TRUE(outcome.hasErrorInfo);
    EXPECT_EQ(Narrow(expectedText), Narrow(outcome.errorDescription));
    EXPECT_TRUE(outcome.errorInterface == IID_IValidate);
    EXPECT_EQ(Narrow(tagstest::kProgId), Narrow(outcome.errorSource));
    EXPECT_HR(S_OK, outcome.lastMessageResult);
    ASSERT_TRUE(outcome.lastMessage.has_value());
    EXPECT_EQ(Narrow(member), Narrow(*outcome.lastMessage));
  }
};

TEST_F(Rules, TheDefaultCoriolisConfigurationIsValid) {
  ExpectValid();
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_FALSE(outcome.lastMessage.has_value());
  EXPECT_EQ(1 + 1, m_host->HostValidateCalls());
}

struct LiquidGroup {
  std::vector<LONG> liquidTypes;
  std::vector<LONG> totalizerVariables;
  std::vector<LONG> concentrationUnits;
};
const LiquidGroup kLiquidGroups[] = {
    {{3065}, {793, 901, -32575, -32443, -32414}, {2321, 2324, 12813}},
    {{3066, 3067, 3068, 3069, 3070, 3071, 3075}, {793, 901, -32575, -32443, -32414}, {2321, 2315}},
    {{3061, 3062, 3063, 3064, 3072, 3073, 3074, 3077}, {793, 901, -32575, -32443, -32414}, {2321}},
    {{3082, 3083, 3084},
     {793, 900, 901, 3097, -32575, -32443, -32414},
     {2231, 2321, 12807, 12810, 12813, 12814}},
    {{3099}, {793, 900, 901, 3094, 3096, 3097, -32575, -32443, -32414}, {2321, 2322, 12807}},
    {{3060}, {793, 900, 901, 3094, 3096, 3097, -32575, -32443, -32414}, {2313, 2320, 2321, 2322, 12807}},
    {{3081}, {793, 901, -32575, -32443, -32414}, {2321, 2324, 12810, 12814}},
    {{-32532}, {-32575, -32443, -32414}, {2321}},
};
// Every totalizer variable and concentration unit the definition offers.
const LONG kAllVariables[] = {793, 900, 901, 3094, 3095, 3096, 3097, -32575, -32443, -32414};
const LONG kAllConcentrationUnits[] = {2231, 2313, 2315, 2320, 2321, 2322, 2324, 12807, 12810, 12813, 12814};

bool Contains(const std::vector<LONG>& set, LONG value) {
  return std::find(set.begin(), set.end(), value) != set.end();
}

TEST_F(Rules, EachLiquidTypeAllowsItsTotalizerVariablesAndConcentrationUnitsOnly) {
  for (const LiquidGroup& group : kLiquidGroups)
    for (LONG liquid : group.liquidTypes) {
      SCOPED_TRACE("Liquid_type " + std::to_string(liquid));
      Long(kLiquidType, liquid);
      for (const auto& totalizer : kTotalizers) Long(totalizer, group.totalizerVariables.front());
      Long(kConcentration, group.concentrationUnits.front());
      for (LONG unit : kAllConcentrationUnits) {
        SCOPED_TRACE("concentration unit " + std::to_string(unit));
        Long(kConcentration, unit);
        if (Contains(group.concentrationUnits, unit))
          ExpectValid();
        else
          ExpectBroken(ExpectedMessage(131, kConcentration), kConcentration);
      }
      Long(kConcentration, group.concentrationUnits.front());
      for (int t = 0; t < 3; ++t)
        for (LONG variable : kAllVariables) {
          SCOPED_TRACE(Narrow(kTotalizers[t]) + " " + std::to_string(variable));
          Long(kTotalizers[t], variable);
          if (Contains(group.totalizerVariables, variable))
            ExpectValid();
          else
            ExpectBroken(ExpectedMessage(128 + t, kTotalizers[t]), kTotalizers[t]);
          Long(kTotalizers[t], group.totalizerVariables.front());
        }
    }
}

TEST_F(Rules, SucroseRefusesTheConcentrationUnitThatEthanolAccepts) {
  Long(kLiquidType, 3065);
  for (const auto& totalizer : kTotalizers) Long(totalizer, 793);
  Long(kConcentration, 2315);
  ExpectBroken(ExpectedMessage(131, kConcentration), kConcentration);
  Long(kLiquidType, 3066);
  ExpectValid();
}

TEST_F(Rules, AnUnlistedLiquidTypeHasNoLiquidRule) {
  Long(kLiquidType, kUnlistedLiquid);
  Long(kConcentration, 12814);
  for (const auto& totalizer : kTotalizers) Long(totalizer, 3095);
  ExpectValid();
}

TEST_F(Rules, WhenALiquidRuleBreaksThenNoOtherRuleRunsAndTheLastLiquidMessageIsReported) {
  Long(kLiquidType, -32532);  // refuses 793 on every totalizer and 2315
  Long(kTotalizers[0], 793);
  Long(kTotalizers[1], 793);
  Long(kTotalizers[2], -32575);
  Long(kConcentration, 2315);
  Float(kOilSample, 5000.0f);
  Float(kReference, 1e6f);
  ExpectBroken(ExpectedMessage(131, kConcentration), kConcentration);
  Long(kConcentration, 2321);
  ExpectBroken(ExpectedMessage(129, kTotalizers[1]), kTotalizers[1]);
}

TEST_F(Rules, EachInputSourceBranchNamesTheMemberOfTheRule) {
  struct Case {
    std::string name;
    std::vector<std::pair<std::wstring, LONG>> settings;
    const wchar_t* named;  // null: the rules hold
  };
  std::vector<Case> cases = {
      {"S&W from a shared source equal to the water cut", {{kSw, 2285}, {kWc, 2285}}, kSw},
      {"S&W from the current input, water cut from the current input", {{kSw, 3199}, {kWc, 3200}}, kSw},
      {"S&W from the current input alone", {{kSw, 3199}}, nullptr},
      {"S&W and water cut from different shared sources", {{kSw, 2286}, {kWc, 2287}}, nullptr},
  };
  const struct {
    const wchar_t* member;
    LONG special;
  } sources[] = {{L"External_comp_Tempcorrsource", 307},
                 {L"External_comp_Pressure_compen", -32380},
                 {L"Corr_volflow_Corr_volflow", 488}};
  for (const auto& source : sources) {
    const std::string x = Narrow(source.member);
    cases.push_back({x + " shares the water cut's source", {{source.member, 2286}, {kWc, 2286}}, kWc});
    cases.push_back({x + " shares the S&W source, water cut on the current input",
                     {{source.member, 2286}, {kSw, 2286}, {kWc, 3200}},
                     kWc});
    cases.push_back({x + " shares the S&W source", {{source.member, 2286}, {kSw, 2286}}, kSw});
    cases.push_back(
        {x + " on its current input, water cut too", {{source.member, source.special}, {kWc, 3200}}, kWc});
    cases.push_back(
        {x + " on its current input, S&W too", {{source.member, source.special}, {kSw, 3199}}, kSw});
    cases.push_back({x + " on its current input alone", {{source.member, source.special}}, nullptr});
    cases.push_back({x + " on a shared source alone", {{source.member, 2287}}, nullptr});
  }
  const hostsim::TagDefinition& defaults = m_definition.tags.front();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [member, value] : c.settings) Long(member, value);
    if (c.named)
      ExpectBroken(ExpectedMessage(127, c.named), c.named);
    else
      ExpectValid();
    for (const auto& [member, value] : c.settings)
      Long(member, static_cast<LONG>(defaults.Find(member)->defaultValue.integer));
  }
}

TEST_F(Rules, PetroleumModeAndApiSettingsNameTheCommodityGroup) {
  const struct {
    LONG mode, commodity, table;
    int message;  // 0: valid
  } cases[] = {{-32532, 3033, 3038, 124}, {3149, 3036, 3038, 124}, {-32532, 3032, 3037, 0},
               {3149, 3034, 3037, 0},     {3148, 3036, 3037, 125}, {3148, 3036, 3038, 0},
               {3148, 3035, 3037, 0},     {3148, 3033, 3039, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " group " + std::to_string(c.commodity) + " table " +
                 std::to_string(c.table));
    Long(L"Petroleum_Petroleum_mode", c.mode);
    Long(kCommodity, c.commodity);
    Long(L"Petroleum_API_table_selection", c.table);
    if (c.message)
      ExpectBroken(ExpectedMessage(c.message, kCommodity), kCommodity);
    else
      ExpectValid();
  }
}

struct Range {
  float lowest, highest;
};
struct DensityRow {
  LONG unit;
  Range oil, water;
};
const DensityRow kDensityRows[] = {
    {12039, {470.0f, 1210.0f}, {900.0f, 1200.0f}},
    {12040, {0.47f, 1.21f}, {0.9f, 1.2f}},
    {12048, {0.47f, 1.21f}, {0.9f, 1.2f}},
    {2323, {0.47046f, 1.21119f}, {0.90088f, 1.20118f}},
    {12069, {0.47043f, 1.21108f}, {0.90081f, 1.20108f}},
    {12070, {0.47084f, 1.21218f}, {0.90162f, 1.20216f}},
    {12044, {29.34114f, 75.53783f}, {56.18516f, 74.91355f}},
    {12043, {3.92234f, 10.09793f}, {7.51086f, 10.01448f}},
    {12063, {4.71053f, 12.12712f}, {9.020175f, 12.0269f}},
    {12059, {164.73828f, 424.11346f}, {0.0f, 0.0f}},
    {12062, {164.73828f, 424.11346f}, {0.0f, 0.0f}},
    {12288, {-3e38f, 3e38f}, {0.0f, 0.0f}},
    {kUnlistedDensityUnit, {0.0f, 0.0f}, {0.0f, 0.0f}},
};

float Below(float value) {
  return std::nextafter(value, -std::numeric_limits<float>::infinity());
}
float Above(float value) {
  return std::nextafter(value, std::numeric_limits<float>::infinity());
}

TEST_F(Rules, EachDensityUnitAcceptsItsSamplesUpToTheInclusiveLimits) {
  const struct {
    const char* name;
    const wchar_t* unitMember;
    const wchar_t* sampleMember;
    int message;
    float passing;
    Range DensityRow::*range;
  } samples[] = {
      {"oil", L"System_units_Oil_density_unit", kOilSample, 109, 850.0f, &DensityRow::oil},
      {"water", L"System_units_Water_density_unit", kWaterSample, 112, 1000.0f, &DensityRow::water}};
  for (const auto& sample : samples)
    for (const DensityRow& row : kDensityRows) {
      const Range range = row.*sample.range;
      SCOPED_TRACE(std::string(sample.name) + " unit " + std::to_string(row.unit));
      Long(sample.unitMember, row.unit);
      for (float value : {range.lowest, range.highest}) {
        SCOPED_TRACE(value);
        Float(sample.sampleMember, value);
        ExpectValid();
      }
      for (float value :
           {Below(range.lowest), Above(range.highest), std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(value);
        Float(sample.sampleMember, value);
        ExpectBroken(ExpectedMessage(sample.message, sample.sampleMember, range.lowest, range.highest),
                     sample.sampleMember);
      }
      Long(sample.unitMember, 12039);
      Float(sample.sampleMember, sample.passing);
    }
}

TEST_F(Rules, AnOilDensityJustAboveTheKilogramLimitShowsTheFormattedLimits) {
  Float(kOilSample, 1210.0f);
  ExpectValid();
  Float(kOilSample, 1210.5f);
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_HR(E_FAIL, outcome.result);
  EXPECT_EQ(
      "Invalid configuration value Petroleum_Oil_density_sample: the oil density sample must lie between "
      "470.00000 and 1210.00000.",
      Narrow(outcome.errorDescription));
}

struct TemperatureRow {
  LONG unit;
  Range sample, reference;
  float typical;
};
const TemperatureRow kTemperatureRows[] = {
    {4608, {-273.15f, 99726.85f}, {-273.15f, 99999.0f}, 20.0f},
    {4609, {-459.67f, 179540.33f}, {-459.67f, 180000.0f}, 68.0f},
    {4610, {0.0f, 100000.0f}, {0.0f, 100000.0f}, 293.15f},
    {4611, {0.0f, 180000.0f}, {0.0f, 180000.0f}, 527.67f},
    {kUnlistedTemperatureUnit, {0.0f, 0.0f}, {0.0f, 0.0f}, 0.0f},
};

TEST_F(Rules, EachTemperatureUnitAcceptsSamplesAndReferenceUpToTheInclusiveLimits) {
  const struct {
    const wchar_t* member;
    int message;
    bool reference;
  } checks[] = {{kWaterTemperature, 132, false}, {kOilTemperature, 133, false}, {kReference, 134, true}};
  for (const TemperatureRow& row : kTemperatureRows) {
    SCOPED_TRACE("unit " + std::to_string(row.unit));
    Long(kTemperatureUnit, row.unit);
    for (const auto& check : checks) Float(check.member, row.typical);
    for (const auto& check : checks) {
      SCOPED_TRACE(Narrow(check.member));
      const Range range = check.reference ? row.reference : row.sample;
      for (float value : {range.lowest, range.highest}) {
        SCOPED_TRACE(value);
        Float(check.member, value);
        ExpectValid();
      }
      for (float value :
           {Below(range.lowest), Above(range.highest), std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(value);
        Float(check.member, value);
        ExpectBroken(ExpectedMessage(check.message, check.member, range.lowest, range.highest), check.member);
      }
      Float(check.member, row.typical);
    }
  }
}

TEST_F(Rules, CelsiusEdgesOfTheReferenceAndTheWaterSample) {
  Float(kReference, 99999.0f);
  ExpectValid();
  Float(kReference, 99999.5f);
  ExpectBroken(ExpectedMessage(134, kReference, -273.15f, 99999.0f), kReference);
  Float(kReference, 20.0f);
  Float(kWaterTemperature, 99800.0f);
  ExpectBroken(ExpectedMessage(132, kWaterTemperature, -273.15f, 99726.85f), kWaterTemperature);
}

TEST_F(Rules, OnceARuleOfTheSourceToRangeStepsBreaksTheReferenceIsNotChecked) {
  const struct {
    const char* name;
    std::vector<std::pair<const wchar_t*, LONG>> longs;
    std::vector<std::pair<const wchar_t*, float>> floats;
    int message;
    const wchar_t* named;
  } cases[] = {
      {"input source", {{kSw, 3199}, {kWc, 3200}}, {}, 127, kSw},
      {"petroleum", {{L"Petroleum_Petroleum_mode", 3149}, {kCommodity, 3036}}, {}, 124, kCommodity},
      {"oil density", {}, {{kOilSample, 1210.5f}}, 109, kOilSample},
      {"water temperature", {}, {{kWaterTemperature, 99800.0f}}, 132, kWaterTemperature},
  };
  const hostsim::TagDefinition& defaults = m_definition.tags.front();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [member, value] : c.longs) Long(member, value);
    for (const auto& [member, value] : c.floats) Float(member, value);
    Float(kReference, 1e6f);
    const auto outcome = m_host->ValidateWithExtension();
    EXPECT_HR(E_FAIL, outcome.result);
    ASSERT_TRUE(outcome.lastMessage.has_value());
    EXPECT_EQ(Narrow(c.named), Narrow(*outcome.lastMessage));
    EXPECT_EQ(std::wstring::npos, outcome.errorDescription.find(L"reference temperature"))
        << Narrow(outcome.errorDescription);
    for (const auto& [member, value] : c.longs)
      Long(member, static_cast<LONG>(defaults.Find(member)->defaultValue.integer));
    for (const auto& [member, value] : c.floats) Float(member, defaults.Find(member)->defaultValue.real);
  }
  // Alone, the reference temperature breaks its rule.
  ExpectBroken(ExpectedMessage(134, kReference, -273.15f, 99999.0f), kReference);
}

TEST_F(Rules, WhenSeveralRulesBreakThenTheLastOneIsReported) {
  Float(kOilSample, 1210.5f);
  Float(kOilTemperature, -300.0f);
  ExpectBroken(ExpectedMessage(133, kOilTemperature, -273.15f, 99726.85f), kOilTemperature);
}

TEST_F(Rules, TheFirstUnreadableMemberEndsValidationWithString102) {
  enum class Fault { kMissing, kReadFails, kWrongType, kOtherWidth, kText };
  const struct {
    const char* name;
    Fault fault;
  } faults[] = {{"missing", Fault::kMissing},
                {"read fails", Fault::kReadFails},
                {"VT_R8", Fault::kWrongType},
                {"the other reader's type", Fault::kOtherWidth},
                {"VT_BSTR", Fault::kText}};
  for (const auto& fault : faults)
    for (int m = 0; m < 21; ++m) {
      SCOPED_TRACE(std::string(fault.name) + " " + Narrow(kMembers[m]));
      hostsim::ConfigurationTag* tag = hostsim::ConfigurationTag::Create(m_definition.tags.front());
      switch (fault.fault) {
        case Fault::kMissing:
          tag->RemoveMember(kMembers[m]);
          break;
        case Fault::kReadFails:
          tag->FailValueReads(kMembers[m], E_FAIL);
          break;
        case Fault::kWrongType:
          tag->AnswerValueAs(kMembers[m], VT_R8);
          break;
        case Fault::kOtherWidth:
          tag->AnswerValueAs(kMembers[m], IsFloatMember(m) ? VT_I4 : VT_R4);
          break;
        case Fault::kText:
          tag->AnswerValueAs(kMembers[m], VT_BSTR);
          break;
      }
      // A broken rule as well: it must not be reached.
      tag->SetReal(kReference, 1e6f);
      hostsim::TagExtensionHost* host = hostsim::TagExtensionHost::Create(tag);
      ASSERT_HR(S_OK, host->CreateExtension(tagstest::kExtensionClsid));
      ASSERT_HR(S_OK, host->AttachExtension());
      const auto outcome = host->ValidateWithExtension();
      EXPECT_HR(kUnreadable, outcome.result);
      ASSERT_TRUE(outcome.hasErrorInfo);
      EXPECT_EQ(Narrow(kNotPossibleText), Narrow(outcome.errorDescription));
      EXPECT_TRUE(outcome.errorInterface == IID_IValidate);
      EXPECT_FALSE(outcome.lastMessage.has_value());
      if (m + 1 < 21) {
        EXPECT_EQ(0, tag->ValueReadCount(kMembers[m + 1]));
      }
      host->Release();
      tag->Release();
    }
}

}  // namespace
