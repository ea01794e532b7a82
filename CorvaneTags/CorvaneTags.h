// The application object of CorvaneTags.dll.
#pragma once

#include "OrvoWinApp.h"

class CCorvaneTagsApp : public COrvoWinApp {
 public:
  CCorvaneTagsApp() = default;

  using COrvoWinApp::InitInstance;
  BOOL InitInstance() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()
};
