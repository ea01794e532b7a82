#include "PVPageCorvaneCONC.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneCONC, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCONC, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCONC::CPVPageCorvaneCONC() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneCONC::~CPVPageCorvaneCONC() = default;
