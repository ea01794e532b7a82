// The page of partially filled pipe detection. It opens with its template and, until its controls are
// added, an empty control list.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvanePARTIALLY : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvanePARTIALLY)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvanePARTIALLY();
  ~CPVPageCorvanePARTIALLY() override;

  DECLARE_MESSAGE_MAP()
};
