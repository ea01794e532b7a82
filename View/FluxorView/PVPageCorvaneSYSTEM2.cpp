#include "PVPageCorvaneSYSTEM2.h"

#include <iterator>

#include "FluxorPageResource.h"
#include "PVCtrlBinding.h"

namespace {

// One diagnostic event: its combo box's dialog item id and member.
struct CDiagnostic {
  int nID;
  const wchar_t* pszMember;
};

constexpr CDiagnostic kDiagnostics[] = {
    {IDC_FLUXOR_SYSTEM_DIAG_302, L"Diagn_behavior_Diagnostic_no302"},
    {IDC_FLUXOR_SYSTEM_DIAG_531, L"Diagn_behavior_Diagnostic_no531"},
    {IDC_SYSTEM_DIAG_832, L"Diagn_behavior_Diagnostic_no832"},
    {IDC_SYSTEM_DIAG_833, L"Diagn_behavior_Diagnostic_no833"},
    {IDC_SYSTEM_DIAG_834, L"Diagn_behavior_Diagnostic_no834"},
    {IDC_SYSTEM_DIAG_835, L"Diagn_behavior_Diagnostic_no835"},
    {IDC_FLUXOR_SYSTEM_DIAG_937, L"Diagn_behavior_Diagnostic_no937"},
    {IDC_FLUXOR_SYSTEM_DIAG_962, L"Diagn_behavior_Diagnostic_no962"},
};
static_assert(std::size(kDiagnostics) == CPVPageCorvaneSYSTEM2::kDiagnosticCount);

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM2::CPVPageCorvaneSYSTEM2()
    : CPVConfigPanelEnum(IDD),
      m_edtAccessCode(IDC_SYSTEM_ACCESS_CODE),
      m_cmbWriteProtection(IDC_SYSTEM_WRITE_PROTECTION),
      m_edtAlarmDelay(IDC_SYSTEM_ALARM_DELAY),
      m_cmbDiagnostics(PVMakeControls<CPVCtrlConfigComboBox>(kDiagnostics)),
      // The button is a member of the page too, constructed next: the field keeps its address.
      m_stcAccessStatus(IDC_SYSTEM_ACCESS_STATUS, 0, L"AccessStatusLevel", &m_btnRefresh),
      m_btnRefresh(IDC_SYSTEM_REFRESH, 0, L"Refresh", IDC_SYSTEM_REFRESH_STATUS) {
  AddControlToList(&m_edtAccessCode);
  AddControlToList(&m_cmbWriteProtection);
  AddControlToList(&m_edtAlarmDelay);
  for (CPVCtrlConfigComboBox& diagnostic : m_cmbDiagnostics) AddControlToList(&diagnostic);
  AddControlToList(&m_stcAccessStatus);
  AddControlToList(&m_btnRefresh);
  EnableHelp(1);
}

CPVPageCorvaneSYSTEM2::~CPVPageCorvaneSYSTEM2() = default;

void CPVPageCorvaneSYSTEM2::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SYSTEM_ACCESS_CODE, m_edtAccessCode);
  DDX_Control(pDX, IDC_SYSTEM_WRITE_PROTECTION, m_cmbWriteProtection);
  DDX_Control(pDX, IDC_SYSTEM_ALARM_DELAY, m_edtAlarmDelay);
  for (size_t i = 0; i < kDiagnosticCount; ++i) DDX_Control(pDX, kDiagnostics[i].nID, m_cmbDiagnostics[i]);
  DDX_Control(pDX, IDC_SYSTEM_ACCESS_STATUS, m_stcAccessStatus);
  DDX_Control(pDX, IDC_SYSTEM_REFRESH, m_btnRefresh);
}

BOOL CPVPageCorvaneSYSTEM2::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindEditInteger(m_edtAccessCode, L"Access_Enter_access_code", adapter, 5, 1);
  PVBindComboBox(m_cmbWriteProtection, L"Write_protection", adapter);
  PVBindEditFloat(m_edtAlarmDelay, L"Diagnostic_handling_Alarm_delay", adapter, 5, 1, 1);
  for (size_t i = 0; i < kDiagnosticCount; ++i)
    PVBindComboBox(m_cmbDiagnostics[i], kDiagnostics[i].pszMember, adapter);
  // The access status and the button work online, through the module the panel hands them.
  // The write protection, not the access code, has the focus.
  OnFocusChange(&m_cmbWriteProtection);
  return result;
}
