#include "PVPageCorvaneCOMP.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneCOMP;

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_COMP_PRESSURE_COMPENSATION,
     .control = PVControl<&Page::m_cmbPressureCompensation>,
     .members = {L"External_comp_Pressure_compen"},
     .bFocus = true},
    {.nID = IDC_COMP_TEMPERATURE_SOURCE,
     .control = PVControl<&Page::m_cmbTemperatureSource>,
     .members = {L"External_comp_Tempcorrsource"}},
    {.nID = IDC_COMP_PRESSURE_VALUE,
     .control = PVControl<&Page::m_editPressureValue>,
     .members = {L"External_compensation_Pressure_value"},
     .edit = {23, 1, 5},
     .masters = {{IDC_COMP_PRESSURE_COMPENSATION, 1, 1}}},
    {.nID = IDC_COMP_PRESSURE_UNIT,
     .control = PVControl<&Page::m_stPressureUnit>,
     .members = {L"System_units_Pressure_unit"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMP, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMP, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMP::CPVPageCorvaneCOMP()
    : CPVConfigPanelEnum(IDD),
      m_cmbPressureCompensation(PVMakeControl<&Page::m_cmbPressureCompensation>()),
      m_cmbTemperatureSource(PVMakeControl<&Page::m_cmbTemperatureSource>()),
      m_editPressureValue(PVMakeControl<&Page::m_editPressureValue>()),
      m_stPressureUnit(PVMakeControl<&Page::m_stPressureUnit>()) {
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
