// The page of the process parameters: flow override and the damping of density, temperature
// and flow.
#pragma once

#include <array>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigEditFloat.h"

class CPVPageCorvanePROCESS : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvanePROCESS)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvanePROCESS();
  ~CPVPageCorvanePROCESS() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's.
  CPVCtrlConfigComboBox m_cmbFlowOverride;
  // Density, temperature and flow damping.
  std::array<CPVCtrlConfigEditFloat, 3> m_editDampings;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvanePROCESS> kTable[];
};
