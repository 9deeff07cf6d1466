#include "uninst/RestartRemoval.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "uninst/WininitText.h"

namespace {

// Reads a whole file into a malloc'ed, zero-terminated text; an empty text
// when the file is missing. Null when it exists but cannot be read whole:
// writing the file back then would lose the entries already in it.
char* ReadText(const char* path) {
  std::size_t size = 0, capacity = 4096;
  char* text = static_cast<char*>(std::malloc(capacity + 1));
  if (text == nullptr)
    return nullptr;
  FILE* in = std::fopen(path, "rb");
  if (in == nullptr) {
    if (errno == ENOENT) {
      text[0] = '\0';
      return text;
    }
    std::free(text);
    return nullptr;
  }
  bool whole = true;
  std::size_t n;
  while ((n = std::fread(text + size, 1, capacity - size, in)) > 0) {
    size += n;
    if (size == capacity) {
      char* larger = static_cast<char*>(std::realloc(text, capacity * 2 + 1));
      if (larger == nullptr) {
        whole = false;
        break;
      }
      text = larger;
      capacity *= 2;
    }
  }
  whole = whole && !std::ferror(in);
  std::fclose(in);
  if (!whole) {
    std::free(text);
    return nullptr;
  }
  text[size] = '\0';
  return text;
}

bool RunsOnWindows9x() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

bool ScheduleInWininit(const char* path) {
  char iniPath[MAX_PATH + 16] = "";
  const UINT n = GetWindowsDirectoryA(iniPath, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return false;
  if (iniPath[n - 1] != '\\')
    std::strcat(iniPath, "\\");
  std::strcat(iniPath, "WININIT.INI");

  // WININIT.EXE runs in real mode before the system starts: short names only.
  char shortPath[MAX_PATH + 1];
  const DWORD s = GetShortPathNameA(path, shortPath, sizeof shortPath);
  const char* name = (s == 0 || s >= sizeof shortPath) ? path : shortPath;

  char* text = ReadText(iniPath);
  if (text == nullptr)
    return false;
  char* updated = AddWininitRemoval(text, name);
  std::free(text);
  if (updated == nullptr)
    return false;
  bool written = false;
  if (FILE* out = std::fopen(iniPath, "wb")) {
    const std::size_t size = std::strlen(updated);
    written = std::fwrite(updated, 1, size, out) == size;
    written = std::fclose(out) == 0 && written;
  }
  std::free(updated);
  return written;
}

}  // namespace

bool RestartRemovesFolders() { return !RunsOnWindows9x(); }

bool ScheduleRemovalAtRestart(const char* path) {
  // Windows 9x exports MoveFileExA but does not implement it; its start-up
  // program WININIT.EXE carries out the [rename] section instead. The system
  // says which it is, as 9x programs ask; the failure is the second sign.
  if (RunsOnWindows9x())
    return ScheduleInWininit(path);
  if (MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
    return true;
  if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
    return ScheduleInWininit(path);
  return false;
}
