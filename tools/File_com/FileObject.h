// FileObject: the tools library's stream file, its own XTOOFile error holder.
//
// Failure channel: most operations Clear the recorded codes first and, on
// failure, set the text to the file name or to a position text ("file -
// .\File_com, line - 185") and record a status (with errno where the runtime
// gives one); the caller tests IsError. An object built with throwOnError
// throws an XTOOFile copy of itself (without the stream) at the first
// recorded failure. Operations on a closed object record status 117.
// Copies share one open stream; the last one to go closes it.
#ifndef KESTRIN_TOOLS_FILE_COM_FILEOBJECT_H
#define KESTRIN_TOOLS_FILE_COM_FILEOBJECT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "tools/DateTime.h"
#include "tools/File_com/FileStreamBody.h"
#include "tools/XTOOMsg.h"

class FileObject : public XTOOFile {
 public:
  // A null name gives a closed object. Otherwise the file is opened with
  // `mode`, or without one first "r+b" (an existing file, for update) and
  // then "w+b" (a new file). Forward slashes in the name are handed to the
  // runtime as backslashes. A failed open leaves the object closed with
  // the name as its text and status 4 with errno.
  explicit FileObject(const char* fileName = nullptr, const char* mode = nullptr, bool throwOnError = false);
  // Shares the stream, takes the flag and the text; the codes start clear.
  FileObject(const FileObject& other);
  // Shares the stream, takes the flag and the text; the own codes stay.
  FileObject& operator=(const FileObject& other);
  ~FileObject() override;

  bool IsOpen() const { return stream != nullptr; }

  // Reads up to `size` bytes; returns the count read (0 when closed).
  size_t Read(void* buffer, size_t size);
  // Writes `size` bytes; returns the count written. Size 0 on an open
  // object does nothing at all; a short write records status 6.
  size_t Write(const void* data, size_t size);
  // Drops this object's share of the stream.
  void Close();
  // The file's length in bytes, bytes written but still in the stream's
  // buffer included (a seek past the end alone does not count); -1 on
  // failure (status 45 with errno) or when closed.
  int32_t Length();
  // fseek's result, unchanged; records nothing when open. -1 when closed.
  int Seek(long offset, int origin);
  // ftell's result; -1 on failure (status 118 with errno) or when closed.
  long CurPos();
  // The stream's end-of-file indicator; true when closed.
  bool Eof();
  // Cuts (or extends) the file at the current position. True when no
  // error is recorded afterwards (status 119 with errno on failure).
  bool Truncate();
  // fflush. True when no error is recorded afterwards (status 120).
  bool Flush();
  // fgets into `buffer` of `size` bytes: the buffer, or null at the end of
  // the file, on a read error (status 5 with errno), when closed, or when
  // the buffer cannot hold even the terminator.
  char* ReadLine(char* buffer, int size);

  // The open file's modification time; the all-zero value when closed
  // (nothing recorded) or on failure (status 123 with errno).
  DateTime GetTime();
  // Sets the open file's last-access and last-write times, in the MS-DOS
  // resolution of two seconds. Does not clear earlier codes. False, with
  // status 122, when closed or when the platform refuses, including a date
  // before 1980 or after 2107, which the MS-DOS words cannot hold. Bytes
  // written but still in the stream's buffer are written out first, so
  // that they do not stamp the file again later; that (and only that)
  // clears the end-of-file indicator.
  bool SetTime(const DateTime& when);

  // The open stream, or null.
  FILE* Stream() const { return stream != nullptr ? stream->Stream() : nullptr; }

 private:
  // Sets the position text of `line` ("file - .\File_com, line - <line>").
  void SetPositionText(const char* line);
  // Records status 117 for an operation on a closed object, with the
  // position text of `line` when one is given.
  void RecordClosed(const char* line);

  FileStreamBody* stream;
};

#endif  // KESTRIN_TOOLS_FILE_COM_FILEOBJECT_H
