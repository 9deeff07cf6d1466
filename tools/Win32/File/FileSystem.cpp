#include "tools/Win32/File/FileSystem.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/utime.h>

#include <cerrno>
#include <ctime>

namespace {

DateTime NoTime() { return DateTime(0, 0, 0, 0, 0, 0, 0); }

// The daylight-saving flag of the local time now (-1, let the runtime
// decide, should the clock not break down).
int DaylightSavingNow() {
  const time_t now = std::time(nullptr);
  const struct tm* parts = std::localtime(&now);
  return parts != nullptr ? parts->tm_isdst : -1;
}

}  // namespace

bool FileCopy(const char* source, const char* target, bool failIfExists, XTOOFile& holder) {
  holder.Clear();
  if (!CopyFileA(source, target, failIfExists ? TRUE : FALSE)) {
    holder.SetText(source);
    holder.SetStatus(e_COPY_FILE);
  }
  return !holder.IsError();
}

uint32_t FileGetAttributes(const char* path, XTOOFile& holder) {
  holder.Clear();
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    holder.SetText(path);
    holder.SetStatus(e_FILE_ATTRIBUTES);
  }
  return attributes;
}

bool FileSetTime(const char* path, const DateTime& when, XTOOFile& holder) {
  holder.Clear();
  struct tm parts = {};
  parts.tm_sec = when.Second();
  parts.tm_min = when.Minute();
  parts.tm_hour = when.Hour();
  parts.tm_mday = when.Day();
  parts.tm_mon = when.Month() - 1;
  parts.tm_year = when.Year() - 1900;
  parts.tm_isdst = DaylightSavingNow();
  const time_t calendar = std::mktime(&parts);
  int cause = 0;
  if (calendar == static_cast<time_t>(-1)) {
    // mktime's failure value would reach the file as a time of its own.
    cause = EINVAL;
  } else {
    struct _utimbuf times;
    times.actime = calendar;
    times.modtime = calendar;
    if (_utime(path, &times) != 0)
      cause = errno;
  }
  if (cause != 0) {
    holder.SetText(path);
    holder.SetStatusAndErrno(e_SET_FILE_TIME, cause);
  }
  return !holder.IsError();
}

bool LocalModificationTime(time_t modified, DateTime& result) {
  const struct tm* parts = std::localtime(&modified);
  if (parts == nullptr)
    return false;
  result = DateTime(parts->tm_year + 1900, parts->tm_mon + 1, parts->tm_mday, parts->tm_hour, parts->tm_min,
                    parts->tm_sec, 0);
  return true;
}

DateTime FileGetTime(const char* path, XTOOFile& holder) {
  holder.Clear();
  struct _stat status;
  DateTime result = NoTime();
  int cause = 0;
  if (_stat(path, &status) != 0)
    cause = errno;
  else if (!LocalModificationTime(status.st_mtime, result))
    cause = EINVAL;
  if (cause != 0) {
    holder.SetText(path);
    holder.SetStatusAndErrno(e_GET_FILE_TIME, cause);
    return NoTime();
  }
  return result;
}

int32_t FileGetSize(const char* path, XTOOFile& holder) {
  const int file = _open(path, _O_RDONLY | _O_BINARY);
  const int openCause = errno;
  holder.Clear();
  if (file == -1) {
    holder.SetText(path);
    holder.SetStatusAndErrno(e_OPEN_ERROR, openCause);
    return -1;
  }
  const long length = _filelength(file);
  const int lengthCause = errno;
  _close(file);
  if (length == -1) {
    holder.SetText(path);
    holder.SetStatusAndErrno(e_GET_FILE_SIZE, lengthCause);
  }
  return static_cast<int32_t>(length);
}
