// The setup program's command-line switches.
#include "app/CommandLine.h"

#include <cstddef>
#include <cstring>

#include "app/LanguageNames.h"
#include "app/SetupAction.h"
#include "tools/AsciiCase.h"

namespace {

// True when the `length` bytes at `text` spell `word` ignoring ASCII case.
bool SpellsIgnoringCase(const char* text, std::size_t length, const char* word) {
  return std::strlen(word) == length && EqualIgnoringAsciiCase(text, word, length);
}

}  // namespace

int32_t LanguageFromCommandLine(const char* commandLine, int32_t current) {
  if (commandLine == nullptr)
    return current;
  int32_t language = current;
  if (std::strstr(commandLine, kRussianSwitch) != nullptr)
    language = kLanguageRussian;
  if (std::strstr(commandLine, kEnglishSwitch) != nullptr)
    language = kLanguageEnglish;
  return language;
}

int32_t ActionFromCommandLine(const char* commandLine) {
  if (commandLine == nullptr)
    return ActionExit;
  const char* start = std::strchr(commandLine, '/');
  if (start == nullptr)
    return ActionExit;
  const char* blank = std::strchr(start, ' ');
  const std::size_t length = blank != nullptr ? static_cast<std::size_t>(blank - start) : std::strlen(start);
  if (SpellsIgnoringCase(start, length, kInstallSwitch))
    return ActionInstall;
  if (SpellsIgnoringCase(start, length, kUninstallSwitch))
    return ActionUninstall;
  return ActionExit;
}
