// The message catalogue read from the test program's own string table (the
// program links the setup program's resources), and the language fonts on
// real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/ProductProfile.h"
#include "resources/ResourceIds.h"

namespace {

struct CatalogueEntry {
  uint16_t id;
  const char* text;
};

const CatalogueEntry kEnglish[] = {
    {IDS_ABOUT_MENU_ITEM, "&About KestrinInstaller..."},
    {IDS_CHOOSE_ACTION, " Choose action "},
    {IDS_DIALOG_CAPTION, "Add/Remove programm %s"},
    {IDS_INSTALL, "Install"},
    {IDS_UNINSTALL, "Uninstall"},
    {IDS_EXIT, "Exit"},
    {IDS_CHOOSE_LANGUAGE, "Choose language"},
    {IDS_DRIVER_ACTIVE, "Driver %s version %d.%02d Build %d is active now."},
    {IDS_DRIVER_NOT_ACTIVE, "Driver %s is not active now."},
    {IDS_COOLING_AUTOMATICALLY, "\nYour processor is cooling automatically."},
    {IDS_FILES_CHECK_CAPTION, "Files existing checking"},
    {IDS_FILE_NOT_FOUND, "File is not found:\n"},
    {IDS_FILES_NOT_FOUND, "Files are not found:\n"},
    {IDS_REGISTRY_ERROR_CAPTION, "Registry error"},
    {IDS_INSTALLER_CAPTION, "Installer"},
    {IDS_UNINSTALLER_CAPTION, "Uninstaller"},
    {IDS_REBOOT_AFTER_INSTALL,
     "In is need to reboot computer to finish of installation process.\nDo you wish to reboot it now?"},
    {IDS_REMEMBER_TO_REBOOT, "Do not forget to reboot you computer."},
    {IDS_DELETE_LIST_TOO_LONG, "Too long list of files for deleting:\n"},
    {IDS_REBOOT_AFTER_UNINSTALL,
     "In is need to reboot computer to finish of uninstallation process.\nDo you wish to reboot it now?"},
    {IDS_CANNOT_CREATE_FILE, "Can not create file\n"},
};

// The Russian wording as Windows-1251 bytes, converted by a script from the
// catalogue's Cyrillic texts (not typed by hand).
const CatalogueEntry kRussian[] = {
    {IDS_ABOUT_MENU_ITEM, "&About KestrinInstaller..."},
    {IDS_CHOOSE_ACTION, " \xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xE4\xE5\xE9\xF1\xF2\xE2\xE8\xE5 "},
    {IDS_DIALOG_CAPTION,
     "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0/\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 "
     "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB %s"},
    {IDS_INSTALL, "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC"},
    {IDS_UNINSTALL, "\xD3\xE4\xE0\xEB\xE8\xF2\xFC"},
    {IDS_EXIT, "\xC2\xFB\xE9\xF2\xE8"},
    {IDS_CHOOSE_LANGUAGE, "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xFF\xE7\xFB\xEA (Choose language)"},
    {IDS_DRIVER_ACTIVE,
     "\xC4\xF0\xE0\xE9\xE2\xE5\xF0 %s \xE2\xE5\xF0\xF1\xE8\xE8 %d.%02d \xE1\xE8\xEB\xE4 %d \xE2 "
     "\xED\xE0\xF1\xF2\xEE\xFF\xF9\xE8\xE9 \xEC\xEE\xEC\xE5\xED\xF2 \xE0\xEA\xF2\xE8\xE2\xE5\xED."},
    {IDS_DRIVER_NOT_ACTIVE,
     "\xC4\xF0\xE0\xE9\xE2\xE5\xF0 %s \xED\xE0\xF1\xF2\xEE\xFF\xF9\xE8\xE9 \xEC\xEE\xEC\xE5\xED\xF2 \xED\xE5 "
     "\xE0\xEA\xF2\xE8\xE2\xE5\xED."},
    {IDS_COOLING_AUTOMATICALLY,
     "\n\xC2\xE0\xF8 \xEF\xF0\xEE\xF6\xE5\xF1\xF1\xEE\xF0 "
     "\xE0\xE2\xF2\xEE\xEC\xE0\xF2\xE8\xF7\xE5\xF1\xEA\xE8 \xEE\xF5\xEB\xE0\xE6\xE4\xE0\xE5\xF2\xF1\xFF."},
    {IDS_FILES_CHECK_CAPTION,
     "\xCF\xF0\xEE\xE2\xE5\xF0\xEA\xE0 \xED\xE0\xEB\xE8\xF7\xE8\xFF \xF4\xE0\xE9\xEB\xEE\xE2"},
    {IDS_FILE_NOT_FOUND, "\xCE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xE5\xF2 \xF4\xE0\xE9\xEB:\n"},
    {IDS_FILES_NOT_FOUND, "\xCE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xFE\xF2 \xF4\xE0\xE9\xEB\xFB:\n"},
    {IDS_REGISTRY_ERROR_CAPTION,
     "\xCE\xF8\xE8\xE1\xEA\xE0 \xEF\xF0\xE8 \xF0\xE0\xE1\xEE\xF2\xE5 \xF1 \xF0\xE5\xE5\xF1\xF2\xF0\xEE\xEC"},
    {IDS_INSTALLER_CAPTION, "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8"},
    {IDS_UNINSTALLER_CAPTION, "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xF3\xE4\xE0\xEB\xE5\xED\xE8\xFF"},
    {IDS_REBOOT_AFTER_INSTALL,
     "\xC4\xEB\xFF \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xFF \xEF\xF0\xEE\xF6\xE5\xF1\xF1\xE0 "
     "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
     "\xF2\xF0\xE5\xE1\xF3\xE5\xF2\xF1\xFF \xEF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
     "\xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0.\n\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
     "\xE5\xE3\xEE \xF1\xE5\xE9\xF7\xE0\xF1?"},
    {IDS_REMEMBER_TO_REBOOT,
     "\xCD\xE5 \xE7\xE0\xE1\xF3\xE4\xFC\xF2\xE5 \xEF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
     "\xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0."},
    {IDS_DELETE_LIST_TOO_LONG,
     "\xD1\xEB\xE8\xF8\xEA\xEE\xEC \xE1\xEE\xEB\xFC\xF8\xEE\xE9 \xF1\xEF\xE8\xF1\xEE\xEA "
     "\xF4\xE0\xE9\xEB\xEE\xE2 \xED\xE0 \xF3\xE4\xE0\xEB\xE5\xED\xE8\xE5:\n"},
    {IDS_REBOOT_AFTER_UNINSTALL,
     "\xC4\xEB\xFF \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xFF \xEF\xF0\xEE\xF6\xE5\xF1\xF1\xE0 "
     "\xF3\xE4\xE0\xEB\xE5\xED\xE8\xFF \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
     "\xF2\xF0\xE5\xE1\xF3\xE5\xF2\xF1\xFF \xEF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
     "\xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0.\n\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
     "\xE5\xE3\xEE \xF1\xE5\xE9\xF7\xE0\xF1?"},
    {IDS_CANNOT_CREATE_FILE, "\xCD\xE5 \xEC\xEE\xE3\xF3 \xF1\xEE\xE7\xE4\xE0\xF2\xFC \xF4\xE0\xE9\xEB\n"},
};

// The Russian run sets this: there the code page must be Windows-1251, and a
// wrong one fails instead of skipping.
bool RussianRunRequested() {
  const char* flag = std::getenv("KESTRIN_EXPECT_CP1251");
  return flag != nullptr && flag[0] == '1';
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

LOGFONTA FontRecord(HFONT font) {
  LOGFONTA record = {};
  EXPECT_NE(0, GetObjectA(font, sizeof record, &record));
  return record;
}

}  // namespace

TEST(CatalogueEnglish, EveryMessageExact) {
  ProductProfile profile;
  profile.languageIndex = kLanguageEnglish;
  for (const CatalogueEntry& entry : kEnglish)
    EXPECT_EQ(entry.text, std::string(profile.LoadMessage(entry.id).c_str())) << "message " << entry.id;
}

TEST(CatalogueEnglish, IndexBeyondTheLanguagesGivesEnglish) {
  ProductProfile profile;
  for (int32_t index : {2, 3, 1000}) {
    profile.languageIndex = index;
    for (const CatalogueEntry& entry : kEnglish)
      EXPECT_EQ(entry.text, std::string(profile.LoadMessage(entry.id).c_str()))
          << "message " << entry.id << " at index " << index;
  }
}

TEST(CatalogueEnglish, MissingMessageIsEmpty) {
  ProductProfile profile;
  for (int32_t index : {kLanguageEnglish, kLanguageRussian}) {
    profile.languageIndex = index;
    for (uint16_t id : {uint16_t{100}, uint16_t{102}, uint16_t{124}, uint16_t{9999}}) {
      const SharedString text = profile.LoadMessage(id);
      EXPECT_STREQ("", text.c_str()) << "message " << id;
      EXPECT_EQ(0, text.Length()) << "message " << id;
    }
  }
}

TEST(CatalogueRussian, EveryMessageExactUnderCodePage1251) {
  if (GetACP() != 1251) {
    ASSERT_FALSE(RussianRunRequested()) << "the Russian run has code page " << GetACP();
    GTEST_SKIP() << "needs code page 1251 (LC_ALL=ru_RU.CP1251), have " << GetACP();
  }
  ProductProfile profile;
  profile.languageIndex = kLanguageRussian;
  for (const CatalogueEntry& entry : kRussian)
    EXPECT_EQ(entry.text, std::string(profile.LoadMessage(entry.id).c_str())) << "message " << entry.id;
}

TEST(CatalogueRussian, EnglishUnchangedUnderCodePage1251) {
  if (GetACP() != 1251) {
    ASSERT_FALSE(RussianRunRequested()) << "the Russian run has code page " << GetACP();
    GTEST_SKIP() << "needs code page 1251 (LC_ALL=ru_RU.CP1251), have " << GetACP();
  }
  ProductProfile profile;
  profile.languageIndex = kLanguageEnglish;
  for (const CatalogueEntry& entry : kEnglish)
    EXPECT_EQ(entry.text, std::string(profile.LoadMessage(entry.id).c_str())) << "message " << entry.id;
}

// A top-level window with a font of its own, on which the language fonts
// are modelled.
class LanguageFontsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = CreateWindowExA(0, "STATIC", "label", WS_POPUP, 0, 0, 200, 40, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window) << "CreateWindowExA failed: " << GetLastError();
    LOGFONTA pattern = {};
    pattern.lfHeight = -17;
    pattern.lfWeight = FW_BOLD;
    pattern.lfItalic = TRUE;
    pattern.lfCharSet = DEFAULT_CHARSET;
    pattern.lfQuality = PROOF_QUALITY;
    lstrcpyA(pattern.lfFaceName, "Tahoma");
    windowFont = CreateFontIndirectA(&pattern);
    ASSERT_NE(nullptr, windowFont);
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont), FALSE);
  }
  void TearDown() override {
    if (window != nullptr)
      DestroyWindow(window);
    if (windowFont != nullptr)
      DeleteObject(windowFont);
  }

  HWND window = nullptr;
  HFONT windowFont = nullptr;
};

