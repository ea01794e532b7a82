#include "PVPageCorvanePETRO.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

// The page's table.
constexpr CPVMemberRow kMode = {IDC_PETRO_MODE, L"Petroleum_Petroleum_mode"};
constexpr CPVMemberRow kApiGroup = {IDC_PETRO_API_GROUP, L"Petroleum_API_commodity_group"};
constexpr CPVMemberRow kApiTable = {IDC_PETRO_API_TABLE, L"Petroleum_API_table_selection"};
constexpr CPVEditRow kThermExpCoeff = {IDC_PETRO_THERM_EXP_COEFF, L"Petroleum_Thermexpcoeff", 11, 3, 6};
constexpr CPVMemberRow kSwInputMode = {IDC_PETRO_SW_INPUT_MODE, L"Petroleum_SW_input_mode"};
constexpr CPVMemberRow kWaterCutMode = {IDC_PETRO_WATER_CUT_MODE, L"Petroleum_Water_cut_mode"};
constexpr CPVEditRow kSamples[] = {
    {IDC_PETRO_OIL_DENSITY, L"Petroleum_Oil_density_sample", 11, 3, 5},
    {IDC_PETRO_OIL_TEMPERATURE, L"Petroleum_Oil_temperature_sample", 10, 3, 2},
    {IDC_PETRO_OIL_PRESSURE, L"Petroleum_Oil_pressure_sample", 10, 3, 2},
    {IDC_PETRO_WATER_DENSITY, L"Petroleum_Water_density_sample", 11, 3, 5},
    {IDC_PETRO_WATER_TEMPERATURE, L"Petroleum_Water_temperature_sample", 10, 3, 2},
};
// Each caption's unit-name table follows from its item id.
constexpr CUnitNameRow kUnits[] = {
    {IDC_PETRO_PRESSURE_UNIT, L"System_units_Pressure_unit"},
    {IDC_PETRO_OIL_TEMPERATURE_UNIT, L"System_units_Temperature_unit"},
    {IDC_PETRO_WATER_TEMPERATURE_UNIT, L"System_units_Temperature_unit"},
    {IDC_PETRO_WATER_DENSITY_UNIT, L"System_units_Water_density_unit"},
    {IDC_PETRO_OIL_DENSITY_UNIT, L"System_units_Oil_density_unit"},
};

// The positions of the mode that use the petroleum settings, and the first five positions of
// the commodity group and of the water cut mode.
constexpr int kFirstMode = 0;
constexpr int kLastMode = 2;
constexpr int kFirstOfFive = 0;
constexpr int kLastOfFive = 4;

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvanePETRO, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePETRO, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePETRO::CPVPageCorvanePETRO()
    : CPVConfigPanelEnum(IDD),
      m_cmbMode(kMode.nID),
      m_cmbApiGroup(kApiGroup.nID, kMode.nID, kFirstMode, kLastMode),
      m_cmbApiTable(kApiTable.nID, kMode.nID, kFirstMode, kLastMode),
      m_editThermExpCoeff(kThermExpCoeff.nID, kApiGroup.nID, kFirstOfFive, kLastOfFive, kMode.nID, kFirstMode,
                          kLastMode),
      m_cmbSwInputMode(kSwInputMode.nID, kMode.nID, kFirstMode, kLastMode),
      m_cmbWaterCutMode(kWaterCutMode.nID, kMode.nID, kFirstMode, kLastMode),
      m_editSamples(PVMakeControls<CPVCtrlConfigTwoCmbBtnDependEditBox>(
          kSamples, kMode.nID, kFirstMode, kLastMode, kWaterCutMode.nID, kFirstOfFive, kLastOfFive)),
      m_stUnits(PVMakeControls<CPVCtrlConfigStaticTextPages>(kUnits)) {
  AddControlToList(&m_cmbMode);
  AddControlToList(&m_cmbApiGroup);
  AddControlToList(&m_cmbApiTable);
  AddControlToList(&m_editThermExpCoeff);
  AddControlToList(&m_cmbSwInputMode);
  AddControlToList(&m_cmbWaterCutMode);
  for (CPVCtrlConfigTwoCmbBtnDependEditBox& edit : m_editSamples) AddControlToList(&edit);
  for (CPVCtrlConfigStaticTextPages& caption : m_stUnits) AddControlToList(&caption);
  EnableHelp(1);
}

CPVPageCorvanePETRO::~CPVPageCorvanePETRO() = default;

void CPVPageCorvanePETRO::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kMode.nID, m_cmbMode);
  DDX_Control(pDX, kApiGroup.nID, m_cmbApiGroup);
  DDX_Control(pDX, kApiTable.nID, m_cmbApiTable);
  DDX_Control(pDX, kThermExpCoeff.nID, m_editThermExpCoeff);
  DDX_Control(pDX, kSwInputMode.nID, m_cmbSwInputMode);
  DDX_Control(pDX, kWaterCutMode.nID, m_cmbWaterCutMode);
  PVExchangeControls(pDX, m_editSamples, kSamples);
  PVExchangeControls(pDX, m_stUnits, kUnits);
}

BOOL CPVPageCorvanePETRO::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbMode, kMode.pszMember, adapter);
  PVBindComboBox(m_cmbApiGroup, kApiGroup.pszMember, adapter);
  PVBindComboBox(m_cmbApiTable, kApiTable.pszMember, adapter);
  PVBindEditFloat(m_editThermExpCoeff, kThermExpCoeff, adapter);
  PVBindComboBox(m_cmbSwInputMode, kSwInputMode.pszMember, adapter);
  PVBindComboBox(m_cmbWaterCutMode, kWaterCutMode.pszMember, adapter);
  PVBindEditFloats(m_editSamples, kSamples, adapter);
  for (size_t i = 0; i < m_stUnits.size(); ++i) PVBindUnitName(m_stUnits[i], kUnits[i].pszMember, adapter);
  // The mode has the focus.
  OnFocusChange(&m_cmbMode);
  return result;
}
