// The application object and its start.
#include "shell/uninstall_app.h"

#include "shell/uninstall_dlg.h"

CUninstallApp theApp;

BOOL CUninstallApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  CUninstallDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();  // IDOK or IDCANCEL: either way the program ends

  // No message loop: the program ends here.
  return FALSE;
}
