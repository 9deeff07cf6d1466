// baseline_dialog.exe: the least a Win32 dialog program does to show a dialog
// like the setup program's: the benchmark's yardstick for the setup program's
// start (scripts/bench-e2e). OK or Cancel ends it.
#include <windows.h>

namespace {

const int kDialog = 102;
const int kStatus = 1003;
const int kLanguage = 1005;
const int kExit = 1002;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageA(dialog, kLanguage, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("English"));
      SendDlgItemMessageA(dialog, kLanguage, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Russian"));
      SendDlgItemMessageA(dialog, kLanguage, CB_SETCURSEL, 0, 0);
      SetDlgItemTextA(dialog, kStatus, "Driver Kestrin.vxd is not active now.");
      CheckRadioButton(dialog, 1000, kExit, kExit);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wparam));
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialog), nullptr, DialogProc, 0));
}
