// The page of medium selection: the medium, the gas type and the sound velocity with its
// temperature coefficient. The gas type is chosen only for a gas (position 1 of the medium);
// the sound velocity and its coefficient only for a gas of the user's own (position 22 of the
// gas type) as well.
#pragma once

#include <array>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"

class CPVPageCorvaneMEDIUM : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneMEDIUM)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneMEDIUM();
  ~CPVPageCorvaneMEDIUM() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's.
  CPVCtrlConfigComboBox m_cmbMedium;
  CPVCtrlConfigChkCmbBtnDependCheckBox m_cmbGasType;
  // The sound velocity and its temperature coefficient.
  std::array<CPVCtrlConfigTwoCmbBtnDependEditBox, 2> m_editSoundVelocity;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneMEDIUM> kTable[];
};
