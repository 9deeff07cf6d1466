// Registry helpers for tests: read values as the system stores them, and
// remove whole keys, without going through the code under test.
#ifndef KESTRIN_TESTS_SUPPORT_TESTREGISTRY_H
#define KESTRIN_TESTS_SUPPORT_TESTREGISTRY_H

#include <windows.h>

#include <string>

namespace test {

struct RegistryValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string data;  // the stored bytes, a REG_SZ terminator included
};

bool KeyExists(HKEY root, const std::string& key);
RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name);
// A REG_SZ value's text without its terminator, or "(missing)".
std::string ReadString(HKEY root, const std::string& key, const std::string& name);
bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
void DeleteValue(HKEY root, const std::string& key, const std::string& name);
// Deletes the key with everything below it; a missing key is fine.
void DeleteTree(HKEY root, const std::string& key);

}  // namespace test

#endif
