// uninst.exe: the deletion helper that the setup program writes into the
// product folder on uninstall. Run once at the next system start (RunOnce),
// it deletes the files listed in its own image, then itself and the folder.
#include <windows.h>

#include <direct.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/AsciiCase.h"
#include "uninst/FileListWalk.h"
#include "uninst/ListArea.h"
#include "uninst/RestartRemoval.h"

// The list area. The setup program finds it by the "FileList" marker and a
// zero byte, searching backward from near the end of a copy of this image,
// and writes the list over it. Spelt out byte by byte so that the marker never
// also appears as a string literal, which would stand in .rdata behind this
// area and be found first.
extern "C" {
__attribute__((used)) char KestrinFileListArea[ListArea::kSize] = {'F', 'i', 'l', 'e', 'L', 'i', 's', 't'};
}

namespace {

const DWORD kRetryMilliseconds = 3000;

// Through msvcrt.dll's own vfprintf: libstdc++'s headers make printf
// mingw-w64's, whose formatting code would come into the image. The texts
// here use only "%s", which both print alike.
__attribute__((format(ms_printf, 1, 2))) void Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  __ms_vfprintf(stdout, format, args);
  va_end(args);
}

// _getcwd with a null buffer allocates as much as the path needs (the caller
// frees it); a fixed buffer would fail for a long folder.
char* CurrentDirectory() {
  char* path = _getcwd(nullptr, 0);
  return path ? path : static_cast<char*>(std::calloc(1, 1));
}

// A file still held open by a process that is ending may refuse deletion for
// a moment; a missing file will not come back, so it is not retried.
bool DeleteWithRetry(const char* name) {
  const DWORD start = GetTickCount();
  while (std::remove(name) != 0) {
    if (errno == ENOENT || GetTickCount() - start >= kRetryMilliseconds)
      return false;
  }
  return true;
}

// The full path of the running image: argv[0] may be relative.
bool ScheduleOwnRemoval(const char* argv0) {
  char path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return ScheduleRemovalAtRestart((n == 0 || n >= sizeof path) ? argv0 : path);
}

}  // namespace

int main(int argc, char** argv) {
  Print("___ Uninstaller ___\n");
  if (argc > 1) {
    Print("This temporary file developed for deleting files while uninstall process\n");
    return 0;
  }

  // The compiler must read the area as the file holds it, not as it was
  // initialised here.
  const char* area = KestrinFileListArea;
  __asm__ volatile("" : "+r"(area));
  FileListWalk walk(area, sizeof KestrinFileListArea);

  const char* folder = walk.Next();
  _chdrive(AsciiLower(folder[0]) - 'a' + 1);
  if (_chdir(folder) != 0) {
    Print("Can not change directory to %s: %s", folder, std::strerror(errno));
    return 1;
  }
  char* current = CurrentDirectory();
  if (current == nullptr)
    return 1;
  Print("The current directory is: %s\n", current);
  const std::size_t length = std::strlen(current);
  if (length > 0 && current[length - 1] == '\\')
    current[length - 1] = '\0';

  while (const char* name = walk.Next()) {
    Print("Deleting file %s...", name);
    std::fflush(stdout);
    if (DeleteWithRetry(name))
      Print(" Ok.\n");
    else
      Print(" error: %s", std::strerror(errno));
  }

  // A running program cannot delete its own file: when that fails, it and
  // then the folder are left to the next start (on Windows 9x, which removes
  // no folders at start, the emptied folder stays).
  bool selfScheduled = false;
  if (std::remove(argv[0]) != 0) {
    const int error = errno;
    Print("Can not delete file %s: ", argv[0]);
    Print("%s", std::strerror(error));
    selfScheduled = ScheduleOwnRemoval(argv[0]);
  }

  _chdir("..");
  if (_rmdir(current) != 0) {
    const int error = errno;
    Print("Can not delete directory %s: ", current);
    Print("%s", std::strerror(error));
    // A drive root ("C:") is never a folder to remove.
    const bool driveRoot = std::strlen(current) == 2 && current[1] == ':';
    if (selfScheduled && !driveRoot && RestartRemovesFolders())
      ScheduleRemovalAtRestart(current);
  }
  std::free(current);
  return 0;
}
