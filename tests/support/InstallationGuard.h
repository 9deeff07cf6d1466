// Keeps an install made by a test from outliving it: the product's registry
// entries are removed before and after the test, and system.ini (with the
// backup an install makes of it) is put back as it was.
#ifndef KESTRIN_TESTS_SUPPORT_INSTALLATIONGUARD_H
#define KESTRIN_TESTS_SUPPORT_INSTALLATIONGUARD_H

#include <string>

namespace test {

// Where an install leaves its traces in the registry.
constexpr char kUninstallEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrin";
constexpr char kUserSettings[] = "SOFTWARE\\Quarnelworks\\Kestrin";
constexpr char kDriverKey[] = "System\\CurrentControlSet\\Services\\VxD\\KESTRIN";
constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// A member of a test fixture: made before the test, gone after it.
class InstallationGuard {
 public:
  InstallationGuard();
  ~InstallationGuard();
  InstallationGuard(const InstallationGuard&) = delete;
  InstallationGuard& operator=(const InstallationGuard&) = delete;

 private:
  std::string windowsIni, savedIni;
  bool hadBackup = false;
};

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_INSTALLATIONGUARD_H
