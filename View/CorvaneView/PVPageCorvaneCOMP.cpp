#include "PVPageCorvaneCOMP.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMP, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMP, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMP::CPVPageCorvaneCOMP() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneCOMP::~CPVPageCorvaneCOMP() = default;
