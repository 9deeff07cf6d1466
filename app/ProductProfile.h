// ProductProfile: everything that depends on the product being set up (its
// files, drivers, names, the setup program's own folder), the user-interface
// language, and the message catalogue that speaks in that language.
#ifndef KESTRIN_APP_PRODUCTPROFILE_H
#define KESTRIN_APP_PRODUCTPROFILE_H

#include <windows.h>

#include <cstdint>

#include "app/LanguageNames.h"
#include "app/NameList.h"
#include "tools/SharedString.h"

// Built with the setup dialog, before any window exists. Nothing here shows
// a message: a failure to learn the module path leaves the folder and file
// name empty, and any failure to read the saved language leaves English.
class ProductProfile {
 public:
  ProductProfile();
  virtual ~ProductProfile();
  ProductProfile(const ProductProfile&) = delete;
  ProductProfile& operator=(const ProductProfile&) = delete;

  // --- message catalogue (MessageCatalogue.cpp) ---

  // The wording of message `id` (ResourceIds.h) in the current language;
  // English where the entry has no segment for it, "" for a missing id.
  SharedString LoadMessage(uint16_t id) const;
  // Gives `window` the current language's font (without redrawing) and
  // the text. A null window is left alone.
  void ShowText(HWND window, const char* text) const;
  // ShowText with the wording of message `id`.
  void ShowMessage(HWND window, uint16_t id) const;
  // Makes one font per language from `window`'s current font, differing
  // only in character set. Fonts made by an earlier call are released.
  void CreateLanguageFonts(HWND window);

  // --- installation engine (engine/) ---

  // Installs (non-zero `install`) or uninstalls the product. 1 when the
  // procedure ran to its end, 0 when it stopped on a failure it reported.
  int PerformSetup(int install);

  // --- driver status line (DriverStatus.cpp) ---

  // Asks the first driver of driverList for its version and describes it
  // in the current language: active with its version (and, for Kestrin,
  // the cooling sentence), not active, or "" without a driver. Never
  // throws and never shows a message.
  SharedString DescribeDriverStatus();

  // --- fields ---

  NameList fileList;                    // files that must lie in programFolder
  NameList driverList;                  // the product's virtual device drivers (a subset of fileList)
  SharedString programFolder;           // module path before its last backslash
  SharedString programFileName;         // module path after its last backslash
  int32_t productIndex;                 // 0 Kestrin, 1 Tarvelin
  SharedString productName;             // also the name of the product's registry keys
  SharedString companyKey;              // the maker's key under SOFTWARE of the current user
  int32_t languageIndex;                // kLanguageEnglish or kLanguageRussian
  HFONT languageFonts[kLanguageCount];  // null until CreateLanguageFonts

 private:
  void ReadSavedLanguage();
  void ReleaseLanguageFonts();
};

#endif  // KESTRIN_APP_PRODUCTPROFILE_H
