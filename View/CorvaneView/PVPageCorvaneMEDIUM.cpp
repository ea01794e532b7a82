#include "PVPageCorvaneMEDIUM.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneMEDIUM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneMEDIUM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneMEDIUM::CPVPageCorvaneMEDIUM() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneMEDIUM::~CPVPageCorvaneMEDIUM() = default;
