// The page of the system units. Its control list is empty so far: the page opens with its
// template and binds nothing.
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
