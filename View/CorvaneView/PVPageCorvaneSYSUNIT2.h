// The page of the extended system units. Its control list is empty so far: the page opens with its
// template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneSYSUNIT2 : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSYSUNIT2)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSYSUNIT2();
  ~CPVPageCorvaneSYSUNIT2() override;

  DECLARE_MESSAGE_MAP()
};
