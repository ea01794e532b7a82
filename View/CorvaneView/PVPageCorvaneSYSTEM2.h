// The page of access code, alarm delay, diagnostic behaviour and access status. Its control
// list is empty so far: the page opens with its template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneSYSTEM2 : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSTEM2)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSYSTEM2();
  ~CPVPageCorvaneSYSTEM2() override;

  DECLARE_MESSAGE_MAP()
};
