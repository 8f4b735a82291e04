// The small application framework the program's shell is written against:
// an application object whose InitInstance the entry point calls, modal
// dialogs on resource templates, the system menu, paint contexts and
// message boxes titled with the application's name. Raw Win32 underneath,
// ANSI throughout; only what the program uses.
#pragma once

#include <windows.h>

#include "framework/cstring.h"

class CWnd;

// The one application object. Constructed as a global; the entry point
// (afxwin.cpp) fills in the instance and title and calls InitInstance.
class CWinApp {
 public:
  // No name: the title is the executable's file name without its extension.
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // FALSE: end the program at once, with no message loop.
  virtual BOOL InitInstance();

  // The Help command: Windows Help on the help file named like the
  // executable, at the given context.
  virtual void OnHelp(DWORD context);

  const char* m_pszAppName;       // the application title
  const char* m_pszHelpFilePath;  // the executable's path with ".HLP"
  HINSTANCE m_hInstance;
  CWnd* m_pMainWnd;  // reset to null when that window is destroyed

  // Called once by the entry point.
  void SetUp(HINSTANCE instance);

 private:
  CString title_;
  CString helpPath_;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();
// The window that owns the program's message boxes and unowned dialogs:
// the main window's last active pop-up, or none.
HWND AfxGetOwnerWindow();

// Loads a string resource into out (empty when there is none).
BOOL AfxLoadString(UINT id, CString& out);

// The help command and its context base for dialogs.
const UINT ID_HELP = 0xE146;
const DWORD HID_BASE_RESOURCE = 0x20000;

// Shows text in a message box owned by the active window, titled with the
// application title; MB_ICONEXCLAMATION is added when type names no icon.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// The report for running out of memory inside a window procedure.
void AfxReportMemoryException();

// The program's dialogs hold no ActiveX controls and Windows draws 3-D
// controls itself, so these have nothing to do; kept for the start-up order.
void AfxEnableControlContainer();
BOOL Enable3dControlsStatic();

// A menu handle; does not own it.
class CMenu {
 public:
  CMenu() : m_hMenu(nullptr) {}
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr) {
    return ::AppendMenuA(m_hMenu, flags, id, text);
  }
  HMENU m_hMenu;
};

class CWnd {
 public:
  CWnd() : m_hWnd(nullptr) {}
  virtual ~CWnd() {}
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // The window's system menu, or null when it has none. The object lives
  // as long as this window object.
  CMenu* GetSystemMenu(BOOL revert);
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  HICON SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
  }

  HWND m_hWnd;

 private:
  CMenu systemMenu_;
};

// A paint context for the length of a WM_PAINT.
class CPaintDC {
 public:
  explicit CPaintDC(CWnd* wnd) : hwnd_(wnd->m_hWnd) { m_hDC = ::BeginPaint(hwnd_, &m_ps); }
  ~CPaintDC() { ::EndPaint(hwnd_, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

  HDC m_hDC;
  PAINTSTRUCT m_ps;

 private:
  HWND hwnd_;
};

// A modal dialog on a resource template. The static dialog procedure binds
// the object to its window at WM_INITDIALOG and hands each message to
// OnMessage; derived dialogs add their own handlers there and pass the rest
// on. No exception leaves the procedure: running out of memory is reported
// there and the dialog stays open.
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);

  // Shows the dialog; IDOK, IDCANCEL or what EndDialog was given, -1 when
  // it could not be shown.
  virtual INT_PTR DoModal();
  void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

 protected:
  virtual void DoDataExchange() {}
  // Centres a template placed at 0,0 without a centring style over its
  // owner, or on the screen when it has none.
  virtual BOOL OnInitDialog();
  // Exchanges data, then ends the dialog with IDOK.
  virtual void OnOK();
  // Ends the dialog with IDCANCEL.
  virtual void OnCancel();

  // One message: true when handled, with the dialog procedure's result.
  // Unhandled messages get the dialog manager's default processing.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  UINT m_nIDHelp;  // the template id: also the help context
  CWnd* m_pParentWnd;

 private:
  void OnHelp();
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void CenterIfPlacedAtOrigin();
};
