#include "PVPageCorvanePROCESS.h"

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// The page's table. A damping is a non-negative number of five characters with one decimal.
constexpr CPVMemberRow kFlowOverride = {IDC_PROCESS_FLOW_OVERRIDE, L"Process_parameters_Flow_override"};
constexpr CPVEditRow kDampings[] = {
    {IDC_PROCESS_DENSITY_DAMPING, L"Process_parameters_Density_damping", 5, 1, 1},
    {IDC_PROCESS_TEMPERATURE_DAMPING, L"Process_parameters_Temperature_damping", 5, 1, 1},
    {IDC_PROCESS_FLOW_DAMPING, L"Process_parameters_Flow_damping", 5, 1, 1},
};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvanePROCESS, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePROCESS, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePROCESS::CPVPageCorvanePROCESS()
    : CPVConfigPanelEnum(IDD),
      m_cmbFlowOverride(kFlowOverride.nID),
      m_editDampings(PVMakeControls<CPVCtrlConfigEditFloat>(kDampings)) {
  AddControlToList(&m_cmbFlowOverride);
  for (CPVCtrlConfigEditFloat& edit : m_editDampings) AddControlToList(&edit);
  EnableHelp(1);
}

CPVPageCorvanePROCESS::~CPVPageCorvanePROCESS() = default;

void CPVPageCorvanePROCESS::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kFlowOverride.nID, m_cmbFlowOverride);
  PVExchangeControls(pDX, m_editDampings, kDampings);
}

BOOL CPVPageCorvanePROCESS::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbFlowOverride, kFlowOverride.pszMember, adapter);
  PVBindEditFloats(m_editDampings, kDampings, adapter);
  // The flow override has the focus.
  OnFocusChange(&m_cmbFlowOverride);
  return result;
}
