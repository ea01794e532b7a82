#include "PVPageCorvanePROCESS.h"

IMPLEMENT_DYNCREATE(CPVPageCorvanePROCESS, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePROCESS, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePROCESS::CPVPageCorvanePROCESS() : CPVConfigPanelEnum(IDD) {
  EnableHelp(1);
}

CPVPageCorvanePROCESS::~CPVPageCorvanePROCESS() = default;
