// SetupApp and the program's one application object.
#include "app/SetupApp.h"

#include "app/SetupDialog.h"

SetupApp::SetupApp() : CWinApp(nullptr) {}

BOOL SetupApp::InitInstance() {
  try {
    SetupDialog dialog;
    mainWindow = &dialog;
    dialog.DoModal();
    mainWindow = nullptr;
  } catch (...) {
    // Whatever escaped the dialog (it has closed by then) must not end the
    // program through the runtime's abort.
    mainWindow = nullptr;
  }
  return FALSE;
}

// Built during static initialisation; the framework's WinMain runs it.
namespace {
SetupApp theApp;
}  // namespace
