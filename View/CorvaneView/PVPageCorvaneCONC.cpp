#include "PVPageCorvaneCONC.h"

#include <iterator>

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

constexpr wchar_t kLiquidTypeMember[] = L"Liquid_type";

// The coefficients can be typed at the liquid type's position 21 only; each member goes with
// the id in its row (the ids do not follow the member order).
constexpr int kUserProfile = 21;
constexpr CDependEditRow Coefficient(int id, const wchar_t* member) {
  return {id, IDC_CONC_LIQUID_TYPE, kUserProfile, kUserProfile, member, 10, 3, 4};
}

// The page's table after the liquid type: member order, list order and binding order.
constexpr CDependEditRow kCoefficients[] = {
    Coefficient(IDC_CONC_A0, L"Concentration_profile_1_A0"),
    Coefficient(IDC_CONC_A1, L"Concentration_profile_1_A1"),
    Coefficient(IDC_CONC_A2, L"Concentration_profile_1_A2"),
    Coefficient(IDC_CONC_A3, L"Concentration_profile_1_A3"),
    Coefficient(IDC_CONC_A4, L"Concentration_profile_1_A4"),
    Coefficient(IDC_CONC_B1, L"Concentration_profile_1_B1"),
    Coefficient(IDC_CONC_B2, L"Concentration_profile_1_B2"),
    Coefficient(IDC_CONC_B3, L"Concentration_profile_1_B3"),
    Coefficient(IDC_CONC_D1, L"Concentration_profile_1_D1"),
    Coefficient(IDC_CONC_D2, L"Concentration_profile_1_D2"),
    Coefficient(IDC_CONC_D3, L"Concentration_profile_1_D3"),
    Coefficient(IDC_CONC_D4, L"Concentration_profile_1_D4"),
};
static_assert(std::size(kCoefficients) == CPVPageCorvaneCONC::kCoefficientCount);

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneCONC, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCONC, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCONC::CPVPageCorvaneCONC()
    : CPVConfigPanelEnum(IDD),
      m_cmbLiquidType(IDC_CONC_LIQUID_TYPE),
      m_edtCoefficients(PVMakeDependEdits(kCoefficients)) {
  AddControlToList(&m_cmbLiquidType);
  for (CPVCtrlConfigChkCmbBtnDependEditBox& coefficient : m_edtCoefficients) AddControlToList(&coefficient);
  EnableHelp(1);
}

CPVPageCorvaneCONC::~CPVPageCorvaneCONC() = default;

void CPVPageCorvaneCONC::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CONC_LIQUID_TYPE, m_cmbLiquidType);
  for (size_t i = 0; i < kCoefficientCount; ++i) DDX_Control(pDX, kCoefficients[i].nID, m_edtCoefficients[i]);
}

BOOL CPVPageCorvaneCONC::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbLiquidType, kLiquidTypeMember, adapter);
  for (size_t i = 0; i < kCoefficientCount; ++i)
    PVBindDependEdit(m_edtCoefficients[i], kCoefficients[i], adapter);
  // The liquid type has the focus.
  OnFocusChange(&m_cmbLiquidType);
  return result;
}
