// min-dialog: the start-up benchmark's floor. A Win32 program that does
// nothing but show one dialog from its resource template (min-dialog.rc,
// laid out like the uninstaller's confirmation dialog) and end when it is
// answered. It imports only what the C run-time and one DialogBoxParamA need.
#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, DialogProc, 0));
}
