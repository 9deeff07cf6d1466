// Registry places of the system's that the install and uninstall procedures
// write and remove (the product's own settings: app/UserSettings.h).
#ifndef KESTRIN_ENGINE_SETUPKEYS_H
#define KESTRIN_ENGINE_SETUPKEYS_H

// Below HKEY_LOCAL_MACHINE: the removable-programs list, one sub-key per
// product with "DisplayName" and "UninstallString".
constexpr char kUninstallListKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char kDisplayNameValue[] = "DisplayName";
constexpr char kUninstallStringValue[] = "UninstallString";

// Below HKEY_LOCAL_MACHINE: programs run once at the next start. The
// deletion helper is recorded under the product's name.
constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

#endif  // KESTRIN_ENGINE_SETUPKEYS_H
