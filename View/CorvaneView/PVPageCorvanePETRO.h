// The page of the petroleum functions: the petroleum mode, the API commodity group and table,
// the thermal expansion coefficient, the SW input mode, the water cut mode, and the oil and
// water samples with the names of their units. The mode governs everything: only its first
// three positions leave the other settings available. The thermal expansion coefficient also
// needs one of the first five commodity groups, the samples one of the first five water cut
// modes. Combinations of these settings are validated by the tag extension, not here.
#pragma once

#include <array>

#include "PVConfigPanelEnum.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"
#include "PVCtrlConfigStaticTextPages.h"
#include "PVPageTable.h"

class CPVPageCorvanePETRO : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvanePETRO)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvanePETRO();
  ~CPVPageCorvanePETRO() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's.
  CPVCtrlConfigComboBox m_cmbMode;
  CPVCtrlConfigChkCmbBtnDependCheckBox m_cmbApiGroup;
  CPVCtrlConfigChkCmbBtnDependCheckBox m_cmbApiTable;
  CPVCtrlConfigTwoCmbBtnDependEditBox m_editThermExpCoeff;
  CPVCtrlConfigChkCmbBtnDependCheckBox m_cmbSwInputMode;
  CPVCtrlConfigChkCmbBtnDependCheckBox m_cmbWaterCutMode;
  // Oil density, temperature and pressure, water density and temperature.
  std::array<CPVCtrlConfigTwoCmbBtnDependEditBox, 5> m_editSamples;
  // Pressure, oil temperature, water temperature, water density and oil density units.
  std::array<CPVCtrlConfigStaticTextPages, 5> m_stUnits;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvanePETRO> kTable[];
};
