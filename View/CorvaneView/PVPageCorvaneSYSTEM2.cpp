#include "PVPageCorvaneSYSTEM2.h"

#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneSYSTEM2;

// The access code is a whole number of five characters without a sign; the alarm delay a
// non-negative number of five characters with one decimal.
constexpr CPVEditArgs kAccessCode = {5, 1};
constexpr CPVEditArgs kAlarmDelay = {5, 1, 1};

// The online pair: the access level read after each refresh, and the button that runs the
// link services' refresh (kRefreshService) and writes its failure into the template's plain
// text IDC_SYSTEM_REFRESH_STATUS.
constexpr wchar_t kAccessStatusAttribute[] = L"AccessStatusLevel";
constexpr int kNoLabel = 0;

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_SYSTEM_ACCESS_CODE,
     .control = PVControl<&Page::m_editAccessCode>,
     .members = {L"STD_AccessCode_1"},
     .edit = kAccessCode},
    // The write protection, not the first row, has the focus; the template puts it first in tab
    // order, so the dialog's default focus goes to it as well.
    {.nID = IDC_SYSTEM_WRITE_PROTECTION,
     .control = PVControl<&Page::m_cmbWriteProtection>,
     .members = {L"EIP_SWWriteProtection"},
     .bFocus = true},
    {.nID = IDC_SYSTEM_ALARM_DELAY,
     .control = PVControl<&Page::m_editAlarmDelay>,
     .members = {L"Diagnostic_handling_Alarm_delay"},
     .edit = kAlarmDelay},
    {.nID = IDC_SYSTEM_DIAG_046,
     .control = PVControl<&Page::m_cmbDiagnostics, 0>,
     .members = {L"Diagn_behavior_Diagnostic_no046"}},
    {.nID = IDC_SYSTEM_DIAG_140,
     .control = PVControl<&Page::m_cmbDiagnostics, 1>,
     .members = {L"Diagn_behavior_Diagnostic_no140"}},
    {.nID = IDC_SYSTEM_DIAG_144,
     .control = PVControl<&Page::m_cmbDiagnostics, 2>,
     .members = {L"Diagn_behavior_Diagnostic_no144"}},
    {.nID = IDC_SYSTEM_DIAG_374,
     .control = PVControl<&Page::m_cmbDiagnostics, 3>,
     .members = {L"Diagn_behavior_Diagnostic_no374"}},
    {.nID = IDC_SYSTEM_DIAG_441,
     .control = PVControl<&Page::m_cmbDiagnostics, 4>,
     .members = {L"Diagn_behavior_Diagnostic_no441"}},
    {.nID = IDC_SYSTEM_DIAG_442,
     .control = PVControl<&Page::m_cmbDiagnostics, 5>,
     .members = {L"Diagn_behavior_Diagnostic_no442"}},
    {.nID = IDC_SYSTEM_DIAG_443,
     .control = PVControl<&Page::m_cmbDiagnostics, 6>,
     .members = {L"Diagn_behavior_Diagnostic_no443"}},
    {.nID = IDC_SYSTEM_DIAG_444,
     .control = PVControl<&Page::m_cmbDiagnostics, 7>,
     .members = {L"Diagn_behavior_Diagnostic_no444"}},
    {.nID = IDC_SYSTEM_DIAG_830,
     .control = PVControl<&Page::m_cmbDiagnostics, 8>,
     .members = {L"Diagn_behavior_Diagnostic_no830"}},
    {.nID = IDC_SYSTEM_DIAG_831,
     .control = PVControl<&Page::m_cmbDiagnostics, 9>,
     .members = {L"Diagn_behavior_Diagnostic_no831"}},
    {.nID = IDC_SYSTEM_DIAG_832,
     .control = PVControl<&Page::m_cmbDiagnostics, 10>,
     .members = {L"Diagn_behavior_Diagnostic_no832"}},
    {.nID = IDC_SYSTEM_DIAG_833,
     .control = PVControl<&Page::m_cmbDiagnostics, 11>,
     .members = {L"Diagn_behavior_Diagnostic_no833"}},
    {.nID = IDC_SYSTEM_DIAG_834,
     .control = PVControl<&Page::m_cmbDiagnostics, 12>,
     .members = {L"Diagn_behavior_Diagnostic_no834"}},
    {.nID = IDC_SYSTEM_DIAG_835,
     .control = PVControl<&Page::m_cmbDiagnostics, 13>,
     .members = {L"Diagn_behavior_Diagnostic_no835"}},
    {.nID = IDC_SYSTEM_DIAG_862,
     .control = PVControl<&Page::m_cmbDiagnostics, 14>,
     .members = {L"Diagn_behavior_Diagnostic_no862"}},
    {.nID = IDC_SYSTEM_DIAG_912,
     .control = PVControl<&Page::m_cmbDiagnostics, 15>,
     .members = {L"Diagn_behavior_Diagnostic_no912"}},
    {.nID = IDC_SYSTEM_DIAG_913,
     .control = PVControl<&Page::m_cmbDiagnostics, 16>,
     .members = {L"Diagn_behavior_Diagnostic_no913"}},
    {.nID = IDC_SYSTEM_DIAG_944,
     .control = PVControl<&Page::m_cmbDiagnostics, 17>,
     .members = {L"Diagn_behavior_Diagnostic_no944"}},
    {.nID = IDC_SYSTEM_DIAG_948,
     .control = PVControl<&Page::m_cmbDiagnostics, 18>,
     .members = {L"Diagn_behavior_Diagnostic_no948"}},
    // The online pair works through the module's link services and binds no member.
    {.nID = IDC_SYSTEM_ACCESS_STATUS,
     .control = PVControl<&Page::m_stAccessStatus>,
     .binding = EPVBinding::None},
    {.nID = IDC_SYSTEM_REFRESH, .control = PVControl<&Page::m_btnRefresh>, .binding = EPVBinding::None},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM2::CPVPageCorvaneSYSTEM2()
    : CPVConfigPanelEnum(IDD),
      m_editAccessCode(PVMakeControl<&Page::m_editAccessCode>()),
      m_cmbWriteProtection(PVMakeControl<&Page::m_cmbWriteProtection>()),
      m_editAlarmDelay(PVMakeControl<&Page::m_editAlarmDelay>()),
      m_cmbDiagnostics(PVMakeControls<&Page::m_cmbDiagnostics>()),
      m_stAccessStatus(
          PVMakeControl<&Page::m_stAccessStatus>(kNoLabel, kAccessStatusAttribute, &m_btnRefresh)),
      m_btnRefresh(PVMakeControl<&Page::m_btnRefresh>(kNoLabel, kRefreshService, IDC_SYSTEM_REFRESH_STATUS)) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

// The factory's page object destroys the window before the members, so that no message reaches
// a control whose partner, declared after it, is already gone.
CPVPageCorvaneSYSTEM2::~CPVPageCorvaneSYSTEM2() = default;

void CPVPageCorvaneSYSTEM2::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneSYSTEM2::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
