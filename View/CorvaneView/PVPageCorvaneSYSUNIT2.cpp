#include "PVPageCorvaneSYSUNIT2.h"

#include "CorvaneSystemUnitRows.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneSYSUNIT2;

}  // namespace

constexpr std::array<CPVPageRow<Page>, 10 + Page::kFurtherUnitCount> Page::kTable = PVJoinRows(
    // The ten units of the system unit page, under its item ids.
    CorvaneSystemUnitRows<&Page::m_cmbUnits>(),
    // The six further units.
    {
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
    });

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
