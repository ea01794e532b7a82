#include "PVPageCorvaneLOWFLOW.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneLOWFLOW;

// The positions of the assignment that name a flow variable: mass, volume, corrected volume.
constexpr CPVMaster kFlow = {IDC_LOWFLOW_ASSIGN, 1, 3};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_LOWFLOW_ASSIGN,
     .control = PVControl<&Page::m_cmbAssign>,
     .members = {L"Low_flow_cut_off_Assign_variable"},
     .bFocus = true},
    {.nID = IDC_LOWFLOW_ON_VALUE,
     .control = PVControl<&Page::m_editOnValue>,
     .members = {L"Low_flow_cut_off_On_value"},
     .edit = {23, 3, 5},
     .masters = {kFlow}},
    // The flow units by role; the binding gives the first two to the caption in the order the
    // meter's Initialize takes them.
    {.nID = IDC_LOWFLOW_UNIT,
     .control = PVControl<&Page::m_stFlowUnit>,
     .members = {L"System_units_Mass_flow_unit", L"System_units_Volume_flow_unit",
                 L"System_units_Corvolflow_unit"},
     .masters = {kFlow}},
    {.nID = IDC_LOWFLOW_OFF_VALUE,
     .control = PVControl<&Page::m_editOffValue>,
     .members = {L"Low_flow_cut_off_Off_value"},
     .edit = {6, 1, 1},
     .masters = {kFlow}},
    {.nID = IDC_LOWFLOW_PRESSURE_SHOCK,
     .control = PVControl<&Page::m_editPressureShock>,
     .members = {L"Low_flow_cut_off_Pres_shock_sup"},
     .edit = {7, 1, 2},
     .masters = {kFlow}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneLOWFLOW, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneLOWFLOW, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneLOWFLOW::CPVPageCorvaneLOWFLOW()
    : CPVConfigPanelEnum(IDD),
      m_cmbAssign(PVMakeControl<&Page::m_cmbAssign>()),
      m_editOnValue(PVMakeControl<&Page::m_editOnValue>()),
      m_stFlowUnit(PVMakeControl<&Page::m_stFlowUnit>()),
      m_editOffValue(PVMakeControl<&Page::m_editOffValue>()),
      m_editPressureShock(PVMakeControl<&Page::m_editPressureShock>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneLOWFLOW::~CPVPageCorvaneLOWFLOW() = default;

void CPVPageCorvaneLOWFLOW::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneLOWFLOW::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
