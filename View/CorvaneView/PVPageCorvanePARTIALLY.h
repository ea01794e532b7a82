// The page of partially filled pipe detection. Its control list is empty so far: the page opens with its
// template and binds nothing.
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
