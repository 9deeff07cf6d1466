#include "tests/support/TestRegistry.h"

namespace test {

void PrintTo(const RegistryValue& value, std::ostream* out) {
  if (!value.exists) {
    *out << "(missing)";
    return;
  }
  *out << "type " << value.type << ", " << value.data.size() << " bytes \"";
  for (unsigned char c : value.data) {
    if (c >= 0x20 && c < 0x7f && c != '\\')
      *out << c;
    else
      *out << "\\x"
           << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
  }
  *out << '"';
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

bool CreateKey(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

RegistryValue ReadValue(HKEY root, const std::string& key, const std::string& name) {
  RegistryValue value;
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return value;
  DWORD size = 0;
  if (RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<char> data(size + 1);
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS) {
      value.exists = true;
      value.data.assign(data.data(), size);
    }
  }
  RegCloseKey(handle);
  return value;
}

std::string ReadString(HKEY root, const std::string& key, const std::string& name) {
  const RegistryValue value = ReadValue(root, key, name);
  if (!value.exists)
    return "(missing)";
  std::string text = value.data;
  if (!text.empty() && text.back() == '\0')
    text.pop_back();
  return text;
}

bool WriteValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                const std::string& data) {
  HKEY handle;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const bool ok = RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  RegCloseKey(handle);
  return ok;
}

bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
  return WriteValue(root, key, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void DeleteValue(HKEY root, const std::string& key, const std::string& name) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS) {
    RegDeleteValueA(handle, name.c_str());
    RegCloseKey(handle);
  }
}

void DeleteTree(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
    return;
  // Always the first sub-key: each one is gone when the next is asked for.
  for (;;) {
    char child[1024];
    DWORD size = sizeof child;
    if (RegEnumKeyExA(handle, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    DeleteTree(handle, child);
    if (KeyExists(handle, child))
      break;  // cannot be deleted: do not loop for ever
  }
  RegCloseKey(handle);
  RegDeleteKeyA(root, key.c_str());
}

std::vector<std::pair<std::string, RegistryValue>> Values(HKEY root, const std::string& key) {
  std::vector<std::pair<std::string, RegistryValue>> values;
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return values;
  for (DWORD i = 0;; ++i) {
    char name[1024];
    DWORD nameSize = sizeof name;
    if (RegEnumValueA(handle, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    values.emplace_back(name, RegistryValue());
  }
  RegCloseKey(handle);
  for (auto& entry : values)
    entry.second = ReadValue(root, key, entry.first);
  return values;
}

std::vector<std::string> SubKeys(HKEY root, const std::string& key) {
  std::vector<std::string> names;
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return names;
  for (DWORD i = 0;; ++i) {
    char name[1024];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(handle, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.push_back(name);
  }
  RegCloseKey(handle);
  return names;
}

ScratchKey::ScratchKey(HKEY root) : root(root) {
  static unsigned serial = 0;
  path =
      std::string(kParent) + "\\k" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
  DeleteTree(root, path);
  created = CreateKey(root, path);
}

ScratchKey::~ScratchKey() {
  DeleteTree(root, path);
  RegDeleteKeyA(root, kParent);  // fails while another test's key is in it
}

}  // namespace test
