#include "PVPageCorvaneSYSTEM2.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM2, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM2::CPVPageCorvaneSYSTEM2() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneSYSTEM2::~CPVPageCorvaneSYSTEM2() = default;
