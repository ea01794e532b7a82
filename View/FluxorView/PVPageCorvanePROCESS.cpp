#include "PVPageCorvanePROCESS.h"

#include "FluxorPageResource.h"

namespace {

using Page = CPVPageCorvanePROCESS;

// The conductivity damping is a non-negative number of five characters with one decimal; the
// flow damping a whole number of two characters without a sign.

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_PROCESS_FLOW_OVERRIDE,
     .control = PVControl<&Page::m_cmbFlowOverride>,
     .members = {L"Process_parameters_Flow_override"},
     .bFocus = true},
    {.nID = IDC_FLUXOR_PROCESS_CONDUCTIVITY_DAMPING,
     .control = PVControl<&Page::m_editConductivityDamping>,
     .members = {L"Process_param_Conduct_damping"},
     .edit = {5, 1, 1}},
    {.nID = IDC_FLUXOR_PROCESS_FILTER_OPTIONS,
     .control = PVControl<&Page::m_cmbFilterOptions>,
     .members = {L"Process_parameters_Filter_options"}},
    {.nID = IDC_PROCESS_FLOW_DAMPING,
     .control = PVControl<&Page::m_editFlowDamping>,
     .members = {L"Process_parameters_Flow_damping"},
     .edit = {2, 1}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvanePROCESS, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePROCESS, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePROCESS::CPVPageCorvanePROCESS()
    : CPVConfigPanelEnum(IDD),
      m_cmbFlowOverride(PVMakeControl<&Page::m_cmbFlowOverride>()),
      m_editConductivityDamping(PVMakeControl<&Page::m_editConductivityDamping>()),
      m_cmbFilterOptions(PVMakeControl<&Page::m_cmbFilterOptions>()),
      m_editFlowDamping(PVMakeControl<&Page::m_editFlowDamping>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvanePROCESS::~CPVPageCorvanePROCESS() = default;

void CPVPageCorvanePROCESS::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvanePROCESS::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
