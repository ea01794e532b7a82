// The page of the three totalizers. It opens with its template and, until its controls are
// added, an empty control list.
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
