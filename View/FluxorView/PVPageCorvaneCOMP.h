// The external compensation page of the electromagnetic meter: the density source with the
// fixed density it switches on (at its first position), the temperature source, and the
// caption of the density unit.
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
  CPVCtrlConfigComboBox m_cmbDensitySource;
  CPVCtrlConfigComboBox m_cmbTemperatureSource;
  CPVCtrlConfigChkCmbBtnDependEditBox m_editFixedDensity;
  CPVCtrlConfigStaticTextPages m_stDensityUnit;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneCOMP> kTable[];
};
