// The application object of CorvaneView.dll.
#pragma once

#include "OrvoWinApp.h"

class CCorvaneViewApp : public COrvoWinApp {
 public:
  CCorvaneViewApp() = default;

  using COrvoWinApp::InitInstance;
  BOOL InitInstance() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()
};
