#include "tests/support/TestRegistry.h"

#include <vector>

namespace test {

bool KeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
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

bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
  HKEY handle;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const bool ok = RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(handle);
  return ok;
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
  char name[256];
  // Always the first sub-key: each one is gone when the next is asked for.
  while (RegEnumKeyA(handle, 0, name, sizeof name) == ERROR_SUCCESS) {
    const std::string child = key + "\\" + name;
    DeleteTree(root, child);
    if (KeyExists(root, child))
      break;  // cannot be deleted: do not loop for ever
  }
  RegCloseKey(handle);
  RegDeleteKeyA(root, key.c_str());
}

}  // namespace test
