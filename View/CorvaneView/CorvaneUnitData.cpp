// The Coriolis meter's unit data for the device controls: which unit member a dependent unit
// caption reads, the totalizer unit families and the unit-name tables of its pages.
#include <DeviceUnitData.h>

namespace {

using enum EUnitRole;

// The low flow cut-off's assigned variable, then the rows both meters share.
constexpr CDependStaticRule kLowFlowDependStaticRules[] = {
    {9058, 1, MassFlow},
    {9058, 2, VolumeFlow},
    {9058, 3, CorrectedVolumeFlow},
};
constexpr auto kDependStaticRules =
    JoinDependStaticRules(kLowFlowDependStaticRules, kTotalizerDependStaticRules, kDensityDependStaticRules);

// By the assign-variable combo box's position: volume, mass and corrected volume units.
constexpr CTotalizerUnitFamily kTotalizerFamilies[] = {
    {0, 5, 6, 26, 6, 18},
    {6, 10, 0, 5, 0, 4},
    {11, 15, 27, 34, 27, 30},
};

}  // namespace

const CDeviceUnitData& GetDeviceUnitData() {
  // Made on first use: the name tables are spans of the shared tables.
  static const CUnitNameChoice unitNameTables[] = {
      {9026, PressureUnitNames()},          {9235, PressureUnitNames()},
      {9194, TemperatureUnitNames()},       {9236, TemperatureUnitNames()},
      {9237, TemperatureUnitNames()},       {9240, TemperatureUnitNames()},
      {9195, ReferenceDensityUnitNames()},  {9238, DensityUnitNames()},
      {9244, DensityWithoutApiUnitNames()},
  };
  static const CDeviceUnitData data{
      MassFlow, VolumeFlow, kDependStaticRules, {}, kTotalizerFamilies, unitNameTables,
  };
  return data;
}
