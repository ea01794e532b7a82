// The page of damping and flow override. Its control list is empty so far: the page opens with its
// template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvanePROCESS : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvanePROCESS)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvanePROCESS();
  ~CPVPageCorvanePROCESS() override;

  DECLARE_MESSAGE_MAP()
};
