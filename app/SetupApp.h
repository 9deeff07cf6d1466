// SetupApp: the setup program's application object; it runs the setup
// dialog and ends when the dialog closes.
#ifndef KESTRIN_APP_SETUPAPP_H
#define KESTRIN_APP_SETUPAPP_H

#include <windows.h>

#include "framework/WinApp.h"

class SetupApp : public CWinApp {
 public:
  SetupApp();

  // Runs the setup dialog modally; returns false so that the program ends
  // with it. The action's outcome is not passed on as the exit status.
  BOOL InitInstance() override;
};

#endif  // KESTRIN_APP_SETUPAPP_H
