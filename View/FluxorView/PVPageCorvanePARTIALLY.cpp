#include "PVPageCorvanePARTIALLY.h"

#include "FluxorPageResource.h"
#include "PVCtrlBinding.h"

IMPLEMENT_DYNCREATE(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePARTIALLY::CPVPageCorvanePARTIALLY()
    : CPVConfigPanelEnum(IDD),
      m_cmbEmptyPipeDetection(IDC_FLUXOR_EPD),
      m_cmbNewAdjustment(IDC_FLUXOR_EPD_NEW_ADJUSTMENT),
      m_edtResponseTime(IDC_FLUXOR_EPD_RESPONSE_TIME, IDC_FLUXOR_EPD, 1, 2),
      m_edtSwitchPoint(IDC_FLUXOR_EPD_SWITCH_POINT, IDC_FLUXOR_EPD, 1, 2) {
  AddControlToList(&m_cmbEmptyPipeDetection);
  AddControlToList(&m_edtResponseTime);
  AddControlToList(&m_edtSwitchPoint);
  AddControlToList(&m_cmbNewAdjustment);
  EnableHelp(1);
}

CPVPageCorvanePARTIALLY::~CPVPageCorvanePARTIALLY() = default;

void CPVPageCorvanePARTIALLY::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_FLUXOR_EPD, m_cmbEmptyPipeDetection);
  DDX_Control(pDX, IDC_FLUXOR_EPD_RESPONSE_TIME, m_edtResponseTime);
  DDX_Control(pDX, IDC_FLUXOR_EPD_SWITCH_POINT, m_edtSwitchPoint);
  DDX_Control(pDX, IDC_FLUXOR_EPD_NEW_ADJUSTMENT, m_cmbNewAdjustment);
}

BOOL CPVPageCorvanePARTIALLY::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbEmptyPipeDetection, L"Empty_pipe_det_Empty_pipe_det", adapter);
  PVBindEditFloat(m_edtResponseTime, L"Empty_pipe_det_Response_time", adapter, 4, 1, 1);
  PVBindEditFloat(m_edtSwitchPoint, L"Empty_pipe_det_Switch_point_EPD", adapter, 8, 1, 3);
  PVBindComboBox(m_cmbNewAdjustment, L"Empty_pipe_detection_New_adjustment", adapter);
  OnFocusChange(&m_cmbEmptyPipeDetection);
  return result;
}
