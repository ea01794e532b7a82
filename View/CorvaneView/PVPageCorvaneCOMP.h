// The page of external pressure and temperature compensation: the pressure compensation's
// selector, the temperature source, the pressure value (typed at the selector's second
// choice) and the pressure unit.
#pragma once

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"
#include "PVCtrlConfigStaticTextPages.h"

class CPVPageCorvaneCOMP : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCOMP)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneCOMP();
  ~CPVPageCorvaneCOMP() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table.
  CPVCtrlConfigComboBox m_cmbPressureCompensation;
  CPVCtrlConfigComboBox m_cmbTemperatureSource;
  CPVCtrlConfigChkCmbBtnDependEditBox m_editPressureValue;
  CPVCtrlConfigStaticTextPages m_stPressureUnit;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneCOMP> kTable[];
};
