// The unit tables both meters share: one row per unit code, searched row by row.
#include "DeviceUnitData.h"

#include <iterator>

namespace {

// ---- Captions of the dependent unit captions, by role.

// Mass flow (24 rows).
constexpr CUnitName kMassFlowCaptions[] = {
    {5124, L"kg/s"},      {5131, L"lb/s"},        {5132, L"lb/min"},    {5133, L"lb/h"},
    {5135, L"g/min"},     {5136, L"kg/h"},        {5173, L"g/d"},       {5174, L"g/h"},
    {5175, L"g/s"},       {5188, L"kg/d"},        {5189, L"kg/min"},    {5208, L"oz/d (US)"},
    {5209, L"oz/h (US)"}, {5210, L"oz/min (US)"}, {5211, L"oz/s (US)"}, {5212, L"lb/d"},
    {5217, L"t/d"},       {5218, L"t/h"},         {5219, L"t/min"},     {5220, L"t/s"},
    {5248, L"STon/d"},    {5249, L"STon/h"},      {5250, L"STon/min"},  {5251, L"STon/s"},
};

// Volume flow (84 rows).
constexpr CUnitName kVolumeFlowCaptions[] = {
    {2132, L"Ml/d"},
    {2133, L"Ml/h"},
    {2134, L"Ml/min"},
    {2135, L"Ml/s"},
    {2304, L"bbl/s (imp.beer)"},
    {2305, L"bbl/min (imp.beer)"},
    {2306, L"bbl/h (imp.beer)"},
    {2307, L"bbl/d (imp.beer)"},
    {5122, L"ft3/min"},
    {5125, L"m3/s"},
    {5126, L"l/s"},
    {5127, L"ml/s"},
    {5128, L"gal/s (us)"},
    {5129, L"gal/min (us)"},
    {5130, L"gal/h (us)"},
    {5137, L"ml/min"},
    {5138, L"ml/h"},
    {5139, L"l/min"},
    {5140, L"l/h"},
    {5141, L"af/d"},
    {5142, L"af/h"},
    {5143, L"af/min"},
    {5144, L"af/s"},
    {5145, L"bbl/d (us.beer)"},
    {5146, L"bbl/h (us.beer)"},
    {5147, L"bbl/min (us.beer)"},
    {5148, L"bbl/s (us.beer)"},
    {5149, L"bbl/d (us.liq.)"},
    {5150, L"bbl/h (us.liq.)"},
    {5151, L"bbl/min (us.liq.)"},
    {5152, L"bbl/s (us.liq.)"},
    {5153, L"bbl/d (us.oil)"},
    {5154, L"bbl/h (us.oil)"},
    {5155, L"bbl/min (us.oil)"},
    {5156, L"bbl/s (us.oil)"},
    {5157, L"bbl/d (us.tank)"},
    {5158, L"bbl/h (us.tank)"},
    {5159, L"bbl/min (us.tank)"},
    {5160, L"bbl/s (us.tank)"},
    {5161, L"cm3/d"},
    {5162, L"cm3/h"},
    {5163, L"cm3/min"},
    {5164, L"cm3/s"},
    {5165, L"dm3/d"},
    {5166, L"dm3/h"},
    {5167, L"dm3/min"},
    {5168, L"dm3/s"},
    {5169, L"m3/d"},
    {5170, L"m3/h"},
    {5171, L"m3/min"},
    {5172, L"gal/d (us)"},
    {5176, L"hl/d"},
    {5177, L"hl/h"},
    {5178, L"hl/min"},
    {5179, L"hl/s"},
    {5180, L"bbl/d (imp.oil)"},
    {5181, L"bbl/h (imp.oil)"},
    {5182, L"bbl/min (imp.oil)"},
    {5183, L"bbl/s (imp.oil)"},
    {5184, L"gal/d (imp)"},
    {5185, L"gal/h (imp)"},
    {5186, L"gal/min (imp)"},
    {5187, L"gal/s (imp)"},
    {5190, L"l/d"},
    {5191, L"Mgal/d (us)"},
    {5192, L"Mgal/h (us)"},
    {5193, L"Mgal/min (us)"},
    {5194, L"Mgal/s (us)"},
    {5195, L"Mgal/d (imp)"},
    {5196, L"Mgal/h (imp)"},
    {5197, L"Mgal/min (imp)"},
    {5198, L"Mgal/s (imp)"},
    {5199, L"ml/d"},
    {5221, L"ft3/d"},
    {5222, L"ft3/h"},
    {5223, L"ft3/s"},
    {5224, L"kgal/d (us)"},
    {5225, L"kgal/h (us)"},
    {5226, L"kgal/min (us)"},
    {5227, L"kgal/s (us)"},
    {5244, L"fl oz/d (us)"},
    {5245, L"fl oz/h (us)"},
    {5246, L"fl oz/min (us)"},
    {5247, L"fl oz/s (us)"},
};

// Corrected volume flow (28 rows).
constexpr CUnitName kCorrectedVolumeFlowCaptions[] = {
    {2190, L"Sgal/d (imp)"},
    {2191, L"Sgal/h (imp)"},
    {2192, L"Sgal/min (imp)"},
    {2193, L"Sgal/s (imp)"},
    {2211, L"Sbbl/d (us.liq.)"},
    {2212, L"Sbbl/h (us.liq.)"},
    {2213, L"Sbbl/min (us.liq.)"},
    {2214, L"Sbbl/s (us.liq.)"},
    {2216, L"Sgal/d (us)"},
    {2217, L"Sgal/h (us)"},
    {2218, L"Sgal/min (us)"},
    {2219, L"Sgal/s (us)"},
    {5200, L"Nm3/d"},
    {5201, L"Nm3/h"},
    {5202, L"Nm3/min"},
    {5203, L"Nm3/s"},
    {5204, L"Nl/d"},
    {5205, L"Nl/h"},
    {5206, L"Nl/min"},
    {5207, L"Nl/s"},
    {5213, L"Sm3/d"},
    {5214, L"Sm3/h"},
    {5215, L"Sm3/min"},
    {5216, L"Sm3/s"},
    {5228, L"Sft3/s"},
    {5229, L"Sft3/min"},
    {5230, L"Sft3/h"},
    {5231, L"Sft3/d"},
};

// Density (21 rows).
constexpr CUnitName kDensityCaptions[] = {
    {2088, L"g/m3"},
    {2109, L"kg/dm3"},
    {2173, L"lb/bbl (us.beer)"},
    {2174, L"lb/bbl (us.liq.)"},
    {2175, L"lb/bbl (us.oil)"},
    {2176, L"lb/bbl (us.tank)"},
    {2178, L"lb/bbl (imp.beer)"},
    {2179, L"lb/bbl (imp.oil)"},
    {2180, L"lb/gal (imp)"},
    {2204, L"SD 4C"},
    {2226, L"SG 15C"},
    {2227, L"SG 20C"},
    {2228, L"SG 4C"},
    {2229, L"SD 15C"},
    {2230, L"SD 20C"},
    {2236, L"User dens."},
    {12039, L"kg/m3"},
    {12040, L"g/cm3"},
    {12043, L"lb/gal (us)"},
    {12044, L"lb/ft3"},
    {12048, L"kg/l"},
};

// Reference density (9 rows).
constexpr CUnitName kReferenceDensityCaptions[] = {
    {2328, L"APIbase"}, {2329, L"RD15 C"}, {2330, L"RD20 C"},  {2331, L"RD60 F"},   {12052, L"g/Scm3"},
    {12054, L"kg/Nm3"}, {12055, L"kg/Nl"}, {12056, L"kg/Sm3"}, {12064, L"lb/Sft3"},
};

// ---- The totalizer unit texts by index.

constexpr const wchar_t* kTotalizerUnitTexts[] = {
    L"g",               // 0
    L"kg",              // 1
    L"t",               // 2
    L"oz",              // 3
    L"lb",              // 4
    L"Ston",            // 5
    L"cm3",             // 6
    L"dm3",             // 7
    L"m3",              // 8
    L"ml",              // 9
    L"l",               // 10
    L"hl",              // 11
    L"Ml",              // 12
    L"af",              // 13
    L"ft3",             // 14
    L"fl oz (us)",      // 15
    L"gal (us)",        // 16
    L"kgal (us)",       // 17
    L"Mgal (us)",       // 18
    L"bbl (us.liq.)",   // 19
    L"bbl (us.beer)",   // 20
    L"bbl (us.oil)",    // 21
    L"bbl (us.tank)",   // 22
    L"gal (imp)",       // 23
    L"Mgal (imp)",      // 24
    L"bbl (imp.beer)",  // 25
    L"bbl (imp.oil)",   // 26
    L"Nl",              // 27
    L"Nm3",             // 28
    L"Sl",              // 29
    L"Sm3",             // 30
    L"Sft3",            // 31
    L"Sgal (us)",       // 32
    L"Sbbl (us.liq.)",  // 33
    L"Sgal (imp)",      // 34
    L"None",            // 35
};

static_assert(std::size(kTotalizerUnitTexts) == kTotalizerUnitCount);

// ---- Names of the unit-name statics.

constexpr CUnitName kPressureNames[] = {
    {2165, L"Pa a"},  {2116, L"kPa a"}, {2137, L"MPa a"}, {4871, L"bar"},   {2166, L"Pa g"},
    {2117, L"kPa g"}, {2138, L"MPa g"}, {2053, L"bar g"}, {2182, L"psi a"}, {2183, L"psi g"},
};

constexpr CUnitName kTemperatureNames[] = {
    {4608, L"C (Celsius)"},
    {4609, L"F (Fahrenheit)"},
    {4610, L"K (Kelvin)"},
    {4611, L"R (Rankine)"},
};

constexpr CUnitName kReferenceDensityNames[] = {
    {12054, L"kg/Nm3"}, {12055, L"kg/Nl"}, {12052, L"g/Scm3"}, {12056, L"kg/Sm3"}, {12064, L"lb/Sft3"},
    {2328, L"APIbase"}, {2329, L"RD15 C"}, {2330, L"RD20 C"},  {2331, L"RD60 F"},
};

constexpr CUnitName kDensityNames[] = {
    {12288, L"API"},
    {12039, L"kg/m3"},
    {12048, L"kg/l"},
    {12040, L"g/cm3"},
    {2323, L"SG60F"},
    {12069, L"SG15C"},
    {12070, L"SG20C"},
    {12044, L"lb/ft3"},
    {12043, L"lb/gal (us)"},
    {12063, L"lb/gal (imp)"},
    {12059, L"lb/bbl (us;oil)"},
    {12062, L"lb/bbl (imp;oil)"},
};
// The density rows from "kg/m3" to "lb/gal (imp)" are the table without "API" and the two
// oil-barrel units.
constexpr size_t kDensityWithoutApiFirst = 1;
constexpr size_t kDensityWithoutApiCount = 9;

}  // namespace

