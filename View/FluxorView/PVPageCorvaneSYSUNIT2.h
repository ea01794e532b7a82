// The system unit page of the electromagnetic meter: eight unit combo boxes, each on its unit
// member, the last one the conductivity unit.
#pragma once

#include <array>
#include <cstddef>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"

class CPVPageCorvaneSYSUNIT2 : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSUNIT2)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kUnitCount = 8;

  CPVPageCorvaneSYSUNIT2();
  ~CPVPageCorvaneSYSUNIT2() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // The units' combo boxes, in the order of the page's table.
  std::array<CPVCtrlConfigComboBox, kUnitCount> m_cmbUnits;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneSYSUNIT2> kTable[];
};
