#include "PVPageCorvaneLOWFLOW.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneLOWFLOW, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneLOWFLOW, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneLOWFLOW::CPVPageCorvaneLOWFLOW() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneLOWFLOW::~CPVPageCorvaneLOWFLOW() = default;
