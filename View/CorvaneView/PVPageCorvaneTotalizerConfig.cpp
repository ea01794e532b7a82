#include "PVPageCorvaneTotalizerConfig.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneTotalizerConfig, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneTotalizerConfig, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneTotalizerConfig::CPVPageCorvaneTotalizerConfig() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneTotalizerConfig::~CPVPageCorvaneTotalizerConfig() = default;
