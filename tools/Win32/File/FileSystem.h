// File-system operations on files named by path: FileCopy,
// FileGetAttributes, FileSetTime, FileGetTime, FileGetSize.
//
// Failure channel: each operation Clears the caller's XTOOFile holder first
// (FileGetSize right after its open), and on failure sets the holder's text
// to the path and records a status: FileCopy 64, FileGetAttributes 41 (no
// errno); FileSetTime 122, FileGetTime 123, FileGetSize 17 (open) or 45
// (length), each with errno. An armed holder throws its copy at that moment;
// with an unarmed one the operation returns the failure value below and the
// caller tests IsError. Paths go to the platform as written.
#ifndef KESTRIN_TOOLS_WIN32_FILE_FILESYSTEM_H
#define KESTRIN_TOOLS_WIN32_FILE_FILESYSTEM_H

#include <cstdint>

#include <ctime>

#include "tools/DateTime.h"
#include "tools/XTOOMsg.h"

// What FileGetAttributes returns on failure (INVALID_FILE_ATTRIBUTES).
const uint32_t kNoFileAttributes = 0xFFFFFFFF;

// CopyFileA. With `failIfExists` an existing target is not replaced and the
// copy fails. True when the holder reports no error.
bool FileCopy(const char* source, const char* target, bool failIfExists, XTOOFile& holder);

// GetFileAttributesA; kNoFileAttributes on failure.
uint32_t FileGetAttributes(const char* path, XTOOFile& holder);

// Sets the file's access and modification times (runtime _utime, which
// needs a writable file) to `when`, read as local time with the daylight
// saving flag in force now. A value the runtime cannot convert (before 1970
// UTC) fails with EINVAL without touching the file. True when the holder
// reports no error.
bool FileSetTime(const char* path, const DateTime& when, XTOOFile& holder);

// The file's modification time in local time, millisecond 0 (runtime
// _stat); the all-zero value on failure.
DateTime FileGetTime(const char* path, XTOOFile& holder);

// The local date and time of a file's modification time (millisecond 0), or
// false when the runtime cannot break it down (a time before its epoch).
// Shared with the file object's GetTime.
bool LocalModificationTime(time_t modified, DateTime& result);

// The file's size in bytes (runtime _open, _filelength, _close); -1 on
// failure.
int32_t FileGetSize(const char* path, XTOOFile& holder);

#endif  // KESTRIN_TOOLS_WIN32_FILE_FILESYSTEM_H
