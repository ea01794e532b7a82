#include "PVPageCorvanePETRO.h"

IMPLEMENT_DYNCREATE(CPVPageCorvanePETRO, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePETRO, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePETRO::CPVPageCorvanePETRO() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvanePETRO::~CPVPageCorvanePETRO() = default;
