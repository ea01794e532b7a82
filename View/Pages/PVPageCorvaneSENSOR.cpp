#include "PVPageCorvaneSENSOR.h"

#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneSENSOR;

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_SENSOR_INSTALL_DIRECTION,
     .control = PVControl<&Page::m_cmbInstallDirection>,
     .members = {L"Sensor_adjustm_Install_direct"},
     .bFocus = true},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneSENSOR, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSENSOR, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSENSOR::CPVPageCorvaneSENSOR()
    : CPVConfigPanelEnum(IDD), m_cmbInstallDirection(PVMakeControl<&Page::m_cmbInstallDirection>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneSENSOR::~CPVPageCorvaneSENSOR() = default;

void CPVPageCorvaneSENSOR::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneSENSOR::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
