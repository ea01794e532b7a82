// The input assembly page: what the device places in each of the twenty positions of its
// input assembly, one combo box per position on the position's enumeration member. The page
// adds no list of its own, no dependency between positions and no check that two positions
// differ.
#pragma once

#include <array>
#include <cstddef>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"

class CPVPageCorvaneCOMM : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCOMM)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kPositionCount = 20;

  CPVPageCorvaneCOMM();
  ~CPVPageCorvaneCOMM() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // The positions' combo boxes, in the order of the page's table.
  std::array<CPVCtrlConfigComboBox, kPositionCount> m_cmbPositions;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneCOMM> kTable[];
};
