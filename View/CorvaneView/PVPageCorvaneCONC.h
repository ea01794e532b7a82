// The page of the liquid type and the coefficients of the concentration profile. Its control
// list is empty so far: the page opens with its template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneCONC : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCONC)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneCONC();
  ~CPVPageCorvaneCONC() override;

  DECLARE_MESSAGE_MAP()
};
