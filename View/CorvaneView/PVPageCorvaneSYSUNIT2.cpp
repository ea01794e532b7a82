#include "PVPageCorvaneSYSUNIT2.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSUNIT2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSUNIT2::CPVPageCorvaneSYSUNIT2() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneSYSUNIT2::~CPVPageCorvaneSYSUNIT2() = default;
