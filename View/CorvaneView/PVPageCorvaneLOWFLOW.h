// The page of low flow cut off. Its control list is empty so far: the page opens with its
// template and binds nothing.
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
