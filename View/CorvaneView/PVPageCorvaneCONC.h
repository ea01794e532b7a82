// The page of concentration measurement: the liquid type and the twelve coefficients of
// concentration profile 1, typed only while the liquid type shows its 22nd entry.
#pragma once

#include <array>
#include <cstddef>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"

class CPVPageCorvaneCONC : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCONC)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kCoefficientCount = 12;

  CPVPageCorvaneCONC();
  ~CPVPageCorvaneCONC() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table.
  CPVCtrlConfigComboBox m_cmbLiquidType;
  std::array<CPVCtrlConfigChkCmbBtnDependEditBox, kCoefficientCount> m_editCoefficients;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneCONC> kTable[];
};
