#include <windows.h>

#include "app/ProductProfile.h"
#include "app/UserSettings.h"
#include "driver/StaticDriverRegistrar.h"
#include "engine/DeferredDeletion.h"
#include "engine/SetupKeys.h"
#include "engine/SetupProcedures.h"
#include "engine/SystemCalls.h"
#include "registry/RegistryKey.h"
#include "resources/ResourceIds.h"
#include "tools/XTOOMsg.h"
#include "tools/Win32/File/PathHelpers.h"

int UninstallProduct(ProductProfile& profile) {
  const SharedString folder = profile.programFolder + "\\";

  profile.driverList.reset();
  while (const char* name = profile.driverList.next()) {
    try {
      RegisterStaticDriver((folder + name).c_str(), 0);
    } catch (const char* text) {
      ShowMessageBox(text, profile.LoadMessage(IDS_UNINSTALLER_CAPTION).c_str(), MB_ICONERROR);
      return 0;
    }
  }

  // Entries already gone (a second uninstall) are normal: nothing to say.
  try {
    LocalMachineKey list(kUninstallListKey, RegistryWrite);
    list.DeleteSubKey(profile.productName.c_str());
  } catch (...) {
  }
  // The company's own key stays; other products of the maker may live there.
  try {
    CurrentUserKey company((SharedString(kUserSoftwareKey) + profile.companyKey.c_str()).c_str(),
                           RegistryWrite);
    company.DeleteSubKey(profile.productName.c_str());
  } catch (const char*) {
  }

  DeferredDeletionList deferred;
  profile.fileList.reset();
  while (const char* name = profile.fileList.next()) {
    const SharedString path = folder + name;
    if (!FileExists(path.c_str()))
      continue;
    XTOOFile holder(false);
    if (RemoveFileForced(path.c_str(), holder) != 0)
      deferred.AddFailedFile(profile.programFolder.c_str(), path.c_str());
  }

  if (deferred.IsEmpty())
    return 1;
  return ScheduleDeferredDeletion(profile, deferred.Text().c_str());
}
