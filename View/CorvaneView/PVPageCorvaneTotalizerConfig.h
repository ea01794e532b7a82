// The page of the three totalizers. Its control list is empty so far: the page opens with its
// template and binds nothing.
#pragma once

#include "PVConfigPanelEnum.h"

class CPVPageCorvaneTotalizerConfig : public CPVConfigPanelEnum {
  DECLARE_DYNCREATE(CPVPageCorvaneTotalizerConfig)

 public:
  // The page's dialog template; the DLL's catalogue gives it.
  static const UINT IDD;

  CPVPageCorvaneTotalizerConfig();
  ~CPVPageCorvaneTotalizerConfig() override;

  DECLARE_MESSAGE_MAP()
};
