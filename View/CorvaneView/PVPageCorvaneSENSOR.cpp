#include "PVPageCorvaneSENSOR.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneSENSOR, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSENSOR, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSENSOR::CPVPageCorvaneSENSOR() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneSENSOR::~CPVPageCorvaneSENSOR() = default;
