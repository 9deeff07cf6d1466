#include "engine/SystemCalls.h"

#include <windows.h>

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
  return MessageBoxA(nullptr, text, caption, style);
}

int RestartSystem(unsigned flags, unsigned long reason) {
  // No shutdown privilege is asked for: Windows 9x has none, and on later
  // systems a refused restart simply leaves the reminder to the user.
  return ExitWindowsEx(flags, reason);
}
