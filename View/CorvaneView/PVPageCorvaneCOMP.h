// The page of external pressure and temperature compensation. Its control list is empty so
// far: the page opens with its template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneCOMP : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCOMP)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneCOMP();
  ~CPVPageCorvaneCOMP() override;

  DECLARE_MESSAGE_MAP()
};
