#include "tests/support/InstallationGuard.h"

#include <windows.h>

#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"

namespace test {

namespace {

std::string WindowsFolder() {
  char folder[MAX_PATH];
  GetWindowsDirectoryA(folder, sizeof folder);
  return folder;
}

// The product's entries (uninstall entry, user settings, driver key, pending
// RunOnce command); missing ones are fine.
void CleanRegistry() {
  DeleteTree(HKEY_LOCAL_MACHINE, kUninstallEntry);
  DeleteTree(HKEY_CURRENT_USER, kUserSettings);
  DeleteTree(HKEY_LOCAL_MACHINE, kDriverKey);
  DeleteValue(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin");
}

}  // namespace

InstallationGuard::InstallationGuard() {
  CleanRegistry();
  windowsIni = WindowsFolder() + "\\system.ini";
  savedIni = test::ReadFile(windowsIni);
  hadBackup = Exists(WindowsFolder() + "\\system.bak");
}

InstallationGuard::~InstallationGuard() {
  CleanRegistry();
  test::WriteFile(windowsIni, savedIni);
  if (!hadBackup)
    DeleteFileA((WindowsFolder() + "\\system.bak").c_str());
}

}  // namespace test
