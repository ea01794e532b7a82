// The process parameter page of the electromagnetic meter: flow override, conductivity
// damping, filter options and the flow damping as a whole number.
#pragma once

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigEditFloat.h"
#include "PVCtrlConfigEditInteger.h"

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

  // In the order of the page's table.
  CPVCtrlConfigComboBox m_cmbFlowOverride;
  CPVCtrlConfigEditFloat m_editConductivityDamping;
  CPVCtrlConfigComboBox m_cmbFilterOptions;
  CPVCtrlConfigEditInteger m_editFlowDamping;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvanePROCESS> kTable[];
};
