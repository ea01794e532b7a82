#include "PVPageCorvaneCALC.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneCALC;

// The fixed reference density is typed at the correction's first position, the coefficients
// and the reference temperature at its second.
constexpr CPVMaster kFixedDensity = {IDC_CALC_CORRECTION, 0, 0};
constexpr CPVMaster kCalculated = {IDC_CALC_CORRECTION, 1, 1};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_CALC_CORRECTION,
     .control = PVControl<&Page::m_cmbCorrection>,
     .members = {L"Corr_volflow_Corr_volflow"},
     .bFocus = true},
    {.nID = IDC_CALC_FIXED_REF_DENSITY,
     .control = PVControl<&Page::m_editValues, 0>,
     .members = {L"Corr_volflow_Fix_refdensity"},
     .edit = {8, 1, 1},
     .masters = {kFixedDensity}},
    {.nID = IDC_CALC_LINEAR_EXP_COEFF,
     .control = PVControl<&Page::m_editValues, 1>,
     .members = {L"Corr_volflow_Linear_exp_coeff"},
     .edit = {8, 1, 1},
     .masters = {kCalculated}},
    {.nID = IDC_CALC_SQUARE_EXP_COEFF,
     .control = PVControl<&Page::m_editValues, 2>,
     .members = {L"Corr_volflow_Square_exp_coeff"},
     .edit = {8, 1, 1},
     .masters = {kCalculated}},
    {.nID = IDC_CALC_REF_TEMPERATURE,
     .control = PVControl<&Page::m_editValues, 3>,
     .members = {L"Corr_volflow_Ref_temperature"},
     .edit = {9, 3, 2},
     .masters = {kCalculated}},
    {.nID = IDC_CALC_TEMPERATURE_UNIT,
     .control = PVControl<&Page::m_stUnits, 0>,
     .members = {L"System_units_Temperature_unit"}},
    {.nID = IDC_CALC_REF_DENSITY_UNIT,
     .control = PVControl<&Page::m_stUnits, 1>,
     .members = {L"System_units_Reference_density_unit"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneCALC, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCALC, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCALC::CPVPageCorvaneCALC()
    : CPVConfigPanelEnum(IDD),
      m_cmbCorrection(PVMakeControl<&Page::m_cmbCorrection>()),
      m_editValues(PVMakeControls<&Page::m_editValues>()),
      m_stUnits(PVMakeControls<&Page::m_stUnits>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneCALC::~CPVPageCorvaneCALC() = default;

void CPVPageCorvaneCALC::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneCALC::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
