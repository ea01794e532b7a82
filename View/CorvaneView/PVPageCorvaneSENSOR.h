// The page of the installation direction. Its control list is empty so far: the page opens with its
// template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneSENSOR : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneSENSOR)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneSENSOR();
  ~CPVPageCorvaneSENSOR() override;

  DECLARE_MESSAGE_MAP()
};
