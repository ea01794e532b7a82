#include "PVPageCorvanePROCESS.h"

#include "PageResource.h"

namespace {

using Page = CPVPageCorvanePROCESS;

// A damping is a non-negative number of five characters with one decimal.
constexpr CPVEditArgs kDamping = {5, 1, 1};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_PROCESS_FLOW_OVERRIDE,
     .control = PVControl<&Page::m_cmbFlowOverride>,
     .members = {L"Process_parameters_Flow_override"},
     .bFocus = true},
    {.nID = IDC_PROCESS_DENSITY_DAMPING,
     .control = PVControl<&Page::m_editDampings, 0>,
     .members = {L"Process_parameters_Density_damping"},
     .edit = kDamping},
    {.nID = IDC_PROCESS_TEMPERATURE_DAMPING,
     .control = PVControl<&Page::m_editDampings, 1>,
     .members = {L"Process_parameters_Temperature_damping"},
     .edit = kDamping},
    {.nID = IDC_PROCESS_FLOW_DAMPING,
     .control = PVControl<&Page::m_editDampings, 2>,
     .members = {L"Process_parameters_Flow_damping"},
     .edit = kDamping},
};

IMPLEMENT_DYNCREATE(CPVPageCorvanePROCESS, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePROCESS, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePROCESS::CPVPageCorvanePROCESS()
    : CPVConfigPanelEnum(IDD),
      m_cmbFlowOverride(PVMakeControl<&Page::m_cmbFlowOverride>()),
      m_editDampings(PVMakeControls<&Page::m_editDampings>()) {
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
