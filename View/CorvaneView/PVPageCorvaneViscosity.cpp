#include "PVPageCorvaneViscosity.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneViscosity, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneViscosity, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneViscosity::CPVPageCorvaneViscosity() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneViscosity::~CPVPageCorvaneViscosity() = default;
