// The page of the medium selection. It opens with its template and, until its controls are
// added, an empty control list.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneMEDIUM : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneMEDIUM)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneMEDIUM();
  ~CPVPageCorvaneMEDIUM() override;

  DECLARE_MESSAGE_MAP()
};
