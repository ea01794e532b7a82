// The external compensation page of the electromagnetic meter: the density source with the
// fixed density it switches on (at its first position), the temperature source, and the
// caption of the density unit.
#pragma once

#include "PVConfigPanelEnum.h"
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
  CPVCtrlConfigChkCmbBtnDependEditBox m_edtFixedDensity;
  CPVCtrlConfigStaticTextPages m_stcDensityUnit;

  DECLARE_MESSAGE_MAP()
};