const wchar_t* FindUnitName(CUnitTable table, int32_t code) {
  for (const CUnitName& row : table)
    if (row.code == code) return row.name;
  return nullptr;
}

CUnitTable DependStaticCaptions(EUnitRole role) {
  switch (role) {
    case EUnitRole::MassFlow:
      return kMassFlowCaptions;
    case EUnitRole::VolumeFlow:
      return kVolumeFlowCaptions;
    case EUnitRole::CorrectedVolumeFlow:
      return kCorrectedVolumeFlowCaptions;
    case EUnitRole::Density:
      return kDensityCaptions;
    case EUnitRole::ReferenceDensity:
      return kReferenceDensityCaptions;
  }
  return {};
}

const wchar_t* FindDependStaticCaption(const CDeviceUnitData& data, EUnitRole role, int32_t code) {
  for (const CUnitCaptionOverride& row : data.captionOverrides)
    if (row.role == role && row.code == code) return row.name;
  return FindUnitName(DependStaticCaptions(role), code);
}

const wchar_t* TotalizerUnitText(int32_t index) {
  return index >= 0 && index < kTotalizerUnitCount ? kTotalizerUnitTexts[index] : nullptr;
}

const CTotalizerUnitFamily& FindTotalizerFamily(const CDeviceUnitData& data, int32_t selector) {
  for (const CTotalizerUnitFamily& family : data.totalizerFamilies)
    if (selector >= family.firstSelector && selector <= family.lastSelector) return family;
  return kAllTotalizerUnits;
}

CUnitTable PressureUnitNames() {
  return kPressureNames;
}
CUnitTable TemperatureUnitNames() {
  return kTemperatureNames;
}
CUnitTable ReferenceDensityUnitNames() {
  return kReferenceDensityNames;
}
CUnitTable DensityUnitNames() {
  return kDensityNames;
}
CUnitTable DensityWithoutApiUnitNames() {
  return CUnitTable(kDensityNames).subspan(kDensityWithoutApiFirst, kDensityWithoutApiCount);
}
