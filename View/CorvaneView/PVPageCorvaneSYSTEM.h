// The page of write protection, alarm delay and diagnostic behaviour. It opens with its template and, until
// its controls are added, an empty control list.
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
