#include "PVPageCorvanePARTIALLY.h"

#include "PVDeviceBinding.h"
#include "FluxorPageResource.h"

namespace {

using Page = CPVPageCorvanePARTIALLY;

// The edits are typed at the empty pipe detection's second and third positions.
constexpr CPVMaster kDetecting = {IDC_FLUXOR_EPD, 1, 2};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_FLUXOR_EPD,
     .control = PVControl<&Page::m_cmbEmptyPipeDetection>,
     .members = {L"Empty_pipe_det_Empty_pipe_det"},
     .bFocus = true},
    {.nID = IDC_FLUXOR_EPD_RESPONSE_TIME,
     .control = PVControl<&Page::m_editResponseTime>,
     .members = {L"Empty_pipe_det_Response_time"},
     .edit = {4, 1, 1},
     .masters = {kDetecting}},
    {.nID = IDC_FLUXOR_EPD_SWITCH_POINT,
     .control = PVControl<&Page::m_editSwitchPoint>,
     .members = {L"Empty_pipe_det_Switch_point_EPD"},
     .edit = {8, 1, 3},
     .masters = {kDetecting}},
    {.nID = IDC_FLUXOR_EPD_NEW_ADJUSTMENT,
     .control = PVControl<&Page::m_cmbNewAdjustment>,
     .members = {L"Empty_pipe_detection_New_adjustment"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePARTIALLY::CPVPageCorvanePARTIALLY()
    : CPVConfigPanelEnum(IDD),
      m_cmbEmptyPipeDetection(PVMakeControl<&Page::m_cmbEmptyPipeDetection>()),
      m_cmbNewAdjustment(PVMakeControl<&Page::m_cmbNewAdjustment>()),
      m_editResponseTime(PVMakeControl<&Page::m_editResponseTime>()),
      m_editSwitchPoint(PVMakeControl<&Page::m_editSwitchPoint>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvanePARTIALLY::~CPVPageCorvanePARTIALLY() = default;

void CPVPageCorvanePARTIALLY::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvanePARTIALLY::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
