// The page of volume-flow correction: the correction's selector, the fixed reference density
// (typed at the selector's first choice), the linear and square expansion coefficients and
// the reference temperature (typed at its second choice), and the units of the reference
// temperature and of the reference density.
#pragma once

#include <array>
#include <cstddef>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigDependCtrls.h"
#include "PVCtrlConfigStaticTextPages.h"

class CPVPageCorvaneCALC : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCALC)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kEditCount = 4;
  static constexpr size_t kUnitCount = 2;

  CPVPageCorvaneCALC();
  ~CPVPageCorvaneCALC() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table.
  CPVCtrlConfigComboBox m_cmbCorrection;
  std::array<CPVCtrlConfigChkCmbBtnDependEditBox, kEditCount> m_editValues;
  std::array<CPVCtrlConfigStaticTextPages, kUnitCount> m_stUnits;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneCALC> kTable[];
};
