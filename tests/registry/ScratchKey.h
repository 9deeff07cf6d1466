// A unique scratch key in the real registry of the Wine prefix, removed with
// its whole tree at the end; and the raw registry helpers of
// tests/support/TestRegistry.h under the names the registry and driver
// tests use.
#ifndef KESTRIN_TESTS_REGISTRY_SCRATCHKEY_H
#define KESTRIN_TESTS_REGISTRY_SCRATCHKEY_H

#include <windows.h>

#include <string>

#include "tests/support/TestRegistry.h"

namespace scratch {

// The registry helpers the registry and driver tests use, under the names
// they know them by.
using Value = test::RegistryValue;
using test::CreateKey;
using test::DeleteTree;
using test::KeyExists;
using test::ReadValue;
using test::SubKeys;
using test::Values;
using test::WriteValue;
inline bool WriteText(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  return test::WriteString(root, path, name, text);
}

// A key of its own for one test: "Software\KestrinTest\<process>_<serial>"
// below `root`, made empty at construction and removed with its tree (and
// the shared parent when that is left empty) at the end.
class ScratchKey {
 public:
  explicit ScratchKey(HKEY root) : root(root) {
    static unsigned serial = 0;
    path =
        std::string(kParent) + "\\k" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    DeleteTree(root, path);
    created = CreateKey(root, path);
  }
  ~ScratchKey() {
    DeleteTree(root, path);
    RegDeleteKeyA(root, kParent);  // fails while another test's key is in it
  }
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

}  // namespace scratch

#endif  // KESTRIN_TESTS_REGISTRY_SCRATCHKEY_H
