// The page of viscosity compensation. It opens with its template and, until its controls are
// added, an empty control list.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneViscosity : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneViscosity)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneViscosity();
  ~CPVPageCorvaneViscosity() override;

  DECLARE_MESSAGE_MAP()
};
