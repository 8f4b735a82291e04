// The confirmation dialog.
#include "shell/uninstall_dlg.h"

#include "engine/uninstall.h"
#include "resources/resource.h"
#include "shell/about_dlg.h"

namespace {

const char kSucceeded[] = "\xD0\xB6\xD4\xD8\xB3\xC9\xB9\xA6.";  // "卸载成功."
// "卸载完成，但以下项目未能删除，请手动删除："
const char kLeftBehind[] =
    "\xD0\xB6\xD4\xD8\xCD\xEA\xB3\xC9\xA3\xAC\xB5\xAB\xD2\xD4\xCF\xC2\xCF\xEE\xC4\xBF\xCE\xB4\xC4\xDC"
    "\xC9\xBE\xB3\xFD\xA3\xAC\xC7\xEB\xCA\xD6\xB6\xAF\xC9\xBE\xB3\xFD\xA3\xBA";
const char kMore[] = "\xA1\xAD\xA1\xAD";  // "……"
const int kMaxItemsShown = 10;

}  // namespace

CString CompletionMessage(const CStringArray& leftBehind) {
  if (leftBehind.GetSize() == 0) return CString(kSucceeded);
  CString message(kLeftBehind);
  for (int i = 0; i < leftBehind.GetSize() && i < kMaxItemsShown; ++i) {
    message += "\r\n";
    message += leftBehind[i];
  }
  if (leftBehind.GetSize() > kMaxItemsShown) {
    message += "\r\n";
    message += kMore;
  }
  return message;
}

CUninstallDlg::CUninstallDlg(CWnd* pParent) : CDialog(IDD_UNINSTALL_DIALOG, pParent) {
  m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

bool CUninstallDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if (!OnSysCommand(static_cast<UINT>(wParam), lParam)) return false;
      *result = TRUE;
      return true;
    case WM_PAINT:
      if (!OnPaint()) return false;
      *result = TRUE;
      return true;
    case WM_QUERYDRAGICON:
      // One of the messages whose answer a dialog procedure returns itself.
      *result = reinterpret_cast<INT_PTR>(OnQueryDragIcon());
      return true;
  }
  return CDialog::OnMessage(message, wParam, lParam, result);
}

BOOL CUninstallDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  // "关于 Uninstall(&A)..." at the end of the system menu.
  CMenu* pSysMenu = GetSystemMenu(FALSE);
  if (pSysMenu != nullptr) {
    CString strAboutMenu;
    AfxLoadString(IDS_ABOUTBOX, strAboutMenu);
    if (!strAboutMenu.IsEmpty()) {
      pSysMenu->AppendMenu(MF_SEPARATOR);
      pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
    }
  }

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  return TRUE;  // the focus goes to "是"
}

// False leaves the command to the default handling: moving, closing and
// the rest keep their standard effect.
bool CUninstallDlg::OnSysCommand(UINT nID, LPARAM) {
  if ((nID & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg dlgAbout;
  dlgAbout.DoModal();
  return true;
}

// Draws the icon when minimised; otherwise the default painting.
bool CUninstallDlg::OnPaint() {
  if (!IsIconic()) return false;
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  int cxIcon = ::GetSystemMetrics(SM_CXICON);
  int cyIcon = ::GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  int x = (rect.right - rect.left - cxIcon + 1) / 2;
  int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
  return true;
}

HCURSOR CUninstallDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CUninstallDlg::OnOK() {
  // Running out of memory passes out of here to the dialog procedure, which
  // reports it and keeps the dialog open.
  CLeftBehind leftBehind;
  RunUninstall(leftBehind);
  AfxMessageBox(CompletionMessage(leftBehind), MB_OK);
  CDialog::OnOK();
}
