// The page of the petroleum functions. It opens with its template and, until its controls are
// added, an empty control list.
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
