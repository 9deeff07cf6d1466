// RegistryKey: the program's only way to the Windows registry.
// One object holds one open key: the constructor opens (or creates) it, the
// destructor closes it.
//
// Index:
//   RegistryMessageBuffer   the process-wide text every failure is written to
//   RegistryKeyMode         open mode bits: write, create
//   RegistryKey             the wrapper: values, sub-keys, tree copy
//   ClassesRootKey ... DynDataKey   one class per root key
//
// Failure channel: every failure that matters formats its message into
// RegistryMessageBuffer and throws the buffer's address as a char* (catch
// `const char*`, as every thrown text; never free it). Messages longer than
// the buffer are cut to fit.
// QueryValue and DeleteValue report failure by returning false instead; the
// destructor only writes its message and never throws.
//
//   "CreateRegError %s %d" + " Error code=%d (%s)"  constructor, create bit set
//   "OpenRegError %s %d" + " Error code=%d (%s)"    constructor, create bit clear
//   "CloseRegError %s %d"        destructor (buffer only, nothing thrown)
//   "WriteRegError %s %d"        WriteString, WriteDword, WriteBinary
//   "QueryRegError %s %d"        SubKeyCount, ValueCount
//   "EnumRegError %s %d"         EnumSubKey (the end of the list too); DeleteSubKey:
//                                a sub-key name that does not fit after its key's
//                                path (that key's path, 234 = ERROR_MORE_DATA)
//   "DelAllRegError %s"          DeleteSubKey: a key with sub-keys whose path leaves
//                                no room for the backslash (a guard: a path of 260
//                                characters still leaves it)
//   "DeleteKeyRegError %s %d"    DeleteSubKey: a key could not be deleted
//   "DeleteKeyRegError %s %s"    DeleteSubKey: the name (first) is too long for the path
//   "WriteRegError2 %s %s"       CopyFrom: a value (its name first) could not be written
// "%s" is the object's own path and "%d" the Win32 error code, except where
// stated.
#ifndef KESTRIN_REGISTRY_REGISTRYKEY_H
#define KESTRIN_REGISTRY_REGISTRYKEY_H

#include <windows.h>

#include "registry/RegistryMessage.h"

// The size of a key path (and of the buffers that join paths): 260
// characters and the terminator.
const int kRegistryPathSize = 261;

// Open mode: a set of bits. Without the write bit the key is opened for
// reading (KEY_READ), with it for everything (KEY_ALL_ACCESS).
enum RegistryKeyMode : unsigned {
  RegistryRead = 0,         // mode 0: open for reading, must exist
  RegistryWrite = 1,        // mode 1: open for writing, must exist
  RegistryCreate = 2,       // the create bit alone
  RegistryWriteCreate = 3,  // mode 3: open or create for writing
};