TEST_F(LanguageFontsTest, FontsDifferFromTheWindowsOnlyInCharacterSet) {
  ProductProfile profile;
  profile.CreateLanguageFonts(window);
  ASSERT_NE(nullptr, profile.languageFonts[kLanguageEnglish]);
  ASSERT_NE(nullptr, profile.languageFonts[kLanguageRussian]);

  const LOGFONTA expected = FontRecord(windowFont);
  const BYTE charSets[kLanguageCount] = {0, 204};
  for (int32_t language = 0; language < kLanguageCount; ++language) {
    LOGFONTA actual = FontRecord(profile.languageFonts[language]);
    EXPECT_EQ(charSets[language], actual.lfCharSet) << "language " << language;
    EXPECT_EQ(expected.lfHeight, actual.lfHeight);
    EXPECT_EQ(expected.lfWeight, actual.lfWeight);
    EXPECT_EQ(expected.lfItalic, actual.lfItalic);
    EXPECT_EQ(expected.lfQuality, actual.lfQuality);
    EXPECT_STREQ(expected.lfFaceName, actual.lfFaceName);
    actual.lfCharSet = expected.lfCharSet;
    EXPECT_EQ(0, memcmp(&expected, &actual, sizeof expected)) << "other fields differ, language " << language;
  }
}

