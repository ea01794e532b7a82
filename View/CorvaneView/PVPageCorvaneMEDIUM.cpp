#include "PVPageCorvaneMEDIUM.h"

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// The page's table.
constexpr CPVMemberRow kMedium = {IDC_MEDIUM_SELECT, L"Medium_selection_Select_medium"};
constexpr CPVMemberRow kGasType = {IDC_MEDIUM_GAS_TYPE, L"Medium_selection_Select_gas_type"};
constexpr CPVEditRow kSoundVelocity[] = {
    {IDC_MEDIUM_SOUND_VELOCITY, L"Medium_selection_Sound_velocity", 6, 1, 2},
    {IDC_MEDIUM_SOUND_VELOCITY_COEFF, L"Medium_selection_Temp_coeff_SV", 6, 1, 2},
};

// The medium's position of a gas, and the gas type's position of the user's own gas.
constexpr int kGas = 1;
constexpr int kUserGas = 22;

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneMEDIUM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneMEDIUM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneMEDIUM::CPVPageCorvaneMEDIUM()
    : CPVConfigPanelEnum(IDD),
      m_cmbMedium(kMedium.nID),
      m_cmbGasType(kGasType.nID, kMedium.nID, kGas, kGas),
      m_editSoundVelocity(PVMakeControls<CPVCtrlConfigTwoCmbBtnDependEditBox>(
          kSoundVelocity, kMedium.nID, kGas, kGas, kGasType.nID, kUserGas, kUserGas)) {
  AddControlToList(&m_cmbMedium);
  AddControlToList(&m_cmbGasType);
  for (CPVCtrlConfigTwoCmbBtnDependEditBox& edit : m_editSoundVelocity) AddControlToList(&edit);
  EnableHelp(1);
}

CPVPageCorvaneMEDIUM::~CPVPageCorvaneMEDIUM() = default;

void CPVPageCorvaneMEDIUM::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kMedium.nID, m_cmbMedium);
  DDX_Control(pDX, kGasType.nID, m_cmbGasType);
  PVExchangeControls(pDX, m_editSoundVelocity, kSoundVelocity);
}

BOOL CPVPageCorvaneMEDIUM::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbMedium, kMedium.pszMember, adapter);
  PVBindComboBox(m_cmbGasType, kGasType.pszMember, adapter);
  PVBindEditFloats(m_editSoundVelocity, kSoundVelocity, adapter);
  // The medium has the focus.
  OnFocusChange(&m_cmbMedium);
  return result;
}
