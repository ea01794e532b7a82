#include "PVPageCorvaneCALC.h"

IMPLEMENT_DYNCREATE(CPVPageCorvaneCALC, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCALC, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCALC::CPVPageCorvaneCALC() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvaneCALC::~CPVPageCorvaneCALC() = default;
