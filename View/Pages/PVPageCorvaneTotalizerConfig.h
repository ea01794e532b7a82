// The page of the device's three totalizers: for each, the process variable it adds up, its
// unit (a list of the units that fit that variable), its operation mode, a preset value with
// the caption of its unit and its failure mode, and an online pair that shows the totalizer's
// control state read from the device and writes a chosen state back.
//
// Both view DLLs build this page. What differs per meter is the DLL's data: the object class
// of the totalizers' control attribute (TotalizerObjectClass, beside the template in the
// catalogue) and the unit families of the unit lists (the meter's unit data).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlCmbDependStatic.h"
#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigComboBoxTot.h"
#include "PVCtrlConfigEditFloat.h"
#include "PVCtrlDCL.h"
#include "PVCtrlWireConfigButtons.h"

class CPVPageCorvaneTotalizerConfig : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneTotalizerConfig)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;
  // The device object class of the totalizers' control attribute; the DLL's catalogue gives it.
  static const int32_t TotalizerObjectClass;
  static constexpr size_t kTotalizerCount = 3;

  CPVPageCorvaneTotalizerConfig();
  ~CPVPageCorvaneTotalizerConfig() override;

 protected:
  // One totalizer's controls, in the order in which they are made. The switch tells the button
  // declared after it of the user's choice.
  struct CTotalizerControls {
    // The controls of totalizer Index (0 to 2), from the page's table.
    template <int Index>
    explicit CTotalizerControls(std::integral_constant<int, Index>);

    CPVCtrlConfigComboBox cmbAssign;
    CPVCtrlConfigComboBoxTot cmbUnit;
    CPVCtrlCmbDependStaticPreset stPresetUnit;
    CPVCtrlConfigComboBox cmbMode;
    CPVCtrlDCLSensorDataSwitch cmbControl;
    CPVCtrlConfigEditFloat editPreset;
    CPVCtrlConfigComboBox cmbFailureMode;
    CPVCtrlWireConfigPageSetSwitchButton btnSetControl;
  };

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  std::array<CTotalizerControls, kTotalizerCount> m_totalizers;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneTotalizerConfig> kTable[];
};
