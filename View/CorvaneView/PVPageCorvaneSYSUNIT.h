// The page of the system units: the units in which the meter presents its main process
// values, one combo box per unit member.
#pragma once

#include <array>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"

class CPVPageCorvaneSYSUNIT : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSUNIT)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSYSUNIT();
  ~CPVPageCorvaneSYSUNIT() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // The ten system units, in the order of the page's table.
  std::array<CPVCtrlConfigComboBox, 10> m_cmbUnits;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order: the ten system units (CorvaneSystemUnitRows.h), which
  // the extended system unit page shows too.
  static const std::array<CPVPageRow<CPVPageCorvaneSYSUNIT>, 10> kTable;
};
