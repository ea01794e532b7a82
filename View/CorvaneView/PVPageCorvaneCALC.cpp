#include "PVPageCorvaneCALC.h"

#include <iterator>

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

constexpr wchar_t kCorrectionMember[] = L"Corr_volflow_Corr_volflow";

// The page's table after the selector: member order, list order and binding order.
constexpr CDependEditRow kEdits[] = {
    {IDC_CALC_FIXED_REF_DENSITY, IDC_CALC_CORRECTION, 0, 0, L"Corr_volflow_Fix_refdensity", 8, 1, 1},
    {IDC_CALC_LINEAR_EXP_COEFF, IDC_CALC_CORRECTION, 1, 1, L"Corr_volflow_Linear_exp_coeff", 8, 1, 1},
    {IDC_CALC_SQUARE_EXP_COEFF, IDC_CALC_CORRECTION, 1, 1, L"Corr_volflow_Square_exp_coeff", 8, 1, 1},
    {IDC_CALC_REF_TEMPERATURE, IDC_CALC_CORRECTION, 1, 1, L"Corr_volflow_Ref_temperature", 9, 3, 2},
};
static_assert(std::size(kEdits) == CPVPageCorvaneCALC::kEditCount);

constexpr CUnitNameRow kUnits[] = {
    {IDC_CALC_TEMPERATURE_UNIT, L"System_units_Temperature_unit"},
    {IDC_CALC_REF_DENSITY_UNIT, L"System_units_Reference_density_unit"},
};
static_assert(std::size(kUnits) == CPVPageCorvaneCALC::kUnitCount);

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneCALC, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCALC, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCALC::CPVPageCorvaneCALC()
    : CPVConfigPanelEnum(IDD),
      m_cmbCorrection(IDC_CALC_CORRECTION),
      m_edtValues(PVMakeDependEdits(kEdits)),
      m_stcUnits(PVMakeControls<CPVCtrlConfigStaticTextPages>(kUnits)) {
  AddControlToList(&m_cmbCorrection);
  for (CPVCtrlConfigChkCmbBtnDependEditBox& edit : m_edtValues) AddControlToList(&edit);
  for (CPVCtrlConfigStaticTextPages& unit : m_stcUnits) AddControlToList(&unit);
  EnableHelp(1);
}

CPVPageCorvaneCALC::~CPVPageCorvaneCALC() = default;

void CPVPageCorvaneCALC::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CALC_CORRECTION, m_cmbCorrection);
  for (size_t i = 0; i < kEditCount; ++i) DDX_Control(pDX, kEdits[i].nID, m_edtValues[i]);
  for (size_t i = 0; i < kUnitCount; ++i) DDX_Control(pDX, kUnits[i].nID, m_stcUnits[i]);
}

BOOL CPVPageCorvaneCALC::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbCorrection, kCorrectionMember, adapter);
  for (size_t i = 0; i < kEditCount; ++i) PVBindDependEdit(m_edtValues[i], kEdits[i], adapter);
  for (size_t i = 0; i < kUnitCount; ++i) PVBindUnitName(m_stcUnits[i], kUnits[i].pszMember, adapter);
  // The selector has the focus.
  OnFocusChange(&m_cmbCorrection);
  return result;
}
