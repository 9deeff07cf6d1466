// A GUI program with nothing but an application object: its WinMain comes
// from the framework. It reports the call on its inherited output handle.
#include <windows.h>

#include "framework/WinApp.h"

namespace {

class EntryProbeApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    if (instanceHandle == GetModuleHandleA(nullptr)) {
      const char text[] = "InitInstance of the probe\n";
      DWORD written = 0;
      WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, sizeof text - 1, &written, nullptr);
    }
    return FALSE;
  }
};

EntryProbeApp theApp;

}  // namespace
