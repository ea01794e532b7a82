#include "PVPageCorvaneSENSOR.h"

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// The page's table.
constexpr CPVMemberRow kInstallDirection = {IDC_SENSOR_INSTALL_DIRECTION, L"Sensor_adjustm_Install_direct"};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneSENSOR, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSENSOR, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSENSOR::CPVPageCorvaneSENSOR()
    : CPVConfigPanelEnum(IDD), m_cmbInstallDirection(kInstallDirection.nID) {
  AddControlToList(&m_cmbInstallDirection);
  EnableHelp(1);
}

CPVPageCorvaneSENSOR::~CPVPageCorvaneSENSOR() = default;

void CPVPageCorvaneSENSOR::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kInstallDirection.nID, m_cmbInstallDirection);
}

BOOL CPVPageCorvaneSENSOR::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindComboBox(m_cmbInstallDirection, kInstallDirection.pszMember, GetIPVGetSetAdapter());
  OnFocusChange(&m_cmbInstallDirection);
  return result;
}
