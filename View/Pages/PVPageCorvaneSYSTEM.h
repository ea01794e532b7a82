// The system page: the software write protection of the device over EtherNet/IP, the alarm
// delay of the diagnostic handling, and the behaviour the device assigns to thirteen
// diagnostic events.
#pragma once

#include <array>
#include <cstddef>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigEditFloat.h"

class CPVPageCorvaneSYSTEM : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSTEM)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  static constexpr size_t kDiagnosticCount = 13;

  CPVPageCorvaneSYSTEM();
  ~CPVPageCorvaneSYSTEM() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's.
  CPVCtrlConfigComboBox m_cmbWriteProtection;
  CPVCtrlConfigEditFloat m_editAlarmDelay;
  // The diagnostic events' behaviour, in the order of their numbers.
  std::array<CPVCtrlConfigComboBox, kDiagnosticCount> m_cmbDiagnostics;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneSYSTEM> kTable[];
};
