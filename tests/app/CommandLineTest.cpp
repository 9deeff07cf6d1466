// The setup program's switches, read from whole command lines as the system
// hands them over (program path first). Portable: runs natively and on Wine.
#include <gtest/gtest.h>

#include <cstdint>

#include "app/CommandLine.h"
#include "app/LanguageNames.h"
#include "app/SetupAction.h"

namespace {

const int32_t kEnglish = kLanguageEnglish;
const int32_t kRussian = kLanguageRussian;

struct Case {
  const char* commandLine;
  int32_t language;             // from a start in English
  int32_t languageFromRussian;  // from a start in Russian (a saved choice)
  int32_t action;
};

const Case kCases[] = {
    {"Installer.exe", kEnglish, kRussian, ActionExit},
    {"Installer.exe /install /lang=ru", kRussian, kRussian, ActionInstall},
    // Only the first switch can be the action.
    {"Installer.exe /lang=ru /install", kRussian, kRussian, ActionExit},
    {"Installer.exe /INSTALL", kEnglish, kRussian, ActionInstall},
    {"Installer.exe /UnInstall", kEnglish, kRussian, ActionUninstall},
    {"Installer.exe /install,", kEnglish, kRussian, ActionExit},
    {"Installer.exe /install\t/lang=ru", kRussian, kRussian, ActionExit},
    {"Installer.exe /install", kEnglish, kRussian, ActionInstall},
    {"Installer.exe  /uninstall  /lang=eng", kEnglish, kEnglish, ActionUninstall},
    {"Installer.exe /installer", kEnglish, kRussian, ActionExit},
    {"Installer.exe /instal", kEnglish, kRussian, ActionExit},
    {"Installer.exe /", kEnglish, kRussian, ActionExit},
    // The language switches are plain substrings, letter case counting.
    {"Installer.exe /lang=english", kEnglish, kEnglish, ActionExit},
    {"Installer.exe /lang=russian", kRussian, kRussian, ActionExit},
    {"Installer.exe /LANG=RU", kEnglish, kRussian, ActionExit},
    {"Installer.exe /lang=r", kEnglish, kRussian, ActionExit},
    {"Installer.exe -lang=ru", kEnglish, kRussian, ActionExit},
    {"Installer.exe x/lang=rux", kRussian, kRussian, ActionExit},
    // English wins whichever stands first.
    {"Installer.exe /lang=ru /lang=eng", kEnglish, kEnglish, ActionExit},
    {"Installer.exe /lang=eng /lang=ru", kEnglish, kEnglish, ActionExit},
    // The removable-programs list's command: the quoted path, then the switch.
    {"\"C:\\Program Files\\Kestrin\\Installer.exe\" /uninstall", kEnglish, kRussian, ActionUninstall},
    {"\"C:\\Program Files\\Kestrin\\Installer.exe\" /uninstall /lang=ru", kRussian, kRussian,
     ActionUninstall},
    // A "/" in the program's path is the first "/": no action.
    {"\"C:\\Kestrin/1.01\\Installer.exe\" /install", kEnglish, kRussian, ActionExit},
    {"C:/Kestrin/Installer.exe /install", kEnglish, kRussian, ActionExit},
    {"", kEnglish, kRussian, ActionExit},
};

TEST(CommandLineTest, LanguageAndActionOfEachCommandLine) {
  for (const Case& c : kCases) {
    EXPECT_EQ(c.language, LanguageFromCommandLine(c.commandLine, kEnglish)) << "[" << c.commandLine << "]";
    EXPECT_EQ(c.languageFromRussian, LanguageFromCommandLine(c.commandLine, kRussian))
        << "[" << c.commandLine << "] from Russian";
    EXPECT_EQ(c.action, ActionFromCommandLine(c.commandLine)) << "[" << c.commandLine << "]";
  }
}

TEST(CommandLineTest, NoCommandLineChangesNothing) {
  EXPECT_EQ(kRussian, LanguageFromCommandLine(nullptr, kRussian));
  EXPECT_EQ(ActionExit, ActionFromCommandLine(nullptr));
}

}  // namespace
