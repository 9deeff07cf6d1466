#include "driver/StaticDriverRegistrar.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "driver/DriverFileName.h"
#include "driver/SystemIniFilter.h"
#include "registry/RegistryKey.h"
#include "tools/Win32/File/PathHelpers.h"

const char kStaticDriverListKey[] = "System\\CurrentControlSet\\Services\\VxD";
const char kStaticDriverPathValue[] = "StaticVxD";
const char kStaticDriverStartValue[] = "Start";

namespace {

// Path buffers (the short path, the Windows folder).
const DWORD kPathBufferSize = 1024;

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
  std::snprintf(keyPath, sizeof keyPath, "%s\\%s", kStaticDriverListKey, names.keyName);
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
  std::string ini;     // system.ini: the file being edited
  std::string next;    // system.$$$: the new copy being written
  std::string backup;  // system.bak: the previous copy kept
};

IniFileNames WindowsIniFileNames() {
  char folder[kPathBufferSize];
  // A failing call leaves the folder empty, which becomes "\": the root of
  // the current drive.
  folder[0] = '\0';
  const DWORD length = GetWindowsDirectoryA(folder, kPathBufferSize);
  if (length >= kPathBufferSize)
    folder[0] = '\0';
  std::string base = folder;
  if (base.empty() || base.back() != '\\')
    base += '\\';
  return IniFileNames{base + "system.ini", base + "system.$$$", base + "system.bak"};
}

void RemoveDriverLines(const DriverNames& names) {
  const IniFileNames files = WindowsIniFileNames();
  XTOOFile holder(false);

  std::FILE* in = std::fopen(files.ini.c_str(), "rb");
  std::FILE* out = std::fopen(files.next.c_str(), "wb");
  if (in == nullptr || out == nullptr) {
    if (in != nullptr)
      std::fclose(in);
    if (out != nullptr) {
      std::fclose(out);
      RemoveFile(files.next.c_str(), holder);
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
    RemoveFile(files.next.c_str(), holder);
    return;
  }
  // Each step goes on whatever the one before did.
  RemoveFile(files.backup.c_str(), holder);
  const bool iniMoved = FileMove(files.ini.c_str(), files.backup.c_str(), holder);
  const bool nextMoved = FileMove(files.next.c_str(), files.ini.c_str(), holder);
  if (iniMoved && !nextMoved) {
    // Never leave the machine without "system.ini".
    FileMove(files.backup.c_str(), files.ini.c_str(), holder);
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
  // Nothing leaves the un-registration road, not even running out of
  // memory for the file names.
  try {
    RemoveDriverLines(names);
  } catch (...) {
  }
  return 1;
}
