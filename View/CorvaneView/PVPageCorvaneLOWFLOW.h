// The page of low flow cut off. It opens with its template and, until its controls are
// added, an empty control list.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneLOWFLOW : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneLOWFLOW)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneLOWFLOW();
  ~CPVPageCorvaneLOWFLOW() override;

  DECLARE_MESSAGE_MAP()
};
