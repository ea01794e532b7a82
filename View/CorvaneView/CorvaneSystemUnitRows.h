// The ten system units of the Coriolis meter, one combo box each on its unit member, the mass
// flow unit with the focus: the whole table of the system unit page, and the first ten rows of
// the extended system unit page, which shows the same units under the same item ids.
#pragma once

#include <array>
#include <tuple>

#include "PVPageTable.h"
#include "PageResource.h"

// The rows for the page whose array member Units (&Page::m_cmbUnits) holds the ten combo
// boxes, in the order of the page's control list.
template <auto Units>
constexpr std::array<CPVPageRow<pv_page_table::PageOf<Units>>, 10> CorvaneSystemUnitRows() {
  static_assert(std::tuple_size_v<pv_page_table::ControlOf<Units>> == 10,
                "one combo box for each system unit, none without its row");
  return {{
      {.nID = IDC_UNIT_MASS_FLOW,
       .control = PVControl<Units, 0>,
       .members = {L"System_units_Mass_flow_unit"},
       .bFocus = true},
      {.nID = IDC_UNIT_VOLUME_FLOW,
       .control = PVControl<Units, 1>,
       .members = {L"System_units_Volume_flow_unit"}},
      {.nID = IDC_UNIT_CORR_VOLUME_FLOW,
       .control = PVControl<Units, 2>,
       .members = {L"System_units_Corvolflow_unit"}},
      {.nID = IDC_UNIT_MASS, .control = PVControl<Units, 3>, .members = {L"System_units_Mass_unit"}},
      {.nID = IDC_UNIT_VOLUME, .control = PVControl<Units, 4>, .members = {L"System_units_Volume_unit"}},
      {.nID = IDC_UNIT_CORR_VOLUME,
       .control = PVControl<Units, 5>,
       .members = {L"System_units_Corrected_volume_unit"}},
      {.nID = IDC_UNIT_DENSITY, .control = PVControl<Units, 6>, .members = {L"System_units_Density_unit"}},
      {.nID = IDC_UNIT_REF_DENSITY,
       .control = PVControl<Units, 7>,
       .members = {L"System_units_Reference_density_unit"}},
      {.nID = IDC_UNIT_TEMPERATURE,
       .control = PVControl<Units, 8>,
       .members = {L"System_units_Temperature_unit"}},
      {.nID = IDC_UNIT_PRESSURE, .control = PVControl<Units, 9>, .members = {L"System_units_Pressure_unit"}},
  }};
}
