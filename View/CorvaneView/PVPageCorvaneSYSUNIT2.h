// The extended page of the system units: the ten units of the system unit page under the
// same dialog item ids, and six more for viscosity, concentration and the water and oil
// densities, one combo box per unit member.
#pragma once

#include <array>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"

class CPVPageCorvaneSYSUNIT2 : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSUNIT2)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kFurtherUnitCount = 6;

  CPVPageCorvaneSYSUNIT2();
  ~CPVPageCorvaneSYSUNIT2() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table: the ten system units, then the six further ones.
  std::array<CPVCtrlConfigComboBox, 10> m_cmbUnits;
  std::array<CPVCtrlConfigComboBox, kFurtherUnitCount> m_cmbFurtherUnits;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order: the ten system units of the system unit page
  // (CorvaneSystemUnitRows.h), then the six further ones, in the page's source.
  static const std::array<CPVPageRow<CPVPageCorvaneSYSUNIT2>, 10 + kFurtherUnitCount> kTable;
};
