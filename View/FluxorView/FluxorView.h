// The application object of FluxorView.dll.
#pragma once

#include "OrvoWinApp.h"

class CFluxorViewApp : public COrvoWinApp {
 public:
  CFluxorViewApp() = default;

  using COrvoWinApp::InitInstance;
  BOOL InitInstance() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()
};
