// The page of volume-flow correction. It opens with its template and, until its controls are
// added, an empty control list.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneCALC : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneCALC)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneCALC();
  ~CPVPageCorvaneCALC() override;

  DECLARE_MESSAGE_MAP()
};
