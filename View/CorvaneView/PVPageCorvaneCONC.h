// The page of the liquid type and the coefficients of the concentration profile. It opens with its template
// and, until its controls are added, an empty control list.
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
