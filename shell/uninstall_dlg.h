// The confirmation dialog: "是" uninstalls the product, "否" leaves it.
#pragma once

#include "framework/afxwin.h"

class CUninstallDlg : public CDialog {
 public:
  explicit CUninstallDlg(CWnd* pParent = nullptr);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

  bool OnSysCommand(UINT nID, LPARAM lParam);
  bool OnPaint();
  HCURSOR OnQueryDragIcon();

  HICON m_hIcon;
};

// The completion message for what a run left behind: "卸载成功." when
// nothing, otherwise the items, at most ten of them.
CString CompletionMessage(const CStringArray& leftBehind);
