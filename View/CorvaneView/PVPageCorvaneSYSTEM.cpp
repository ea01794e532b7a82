#include "PVPageCorvaneSYSTEM.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneSYSTEM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneSYSTEM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneSYSTEM::CPVPageCorvaneSYSTEM() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneSYSTEM::~CPVPageCorvaneSYSTEM() = default;
