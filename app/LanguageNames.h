// LanguageNames: the user-interface languages, their index values and the
// names under which the chosen one is saved in the registry.
#ifndef KESTRIN_APP_LANGUAGENAMES_H
#define KESTRIN_APP_LANGUAGENAMES_H

#include <cstddef>
#include <cstdint>

// Values of ProductProfile::languageIndex; also the catalogue's segment numbers.
const int32_t kLanguageEnglish = 0;
const int32_t kLanguageRussian = 1;
const int32_t kLanguageCount = 2;

// Indexed by language: the values of the per-user registry value "Language".
extern const char* const LanguageNames[kLanguageCount];

// The language whose name equals the saved text, ignoring ASCII letter case;
// English when none does. Only the first `size` bytes of `saved` are read: a
// text with no terminator among them matches no name.
int32_t LanguageFromSavedName(const char* saved, size_t size);

#endif  // KESTRIN_APP_LANGUAGENAMES_H
