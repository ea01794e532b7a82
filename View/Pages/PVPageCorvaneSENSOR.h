// The page of the sensor adjustment: the installation direction of the sensor.
#pragma once

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"

class CPVPageCorvaneSENSOR : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSENSOR)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSENSOR();
  ~CPVPageCorvaneSENSOR() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // The page's only control.
  CPVCtrlConfigComboBox m_cmbInstallDirection;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneSENSOR> kTable[];
};
