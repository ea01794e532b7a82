// The page of write protection, alarm delay and diagnostic behaviour. Its control list is
// empty so far: the page opens with its template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneSYSTEM : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSTEM)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSYSTEM();
  ~CPVPageCorvaneSYSTEM() override;

  DECLARE_MESSAGE_MAP()
};
