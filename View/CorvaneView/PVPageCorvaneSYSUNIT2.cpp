#include "PVPageCorvaneSYSUNIT2.h"

namespace {

// The page's table after the ten system units.
constexpr CPVMemberRow kFurtherUnits[CPVPageCorvaneSYSUNIT2::kFurtherUnitCount] = {
    {IDC_UNIT_KINEMATIC_VISCOSITY, L"System_units_Kinematic_viscosity_unit"},
    {IDC_UNIT_DYNAMIC_VISCOSITY, L"System_units_Dynamic_viscosity_unit"},
    {IDC_UNIT_CONCENTRATION, L"System_units_Concentration_unit"},
    {IDC_UNIT_WATER_DENSITY, L"System_units_Water_density_unit"},
    {IDC_UNIT_WATER_REF_DENSITY, L"System_units_Water_ref_dens"},
    {IDC_UNIT_OIL_DENSITY, L"System_units_Oil_density_unit"},
};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT2::CPVPageCorvaneSYSUNIT2()
    : CPVConfigPanelEnum(IDD),
      m_cmbUnits(PVMakeControls<CPVCtrlConfigComboBox>(kSystemUnitRows)),
      m_cmbFurtherUnits(PVMakeControls<CPVCtrlConfigComboBox>(kFurtherUnits)) {
  for (CPVCtrlConfigComboBox& unit : m_cmbUnits) AddControlToList(&unit);
  for (CPVCtrlConfigComboBox& unit : m_cmbFurtherUnits) AddControlToList(&unit);
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT2::~CPVPageCorvaneSYSUNIT2() = default;

void CPVPageCorvaneSYSUNIT2::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(pDX, m_cmbUnits, kSystemUnitRows);
  PVExchangeControls(pDX, m_cmbFurtherUnits, kFurtherUnits);
}

BOOL CPVPageCorvaneSYSUNIT2::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBoxes(m_cmbUnits, kSystemUnitRows, adapter);
  PVBindComboBoxes(m_cmbFurtherUnits, kFurtherUnits, adapter);
  // The mass flow unit has the focus.
  OnFocusChange(&m_cmbUnits[0]);
  return result;
}
