#include "PVPageCorvanePROCESS.h"

#include "FluxorPageResource.h"
#include "PVCtrlBinding.h"

IMPLEMENT_DYNCREATE(CPVPageCorvanePROCESS, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePROCESS, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePROCESS::CPVPageCorvanePROCESS()
    : CPVConfigPanelEnum(IDD),
      m_cmbFlowOverride(IDC_PROCESS_FLOW_OVERRIDE),
      m_edtConductivityDamping(IDC_FLUXOR_PROCESS_CONDUCTIVITY_DAMPING),
      m_cmbFilterOptions(IDC_FLUXOR_PROCESS_FILTER_OPTIONS),
      m_edtFlowDamping(IDC_PROCESS_FLOW_DAMPING) {
  AddControlToList(&m_cmbFlowOverride);
  AddControlToList(&m_edtConductivityDamping);
  AddControlToList(&m_cmbFilterOptions);
  AddControlToList(&m_edtFlowDamping);
  EnableHelp(1);
}

CPVPageCorvanePROCESS::~CPVPageCorvanePROCESS() = default;

void CPVPageCorvanePROCESS::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PROCESS_FLOW_OVERRIDE, m_cmbFlowOverride);
  DDX_Control(pDX, IDC_FLUXOR_PROCESS_CONDUCTIVITY_DAMPING, m_edtConductivityDamping);
  DDX_Control(pDX, IDC_FLUXOR_PROCESS_FILTER_OPTIONS, m_cmbFilterOptions);
  DDX_Control(pDX, IDC_PROCESS_FLOW_DAMPING, m_edtFlowDamping);
}

BOOL CPVPageCorvanePROCESS::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbFlowOverride, L"Process_parameters_Flow_override", adapter);
  PVBindEditFloat(m_edtConductivityDamping, L"Process_param_Conduct_damping", adapter, 5, 1, 1);
  PVBindComboBox(m_cmbFilterOptions, L"Process_parameters_Filter_options", adapter);
  // At most two digits, no sign.
  PVBindEditInteger(m_edtFlowDamping, L"Process_parameters_Flow_damping", adapter, 2, 1);
  OnFocusChange(&m_cmbFlowOverride);
  return result;
}
