// The electromagnetic meter's unit data for the device controls: its dependent unit caption
// takes the volume flow unit before the mass flow unit and shows the volume flow unit at
// position 1 of the low flow cut-off's assignment; two density captions are worded as the
// meter words them; its totalizer unit families follow the assign-variable combo box's first
// three positions; only its compensation page's density caption has a unit-name table.
#include <DeviceUnitData.h>

namespace {

using enum EUnitRole;

// The low flow cut-off's assigned variable, then the rows both meters share.
constexpr CDependStaticRule kLowFlowDependStaticRules[] = {
    {9058, 1, VolumeFlow},
    {9058, 2, MassFlow},
    {9058, 3, CorrectedVolumeFlow},
};
constexpr auto kDependStaticRules =
    JoinDependStaticRules(kLowFlowDependStaticRules, kTotalizerDependStaticRules, kDensityDependStaticRules);

constexpr CUnitCaptionOverride kCaptionOverrides[] = {
    {Density, 2204, L"SD 4c"},
    {Density, 12044, L"lb/cf"},
};

// By the assign-variable combo box's position: volume, mass and corrected volume units.
constexpr CTotalizerUnitFamily kTotalizerFamilies[] = {
    {0, 0, 6, 26, 6, 18},
    {1, 1, 0, 5, 0, 4},
    {2, 2, 27, 34, 27, 30},
};

// The density units of the compensation page's caption.
constexpr CUnitName kDensityUnitNames[] = {
    {12040, L"g/cm3"},
    {12051, L"g/m3"},
    {12048, L"kg/l"},
    {12053, L"kg/dm3"},
    {12039, L"kg/m3"},
    {12065, L"SD 4C"},
    {12066, L"SD 15C"},
    {12067, L"SD 20C"},
    {12068, L"SG 4C"},
    {12069, L"SG 15C"},
    {12070, L"SG 20C"},
    {12044, L"lb/ft3"},
    {12043, L"lb/gal (us)"},
    {12058, L"lb/bbl (us.liq.)"},
    {12057, L"lb/bbl (us.beer)"},
    {12059, L"lb/bbl (us.oil)"},
    {12060, L"lb/bbl (us.tank)"},
    {12063, L"lb/gal (imp)"},
    {12061, L"lb/bbl (imp.beer)"},
    {12062, L"lb/bbl (imp.oil)"},
};

constexpr CUnitNameChoice kUnitNameTables[] = {
    {9243, kDensityUnitNames},
};

}  // namespace

const CDeviceUnitData& GetDeviceUnitData() {
  static constexpr CDeviceUnitData data{
      VolumeFlow, MassFlow, kDependStaticRules, kCaptionOverrides, kTotalizerFamilies, kUnitNameTables,
  };
  return data;
}
