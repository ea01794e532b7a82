// The page of the petroleum functions. Its control list is empty so far: the page opens with its
// template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvanePETRO : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvanePETRO)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvanePETRO();
  ~CPVPageCorvanePETRO() override;

  DECLARE_MESSAGE_MAP()
};
