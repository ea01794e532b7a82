#include "PVPageCorvaneCOMP.h"

#include "FluxorPageResource.h"
#include "PVCtrlBinding.h"
#include "PVGetSetLong.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMP, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMP, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMP::CPVPageCorvaneCOMP()
    : CPVConfigPanelEnum(IDD),
      m_cmbDensitySource(IDC_FLUXOR_COMP_DENSITY_SOURCE),
      m_cmbTemperatureSource(IDC_FLUXOR_COMP_TEMPERATURE_SOURCE),
      // The fixed density is typed only while the density source is at its first position.
      m_edtFixedDensity(IDC_FLUXOR_COMP_FIXED_DENSITY, IDC_FLUXOR_COMP_DENSITY_SOURCE, 0, 0),
      m_stcDensityUnit(IDC_FLUXOR_COMP_DENSITY_UNIT) {
  AddControlToList(&m_cmbDensitySource);
  AddControlToList(&m_cmbTemperatureSource);
  AddControlToList(&m_edtFixedDensity);
  AddControlToList(&m_stcDensityUnit);
  EnableHelp(1);
}

CPVPageCorvaneCOMP::~CPVPageCorvaneCOMP() = default;

void CPVPageCorvaneCOMP::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_FLUXOR_COMP_DENSITY_SOURCE, m_cmbDensitySource);
  DDX_Control(pDX, IDC_FLUXOR_COMP_TEMPERATURE_SOURCE, m_cmbTemperatureSource);
  DDX_Control(pDX, IDC_FLUXOR_COMP_FIXED_DENSITY, m_edtFixedDensity);
  DDX_Control(pDX, IDC_FLUXOR_COMP_DENSITY_UNIT, m_stcDensityUnit);
}

BOOL CPVPageCorvaneCOMP::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  PVBindComboBox(m_cmbDensitySource, L"External_compensation_Density_source", adapter);
  PVBindComboBox(m_cmbTemperatureSource, L"External_comp_Temp_source", adapter);
  PVBindEditFloat(m_edtFixedDensity, L"External_compensation_Fixed_density", adapter, 23, 1, 5);
  // The density unit's caption, from this meter's density table for its item id.
  m_stcDensityUnit.Initialize(PVNewValue<CPVGetSetLong>(L"System_units_Density_unit", adapter), 3);
  OnFocusChange(&m_cmbDensitySource);
  return result;
}
