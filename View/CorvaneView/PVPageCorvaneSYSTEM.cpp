#include "PVPageCorvaneSYSTEM.h"

#include <iterator>

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// The page's table. The alarm delay is a non-negative number of five characters with one
// decimal.
constexpr CPVMemberRow kWriteProtection = {IDC_SYSTEM_WRITE_PROTECTION, L"EIP_SWWriteProtection"};
constexpr CPVEditRow kAlarmDelay = {IDC_SYSTEM_ALARM_DELAY, L"DiagnosticHandlingAlarmDelay", 5, 1, 1};
constexpr CPVMemberRow kDiagnostics[] = {
    {IDC_SYSTEM_DIAG_044, L"DiagnosticBehaviorAssign044"},
    {IDC_SYSTEM_DIAG_046, L"DiagnosticBehaviorAssign046"},
    {IDC_SYSTEM_DIAG_132, L"DiagnosticBehaviorAssign132"},
    {IDC_SYSTEM_DIAG_274, L"DiagnosticBehaviorAssign274"},
    {IDC_SYSTEM_DIAG_392, L"DiagnosticBehaviorAssign392"},
    {IDC_SYSTEM_DIAG_532, L"DiagnosticBehaviorAssign532"},
    {IDC_SYSTEM_DIAG_832, L"DiagnosticBehaviorAssign832"},
    {IDC_SYSTEM_DIAG_833, L"DiagnosticBehaviorAssign833"},
    {IDC_SYSTEM_DIAG_834, L"DiagnosticBehaviorAssign834"},
    {IDC_SYSTEM_DIAG_835, L"DiagnosticBehaviorAssign835"},
    {IDC_SYSTEM_DIAG_912, L"DiagnosticBehaviorAssign912"},
    {IDC_SYSTEM_DIAG_913, L"DiagnosticBehaviorAssign913"},
    {IDC_SYSTEM_DIAG_932, L"DiagnosticBehaviorAssign932"},
};
static_assert(std::size(kDiagnostics) == CPVPageCorvaneSYSTEM::kDiagnosticCount);

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM::CPVPageCorvaneSYSTEM()
    : CPVConfigPanelEnum(IDD),
      m_cmbWriteProtection(kWriteProtection.nID),
      m_editAlarmDelay(kAlarmDelay.nID),
      m_cmbDiagnostics(PVMakeControls<CPVCtrlConfigComboBox>(kDiagnostics)) {
  AddControlToList(&m_cmbWriteProtection);
  AddControlToList(&m_editAlarmDelay);
  for (CPVCtrlConfigComboBox& diagnostic : m_cmbDiagnostics) AddControlToList(&diagnostic);
  EnableHelp(1);
}

CPVPageCorvaneSYSTEM::~CPVPageCorvaneSYSTEM() = default;

void CPVPageCorvaneSYSTEM::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kWriteProtection.nID, m_cmbWriteProtection);
  DDX_Control(pDX, kAlarmDelay.nID, m_editAlarmDelay);
  PVExchangeControls(pDX, m_cmbDiagnostics, kDiagnostics);
}

BOOL CPVPageCorvaneSYSTEM::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbWriteProtection, kWriteProtection.pszMember, adapter);
  PVBindEditFloat(m_editAlarmDelay, kAlarmDelay, adapter);
  PVBindComboBoxes(m_cmbDiagnostics, kDiagnostics, adapter);
  // The write protection has the focus.
  OnFocusChange(&m_cmbWriteProtection);
  return result;
}
