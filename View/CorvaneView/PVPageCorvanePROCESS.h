// The page of damping and flow override. It opens with its template and, until its controls are
// added, an empty control list.
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
