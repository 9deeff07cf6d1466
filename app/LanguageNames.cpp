// LanguageNames and the matching of a saved language name.
#include "app/LanguageNames.h"

#include <cstring>

#include "tools/AsciiCase.h"

const char* const LanguageNames[kLanguageCount] = {"English", "Russian"};

namespace {

// Equal ignoring ASCII case; `name` is terminated, `saved` has `size` bytes.
bool SameNameIgnoringCase(const char* saved, size_t size, const char* name) {
  const size_t nameLength = std::strlen(name);
  // The saved text must hold the name and its terminator within its bytes.
  return size > nameLength && saved[nameLength] == '\0' && EqualIgnoringAsciiCase(saved, name, nameLength);
}

}  // namespace

int32_t LanguageFromSavedName(const char* saved, size_t size) {
  if (saved == nullptr)
    return kLanguageEnglish;
  for (int32_t language = 0; language < kLanguageCount; ++language) {
    if (SameNameIgnoringCase(saved, size, LanguageNames[language]))
      return language;
  }
  return kLanguageEnglish;
}
