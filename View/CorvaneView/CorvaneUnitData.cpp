// The Coriolis meter's unit data for the device controls: which unit member a dependent unit
// caption reads, the totalizer unit families and the unit-name tables of its pages.
#include <DeviceUnitData.h>

namespace {

using enum EUnitRole;

constexpr CDependStaticRule kDependStaticRules[] = {
    // The low flow cut-off's assigned variable.
    {9058, 1, MassFlow},
    {9058, 2, VolumeFlow},
    {9058, 3, CorrectedVolumeFlow},
    // The totalizers' assigned process variables.
    {9327, 1, VolumeFlow},
    {9327, 4, VolumeFlow},
    {9327, 2, MassFlow},
    {9327, 5, MassFlow},
    {9327, 3, CorrectedVolumeFlow},
    {9400, 1, VolumeFlow},
    {9400, 4, VolumeFlow},
    {9400, 2, MassFlow},
    {9400, 5, MassFlow},
    {9400, 3, CorrectedVolumeFlow},
    {9402, 1, VolumeFlow},
    {9402, 4, VolumeFlow},
    {9402, 2, MassFlow},
    {9402, 5, MassFlow},
    {9402, 3, CorrectedVolumeFlow},
    // Every other master: the density variables.
    {0, 1, Density},
    {0, 2, ReferenceDensity},
};

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
