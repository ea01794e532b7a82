// The page of volume-flow correction. Its control list is empty so far: the page opens with its
// template and binds nothing.
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
