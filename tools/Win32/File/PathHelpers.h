// Path helpers: FileExists, RemoveFile, RemoveFileForced,
// FileMove, FileSetAttributes, the only file operations of the setup
// program's own procedures.
//
// Failure channel: every operation but FileExists clears the caller's
// XTOOFile holder first and, on failure, sets its text to the path as the
// caller wrote it and records a status (41, 43 or 124, with errno where the
// runtime gives one). An armed holder throws its copy at that moment; an
// unarmed one (all the setup program passes) lets the operation return, and
// the caller tests IsError or the result. FileExists records nothing.
//
// Path normalisation: FileExists, RemoveFile and RemoveFileForced hand the
// runtime a copy of the path with every "/" replaced by "\". FileMove and
// FileSetAttributes pass the path to the platform unchanged.
#ifndef KESTRIN_TOOLS_WIN32_FILE_PATHHELPERS_H
#define KESTRIN_TOOLS_WIN32_FILE_PATHHELPERS_H

#include "tools/XTOOMsg.h"

// Status codes recorded here (tools/StatusCodes.h): e_FILE_ATTRIBUTES (41),
// e_DELETE_ERROR (43), e_FILE_MOVE_ERROR (124).

// FILE_ATTRIBUTE_ARCHIVE alone: no read-only, hidden or system bit.
const unsigned long kAttributeArchiveOnly = 0x20;

// True when a file or folder of that name exists (runtime _access, mode 0).
bool FileExists(const char* path);

// Deletes the file (runtime remove). 0 on success; on failure status 43 with
// errno, and the holder's errno value is returned.
int RemoveFile(const char* path, XTOOFile& holder);

// Sets the attributes to archive only (clearing read-only, hidden and
// system), then RemoveFile. Because RemoveFile clears the holder, only the
// removal's outcome stays recorded.
int RemoveFileForced(const char* path, XTOOFile& holder);

// Renames or moves `source` to `target` (MoveFileA, which does not replace
// an existing target). True when the holder reports no error; on failure
// status 124 with the source path as text.
bool FileMove(const char* source, const char* target, XTOOFile& holder);

// SetFileAttributesA. True when the holder reports no error; on failure
// status 41.
bool FileSetAttributes(const char* path, unsigned long attributes, XTOOFile& holder);

#endif  // KESTRIN_TOOLS_WIN32_FILE_PATHHELPERS_H
