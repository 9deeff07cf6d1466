#include "registry/RegistryKey.h"

#include <cstdarg>
#include <cstring>

#include "registry/RegistryMessage.h"
#include "tools/FormatIntoBuffer.h"

namespace {

// The longest path a key holds (its field has room for the terminator too).
const size_t kPathMax = kRegistryPathSize - 1;

[[noreturn]] void ThrowRegistryMessage() { throw static_cast<char*>(RegistryMessageBuffer); }

// Formats into RegistryMessageBuffer, then throws its address.
[[noreturn]] void ThrowFormatted(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatRegistryMessageV(format, args);
  va_end(args);
  ThrowRegistryMessage();
}

}  // namespace

// --- Construction -----------------------------------------------------------

RegistryKey::RegistryKey(HKEY parent, const char* keyPath, RegistryKeyMode mode)
    : handle(nullptr), parent(parent) {
  path[0] = '\0';
  Open(keyPath, mode);
}

RegistryKey::RegistryKey(const RegistryKey& other, const char* name, RegistryKeyMode mode)
    : handle(nullptr), parent(other.parent) {
  path[0] = '\0';
  // One character more than a key path: a joined path too long must still
  // reach Open as one.
  char joined[kRegistryPathSize + 1];
  FormatIntoBuffer(joined, sizeof joined, "%s\\%s", other.path, name != nullptr ? name : "");
  Open(joined, mode);
}

RegistryKey::~RegistryKey() {
  const LONG code = RegCloseKey(handle);
  if (code != ERROR_SUCCESS)
    FormatRegistryMessage("CloseRegError %s %d", path, static_cast<int>(code));
}

void RegistryKey::Open(const char* keyPath, RegistryKeyMode mode) {
  if (keyPath == nullptr)
    keyPath = "";
  // The field holds 260 characters; a longer path fails like a call the
  // system refused, with the path cut to the field in the message.
  const bool tooLong = std::strlen(keyPath) > kPathMax;
  std::strncpy(path, keyPath, kPathMax);
  path[kPathMax] = '\0';

  const REGSAM access = (mode & RegistryWrite) ? KEY_ALL_ACCESS : KEY_READ;
  const bool create = (mode & RegistryCreate) != 0;
  LONG code = ERROR_FILENAME_EXCED_RANGE;
  if (!tooLong) {
    HKEY opened = nullptr;
    if (create) {
      DWORD disposition = 0;
      code = RegCreateKeyExA(parent, path, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, access, nullptr,
                             &opened, &disposition);
      if (code == ERROR_SUCCESS) {
        handle = opened;
        return;
      }
    }
    // Also after a failed create: the key may exist and open.
    const LONG openCode = RegOpenKeyExA(parent, path, 0, access, &opened);
    if (openCode == ERROR_SUCCESS) {
      handle = opened;
      return;
    }
    if (!create)
      code = openCode;
  }
  FormatRegistryMessage(create ? "CreateRegError %s %d" : "OpenRegError %s %d", path, static_cast<int>(code));
  AppendWin32Explanation(static_cast<DWORD>(code));
  ThrowRegistryMessage();
}

// --- Values ---------------------------------------------------------------------

bool RegistryKey::QueryValue(const char* name, void* buffer, DWORD size) const {
  DWORD type = 0;
  DWORD returned = size;
  return RegQueryValueExA(handle, name, nullptr, &type, static_cast<BYTE*>(buffer), &returned) ==
         ERROR_SUCCESS;
}

bool RegistryKey::WriteString(const char* name, const char* text) {
  if (text == nullptr)
    text = "";
  const LONG code = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                   static_cast<DWORD>(std::strlen(text) + 1));
  if (code != ERROR_SUCCESS)
    ThrowFormatted("WriteRegError %s %d", path, static_cast<int>(code));
  return true;
}

bool RegistryKey::WriteDword(const char* name, DWORD value) {
  const LONG code =
      RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  if (code != ERROR_SUCCESS)
    ThrowFormatted("WriteRegError %s %d", path, static_cast<int>(code));
  return true;
}

bool RegistryKey::WriteBinary(const char* name, const void* data, DWORD size) {
  const LONG code = RegSetValueExA(handle, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
  if (code != ERROR_SUCCESS)
    ThrowFormatted("WriteRegError %s %d", path, static_cast<int>(code));
  return true;
}

bool RegistryKey::DeleteValue(const char* name) { return RegDeleteValueA(handle, name) == ERROR_SUCCESS; }

// --- Sub-keys and counts -----------------------------------------------------------

DWORD RegistryKey::SubKeyCount() const {
  DWORD subKeys = 0;
  const LONG code = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
  if (code != ERROR_SUCCESS)
    ThrowFormatted("QueryRegError %s %d", path, static_cast<int>(code));
  return subKeys;
}

DWORD RegistryKey::ValueCount() const {
  DWORD values = 0;
  const LONG code = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                     nullptr, nullptr, nullptr, nullptr);
  if (code != ERROR_SUCCESS)
    ThrowFormatted("QueryRegError %s %d", path, static_cast<int>(code));
  return values;
}

void RegistryKey::EnumSubKey(DWORD index, char* buffer, DWORD size) const {
  const LONG code = RegEnumKeyA(handle, index, buffer, size);
  if (code != ERROR_SUCCESS)
    ThrowFormatted("EnumRegError %s %d", path, static_cast<int>(code));
}

