#include "PVPageCorvanePARTIALLY.h"

IMPLEMENT_DYNCREATE(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePARTIALLY::CPVPageCorvanePARTIALLY() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvanePARTIALLY::~CPVPageCorvanePARTIALLY() = default;
