#include "PVPageCorvaneSYSTEM2.h"

#include <iterator>

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// The page's table. The access code is a whole number of five characters without a sign; the
// alarm delay a non-negative number of five characters with one decimal.
constexpr CPVMemberRow kAccessCode = {IDC_SYSTEM_ACCESS_CODE, L"STD_AccessCode_1"};
constexpr int kAccessCodeTextLimit = 5;
constexpr DWORD kAccessCodeSignFlags = 1;
constexpr CPVMemberRow kWriteProtection = {IDC_SYSTEM_WRITE_PROTECTION, L"EIP_SWWriteProtection"};
constexpr CPVEditRow kAlarmDelay = {IDC_SYSTEM_ALARM_DELAY, L"Diagnostic_handling_Alarm_delay", 5, 1, 1};
constexpr CPVMemberRow kDiagnostics[] = {
    {IDC_SYSTEM_DIAG_046, L"Diagn_behavior_Diagnostic_no046"},
    {IDC_SYSTEM_DIAG_140, L"Diagn_behavior_Diagnostic_no140"},
    {IDC_SYSTEM_DIAG_144, L"Diagn_behavior_Diagnostic_no144"},
    {IDC_SYSTEM_DIAG_374, L"Diagn_behavior_Diagnostic_no374"},
    {IDC_SYSTEM_DIAG_441, L"Diagn_behavior_Diagnostic_no441"},
    {IDC_SYSTEM_DIAG_442, L"Diagn_behavior_Diagnostic_no442"},
    {IDC_SYSTEM_DIAG_443, L"Diagn_behavior_Diagnostic_no443"},
    {IDC_SYSTEM_DIAG_444, L"Diagn_behavior_Diagnostic_no444"},
    {IDC_SYSTEM_DIAG_830, L"Diagn_behavior_Diagnostic_no830"},
    {IDC_SYSTEM_DIAG_831, L"Diagn_behavior_Diagnostic_no831"},
    {IDC_SYSTEM_DIAG_832, L"Diagn_behavior_Diagnostic_no832"},
    {IDC_SYSTEM_DIAG_833, L"Diagn_behavior_Diagnostic_no833"},
    {IDC_SYSTEM_DIAG_834, L"Diagn_behavior_Diagnostic_no834"},
    {IDC_SYSTEM_DIAG_835, L"Diagn_behavior_Diagnostic_no835"},
    {IDC_SYSTEM_DIAG_862, L"Diagn_behavior_Diagnostic_no862"},
    {IDC_SYSTEM_DIAG_912, L"Diagn_behavior_Diagnostic_no912"},
    {IDC_SYSTEM_DIAG_913, L"Diagn_behavior_Diagnostic_no913"},
    {IDC_SYSTEM_DIAG_944, L"Diagn_behavior_Diagnostic_no944"},
    {IDC_SYSTEM_DIAG_948, L"Diagn_behavior_Diagnostic_no948"},
};
static_assert(std::size(kDiagnostics) == CPVPageCorvaneSYSTEM2::kDiagnosticCount);

// The online pair: the access level read after each refresh, and the button that runs the
// link services' refresh (kRefreshService) and writes its failure into the template's plain
// text IDC_SYSTEM_REFRESH_STATUS.
constexpr wchar_t kAccessStatusAttribute[] = L"AccessStatusLevel";
constexpr int kNoLabel = 0;

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM2::CPVPageCorvaneSYSTEM2()
    : CPVConfigPanelEnum(IDD),
      m_editAccessCode(kAccessCode.nID),
      m_cmbWriteProtection(kWriteProtection.nID),
      m_editAlarmDelay(kAlarmDelay.nID),
      m_cmbDiagnostics(PVMakeControls<CPVCtrlConfigComboBox>(kDiagnostics)),
      m_stAccessStatus(IDC_SYSTEM_ACCESS_STATUS, kNoLabel, kAccessStatusAttribute, &m_btnRefresh),
      m_btnRefresh(IDC_SYSTEM_REFRESH, kNoLabel, kRefreshService, IDC_SYSTEM_REFRESH_STATUS) {
  AddControlToList(&m_editAccessCode);
  AddControlToList(&m_cmbWriteProtection);
  AddControlToList(&m_editAlarmDelay);
  for (CPVCtrlConfigComboBox& diagnostic : m_cmbDiagnostics) AddControlToList(&diagnostic);
  AddControlToList(&m_stAccessStatus);
  AddControlToList(&m_btnRefresh);
  EnableHelp(1);
}

CPVPageCorvaneSYSTEM2::~CPVPageCorvaneSYSTEM2() {
  // The access status points at the button, which is destroyed first: the window goes before
  // either, so that no message reaches the field once the button is gone.
  if (GetSafeHwnd()) DestroyWindow();
}

void CPVPageCorvaneSYSTEM2::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kAccessCode.nID, m_editAccessCode);
  DDX_Control(pDX, kWriteProtection.nID, m_cmbWriteProtection);
  DDX_Control(pDX, kAlarmDelay.nID, m_editAlarmDelay);
  PVExchangeControls(pDX, m_cmbDiagnostics, kDiagnostics);
  DDX_Control(pDX, IDC_SYSTEM_ACCESS_STATUS, m_stAccessStatus);
  DDX_Control(pDX, IDC_SYSTEM_REFRESH, m_btnRefresh);
}

BOOL CPVPageCorvaneSYSTEM2::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindEditInteger(m_editAccessCode, kAccessCode.pszMember, adapter, kAccessCodeTextLimit,
                    kAccessCodeSignFlags);
  PVBindComboBox(m_cmbWriteProtection, kWriteProtection.pszMember, adapter);
  PVBindEditFloat(m_editAlarmDelay, kAlarmDelay, adapter);
  PVBindComboBoxes(m_cmbDiagnostics, kDiagnostics, adapter);
  // The online pair works through the module's link services and binds no member. The write
  // protection, not the first row, has the focus; the template puts it first in tab order, so
  // the dialog's default focus goes to it as well.
  OnFocusChange(&m_cmbWriteProtection);
  return result;
}
