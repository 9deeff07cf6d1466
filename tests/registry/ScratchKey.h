// Test helpers for the real registry of the Wine prefix: a unique scratch
// key that is removed with its whole tree at the end, and raw reads and
// writes that do not go through RegistryKey. Header only; used by the
// registry and driver tests.
#ifndef KESTRIN_TESTS_REGISTRY_SCRATCHKEY_H
#define KESTRIN_TESTS_REGISTRY_SCRATCHKEY_H

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace scratch {

// Deletes `name` below `parent` and everything below it, by handle (so that
// paths longer than 260 characters are no obstacle). A missing key is fine.
inline void DeleteTree(HKEY parent, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  for (;;) {
    char child[1024];
    DWORD size = sizeof child;
    if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    DeleteTree(key, child);
  }
  RegCloseKey(key);
  RegDeleteKeyA(parent, name.c_str());
}

inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

inline bool CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

struct Value {
  bool exists = false;
  DWORD type = REG_NONE;
  std::string data;  // the stored bytes (a REG_SZ terminator included)
  bool operator==(const Value& o) const { return exists == o.exists && type == o.type && data == o.data; }
};

// How GoogleTest shows a value: its type and its bytes.
inline void PrintTo(const Value& value, std::ostream* out) {
  if (!value.exists) {
    *out << "(missing)";
    return;
  }
  *out << "type " << value.type << ", " << value.data.size() << " bytes \"";
  for (unsigned char c : value.data) {
    if (c >= 0x20 && c < 0x7f && c != '\\')
      *out << c;
    else
      *out << "\\x" << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
  }
  *out << '"';
}

inline Value ReadValue(HKEY root, const std::string& path, const std::string& name) {
  Value value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<char> bytes(size + 1);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(bytes.data()), &size) ==
        ERROR_SUCCESS) {
      value.exists = true;
      value.data.assign(bytes.data(), size);
    }
  }
  RegCloseKey(key);
  return value;
}

inline bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const std::string& data) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

inline bool WriteText(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  return WriteValue(root, path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

// Every value of a key: name -> (type, bytes).
inline std::vector<std::pair<std::string, Value>> Values(HKEY root, const std::string& path) {
  std::vector<std::pair<std::string, Value>> values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return values;
  for (DWORD i = 0;; ++i) {
    char name[1024];
    DWORD nameSize = sizeof name;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    values.emplace_back(name, Value());
  }
  RegCloseKey(key);
  for (auto& entry : values)
    entry.second = ReadValue(root, path, entry.first);
  return values;
}

// The names of a key's sub-keys.
inline std::vector<std::string> SubKeys(HKEY root, const std::string& path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return names;
  for (DWORD i = 0;; ++i) {
    char name[1024];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.push_back(name);
  }
  RegCloseKey(key);
  return names;
}

// A key of its own for one test: "Software\KestrinTest\<process>_<serial>"
// below `root`, made empty at construction and removed with its tree (and
// the shared parent when that is left empty) at the end.
class ScratchKey {
 public:
  explicit ScratchKey(HKEY root) : root(root) {
    static unsigned serial = 0;
    path = std::string(kParent) + "\\k" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
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
