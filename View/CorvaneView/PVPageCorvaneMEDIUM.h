// The page of the medium selection. Its control list is empty so far: the page opens with its
// template and binds nothing.
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
