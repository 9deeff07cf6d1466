#include <windows.h>

#include "app/CommandLine.h"
#include "app/ProductProfile.h"
#include "app/UserSettings.h"
#include "driver/StaticDriverRegistrar.h"
#include "engine/RestartPrompt.h"
#include "engine/SetupKeys.h"
#include "engine/SetupProcedures.h"
#include "engine/SystemCalls.h"
#include "registry/RegistryKey.h"
#include "resources/ResourceIds.h"
#include "tools/Win32/File/PathHelpers.h"

namespace {

SharedString InFolder(const ProductProfile& profile, const char* name) {
  return (profile.programFolder + "\\") + name;
}

// Every product file must already lie in the program folder: nothing is
// copied. Reports the missing ones; true when none is missing.
bool AllFilesPresent(ProductProfile& profile) {
  SharedString missing;
  int count = 0;
  profile.fileList.reset();
  while (const char* name = profile.fileList.next()) {
    if (FileExists(InFolder(profile, name).c_str()))
      continue;
    missing = (count++ == 0) ? SharedString(name) : (missing + "\n") + name;
  }
  if (count == 0)
    return true;
  const SharedString text =
      profile.LoadMessage(count == 1 ? IDS_FILE_NOT_FOUND : IDS_FILES_NOT_FOUND) + missing.c_str();
  ShowMessageBox(text.c_str(), profile.LoadMessage(IDS_FILES_CHECK_CAPTION).c_str(), MB_ICONERROR);
  return false;
}

// Add/Remove Programs: the name and the command that uninstalls, with the
// setup program's long path under the name it actually runs as.
void WriteUninstallEntry(const ProductProfile& profile) {
  const SharedString key = (SharedString(kUninstallListKey) + "\\") + profile.productName.c_str();
  const SharedString command =
      ((((SharedString("\"") + profile.programFolder.c_str()) + "\\") + profile.programFileName.c_str()) +
       "\" ") +
      kUninstallSwitch;
  LocalMachineKey entry(key.c_str(), RegistryWriteCreate);
  entry.WriteString(kDisplayNameValue, profile.productName.c_str());
  entry.WriteString(kUninstallStringValue, command.c_str());
}

// The folder and the language, read back at the next start.
void WriteUserSettings(const ProductProfile& profile) {
  const SharedString key =
      ((SharedString(kUserSoftwareKey) + profile.companyKey.c_str()) + "\\") + profile.productName.c_str();
  CurrentUserKey settings(key.c_str(), RegistryWriteCreate);
  settings.WriteString(kPathValue, profile.programFolder.c_str());
  settings.WriteString(kLanguageValue, LanguageNames[profile.languageIndex == kLanguageRussian]);
}

}  // namespace

int InstallProduct(ProductProfile& profile) {
  if (!AllFilesPresent(profile))
    return 0;

  const SharedString registryError = profile.LoadMessage(IDS_REGISTRY_ERROR_CAPTION);
  try {
    WriteUninstallEntry(profile);
  } catch (const char* text) {
    ShowMessageBox(text, registryError.c_str(), MB_ICONERROR);
    return 0;
  } catch (...) {
    return 0;
  }

  // Without the settings the product still works: the user is not troubled.
  try {
    WriteUserSettings(profile);
  } catch (...) {
  }

  profile.driverList.reset();
  while (const char* name = profile.driverList.next()) {
    try {
      RegisterStaticDriver(InFolder(profile, name).c_str(), 1);
    } catch (const char* text) {
      ShowMessageBox(text, registryError.c_str(), MB_ICONERROR);
      return 0;
    }
  }

  // An uninstall before this install may have left the deletion helper
  // waiting for the next start: it would delete the product just installed.
  try {
    LocalMachineKey runOnce(kRunOnceKey, RegistryWrite);
    runOnce.DeleteValue(profile.productName.c_str());
  } catch (const char*) {
  }

  profile.driverList.reset();
  if (!profile.driverList.atEnd())
    PromptRestart(profile, IDS_INSTALLER_CAPTION, IDS_REBOOT_AFTER_INSTALL);
  return 1;
}

int ProductProfile::PerformSetup(int install) {
  return install ? InstallProduct(*this) : UninstallProduct(*this);
}
