// CWinApp: the application object, and RunApplication, the framework's entry
// that WinMain (framework/AppEntry.cpp) hands over to.
#ifndef KESTRIN_FRAMEWORK_WINAPP_H
#define KESTRIN_FRAMEWORK_WINAPP_H

#include <windows.h>

#include "framework/Wnd.h"

// A program has exactly one application object, built during static
// initialisation; building it makes it the current one.
class CWinApp {
 public:
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Called once at start. A dialog-based program does its whole work here
  // (a modal dialog) and returns false to end; true runs a message loop of
  // the application's own until WM_QUIT.
  virtual BOOL InitInstance();

  // The application object of the program, or null before it is built.
  static CWinApp* Current();

  const char* appName;
  HINSTANCE instanceHandle = nullptr;
  CWnd* mainWindow = nullptr;
};

// Records the module in the application object and runs it: InitInstance,
// then the message loop when it asked for one. Returns the process's exit
// code: 0 when InitInstance returned false, WM_QUIT's code after a loop, 1
// when the program has no application object.
int RunApplication(HINSTANCE instance);

#endif  // KESTRIN_FRAMEWORK_WINAPP_H
