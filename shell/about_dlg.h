// The About box: the program's name, version and copyright until closed.
#pragma once

#include "framework/afxwin.h"
#include "resources/resource.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};
