// The page of partially filled pipe detection: the density variable it watches, its low and
// high limits, response time and maximum damping. The four values are available only while a
// density variable is assigned (positions 1 and 2 of the assignment); the captions of both
// limits show the unit of that density variable.
#pragma once

#include <array>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlCmbDependStatic.h"
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

  // In the order of the page's table. The control list takes the low limit's caption before
  // the high limit's, so that the captions are destroyed in the order in which the list
  // holds them.
  CPVCtrlConfigComboBox m_cmbAssign;
  // Low limit, high limit, response time, maximum damping.
  std::array<CPVCtrlConfigChkCmbBtnDependEditBox, 4> m_editValues;
  CPVCtrlCmbDependStatic m_stHighUnit;
  CPVCtrlCmbDependStatic m_stLowUnit;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvanePARTIALLY> kTable[];
};
