#include "PVPageCorvaneSYSUNIT.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT::CPVPageCorvaneSYSUNIT()
    : CPVConfigPanelEnum(IDD), m_cmbUnits(PVMakeControls<CPVCtrlConfigComboBox>(kSystemUnitRows)) {
  for (CPVCtrlConfigComboBox& unit : m_cmbUnits) AddControlToList(&unit);
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT::~CPVPageCorvaneSYSUNIT() = default;

void CPVPageCorvaneSYSUNIT::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(pDX, m_cmbUnits, kSystemUnitRows);
}

BOOL CPVPageCorvaneSYSUNIT::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindComboBoxes(m_cmbUnits, kSystemUnitRows, GetIPVGetSetAdapter());
  // The mass flow unit has the focus.
  OnFocusChange(&m_cmbUnits[0]);
  return result;
}
