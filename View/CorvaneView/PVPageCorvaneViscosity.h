// The viscosity page: the calculation model, the two compensation coefficients and the
// reference temperature, kept in the device rather than in the configuration tag. Each field
// reads its attribute while the controller is online; the button writes the four values back.
// The reference temperature's caption shows the configured temperature unit.
#pragma once

#include "PVConfigPanelEnum.h"
#include "PVPageTable.h"
#include "PVCtrlConfigStaticTextPages.h"
#include "PVCtrlDCL.h"
#include "PVCtrlWireConfigButtons.h"

class CPVPageCorvaneViscosity : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneViscosity)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneViscosity();
  ~CPVPageCorvaneViscosity() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // In the order of the page's table, which is also the control list's. The four fields tell
  // the button declared after them of the user's changes.
  CPVCtrlDCLSensorDataSet m_cmbModel;
  CPVCtrlDCLRegulator m_editCoefficient1;
  CPVCtrlDCLRegulator m_editCoefficient2;
  CPVCtrlDCLRegulator m_editReferenceTemperature;
  CPVCtrlWireConfigPageSet5Button m_btnWrite;
  CPVCtrlConfigStaticTextPages m_stTemperatureUnit;

  DECLARE_MESSAGE_MAP()

 public:
  // One row per control, in list order; in the page's source.
  static const CPVPageRow<CPVPageCorvaneViscosity> kTable[];
};
