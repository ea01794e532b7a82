// The second system page of the electromagnetic meter: the access code, the write
// protection, the alarm delay, the behaviour assigned to eight diagnostic events, and the
// access status read from the device after the diagnostics button's refresh (whose outcome the
// button writes to the template's plain static 9042).
#pragma once

#include <array>
#include <cstddef>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigEditFloat.h"
#include "PVCtrlConfigEditInteger.h"
#include "PVCtrlWireDiag.h"

class CPVPageCorvaneSYSTEM2 : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSTEM2)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kDiagnosticCount = 8;

  CPVPageCorvaneSYSTEM2();
  ~CPVPageCorvaneSYSTEM2() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table.
  CPVCtrlConfigEditInteger m_editAccessCode;
  CPVCtrlConfigComboBox m_cmbWriteProtection;
  CPVCtrlConfigEditFloat m_editAlarmDelay;
  std::array<CPVCtrlConfigComboBox, kDiagnosticCount> m_cmbDiagnostics;
  // The access status follows the refresh button declared after it.
  CPVCtrlWireInfoLong m_stAccessStatus;
  CPVCtrlWireDiagPageButton m_btnRefresh;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneSYSTEM2> kTable[];
};
