// The device rules of the Coriolis module's configuration: liquid type against totalizer
// variables and concentration unit, input sources, petroleum settings, and the ranges of the
// density and temperature samples and of the reference temperature by their units.
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "Corvane300TagExt.h"
#include "resource.h"

namespace {

// The members, in the order they are read.
enum Member {
  kOilDensityUnit,
  kWaterDensityUnit,
  kOilDensitySample,
  kWaterDensitySample,
  kWaterTemperatureSample,
  kOilTemperatureSample,
  kTemperatureUnit,
  kPetroleumMode,
  kApiCommodityGroup,
  kApiTableSelection,
  kSwInputMode,
  kWaterCutMode,
  kPressureCompensation,
  kTemperatureCorrectionSource,
  kCorrectedVolumeFlow,
  kConcentrationUnit,
  kLiquidType,
  kTotalizer1Variable,
  kTotalizer2Variable,
  kTotalizer3Variable,
  kReferenceTemperature,
  kMemberCount
};

struct MemberInfo {
  const wchar_t* name;
  bool isFloat;
};
constexpr MemberInfo kMembers[kMemberCount] = {
    {L"System_units_Oil_density_unit", false},
    {L"System_units_Water_density_unit", false},
    {L"Petroleum_Oil_density_sample", true},
    {L"Petroleum_Water_density_sample", true},
    {L"Petroleum_Water_temperature_sample", true},
    {L"Petroleum_Oil_temperature_sample", true},
    {L"System_units_Temperature_unit", false},
    {L"Petroleum_Petroleum_mode", false},
    {L"Petroleum_API_commodity_group", false},
    {L"Petroleum_API_table_selection", false},
    {L"Petroleum_SW_input_mode", false},
    {L"Petroleum_Water_cut_mode", false},
    {L"External_comp_Pressure_compen", false},
    {L"External_comp_Tempcorrsource", false},
    {L"Corr_volflow_Corr_volflow", false},
    {L"System_units_Concentration_unit", false},
    {L"Liquid_type", false},
    {L"Totalizer_1_Assign_process_variable", false},
    {L"Totalizer_2_Assign_process_variable", false},
    {L"Totalizer_3_Assign_process_variable", false},
    {L"Corr_volflow_Ref_temperature", true},
};

bool OneOf(LONG value, std::initializer_list<LONG> set) {
  for (LONG v : set)
    if (v == value) return true;
  return false;
}

// Liquid-type groups: which process variables the totalizers may count and which
// concentration units are allowed.
struct LiquidTypeGroup {
  std::initializer_list<LONG> liquidTypes;
  std::initializer_list<LONG> totalizerVariables;
  std::initializer_list<LONG> concentrationUnits;
};
const LiquidTypeGroup kLiquidTypeGroups[] = {
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

struct TotalizerCheck {
  Member member;
  UINT message;
};
constexpr TotalizerCheck kTotalizerChecks[] = {{kTotalizer1Variable, IDS_TOTALIZER_1_VARIABLE},
                                               {kTotalizer2Variable, IDS_TOTALIZER_2_VARIABLE},
                                               {kTotalizer3Variable, IDS_TOTALIZER_3_VARIABLE}};

// Input sources that another compensation may also take; its own special value per member.
constexpr LONG kSwFromAnalogInput = 3199;
constexpr LONG kWaterCutFromAnalogInput = 3200;
struct SourceRule {
  Member member;
  LONG special;
};
constexpr SourceRule kSourceRules[] = {
    {kTemperatureCorrectionSource, 307}, {kPressureCompensation, -32380}, {kCorrectedVolumeFlow, 488}};
bool IsSharedSource(LONG value) {
  return OneOf(value, {2285, 2286, 2287});
}

struct Range {
  float lowest;
  float highest;
};
struct DensityRow {
  LONG unit;
  Range oil;
  Range water;
};
const DensityRow kDensityRanges[] = {
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
};

struct TemperatureRow {
  LONG unit;
  Range range;
};
const TemperatureRow kSampleTemperatureRanges[] = {{4608, {-273.15f, 99726.85f}},
                                                   {4609, {-459.67f, 179540.33f}},
                                                   {4610, {0.0f, 100000.0f}},
                                                   {4611, {0.0f, 180000.0f}}};
const TemperatureRow kReferenceTemperatureRanges[] = {{4608, {-273.15f, 99999.0f}},
                                                      {4609, {-459.67f, 180000.0f}},
                                                      {4610, {0.0f, 100000.0f}},
                                                      {4611, {0.0f, 180000.0f}}};

// A unit outside its table accepts only 0.
template <class Row, size_t N, class Pick>
Range RangeOf(const Row (&table)[N], LONG unit, Pick pick) {
  for (const Row& row : table)
    if (row.unit == unit) return pick(row);
  return {0.0f, 0.0f};
}

// Both limits inclusive; NaN lies in no range.
bool InRange(float value, const Range& range) {
  return value >= range.lowest && value <= range.highest;
}

// The two readers: the value must come back as VT_I4 (VT_R4); a failed read or another type
// gives 0x80040200 and leaves the output unchanged.
HRESULT GetTagLong(ITag* tag, const wchar_t* member, LONG* out) {
  _bstr_t name(member);
  _variant_t value;
  HRESULT hr = tag->GetMemberValue(name, value.GetAddress());
  if (FAILED(hr))
    hr = E_CORVANETAGS_UNREADABLE;
  else if (V_VT(&value) != VT_I4)
    hr = E_CORVANETAGS_UNREADABLE;
  else
    *out = V_I4(&value);
  return hr;
}

HRESULT GetTagFloat(ITag* tag, const wchar_t* member, float* out) {
  _bstr_t name(member);
  _variant_t value;
  HRESULT hr = tag->GetMemberValue(name, value.GetAddress());
  if (FAILED(hr))
    hr = E_CORVANETAGS_UNREADABLE;
  else if (V_VT(&value) != VT_R4)
    hr = E_CORVANETAGS_UNREADABLE;
  else
    *out = V_R4(&value);
  return hr;
}

CString LimitText(float limit) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.5f", static_cast<double>(limit));
  return CString(text);
}

}  // namespace

