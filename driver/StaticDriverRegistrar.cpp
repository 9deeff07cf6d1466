#include "driver/StaticDriverRegistrar.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "driver/DriverFileName.h"
#include "driver/SystemIniFilter.h"
#include "registry/RegistryKey.h"
#include "tools/FormatIntoBuffer.h"
#include "tools/TextOps.h"
#include "tools/Win32/File/PathHelpers.h"

const char kStaticDriverListKey[] = "System\\CurrentControlSet\\Services\\VxD";
const char kStaticDriverPathValue[] = "StaticVxD";
const char kStaticDriverStartValue[] = "Start";

namespace {

// Path buffers (the short path, the Windows folder).
const DWORD kPathBufferSize = 1024;
// The Windows folder, a backslash and "system.ini" (or a companion of the
// same length): never cut.
const size_t kIniPathSize = kPathBufferSize + sizeof "\\system.ini";

// The short (8.3) form of `path` into `shortPath`; false when the system
// cannot give it or it does not fit.
bool ToShortPath(const char* path, char (&shortPath)[kPathBufferSize]) {
  const DWORD length = GetShortPathNameA(path, shortPath, kPathBufferSize);
  return length != 0 && length < kPathBufferSize;
}

void Register(const char* shortPath, const DriverNames& names) {
  // A fixed buffer: the only failures to leave this road are the
  // registry wrapper's texts, never an allocation of our own.
  char keyPath[kPathBufferSize];
  FormatIntoBuffer(keyPath, sizeof keyPath, "%s\\%s", kStaticDriverListKey, names.keyName);
  LocalMachineKey key(keyPath, RegistryWriteCreate);
  key.WriteString(kStaticDriverPathValue, shortPath);
  const unsigned char start = 0;
  key.WriteBinary(kStaticDriverStartValue, &start, 1);
}

void DeleteDriverKey(const DriverNames& names) {
  try {
    LocalMachineKey list(kStaticDriverListKey, RegistryWrite);
    list.DeleteSubKey(names.keyName);
  } catch (const char*) {
    // A missing key (or sub-key), or refused access: nothing to undo.
  }
}

struct IniFileNames {
  char ini[kIniPathSize];     // system.ini: the file being edited
  char next[kIniPathSize];    // system.$$$: the new copy being written
  char backup[kIniPathSize];  // system.bak: the previous copy kept
};

void WindowsIniFileNames(IniFileNames& files) {
  // Room for the backslash behind the folder.
  char folder[kPathBufferSize + 1];
  // A failing call leaves the folder empty, which becomes "\": the root of
  // the current drive.
  folder[0] = '\0';
  const DWORD length = GetWindowsDirectoryA(folder, kPathBufferSize);
  if (length >= kPathBufferSize)
    folder[0] = '\0';
  AppendBackslash(folder);
  FormatIntoBuffer(files.ini, sizeof files.ini, "%s%s", folder, "system.ini");
  FormatIntoBuffer(files.next, sizeof files.next, "%s%s", folder, "system.$$$");
  FormatIntoBuffer(files.backup, sizeof files.backup, "%s%s", folder, "system.bak");
}

void RemoveDriverLines(const DriverNames& names) {
  IniFileNames files;
  WindowsIniFileNames(files);
  XTOOFile holder(false);

  std::FILE* in = std::fopen(files.ini, "rb");
  std::FILE* out = std::fopen(files.next, "wb");
  if (in == nullptr || out == nullptr) {
    if (in != nullptr)
      std::fclose(in);
    if (out != nullptr) {
      std::fclose(out);
      RemoveFile(files.next, holder);
    }
    return;
  }

  SystemIniPassResult pass;
  try {
    pass = RewriteSystemIni(in, out, names.fileName);
  } catch (...) {
    // Out of memory on a huge line: the old file stays as it was.
    pass.writeFailed = true;
  }
  if (std::fclose(out) != 0)
    pass.writeFailed = true;
  std::fclose(in);

  if (!pass.ShouldReplace()) {
    RemoveFile(files.next, holder);
    return;
  }
  // Each step goes on whatever the one before did.
  RemoveFile(files.backup, holder);
  const bool iniMoved = FileMove(files.ini, files.backup, holder);
  const bool nextMoved = FileMove(files.next, files.ini, holder);
  if (iniMoved && !nextMoved) {
    // Never leave the machine without "system.ini".
    FileMove(files.backup, files.ini, holder);
  }
}

}  // namespace

int RegisterStaticDriver(const char* path, int install) {
  if (path == nullptr)
    return 0;
  char shortPath[kPathBufferSize];
  if (!ToShortPath(path, shortPath)) {
    if (install)
      return 0;
    if (std::strlen(path) >= kPathBufferSize)
      return 0;
    std::strcpy(shortPath, path);
  }

  DriverNames names;
  if (!DeriveDriverNames(shortPath, names))
    return 0;

  if (install) {
    Register(shortPath, names);
    return 1;
  }
  DeleteDriverKey(names);
  // Nothing leaves the un-registration road (see the header), whatever
  // the file steps meet.
  try {
    RemoveDriverLines(names);
  } catch (...) {
  }
  return 1;
}