inline RegistryKeyMode operator|(RegistryKeyMode a, RegistryKeyMode b) {
  return static_cast<RegistryKeyMode>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

class RegistryKey {
 public:
  // Opens `path` below `parent` (see Open). Throws the char* text on failure.
  RegistryKey(HKEY parent, const char* path, RegistryKeyMode mode);
  // The sub-key `name` of `other`: opened from other's parent with the
  // path other.path + "\" + name (not from other's open handle).
  RegistryKey(const RegistryKey& other, const char* name, RegistryKeyMode mode);
  // Closes the key; a failed close writes "CloseRegError %s %d" into the
  // buffer and throws nothing.
  virtual ~RegistryKey();

  // An object is one open key: it cannot be copied. Assignment copies the
  // key tree instead (below).
  RegistryKey(const RegistryKey&) = delete;

  // --- Attributes ---
  HKEY Handle() const { return handle; }
  HKEY Parent() const { return parent; }
  const char* Path() const { return path; }

  // --- Values --- (an empty name addresses the key's default value)

  // Reads the value into `buffer` (at most `size` bytes); its type and
  // returned size are discarded. False when it is missing or does not fit;
  // nothing is thrown.
  bool QueryValue(const char* name, void* buffer, DWORD size) const;
  // REG_SZ, the text and its terminator. True, or throws "WriteRegError".
  bool WriteString(const char* name, const char* text);
  // REG_DWORD, 4 bytes. True, or throws "WriteRegError".
  bool WriteDword(const char* name, DWORD value);
  // REG_BINARY, `size` bytes. True, or throws "WriteRegError".
  bool WriteBinary(const char* name, const void* data, DWORD size);
  // False when the value could not be deleted (missing, say); nothing is thrown.
  bool DeleteValue(const char* name);

  // --- Sub-keys and counts ---

  // Throw "QueryRegError".
  DWORD SubKeyCount() const;
  DWORD ValueCount() const;
  // The name of sub-key `index` into `buffer` (`size` bytes). Throws
  // "EnumRegError", also past the last index: iterate by SubKeyCount.
  void EnumSubKey(DWORD index, char* buffer, DWORD size) const;
  // Deletes the sub-key `name` with everything below it, deepest keys
  // first. Throws "DeleteKeyRegError" (name too long, or a key that could
  // not be deleted), "DelAllRegError", or the text of a key below that
  // could not be opened, counted or enumerated. The names below are read
  // into one 261-byte path buffer: a key whose joined path would pass 260
  // characters stops the delete with its parent's "EnumRegError ... 234".
  void DeleteSubKey(const char* name);

  // --- Tree copy ---

  // Makes this key's values and its list of sub-keys equal to other's:
  // Prune, then CopyFrom. The prune works on this key's own level (values
  // and sub-keys that other lacks, values whose type differs); below a
  // sub-key that both have, the copy only adds and overwrites. Both read
  // values through 261-byte name and data buffers, so values that do not
  // fit them are neither removed here nor copied from other.
  void Mirror(const RegistryKey& other);
  // Adds other's values and sub-keys here and overwrites differing values
  // (type, size or bytes); removes nothing. Values are enumerated into
  // 261-byte name and data buffers: one that does not fit is skipped. The
  // default value is then written as other's default text (an empty text
  // when other has none).
  void CopyFrom(const RegistryKey& other);
  // Assignment is Mirror; += is CopyFrom.
  RegistryKey& operator=(const RegistryKey& other);
  RegistryKey& operator+=(const RegistryKey& other);

 private:
  // Copies the path, chooses the access, creates (create bit) and then
  // opens the key; on failure formats "CreateRegError" / "OpenRegError"
  // with the Win32 explanation and throws.
  void Open(const char* keyPath, RegistryKeyMode mode);
  // Deletes the key named in `pathBuffer` (below parent) and its tree;
  // each sub-key's name is enumerated into the buffer after the key's path
  // and a backslash, within `capacity` bytes.
  void DeleteTree(char* pathBuffer, int capacity);
  // Deletes values and sub-keys here that other lacks; a value whose type
  // differs from other's goes too. Values here are enumerated into
  // 261-byte name and data buffers, and one that does not fit is skipped
  // (it stays); other's value counts as present even when it is bigger.
  void Prune(const RegistryKey& other);

  HKEY handle;
  HKEY parent;
  char path[kRegistryPathSize];
};

// The root classes: each opens `path` below its root.
class ClassesRootKey : public RegistryKey {
 public:
  ClassesRootKey(const char* path, RegistryKeyMode mode) : RegistryKey(HKEY_CLASSES_ROOT, path, mode) {}
  using RegistryKey::operator=;
};

class CurrentUserKey : public RegistryKey {
 public:
  CurrentUserKey(const char* path, RegistryKeyMode mode) : RegistryKey(HKEY_CURRENT_USER, path, mode) {}
  using RegistryKey::operator=;
};

class LocalMachineKey : public RegistryKey {
 public:
  LocalMachineKey(const char* path, RegistryKeyMode mode) : RegistryKey(HKEY_LOCAL_MACHINE, path, mode) {}
  using RegistryKey::operator=;
};

class UsersKey : public RegistryKey {
 public:
  UsersKey(const char* path, RegistryKeyMode mode) : RegistryKey(HKEY_USERS, path, mode) {}
  using RegistryKey::operator=;
};

class CurrentConfigKey : public RegistryKey {
 public:
  CurrentConfigKey(const char* path, RegistryKeyMode mode) : RegistryKey(HKEY_CURRENT_CONFIG, path, mode) {}
  using RegistryKey::operator=;
};

class PerformanceDataKey : public RegistryKey {
 public:
  PerformanceDataKey(const char* path, RegistryKeyMode mode)
      : RegistryKey(HKEY_PERFORMANCE_DATA, path, mode) {}
  using RegistryKey::operator=;
};

class DynDataKey : public RegistryKey {
 public:
  DynDataKey(const char* path, RegistryKeyMode mode) : RegistryKey(HKEY_DYN_DATA, path, mode) {}
  using RegistryKey::operator=;
};

#endif  // KESTRIN_REGISTRY_REGISTRYKEY_H
