#include "PVPageCorvanePETRO.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvanePETRO;

// The mode uses the petroleum settings at its first three positions; the thermal expansion
// coefficient needs one of the first five commodity groups too, the samples one of the first
// five water cut modes.
constexpr CPVMaster kPetroleumMode = {IDC_PETRO_MODE, 0, 2};
constexpr CPVMaster kFirstFiveGroups = {IDC_PETRO_API_GROUP, 0, 4};
constexpr CPVMaster kFirstFiveWaterCutModes = {IDC_PETRO_WATER_CUT_MODE, 0, 4};

}  // namespace

// Each caption's unit-name table follows from its item id.
constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_PETRO_MODE,
     .control = PVControl<&Page::m_cmbMode>,
     .members = {L"Petroleum_Petroleum_mode"},
     .bFocus = true},
    {.nID = IDC_PETRO_API_GROUP,
     .control = PVControl<&Page::m_cmbApiGroup>,
     .members = {L"Petroleum_API_commodity_group"},
     .masters = {kPetroleumMode}},
    {.nID = IDC_PETRO_API_TABLE,
     .control = PVControl<&Page::m_cmbApiTable>,
     .members = {L"Petroleum_API_table_selection"},
     .masters = {kPetroleumMode}},
    {.nID = IDC_PETRO_THERM_EXP_COEFF,
     .control = PVControl<&Page::m_editThermExpCoeff>,
     .members = {L"Petroleum_Thermexpcoeff"},
     .edit = {11, 3, 6},
     .masters = {kFirstFiveGroups, kPetroleumMode}},
    {.nID = IDC_PETRO_SW_INPUT_MODE,
     .control = PVControl<&Page::m_cmbSwInputMode>,
     .members = {L"Petroleum_SW_input_mode"},
     .masters = {kPetroleumMode}},
    {.nID = IDC_PETRO_WATER_CUT_MODE,
     .control = PVControl<&Page::m_cmbWaterCutMode>,
     .members = {L"Petroleum_Water_cut_mode"},
     .masters = {kPetroleumMode}},
    {.nID = IDC_PETRO_OIL_DENSITY,
     .control = PVControl<&Page::m_editSamples, 0>,
     .members = {L"Petroleum_Oil_density_sample"},
     .edit = {11, 3, 5},
     .masters = {kPetroleumMode, kFirstFiveWaterCutModes}},
    {.nID = IDC_PETRO_OIL_TEMPERATURE,
     .control = PVControl<&Page::m_editSamples, 1>,
     .members = {L"Petroleum_Oil_temperature_sample"},
     .edit = {10, 3, 2},
     .masters = {kPetroleumMode, kFirstFiveWaterCutModes}},
    {.nID = IDC_PETRO_OIL_PRESSURE,
     .control = PVControl<&Page::m_editSamples, 2>,
     .members = {L"Petroleum_Oil_pressure_sample"},
     .edit = {10, 3, 2},
     .masters = {kPetroleumMode, kFirstFiveWaterCutModes}},
    {.nID = IDC_PETRO_WATER_DENSITY,
     .control = PVControl<&Page::m_editSamples, 3>,
     .members = {L"Petroleum_Water_density_sample"},
     .edit = {11, 3, 5},
     .masters = {kPetroleumMode, kFirstFiveWaterCutModes}},
    {.nID = IDC_PETRO_WATER_TEMPERATURE,
     .control = PVControl<&Page::m_editSamples, 4>,
     .members = {L"Petroleum_Water_temperature_sample"},
     .edit = {10, 3, 2},
     .masters = {kPetroleumMode, kFirstFiveWaterCutModes}},
    {.nID = IDC_PETRO_PRESSURE_UNIT,
     .control = PVControl<&Page::m_stUnits, 0>,
     .members = {L"System_units_Pressure_unit"}},
    {.nID = IDC_PETRO_OIL_TEMPERATURE_UNIT,
     .control = PVControl<&Page::m_stUnits, 1>,
     .members = {L"System_units_Temperature_unit"}},
    {.nID = IDC_PETRO_WATER_TEMPERATURE_UNIT,
     .control = PVControl<&Page::m_stUnits, 2>,
     .members = {L"System_units_Temperature_unit"}},
    {.nID = IDC_PETRO_WATER_DENSITY_UNIT,
     .control = PVControl<&Page::m_stUnits, 3>,
     .members = {L"System_units_Water_density_unit"}},
    {.nID = IDC_PETRO_OIL_DENSITY_UNIT,
     .control = PVControl<&Page::m_stUnits, 4>,
     .members = {L"System_units_Oil_density_unit"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvanePETRO, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePETRO, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePETRO::CPVPageCorvanePETRO()
    : CPVConfigPanelEnum(IDD),
      m_cmbMode(PVMakeControl<&Page::m_cmbMode>()),
      m_cmbApiGroup(PVMakeControl<&Page::m_cmbApiGroup>()),
      m_cmbApiTable(PVMakeControl<&Page::m_cmbApiTable>()),
      m_editThermExpCoeff(PVMakeControl<&Page::m_editThermExpCoeff>()),
      m_cmbSwInputMode(PVMakeControl<&Page::m_cmbSwInputMode>()),
      m_cmbWaterCutMode(PVMakeControl<&Page::m_cmbWaterCutMode>()),
      m_editSamples(PVMakeControls<&Page::m_editSamples>()),
      m_stUnits(PVMakeControls<&Page::m_stUnits>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvanePETRO::~CPVPageCorvanePETRO() = default;

void CPVPageCorvanePETRO::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvanePETRO::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
