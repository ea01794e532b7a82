// The page of low flow cut off: the flow variable it acts on, its switch-on and switch-off
// values and the pressure shock suppression. The three values are available only while a
// flow variable is assigned (positions 1 to 3 of the assignment), and a caption beside the
// switch-on value shows the unit of that flow variable.
#pragma once

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlCmbDependStatic.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"

class CPVPageCorvaneLOWFLOW : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneLOWFLOW)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneLOWFLOW();
  ~CPVPageCorvaneLOWFLOW() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's.
  CPVCtrlConfigComboBox m_cmbAssign;
  CPVCtrlConfigDependEditFloat m_editOnValue;
  CPVCtrlCmbDependStatic m_stFlowUnit;
  CPVCtrlConfigChkCmbBtnDependEditBox m_editOffValue;
  CPVCtrlConfigChkCmbBtnDependEditBox m_editPressureShock;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneLOWFLOW> kTable[];
};
