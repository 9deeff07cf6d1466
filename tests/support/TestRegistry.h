// Registry helpers for tests: read and write values as the system stores
// them, list keys, and remove whole trees, without going through the code
// under test.
#ifndef KESTRIN_TESTS_SUPPORT_TESTREGISTRY_H
#define KESTRIN_TESTS_SUPPORT_TESTREGISTRY_H

#include <windows.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace test {

struct RegistryValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string data;  // the stored bytes, a REG_SZ terminator included
  bool operator==(const RegistryValue& o) const {
    return exists == o.exists && type == o.type && data == o.data;
  }
};

// How GoogleTest shows a value: its type and its bytes.
void PrintTo(const RegistryValue& value, std::ostream* out);

bool KeyExists(HKEY root, const std::string& key);
bool CreateKey(HKEY root, const std::string& key);
RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name);
// A REG_SZ value's text without its terminator, or "(missing)".
std::string ReadString(HKEY root, const std::string& key, const std::string& name);
// Creates the key when missing.
bool WriteValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                const std::string& data);
bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
void DeleteValue(HKEY root, const std::string& key, const std::string& name);
// Deletes the key with everything below it, by handle (so that paths longer
// than 260 characters are no obstacle). A missing key is fine.
void DeleteTree(HKEY root, const std::string& key);
// Every value of a key: name -> value.
std::vector<std::pair<std::string, RegistryValue>> Values(HKEY root, const std::string& key);
// The names of a key's sub-keys.
std::vector<std::string> SubKeys(HKEY root, const std::string& key);

// A key of its own for one test: "Software\KestrinTest\<process>_<serial>"
// below `root`, made empty at construction and removed with its tree (and
// the shared parent when that is left empty) at the end.
class ScratchKey {
 public:
  explicit ScratchKey(HKEY root);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  HKEY Root() const { return root; }
  const std::string& Path() const { return path; }
  bool Created() const { return created; }
  std::string operator/(const std::string& name) const { return path + "\\" + name; }

  static constexpr const char* kParent = "Software\\KestrinTest";

 private:
  HKEY root;
  std::string path;
  bool created = false;
};

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_TESTREGISTRY_H
