// The setup program's command-line switches: the language ("/lang=ru",
// "/lang=eng") and the action ("/install", "/uninstall").
#ifndef KESTRIN_APP_COMMANDLINE_H
#define KESTRIN_APP_COMMANDLINE_H

#include <cstdint>

constexpr char kInstallSwitch[] = "/install";
// Also the end of the command the install registers in the removable-programs
// list.
constexpr char kUninstallSwitch[] = "/uninstall";
constexpr char kRussianSwitch[] = "/lang=ru";
constexpr char kEnglishSwitch[] = "/lang=eng";

// The language the command line asks for, else `current`. Both switches are
// found anywhere in the text, letter case counting, so "/lang=russian"
// chooses Russian too; when both stand, English wins. A null text changes
// nothing.
int32_t LanguageFromCommandLine(const char* commandLine, int32_t current);

// The action the command line asks for: only the text from its first "/" up
// to the next blank (byte 0x20) is looked at, and it must be "/install" or
// "/uninstall" ignoring ASCII letter case. Anything else, a null text
// included, is ActionExit. The text is read in place: nothing is copied, so
// nothing can fail.
int32_t ActionFromCommandLine(const char* commandLine);

#endif  // KESTRIN_APP_COMMANDLINE_H
