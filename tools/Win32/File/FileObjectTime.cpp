// The file object's modification-time operations: they talk to the
// platform, so they live with the other file-system operations.
#include <windows.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "tools/File_com/FileObject.h"
#include "tools/Format.h"
#include "tools/Win32/File/DosDateTime.h"
#include "tools/Win32/File/FileSystem.h"

namespace {

// Position texts of these two operations name this folder and a fixed line.
const char kSourceName[] = ".\\Win32\\File";
const char kLineGetTime[] = "170";
const char kLineSetTime[] = "210";

SharedString PositionText(const char* line) {
  return MakeFormatted("file - %s, line - %s", kSourceName, line);
}

}  // namespace

DateTime FileObject::GetTime() {
  const DateTime none(0, 0, 0, 0, 0, 0, 0);
  if (stream == nullptr)
    return none;
  Clear();
  struct _stat status;
  DateTime result = none;
  int cause = 0;
  if (_fstat(_fileno(Stream()), &status) != 0)
    cause = errno;
  else if (!LocalModificationTime(status.st_mtime, result))
    cause = EINVAL;  // a time before the runtime's epoch
  if (cause != 0) {
    text = PositionText(kLineGetTime);
    SetStatusAndErrno(e_GET_FILE_TIME, cause);
    return none;
  }
  return result;
}

bool FileObject::SetTime(const DateTime& when) {
  // Deliberately no Clear: a success leaves an earlier failure recorded.
  if (stream != nullptr) {
    uint16_t dosDate;
    uint16_t dosTime;
    FILETIME local;
    FILETIME universal;
    // Each step is checked: a failed conversion leaves its output
    // undefined, and that must never reach the file.
    if (MakeDosDateTime(when, &dosDate, &dosTime) && DosDateTimeToFileTime(dosDate, dosTime, &local) &&
        LocalFileTimeToFileTime(&local, &universal)) {
      // Bytes still in the stream's buffer would reach the file later
      // and stamp it with that moment. A seek to the current position
      // writes them out now without moving (fflush would drop a read
      // buffer on msvcrt). The seek also clears the end-of-file
      // indicator, so it is made only when something waits.
      if (stream->OutputPending()) {
        std::fseek(Stream(), 0, SEEK_CUR);
        stream->SetOutputPending(false);
      }
      const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(Stream())));
      if (file != INVALID_HANDLE_VALUE && SetFileTime(file, nullptr, &universal, &universal))
        return true;
    }
  }
  text = PositionText(kLineSetTime);
  SetStatus(e_SET_FILE_TIME);
  return false;
}
