// The second system page: the access code, the software write protection, the alarm delay,
// the behaviour the device assigns to nineteen diagnostic events, and the user role with which
// the device is accessed, read from the device after the page's "Refresh" button has run.
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
  static constexpr size_t kDiagnosticCount = 19;

  CPVPageCorvaneSYSTEM2();
  ~CPVPageCorvaneSYSTEM2() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's.
  CPVCtrlConfigEditInteger m_editAccessCode;
  CPVCtrlConfigComboBox m_cmbWriteProtection;
  CPVCtrlConfigEditFloat m_editAlarmDelay;
  // The diagnostic events' behaviour, in the order of their numbers.
  std::array<CPVCtrlConfigComboBox, kDiagnosticCount> m_cmbDiagnostics;
  // The access status follows the refresh button declared after it.
  CPVCtrlWireInfoLong m_stAccessStatus;
  CPVCtrlWireDiagPageButton m_btnRefresh;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneSYSTEM2> kTable[];
};
