// The page of viscosity compensation. Its control list is empty so far: the page opens with its
// template and binds nothing.
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