HRESULT CCorvane300TagExt::ValidateDeviceRules() {
  if (!m_pTag) return ReportError(LoadText(IDS_VALIDATION_NOT_POSSIBLE), E_CORVANETAGS_UNREADABLE);

  LONG longs[kMemberCount] = {};
  float floats[kMemberCount] = {};
  for (int m = 0; m < kMemberCount; ++m) {
    const HRESULT hr = kMembers[m].isFloat ? GetTagFloat(m_pTag, kMembers[m].name, &floats[m])
                                           : GetTagLong(m_pTag, kMembers[m].name, &longs[m]);
    if (FAILED(hr)) return ReportError(LoadText(IDS_VALIDATION_NOT_POSSIBLE), E_CORVANETAGS_UNREADABLE);
  }

  HRESULT result = S_OK;
  CString message;
  // One broken rule: the member becomes the message field, the text the reported message.
  auto broken = [&](UINT textId, Member member, const Range* range) {
    result = E_FAIL;
    m_bstrMessage = kMembers[member].name;
    const CString pattern = LoadText(IDS_RULE_PREFIX) + LoadText(textId);
    if (range) {
      const CString lowest = LimitText(range->lowest), highest = LimitText(range->highest);
      message.FormatMessage(pattern.GetString(), kMembers[member].name, lowest.GetString(),
                            highest.GetString());
    } else {
      message.FormatMessage(pattern.GetString(), kMembers[member].name);
    }
  };

  // Liquid type: a gate for every other rule.
  for (const LiquidTypeGroup& group : kLiquidTypeGroups) {
    if (!OneOf(longs[kLiquidType], group.liquidTypes)) continue;
    for (const TotalizerCheck& check : kTotalizerChecks)
      if (!OneOf(longs[check.member], group.totalizerVariables)) broken(check.message, check.member, nullptr);
    if (!OneOf(longs[kConcentrationUnit], group.concentrationUnits))
      broken(IDS_CONCENTRATION_UNIT, kConcentrationUnit, nullptr);
    break;
  }
  if (FAILED(result)) return ReportError(message, result);

  // Input sources.
  const LONG sw = longs[kSwInputMode], wc = longs[kWaterCutMode];
  if (OneOf(sw, {kSwFromAnalogInput, 2285, 2286, 2287}) &&
      (sw == wc || (sw == kSwFromAnalogInput && wc == kWaterCutFromAnalogInput)))
    broken(IDS_INPUT_SOURCE_CONFLICT, kSwInputMode, nullptr);
  for (const SourceRule& rule : kSourceRules) {
    const LONG x = longs[rule.member];
    if (x != rule.special && !IsSharedSource(x)) continue;
    if (x == wc)
      broken(IDS_INPUT_SOURCE_CONFLICT, kWaterCutMode, nullptr);
    else if (x == sw)
      broken(IDS_INPUT_SOURCE_CONFLICT, wc == kWaterCutFromAnalogInput ? kWaterCutMode : kSwInputMode,
             nullptr);
    else if (x == rule.special && wc == kWaterCutFromAnalogInput)
      broken(IDS_INPUT_SOURCE_CONFLICT, kWaterCutMode, nullptr);
    else if (x == rule.special && sw == kSwFromAnalogInput)
      broken(IDS_INPUT_SOURCE_CONFLICT, kSwInputMode, nullptr);
  }

  // Petroleum settings.
  const LONG mode = longs[kPetroleumMode], commodity = longs[kApiCommodityGroup];
  if (OneOf(mode, {-32532, 3149}) && !OneOf(commodity, {3032, 3034}))
    broken(IDS_API_COMMODITY_GROUP, kApiCommodityGroup, nullptr);
  if (mode == 3148 && commodity == 3036 && longs[kApiTableSelection] == 3037)
    broken(IDS_API_TABLE_SELECTION, kApiCommodityGroup, nullptr);

  // Density samples by their units.
  const Range oil =
      RangeOf(kDensityRanges, longs[kOilDensityUnit], [](const DensityRow& r) { return r.oil; });
  if (!InRange(floats[kOilDensitySample], oil)) broken(IDS_OIL_DENSITY_SAMPLE_RANGE, kOilDensitySample, &oil);
  const Range water =
      RangeOf(kDensityRanges, longs[kWaterDensityUnit], [](const DensityRow& r) { return r.water; });
  if (!InRange(floats[kWaterDensitySample], water))
    broken(IDS_WATER_DENSITY_SAMPLE_RANGE, kWaterDensitySample, &water);

  // Temperature samples by the temperature unit.
  const auto pickRange = [](const TemperatureRow& r) { return r.range; };
  const Range sample = RangeOf(kSampleTemperatureRanges, longs[kTemperatureUnit], pickRange);
  if (!InRange(floats[kWaterTemperatureSample], sample))
    broken(IDS_WATER_TEMPERATURE_SAMPLE_RANGE, kWaterTemperatureSample, &sample);
  if (!InRange(floats[kOilTemperatureSample], sample))
    broken(IDS_OIL_TEMPERATURE_SAMPLE_RANGE, kOilTemperatureSample, &sample);

  // The reference temperature only while every rule above holds.
  if (SUCCEEDED(result)) {
    const Range reference = RangeOf(kReferenceTemperatureRanges, longs[kTemperatureUnit], pickRange);
    if (!InRange(floats[kReferenceTemperature], reference))
      broken(IDS_REFERENCE_TEMPERATURE_RANGE, kReferenceTemperature, &reference);
  }

  return FAILED(result) ? ReportError(message, result) : S_OK;
}