TEST_F(LanguageFontsTest, ShowTextGivesTheCurrentLanguagesFontAndText) {
  ProductProfile profile;
  profile.CreateLanguageFonts(window);

  profile.languageIndex = kLanguageRussian;
  profile.ShowText(window, "first");
  EXPECT_EQ(profile.languageFonts[kLanguageRussian],
            reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  EXPECT_EQ("first", WindowText(window));

  // Re-labelling after a switch also changes the font back.
  profile.languageIndex = kLanguageEnglish;
  profile.ShowMessage(window, IDS_INSTALL);
  EXPECT_EQ(profile.languageFonts[kLanguageEnglish],
            reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  EXPECT_EQ("Install", WindowText(window));

  // An index beyond the languages reads English, fonts included.
  profile.languageIndex = 5;
  profile.ShowMessage(window, IDS_EXIT);
  EXPECT_EQ(profile.languageFonts[kLanguageEnglish],
            reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  EXPECT_EQ("Exit", WindowText(window));
}

TEST_F(LanguageFontsTest, NullWindowIsLeftAlone) {
  ProductProfile profile;
  profile.CreateLanguageFonts(window);
  profile.ShowText(nullptr, "nothing");
  profile.ShowMessage(nullptr, IDS_INSTALL);
  EXPECT_EQ(windowFont, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
  EXPECT_EQ("label", WindowText(window));
}

TEST_F(LanguageFontsTest, WindowWithoutFontGivesSystemFontCopies) {
  SendMessageA(window, WM_SETFONT, 0, FALSE);
  ProductProfile profile;
  profile.CreateLanguageFonts(window);
  LOGFONTA system = FontRecord(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  LOGFONTA russian = FontRecord(profile.languageFonts[kLanguageRussian]);
  EXPECT_EQ(204, russian.lfCharSet);
  EXPECT_STREQ(system.lfFaceName, russian.lfFaceName);
  EXPECT_EQ(system.lfHeight, russian.lfHeight);
}

TEST_F(LanguageFontsTest, SecondCallReplacesTheFonts) {
  ProductProfile profile;
  profile.CreateLanguageFonts(window);
  const HFONT first = profile.languageFonts[kLanguageRussian];
  profile.CreateLanguageFonts(window);
  EXPECT_NE(nullptr, profile.languageFonts[kLanguageRussian]);
  // The first set was released: its handle no longer names a font.
  LOGFONTA record = {};
  if (first != profile.languageFonts[kLanguageRussian]) {
    EXPECT_EQ(0, GetObjectA(first, sizeof record, &record));
  }
}