void RegistryKey::DeleteSubKey(const char* name) {
  if (name == nullptr)
    name = "";
  if (std::strlen(path) + std::strlen(name) + 1 > kPathMax)
    ThrowFormatted("DeleteKeyRegError %s %s", name, path);
  char pathBuffer[kRegistryPathSize];
  FormatIntoBuffer(pathBuffer, sizeof pathBuffer, "%s\\%s", path, name);
  DeleteTree(pathBuffer, kRegistryPathSize);
}

void RegistryKey::DeleteTree(char* pathBuffer, int capacity) {
  RegistryKey key(parent, pathBuffer, RegistryRead);
  const DWORD count = key.SubKeyCount();
  const size_t length = std::strlen(pathBuffer);
  const size_t room = static_cast<size_t>(capacity);

  if (count != 0) {
    // No room even for the backslash.
    if (length + 1 > room)
      ThrowFormatted("DelAllRegError %s", path);
    // Each name is read straight into the buffer after the backslash; one
    // that does not fit what is left fails its enumeration (the system
    // writes nothing then), with this key's path in the message.
    pathBuffer[length] = '\\';
    const DWORD nameRoom = static_cast<DWORD>(room - length - 1);
    // A full buffer leaves a size of 0; the pointer handed with it still
    // points at storage of ours, not past the buffer.
    char none = '\0';
    char* const name = nameRoom != 0 ? pathBuffer + length + 1 : &none;
    // Deepest keys first; from the last index down, so that the indices
    // still to come stay valid while sub-keys disappear.
    for (DWORD i = count; i-- > 0;) {
      key.EnumSubKey(i, name, nameRoom);
      DeleteTree(pathBuffer, capacity);
    }
    pathBuffer[length] = '\0';
  }

  const LONG code = RegDeleteKeyA(parent, pathBuffer);
  if (code != ERROR_SUCCESS)
    ThrowFormatted("DeleteKeyRegError %s %d", path, static_cast<int>(code));
}

// --- Tree copy ---------------------------------------------------------------------

void RegistryKey::Prune(const RegistryKey& other) {
  for (DWORD i = ValueCount(); i-- > 0;) {
    // The same buffers as the copy uses: a value here whose name or data
    // does not fit them is skipped, like any failed enumeration, and so
    // stays.
    char name[kRegistryPathSize];
    BYTE data[kRegistryPathSize];
    DWORD nameSize = sizeof name;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(handle, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      continue;
    // Only whether other has the name, and its type, matter here. A value
    // too big for the buffer is still there (ERROR_MORE_DATA reports its
    // type too).
    BYTE otherData[kRegistryPathSize];
    DWORD otherSize = sizeof otherData;
    DWORD otherType = 0;
    const LONG found = RegQueryValueExA(other.handle, name, nullptr, &otherType, otherData, &otherSize);
    if ((found != ERROR_SUCCESS && found != ERROR_MORE_DATA) || otherType != type)
      DeleteValue(name);
  }

  for (DWORD i = SubKeyCount(); i-- > 0;) {
    char name[kRegistryPathSize];
    EnumSubKey(i, name, sizeof name);
    try {
      RegistryKey counterpart(other, name, RegistryRead);
    } catch (const char*) {
      DeleteSubKey(name);
    }
  }
}

void RegistryKey::CopyFrom(const RegistryKey& other) {
  for (DWORD i = other.ValueCount(); i-- > 0;) {
    char name[kRegistryPathSize];
    BYTE data[kRegistryPathSize];
    DWORD nameSize = sizeof name;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(other.handle, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      continue;

    BYTE mine[kRegistryPathSize];
    DWORD mineSize = sizeof mine;
    DWORD mineType = 0;
    const LONG found = RegQueryValueExA(handle, name, nullptr, &mineType, mine, &mineSize);
    if (found == ERROR_SUCCESS && mineType == type && mineSize == dataSize &&
        std::memcmp(mine, data, dataSize) == 0)
      continue;
    if (found == ERROR_SUCCESS || found == ERROR_MORE_DATA)
      DeleteValue(name);
    if (RegSetValueExA(handle, name, 0, type, data, dataSize) != ERROR_SUCCESS)
      ThrowFormatted("WriteRegError2 %s %s", name, path);
  }

  char defaultText[kRegistryPathSize];
  std::memset(defaultText, 0, sizeof defaultText);
  other.QueryValue("", defaultText, sizeof defaultText);
  defaultText[kPathMax] = '\0';  // a binary or over-long default stays a text
  WriteString("", defaultText);

  for (DWORD i = other.SubKeyCount(); i-- > 0;) {
    char name[kRegistryPathSize];
    other.EnumSubKey(i, name, sizeof name);
    RegistryKey destination(*this, name, RegistryWriteCreate);
    RegistryKey source(other, name, RegistryRead);
    destination.CopyFrom(source);
  }
}

void RegistryKey::Mirror(const RegistryKey& other) {
  if (&other == this)
    return;
  Prune(other);
  CopyFrom(other);
}

RegistryKey& RegistryKey::operator=(const RegistryKey& other) {
  Mirror(other);
  return *this;
}

RegistryKey& RegistryKey::operator+=(const RegistryKey& other) {
  if (&other != this)
    CopyFrom(other);
  return *this;
}
