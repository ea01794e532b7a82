#include "PVPageCorvaneSYSTEM.h"

#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneSYSTEM;

// The alarm delay is a non-negative number of five characters with one decimal.
constexpr CPVEditArgs kAlarmDelay = {5, 1, 1};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_SYSTEM_WRITE_PROTECTION,
     .control = PVControl<&Page::m_cmbWriteProtection>,
     .members = {L"EIP_SWWriteProtection"},
     .bFocus = true},
    {.nID = IDC_SYSTEM_ALARM_DELAY,
     .control = PVControl<&Page::m_editAlarmDelay>,
     .members = {L"DiagnosticHandlingAlarmDelay"},
     .edit = kAlarmDelay},
    {.nID = IDC_SYSTEM_DIAG_044,
     .control = PVControl<&Page::m_cmbDiagnostics, 0>,
     .members = {L"DiagnosticBehaviorAssign044"}},
    {.nID = IDC_SYSTEM_DIAG_046,
     .control = PVControl<&Page::m_cmbDiagnostics, 1>,
     .members = {L"DiagnosticBehaviorAssign046"}},
    {.nID = IDC_SYSTEM_DIAG_132,
     .control = PVControl<&Page::m_cmbDiagnostics, 2>,
     .members = {L"DiagnosticBehaviorAssign132"}},
    {.nID = IDC_SYSTEM_DIAG_274,
     .control = PVControl<&Page::m_cmbDiagnostics, 3>,
     .members = {L"DiagnosticBehaviorAssign274"}},
    {.nID = IDC_SYSTEM_DIAG_392,
     .control = PVControl<&Page::m_cmbDiagnostics, 4>,
     .members = {L"DiagnosticBehaviorAssign392"}},
    {.nID = IDC_SYSTEM_DIAG_532,
     .control = PVControl<&Page::m_cmbDiagnostics, 5>,
     .members = {L"DiagnosticBehaviorAssign532"}},
    {.nID = IDC_SYSTEM_DIAG_832,
     .control = PVControl<&Page::m_cmbDiagnostics, 6>,
     .members = {L"DiagnosticBehaviorAssign832"}},
    {.nID = IDC_SYSTEM_DIAG_833,
     .control = PVControl<&Page::m_cmbDiagnostics, 7>,
     .members = {L"DiagnosticBehaviorAssign833"}},
    {.nID = IDC_SYSTEM_DIAG_834,
     .control = PVControl<&Page::m_cmbDiagnostics, 8>,
     .members = {L"DiagnosticBehaviorAssign834"}},
    {.nID = IDC_SYSTEM_DIAG_835,
     .control = PVControl<&Page::m_cmbDiagnostics, 9>,
     .members = {L"DiagnosticBehaviorAssign835"}},
    {.nID = IDC_SYSTEM_DIAG_912,
     .control = PVControl<&Page::m_cmbDiagnostics, 10>,
     .members = {L"DiagnosticBehaviorAssign912"}},
    {.nID = IDC_SYSTEM_DIAG_913,
     .control = PVControl<&Page::m_cmbDiagnostics, 11>,
     .members = {L"DiagnosticBehaviorAssign913"}},
    {.nID = IDC_SYSTEM_DIAG_932,
     .control = PVControl<&Page::m_cmbDiagnostics, 12>,
     .members = {L"DiagnosticBehaviorAssign932"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM::CPVPageCorvaneSYSTEM()
    : CPVConfigPanelEnum(IDD),
      m_cmbWriteProtection(PVMakeControl<&Page::m_cmbWriteProtection>()),
      m_editAlarmDelay(PVMakeControl<&Page::m_editAlarmDelay>()),
      m_cmbDiagnostics(PVMakeControls<&Page::m_cmbDiagnostics>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneSYSTEM::~CPVPageCorvaneSYSTEM() = default;

void CPVPageCorvaneSYSTEM::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneSYSTEM::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
