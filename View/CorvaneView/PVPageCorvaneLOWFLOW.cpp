#include "PVPageCorvaneLOWFLOW.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

// The positions of the assignment that name a flow variable: mass, volume, corrected volume.
constexpr int kFirstFlow = 1;
constexpr int kLastFlow = 3;

// The page's table; the flow unit members by role (the binding gives the first two to the
// caption in the order the meter's Initialize takes them).
constexpr CPVMemberRow kAssign = {IDC_LOWFLOW_ASSIGN, L"Low_flow_cut_off_Assign_variable"};
constexpr CDependEditRow kOnValue = {
    IDC_LOWFLOW_ON_VALUE, IDC_LOWFLOW_ASSIGN, kFirstFlow, kLastFlow, L"Low_flow_cut_off_On_value", 23, 3, 5};
constexpr CPVUnitMembers kFlowUnits = {L"System_units_Mass_flow_unit", L"System_units_Volume_flow_unit",
                                       L"System_units_Corvolflow_unit", nullptr, nullptr};
constexpr CDependEditRow kOffValue = {
    IDC_LOWFLOW_OFF_VALUE, IDC_LOWFLOW_ASSIGN, kFirstFlow, kLastFlow, L"Low_flow_cut_off_Off_value", 6, 1, 1};
constexpr CDependEditRow kPressureShock = {IDC_LOWFLOW_PRESSURE_SHOCK,
                                           IDC_LOWFLOW_ASSIGN,
                                           kFirstFlow,
                                           kLastFlow,
                                           L"Low_flow_cut_off_Pres_shock_sup",
                                           7,
                                           1,
                                           2};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneLOWFLOW, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneLOWFLOW, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneLOWFLOW::CPVPageCorvaneLOWFLOW()
    : CPVConfigPanelEnum(IDD),
      m_cmbAssign(kAssign.nID),
      m_editOnValue(kOnValue.nID, kOnValue.nMasterID, kOnValue.nLow, kOnValue.nHigh),
      m_stFlowUnit(IDC_LOWFLOW_UNIT, kAssign.nID),
      m_editOffValue(kOffValue.nID, kOffValue.nMasterID, kOffValue.nLow, kOffValue.nHigh),
      m_editPressureShock(kPressureShock.nID, kPressureShock.nMasterID, kPressureShock.nLow,
                          kPressureShock.nHigh) {
  AddControlToList(&m_cmbAssign);
  AddControlToList(&m_editOnValue);
  AddControlToList(&m_stFlowUnit);
  AddControlToList(&m_editOffValue);
  AddControlToList(&m_editPressureShock);
  EnableHelp(1);
}

CPVPageCorvaneLOWFLOW::~CPVPageCorvaneLOWFLOW() = default;

void CPVPageCorvaneLOWFLOW::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kAssign.nID, m_cmbAssign);
  DDX_Control(pDX, kOnValue.nID, m_editOnValue);
  DDX_Control(pDX, IDC_LOWFLOW_UNIT, m_stFlowUnit);
  DDX_Control(pDX, kOffValue.nID, m_editOffValue);
  DDX_Control(pDX, kPressureShock.nID, m_editPressureShock);
}

BOOL CPVPageCorvaneLOWFLOW::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbAssign, kAssign.pszMember, adapter);
  PVBindEditFloat3(m_editOnValue, kOnValue, adapter);
  PVBindCmbDependStatic(m_stFlowUnit, PVNewUnitSelectors(kFlowUnits, adapter));
  PVBindDependEdit(m_editOffValue, kOffValue, adapter);
  PVBindDependEdit(m_editPressureShock, kPressureShock, adapter);
  // The assignment has the focus.
  OnFocusChange(&m_cmbAssign);
  return result;
}
