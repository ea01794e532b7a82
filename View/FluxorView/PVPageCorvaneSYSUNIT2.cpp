#include "PVPageCorvaneSYSUNIT2.h"

#include <iterator>

#include "FluxorPageResource.h"
#include "PVCtrlBinding.h"

namespace {

// One unit: its combo box's dialog item id and member.
struct CUnit {
  int nID;
  const wchar_t* pszMember;
};

// The page's table: member order, list order and binding order are the table's.
constexpr CUnit kUnits[] = {
    {IDC_UNIT_MASS_FLOW, L"System_units_Mass_flow_unit"},
    {IDC_UNIT_VOLUME_FLOW, L"System_units_Volume_flow_unit"},
    {IDC_UNIT_CORR_VOLUME_FLOW, L"System_units_Corvolflow_unit"},
    {IDC_UNIT_MASS, L"System_units_Mass_unit"},
    {IDC_UNIT_VOLUME, L"System_units_Volume_unit"},
    {IDC_UNIT_DENSITY, L"System_units_Density_unit"},
    {IDC_UNIT_TEMPERATURE, L"System_units_Temperature_unit"},
    {IDC_FLUXOR_UNIT_CONDUCTIVITY, L"System_units_Conductivity_unit"},
};
static_assert(std::size(kUnits) == CPVPageCorvaneSYSUNIT2::kUnitCount);

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT2::CPVPageCorvaneSYSUNIT2()
    : CPVConfigPanelEnum(IDD), m_cmbUnits(PVMakeControls<CPVCtrlConfigComboBox>(kUnits)) {
  for (CPVCtrlConfigComboBox& unit : m_cmbUnits) AddControlToList(&unit);
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT2::~CPVPageCorvaneSYSUNIT2() = default;

void CPVPageCorvaneSYSUNIT2::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  for (size_t i = 0; i < kUnitCount; ++i) DDX_Control(pDX, kUnits[i].nID, m_cmbUnits[i]);
}

BOOL CPVPageCorvaneSYSUNIT2::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  for (size_t i = 0; i < kUnitCount; ++i) PVBindComboBox(m_cmbUnits[i], kUnits[i].pszMember, adapter);
  // The mass flow unit has the focus.
  OnFocusChange(&m_cmbUnits[0]);
  return result;
}
