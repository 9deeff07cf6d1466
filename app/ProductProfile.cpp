// ProductProfile: the compiled-in product data, the running module's folder
// and the saved language.
#include "app/ProductProfile.h"

#include <cstring>

#include "app/ModulePath.h"
#include "app/UserSettings.h"
#include "registry/RegistryKey.h"

namespace {

struct ProfileRow {
  const char* productName;
  const char* fileList;
  const char* driverList;
};

// Indexed by productIndex.
const ProfileRow kProfiles[] = {
    {"Kestrin", "Installer.exe\nKestrin.vxd\nKestrin.htm", "Kestrin.vxd"},
    {"Tarvelin", "Installer.exe\nTools.dll\nTarvelin.vxd\nMsvcp60.dll", "Tarvelin.vxd"},
};

// This build sets up the first product.
const int32_t kBuildProductIndex = 0;

const char kCompanyKey[] = "Quarnelworks";

const uint32_t kPathBufferSize = 1024;
const uint32_t kLanguageBufferSize = 1024;

// True when the value exists and is a text (REG_SZ or REG_EXPAND_SZ). The
// wrapper's QueryValue discards the type, so it is asked for on its own.
bool HoldsText(const RegistryKey& key, const char* valueName) {
  DWORD type = REG_NONE;
  if (RegQueryValueExA(key.Handle(), valueName, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

}  // namespace

ProductProfile::ProductProfile()
    : fileList(kProfiles[kBuildProductIndex].fileList),
      driverList(kProfiles[kBuildProductIndex].driverList),
      productIndex(kBuildProductIndex),
      productName(kProfiles[kBuildProductIndex].productName),
      companyKey(kCompanyKey),
      languageIndex(kLanguageEnglish),
      languageFonts{} {
  char modulePath[kPathBufferSize] = {};
  const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), modulePath, sizeof modulePath);
  // A path cut to the buffer is not the program's path; treat it as unknown.
  if (length == 0 || length >= sizeof modulePath)
    modulePath[0] = '\0';
  SplitModulePath(modulePath, programFolder, programFileName);

  ReadSavedLanguage();
}

ProductProfile::~ProductProfile() { ReleaseLanguageFonts(); }

void ProductProfile::ReadSavedLanguage() {
  try {
    const SharedString keyPath =
        SharedString(kUserSoftwareKey) + companyKey.c_str() + "\\" + productName.c_str();
    CurrentUserKey key(keyPath.c_str(), RegistryRead);
    // Only a text names a language; bytes of another type that happen to
    // spell one do not.
    if (!HoldsText(key, kLanguageValue))
      return;
    char saved[kLanguageBufferSize] = {};
    // A value that does not fit names no language: what the buffer then
    // holds is undefined, so only the result tells.
    if (!key.QueryValue(kLanguageValue, saved, sizeof saved))
      return;
    // Bounded: a value that filled the buffer has no terminator in it.
    languageIndex = LanguageFromSavedName(saved, sizeof saved);
  } catch (...) {
    // No saved settings, or no access to them: English.
  }
}
