// The ten system units that both unit pages show under the same dialog item ids: one combo
// box per unit member, listing the member's enumeration texts.
#pragma once

#include <cstddef>

#include "PVCtrlBinding.h"
#include "PageResource.h"

inline constexpr size_t kSystemUnitCount = 10;

inline constexpr CPVMemberRow kSystemUnitRows[kSystemUnitCount] = {
    {IDC_UNIT_MASS_FLOW, L"System_units_Mass_flow_unit"},
    {IDC_UNIT_VOLUME_FLOW, L"System_units_Volume_flow_unit"},
    {IDC_UNIT_CORR_VOLUME_FLOW, L"System_units_Corvolflow_unit"},
    {IDC_UNIT_MASS, L"System_units_Mass_unit"},
    {IDC_UNIT_VOLUME, L"System_units_Volume_unit"},
    {IDC_UNIT_CORR_VOLUME, L"System_units_Corrected_volume_unit"},
    {IDC_UNIT_DENSITY, L"System_units_Density_unit"},
    {IDC_UNIT_REF_DENSITY, L"System_units_Reference_density_unit"},
    {IDC_UNIT_TEMPERATURE, L"System_units_Temperature_unit"},
    {IDC_UNIT_PRESSURE, L"System_units_Pressure_unit"},
};
