// CWinApp: the application object and the framework's entry.
#include "framework/WinApp.h"

namespace {

CWinApp* currentApp = nullptr;

}  // namespace

CWinApp::CWinApp(const char* appName) : appName(appName) { currentApp = this; }

CWinApp::~CWinApp() {
  if (currentApp == this)
    currentApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

CWinApp* CWinApp::Current() { return currentApp; }

int RunApplication(HINSTANCE instance) {
  CWinApp* app = CWinApp::Current();
  if (app == nullptr)
    return 1;
  app->instanceHandle = instance;
  if (!app->InitInstance())
    return 0;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
