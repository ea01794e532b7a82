// The empty pipe detection page of the electromagnetic meter: the detection on or off, its
// response time and switch point (typed only at the detection's positions 1 and 2), and the
// new adjustment. No unit caption.
#pragma once

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"

class CPVPageCorvanePARTIALLY : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvanePARTIALLY)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvanePARTIALLY();
  ~CPVPageCorvanePARTIALLY() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // Declared in this order; the control list puts the new adjustment last.
  CPVCtrlConfigComboBox m_cmbEmptyPipeDetection;
  CPVCtrlConfigComboBox m_cmbNewAdjustment;
  CPVCtrlConfigChkCmbBtnDependEditBox m_editResponseTime;
  CPVCtrlConfigChkCmbBtnDependEditBox m_editSwitchPoint;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvanePARTIALLY> kTable[];
};
