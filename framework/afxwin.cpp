// The application framework over raw Win32.
#include "framework/afxwin.h"

#include <cstring>

#include "framework/afxmem.h"

namespace {

CWinApp* g_app = nullptr;

// "内存不足。" in code page 936.
const char kOutOfMemory[] = "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA1\xA3";

// A dialog template's position and style, classic or extended.
bool TemplatePlacement(HINSTANCE instance, UINT id, short* x, short* y, DWORD* style) {
  HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
  if (found == nullptr) return false;
  HGLOBAL loaded = ::LoadResource(instance, found);
  const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
  if (bytes == nullptr || ::SizeofResource(instance, found) < 22) return false;
  WORD version, signature;
  std::memcpy(&version, bytes, 2);
  std::memcpy(&signature, bytes + 2, 2);
  if (version == 1 && signature == 0xFFFF) {  // DLGTEMPLATEEX
    std::memcpy(style, bytes + 12, 4);
    std::memcpy(x, bytes + 18, 2);
    std::memcpy(y, bytes + 20, 2);
  } else {  // DLGTEMPLATE
    std::memcpy(style, bytes, 4);
    std::memcpy(x, bytes + 10, 2);
    std::memcpy(y, bytes + 12, 2);
  }
  return true;
}

}  // namespace

CWinApp::CWinApp(const char* appName)
    : m_pszAppName(appName), m_pszHelpFilePath(nullptr), m_hInstance(nullptr), m_pMainWnd(nullptr) {
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return FALSE; }

void CWinApp::SetUp(HINSTANCE instance) {
  m_hInstance = instance;
  char path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) path[0] = '\0';
  CString module(path);
  // "C:\dir\Uninstall.EXE": title "Uninstall", help "C:\dir\Uninstall.HLP".
  CString name = module.Right(module.GetLength() - module.ReverseFind('\\') - 1);
  int dot = name.ReverseFind('.');
  if (dot >= 0) name = name.Left(dot);
  if (m_pszAppName == nullptr) {
    title_ = name;
    m_pszAppName = title_;
  }
  int moduleDot = module.ReverseFind('.');
  helpPath_ = (moduleDot > module.ReverseFind('\\') ? module.Left(moduleDot) : module) + ".HLP";
  m_pszHelpFilePath = helpPath_;
}

void CWinApp::OnHelp(DWORD context) {
  ::WinHelpA(AfxGetOwnerWindow(), m_pszHelpFilePath, HELP_CONTEXT, context);
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetResourceHandle() { return g_app != nullptr ? g_app->m_hInstance : ::GetModuleHandleA(nullptr); }

HWND AfxGetOwnerWindow() {
  HWND main = g_app != nullptr && g_app->m_pMainWnd != nullptr ? g_app->m_pMainWnd->m_hWnd : nullptr;
  if (main == nullptr || !::IsWindow(main)) return nullptr;
  return ::GetLastActivePopup(main);
}

int AfxMessageBox(const char* text, UINT type, UINT) {
  if ((type & MB_ICONMASK) == 0) type |= MB_ICONEXCLAMATION;
  const char* title = g_app != nullptr ? g_app->m_pszAppName : nullptr;
  return ::MessageBoxA(AfxGetOwnerWindow(), text, title, type);
}

void AfxReportMemoryException() { AfxMessageBox(kOutOfMemory, MB_ICONEXCLAMATION | MB_SYSTEMMODAL); }

BOOL AfxLoadString(UINT id, CString& out) {
  // Strings are short; a longer one would be cut at the buffer's end.
  char text[512];
  int length = ::LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
  out = CString(text, length > 0 ? length : 0);
  return length > 0;
}

void AfxEnableControlContainer() {}

BOOL Enable3dControlsStatic() { return FALSE; }

CMenu* CWnd::GetSystemMenu(BOOL revert) {
  systemMenu_.m_hMenu = ::GetSystemMenu(m_hWnd, revert);
  return systemMenu_.m_hMenu != nullptr ? &systemMenu_ : nullptr;
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
  HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : AfxGetOwnerWindow();
  return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDHelp), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog() {
  CenterIfPlacedAtOrigin();
  return TRUE;
}

void CDialog::OnOK() {
  DoDataExchange();
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::CenterIfPlacedAtOrigin() {
  short x = 0, y = 0;
  DWORD style = 0;
  if (!TemplatePlacement(AfxGetResourceHandle(), m_nIDHelp, &x, &y, &style)) return;
  if (x != 0 || y != 0 || (style & (DS_CENTER | DS_CENTERMOUSE)) != 0) return;

  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT area = work;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &area);
  RECT me;
  ::GetWindowRect(m_hWnd, &me);
  int width = me.right - me.left, height = me.bottom - me.top;
  int left = (area.left + area.right - width) / 2;
  int top = (area.top + area.bottom - height) / 2;
  // Keep it on the screen.
  if (left + width > work.right) left = work.right - width;
  if (top + height > work.bottom) top = work.bottom - height;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The Help command goes to the application, with this dialog's context.
void CDialog::OnHelp() {
  if (AfxGetApp() != nullptr) AfxGetApp()->OnHelp(HID_BASE_RESOURCE + m_nIDHelp);
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) {
  switch (message) {
    case WM_INITDIALOG:
      *result = OnInitDialog();
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != 1) return false;
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOK();
          return true;
        case IDCANCEL:
          OnCancel();
          return true;
        case ID_HELP:
          OnHelp();
          return true;
      }
      return false;
    case WM_HELP:  // F1
      OnHelp();
      *result = TRUE;
      return true;
  }
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    self->m_hWnd = hwnd;
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG

  INT_PTR result = FALSE;
  bool handled = false;
  // An exception must not unwind through Windows' own frames.
  try {
    handled = self->OnMessage(message, wParam, lParam, &result);
  } catch (const CMemoryException&) {
    AfxReportMemoryException();
    handled = true;
    result = TRUE;
  } catch (...) {
    handled = true;
    result = TRUE;
  }

  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->m_hWnd = nullptr;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == self) app->m_pMainWnd = nullptr;
  }
  return handled ? result : FALSE;
}

// The program's entry: the application object already exists (a global).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  try {
    app->SetUp(instance);
    if (!app->InitInstance()) return 0;
  } catch (const CMemoryException&) {
    AfxReportMemoryException();
    return 1;
  }
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
