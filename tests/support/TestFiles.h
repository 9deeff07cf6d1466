// Portable file helpers for tests: whole-file reads and writes.
#ifndef KESTRIN_TESTS_SUPPORT_TESTFILES_H
#define KESTRIN_TESTS_SUPPORT_TESTFILES_H

#include <string>

namespace test {

// The file's bytes; an empty text when it cannot be read (check Exists first
// where that matters).
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_TESTFILES_H
