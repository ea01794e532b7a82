// The page of the installation direction. It opens with its template and, until its controls are
// added, an empty control list.
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
