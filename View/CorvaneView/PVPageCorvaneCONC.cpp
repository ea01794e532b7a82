#include "PVPageCorvaneCONC.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneCONC;

// The coefficients can be typed at the liquid type's position 21 only; each member goes with
// the id in its row (the ids do not follow the member order).
constexpr CPVMaster kUserProfile = {IDC_CONC_LIQUID_TYPE, 21, 21};
constexpr CPVEditArgs kCoefficient = {10, 3, 4};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_CONC_LIQUID_TYPE,
     .control = PVControl<&Page::m_cmbLiquidType>,
     .members = {L"Liquid_type"},
     .bFocus = true},
    {.nID = IDC_CONC_A0,
     .control = PVControl<&Page::m_editCoefficients, 0>,
     .members = {L"Concentration_profile_1_A0"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_A1,
     .control = PVControl<&Page::m_editCoefficients, 1>,
     .members = {L"Concentration_profile_1_A1"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_A2,
     .control = PVControl<&Page::m_editCoefficients, 2>,
     .members = {L"Concentration_profile_1_A2"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_A3,
     .control = PVControl<&Page::m_editCoefficients, 3>,
     .members = {L"Concentration_profile_1_A3"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_A4,
     .control = PVControl<&Page::m_editCoefficients, 4>,
     .members = {L"Concentration_profile_1_A4"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_B1,
     .control = PVControl<&Page::m_editCoefficients, 5>,
     .members = {L"Concentration_profile_1_B1"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_B2,
     .control = PVControl<&Page::m_editCoefficients, 6>,
     .members = {L"Concentration_profile_1_B2"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_B3,
     .control = PVControl<&Page::m_editCoefficients, 7>,
     .members = {L"Concentration_profile_1_B3"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_D1,
     .control = PVControl<&Page::m_editCoefficients, 8>,
     .members = {L"Concentration_profile_1_D1"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_D2,
     .control = PVControl<&Page::m_editCoefficients, 9>,
     .members = {L"Concentration_profile_1_D2"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_D3,
     .control = PVControl<&Page::m_editCoefficients, 10>,
     .members = {L"Concentration_profile_1_D3"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
    {.nID = IDC_CONC_D4,
     .control = PVControl<&Page::m_editCoefficients, 11>,
     .members = {L"Concentration_profile_1_D4"},
     .edit = kCoefficient,
     .masters = {kUserProfile}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneCONC, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCONC, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCONC::CPVPageCorvaneCONC()
    : CPVConfigPanelEnum(IDD),
      m_cmbLiquidType(PVMakeControl<&Page::m_cmbLiquidType>()),
      m_editCoefficients(PVMakeControls<&Page::m_editCoefficients>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneCONC::~CPVPageCorvaneCONC() = default;

void CPVPageCorvaneCONC::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneCONC::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
