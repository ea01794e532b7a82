#include "PVPageCorvaneSYSUNIT2.h"

#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneSYSUNIT2;

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_UNIT_MASS_FLOW,
     .control = PVControl<&Page::m_cmbUnits, 0>,
     .members = {L"System_units_Mass_flow_unit"},
     .bFocus = true},
    {.nID = IDC_UNIT_VOLUME_FLOW,
     .control = PVControl<&Page::m_cmbUnits, 1>,
     .members = {L"System_units_Volume_flow_unit"}},
    {.nID = IDC_UNIT_CORR_VOLUME_FLOW,
     .control = PVControl<&Page::m_cmbUnits, 2>,
     .members = {L"System_units_Corvolflow_unit"}},
    {.nID = IDC_UNIT_MASS,
     .control = PVControl<&Page::m_cmbUnits, 3>,
     .members = {L"System_units_Mass_unit"}},
    {.nID = IDC_UNIT_VOLUME,
     .control = PVControl<&Page::m_cmbUnits, 4>,
     .members = {L"System_units_Volume_unit"}},
    {.nID = IDC_UNIT_CORR_VOLUME,
     .control = PVControl<&Page::m_cmbUnits, 5>,
     .members = {L"System_units_Corrected_volume_unit"}},
    {.nID = IDC_UNIT_DENSITY,
     .control = PVControl<&Page::m_cmbUnits, 6>,
     .members = {L"System_units_Density_unit"}},
    {.nID = IDC_UNIT_REF_DENSITY,
     .control = PVControl<&Page::m_cmbUnits, 7>,
     .members = {L"System_units_Reference_density_unit"}},
    {.nID = IDC_UNIT_TEMPERATURE,
     .control = PVControl<&Page::m_cmbUnits, 8>,
     .members = {L"System_units_Temperature_unit"}},
    {.nID = IDC_UNIT_PRESSURE,
     .control = PVControl<&Page::m_cmbUnits, 9>,
     .members = {L"System_units_Pressure_unit"}},
    {.nID = IDC_UNIT_KINEMATIC_VISCOSITY,
     .control = PVControl<&Page::m_cmbFurtherUnits, 0>,
     .members = {L"System_units_Kinematic_viscosity_unit"}},
    {.nID = IDC_UNIT_DYNAMIC_VISCOSITY,
     .control = PVControl<&Page::m_cmbFurtherUnits, 1>,
     .members = {L"System_units_Dynamic_viscosity_unit"}},
    {.nID = IDC_UNIT_CONCENTRATION,
     .control = PVControl<&Page::m_cmbFurtherUnits, 2>,
     .members = {L"System_units_Concentration_unit"}},
    {.nID = IDC_UNIT_WATER_DENSITY,
     .control = PVControl<&Page::m_cmbFurtherUnits, 3>,
     .members = {L"System_units_Water_density_unit"}},
    {.nID = IDC_UNIT_WATER_REF_DENSITY,
     .control = PVControl<&Page::m_cmbFurtherUnits, 4>,
     .members = {L"System_units_Water_ref_dens"}},
    {.nID = IDC_UNIT_OIL_DENSITY,
     .control = PVControl<&Page::m_cmbFurtherUnits, 5>,
     .members = {L"System_units_Oil_density_unit"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT2::CPVPageCorvaneSYSUNIT2()
    : CPVConfigPanelEnum(IDD),
      m_cmbUnits(PVMakeControls<&Page::m_cmbUnits>()),
      m_cmbFurtherUnits(PVMakeControls<&Page::m_cmbFurtherUnits>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT2::~CPVPageCorvaneSYSUNIT2() = default;

void CPVPageCorvaneSYSUNIT2::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneSYSUNIT2::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
