#include "PVPageCorvaneSYSUNIT.h"

#include "CorvaneSystemUnitRows.h"

namespace {

using Page = CPVPageCorvaneSYSUNIT;

}  // namespace

constexpr std::array<CPVPageRow<Page>, 10> Page::kTable = CorvaneSystemUnitRows<&Page::m_cmbUnits>();

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT::CPVPageCorvaneSYSUNIT()
    : CPVConfigPanelEnum(IDD), m_cmbUnits(PVMakeControls<&Page::m_cmbUnits>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT::~CPVPageCorvaneSYSUNIT() = default;

void CPVPageCorvaneSYSUNIT::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneSYSUNIT::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
