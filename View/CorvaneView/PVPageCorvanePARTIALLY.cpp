#include "PVPageCorvanePARTIALLY.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

// The positions of the assignment that name a density variable: density, reference density.
constexpr int kFirstDensity = 1;
constexpr int kLastDensity = 2;

// The page's table.
constexpr CPVMemberRow kAssign = {IDC_PARTIALLY_ASSIGN, L"Partial_pipe_det_Assign_variable"};
constexpr CDependEditRow kValues[] = {
    {IDC_PARTIALLY_LOW_VALUE, kAssign.nID, kFirstDensity, kLastDensity, L"Partial_pipe_det_Low_value", 8, 1,
     1},
    {IDC_PARTIALLY_HIGH_VALUE, kAssign.nID, kFirstDensity, kLastDensity, L"Partial_pipe_det_High_value", 8, 1,
     1},
    {IDC_PARTIALLY_RESPONSE_TIME, kAssign.nID, kFirstDensity, kLastDensity, L"Partial_pipe_det_Response_time",
     4, 1, 1},
    {IDC_PARTIALLY_MAX_DAMPING, kAssign.nID, kFirstDensity, kLastDensity, L"Partial_pipe_det_Max_damping", 8,
     1, 3},
};
// Both captions read the density and the reference density unit.
constexpr CPVUnitMembers kDensityUnits = {nullptr, nullptr, nullptr, L"System_units_Density_unit",
                                          L"System_units_Reference_density_unit"};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePARTIALLY::CPVPageCorvanePARTIALLY()
    : CPVConfigPanelEnum(IDD),
      m_cmbAssign(kAssign.nID),
      m_editValues(PVMakeDependEdits(kValues)),
      m_stHighUnit(IDC_PARTIALLY_HIGH_UNIT, kAssign.nID),
      m_stLowUnit(IDC_PARTIALLY_LOW_UNIT, kAssign.nID) {
  AddControlToList(&m_cmbAssign);
  for (CPVCtrlConfigChkCmbBtnDependEditBox& edit : m_editValues) AddControlToList(&edit);
  AddControlToList(&m_stLowUnit);
  AddControlToList(&m_stHighUnit);
  EnableHelp(1);
}

CPVPageCorvanePARTIALLY::~CPVPageCorvanePARTIALLY() = default;

void CPVPageCorvanePARTIALLY::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kAssign.nID, m_cmbAssign);
  PVExchangeControls(pDX, m_editValues, kValues);
  DDX_Control(pDX, IDC_PARTIALLY_LOW_UNIT, m_stLowUnit);
  DDX_Control(pDX, IDC_PARTIALLY_HIGH_UNIT, m_stHighUnit);
}

BOOL CPVPageCorvanePARTIALLY::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbAssign, kAssign.pszMember, adapter);
  for (size_t i = 0; i < m_editValues.size(); ++i) PVBindDependEdit(m_editValues[i], kValues[i], adapter);
  // One pair of unit value objects for both captions, so that they always show the same unit.
  const CPVUnitSelectors densityUnits = PVNewUnitSelectors(kDensityUnits, adapter);
  PVBindCmbDependStatic(m_stLowUnit, densityUnits);
  PVBindCmbDependStatic(m_stHighUnit, densityUnits);
  // The assignment has the focus.
  OnFocusChange(&m_cmbAssign);
  return result;
}
