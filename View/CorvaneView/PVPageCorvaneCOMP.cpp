#include "PVPageCorvaneCOMP.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

// The page's table: member order, list order and binding order.
constexpr wchar_t kPressureCompensationMember[] = L"External_comp_Pressure_compen";
constexpr wchar_t kTemperatureSourceMember[] = L"External_comp_Tempcorrsource";
constexpr CDependEditRow kPressureValue{IDC_COMP_PRESSURE_VALUE,
                                        IDC_COMP_PRESSURE_COMPENSATION,
                                        1,
                                        1,
                                        L"External_compensation_Pressure_value",
                                        23,
                                        1,
                                        5};
constexpr CUnitNameRow kPressureUnit{IDC_COMP_PRESSURE_UNIT, L"System_units_Pressure_unit"};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMP, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMP, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMP::CPVPageCorvaneCOMP()
    : CPVConfigPanelEnum(IDD),
      m_cmbPressureCompensation(IDC_COMP_PRESSURE_COMPENSATION),
      m_cmbTemperatureSource(IDC_COMP_TEMPERATURE_SOURCE),
      m_edtPressureValue(kPressureValue.nID, kPressureValue.nMasterID, kPressureValue.nLow,
                         kPressureValue.nHigh),
      m_stcPressureUnit(kPressureUnit.nID) {
  AddControlToList(&m_cmbPressureCompensation);
  AddControlToList(&m_cmbTemperatureSource);
  AddControlToList(&m_edtPressureValue);
  AddControlToList(&m_stcPressureUnit);
  EnableHelp(1);
}

CPVPageCorvaneCOMP::~CPVPageCorvaneCOMP() = default;

void CPVPageCorvaneCOMP::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_COMP_PRESSURE_COMPENSATION, m_cmbPressureCompensation);
  DDX_Control(pDX, IDC_COMP_TEMPERATURE_SOURCE, m_cmbTemperatureSource);
  DDX_Control(pDX, kPressureValue.nID, m_edtPressureValue);
  DDX_Control(pDX, kPressureUnit.nID, m_stcPressureUnit);
}

BOOL CPVPageCorvaneCOMP::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbPressureCompensation, kPressureCompensationMember, adapter);
  PVBindComboBox(m_cmbTemperatureSource, kTemperatureSourceMember, adapter);
  PVBindDependEdit(m_edtPressureValue, kPressureValue, adapter);
  PVBindUnitName(m_stcPressureUnit, kPressureUnit.pszMember, adapter);
  // The pressure compensation's selector has the focus.
  OnFocusChange(&m_cmbPressureCompensation);
  return result;
}
