#include "PVPageCorvaneMEDIUM.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneMEDIUM;

// The medium's position of a gas, and the gas type's position of the user's own gas.
constexpr CPVMaster kGas = {IDC_MEDIUM_SELECT, 1, 1};
constexpr CPVMaster kUserGas = {IDC_MEDIUM_GAS_TYPE, 22, 22};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_MEDIUM_SELECT,
     .control = PVControl<&Page::m_cmbMedium>,
     .members = {L"Medium_selection_Select_medium"},
     .bFocus = true},
    {.nID = IDC_MEDIUM_GAS_TYPE,
     .control = PVControl<&Page::m_cmbGasType>,
     .members = {L"Medium_selection_Select_gas_type"},
     .masters = {kGas}},
    {.nID = IDC_MEDIUM_SOUND_VELOCITY,
     .control = PVControl<&Page::m_editSoundVelocity, 0>,
     .members = {L"Medium_selection_Sound_velocity"},
     .edit = {6, 1, 2},
     .masters = {kGas, kUserGas}},
    {.nID = IDC_MEDIUM_SOUND_VELOCITY_COEFF,
     .control = PVControl<&Page::m_editSoundVelocity, 1>,
     .members = {L"Medium_selection_Temp_coeff_SV"},
     .edit = {6, 1, 2},
     .masters = {kGas, kUserGas}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneMEDIUM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneMEDIUM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneMEDIUM::CPVPageCorvaneMEDIUM()
    : CPVConfigPanelEnum(IDD),
      m_cmbMedium(PVMakeControl<&Page::m_cmbMedium>()),
      m_cmbGasType(PVMakeControl<&Page::m_cmbGasType>()),
      m_editSoundVelocity(PVMakeControls<&Page::m_editSoundVelocity>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneMEDIUM::~CPVPageCorvaneMEDIUM() = default;

void CPVPageCorvaneMEDIUM::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneMEDIUM::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
