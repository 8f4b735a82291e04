// Shows the About box template (100) with a plain dialog procedure, for the
// GUI kit's own test. Exit code: how the box was closed (IDOK 1, IDCANCEL 2),
// or 0x100 plus the error when it could not be shown.
#include <windows.h>

#include "resources/resource.h"

namespace {

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      // Enter and the button give IDOK; Esc and the close box IDCANCEL.
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, AboutProc, 0);
  if (result <= 0) return 0x100 + static_cast<int>(GetLastError());
  return static_cast<int>(result);
}
