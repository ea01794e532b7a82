// The page of the system units. It opens with its template and, until its controls are
// added, an empty control list.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneSYSUNIT : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSUNIT)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSYSUNIT();
  ~CPVPageCorvaneSYSUNIT() override;

  DECLARE_MESSAGE_MAP()
};
