// Letter case of ASCII alone, A-Z and a-z, whatever the locale: every other
// byte, the Cyrillic letters of Windows-1251 among them, stays as it is.
// Header only, so that uninst.exe, which links none of our libraries, uses it
// too.
#ifndef KESTRIN_TOOLS_ASCIICASE_H
#define KESTRIN_TOOLS_ASCIICASE_H

#include <cstddef>

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the `length` bytes at `a` and at `b` are equal ignoring ASCII case.
inline bool EqualIgnoringAsciiCase(const char* a, const char* b, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i]))
      return false;
  }
  return true;
}

#endif  // KESTRIN_TOOLS_ASCIICASE_H
