// The application: shows the confirmation dialog once and ends.
#pragma once

#include "framework/afxwin.h"

class CUninstallApp : public CWinApp {
 public:
  CUninstallApp() {}
  BOOL InitInstance() override;
};

extern CUninstallApp theApp;
