#include "PVPageCorvaneSYSUNIT.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT::CPVPageCorvaneSYSUNIT() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT::~CPVPageCorvaneSYSUNIT() = default;
