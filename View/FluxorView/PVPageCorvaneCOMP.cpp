#include "PVPageCorvaneCOMP.h"

#include "PVDeviceBinding.h"
#include "FluxorPageResource.h"

namespace {

using Page = CPVPageCorvaneCOMP;

// The fixed density is typed only while the density source is at its first position. The
// caption shows the density unit from this meter's density table for its item id.

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_FLUXOR_COMP_DENSITY_SOURCE,
     .control = PVControl<&Page::m_cmbDensitySource>,
     .members = {L"External_compensation_Density_source"},
     .bFocus = true},
    {.nID = IDC_FLUXOR_COMP_TEMPERATURE_SOURCE,
     .control = PVControl<&Page::m_cmbTemperatureSource>,
     .members = {L"External_comp_Temp_source"}},
    {.nID = IDC_FLUXOR_COMP_FIXED_DENSITY,
     .control = PVControl<&Page::m_editFixedDensity>,
     .members = {L"External_compensation_Fixed_density"},
     .edit = {23, 1, 5},
     .masters = {{IDC_FLUXOR_COMP_DENSITY_SOURCE, 0, 0}}},
    {.nID = IDC_FLUXOR_COMP_DENSITY_UNIT,
     .control = PVControl<&Page::m_stDensityUnit>,
     .members = {L"System_units_Density_unit"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMP, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMP, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMP::CPVPageCorvaneCOMP()
    : CPVConfigPanelEnum(IDD),
      m_cmbDensitySource(PVMakeControl<&Page::m_cmbDensitySource>()),
      m_cmbTemperatureSource(PVMakeControl<&Page::m_cmbTemperatureSource>()),
      m_editFixedDensity(PVMakeControl<&Page::m_editFixedDensity>()),
      m_stDensityUnit(PVMakeControl<&Page::m_stDensityUnit>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneCOMP::~CPVPageCorvaneCOMP() = default;

void CPVPageCorvaneCOMP::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneCOMP::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
