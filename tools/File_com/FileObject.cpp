#include "tools/File_com/FileObject.h"

#include <io.h>

#include <cerrno>
#include <new>

#include "tools/Format.h"
#include "tools/NormalisedPath.h"

namespace {

// Position texts name this source as ".\File_com" and a fixed line per
// failure; callers and logs know the failures by these numbers.
const char kSourceName[] = ".\\File_com";
const char kLineReadClosed[] = "164";
const char kLineShortWrite[] = "185";
const char kLineWriteClosed[] = "194";
const char kLineLength[] = "248";
const char kLineSeekClosed[] = "271";
const char kLineCurPos[] = "290";
const char kLineCurPosClosed[] = "298";
const char kLineEofClosed[] = "315";
const char kLineTruncate[] = "344";
const char kLineTruncateClosed[] = "354";
const char kLineFlush[] = "372";
const char kLineFlushClosed[] = "380";
const char kLineReadLine[] = "423";
const char kLineReadLineClosed[] = "431";

// What a failed Flush records as its errno value: fflush reports no cause.
const int kFlushErrno = -1;

}  // namespace

FileObject::FileObject(const char* fileName, const char* mode, bool throwOnError)
    : XTOOFile(throwOnError), stream(nullptr) {
  Clear();
  if (fileName == nullptr)
    return;
  SetText(fileName);
  const SharedString path = NormalisedPath(fileName);
  FILE* opened;
  if (mode != nullptr) {
    opened = std::fopen(path.c_str(), mode);
  } else {
    opened = std::fopen(path.c_str(), "r+b");
    if (opened == nullptr)
      opened = std::fopen(path.c_str(), "w+b");
  }
  if (opened == nullptr) {
    const int cause = errno;
    SetText(fileName);
    SetStatusAndErrno(e_FILE_NOT_FOUND, cause);
    return;
  }
  stream = new (std::nothrow) FileStreamBody(opened);
  if (stream == nullptr) {
    std::fclose(opened);
    SetStatus(e_NOT_ENOUGH_MEMORY);
  }
}

FileObject::FileObject(const FileObject& other) : XTOOFile(other.throwOnError), stream(other.stream) {
  text = other.text;
  if (stream != nullptr)
    stream->AddRef();
}

FileObject& FileObject::operator=(const FileObject& other) {
  // The source's body gains its reference first: assigning an object to
  // itself (or to another sharer) must not close the stream.
  if (other.stream != nullptr)
    other.stream->AddRef();
  if (stream != nullptr)
    stream->Release();
  stream = other.stream;
  throwOnError = other.throwOnError;
  text = other.text;
  return *this;
}

FileObject::~FileObject() {
  if (stream != nullptr)
    stream->Release();
}

void FileObject::SetPositionText(const char* line) {
  text = MakeFormatted("file - %s, line - %s", kSourceName, line);
}

void FileObject::RecordClosed(const char* line) {
  if (line != nullptr)
    SetPositionText(line);
  SetStatus(e_INVALID_IMPLEMENTATION);
}

size_t FileObject::Read(void* buffer, size_t size) {
  if (stream == nullptr) {
    RecordClosed(kLineReadClosed);
    return 0;
  }
  Clear();
  stream->SetOutputPending(false);
  return std::fread(buffer, 1, size, Stream());
}

size_t FileObject::Write(const void* data, size_t size) {
  if (stream == nullptr) {
    RecordClosed(kLineWriteClosed);
    return 0;
  }
  if (size == 0)
    return 0;
  Clear();
  stream->SetOutputPending(true);
  const size_t written = std::fwrite(data, 1, size, Stream());
  if (written != size) {
    SetPositionText(kLineShortWrite);
    SetStatus(e_WRITE_ERROR);
  }
  return written;
}

void FileObject::Close() {
  if (stream != nullptr) {
    stream->Release();
    stream = nullptr;
  }
}

int32_t FileObject::Length() {
  if (stream == nullptr) {
    RecordClosed(nullptr);
    return -1;
  }
  Clear();
  long length = _filelength(_fileno(Stream()));
  if (length == -1) {
    const int cause = errno;
    SetPositionText(kLineLength);
    SetStatusAndErrno(e_GET_FILE_SIZE, cause);
    return -1;
  }
  // Bytes written but still in the stream's buffer are not in the file
  // yet; they always end at the current position, so the position bounds
  // the length from below. (Flushing instead would drop a read buffer.)
  // Without such bytes the position may lie past the end after a seek, and
  // the file has not grown.
  if (stream->OutputPending()) {
    const long position = std::ftell(Stream());
    if (position > length)
      length = position;
  }
  return static_cast<int32_t>(length);
}

int FileObject::Seek(long offset, int origin) {
  if (stream == nullptr) {
    RecordClosed(kLineSeekClosed);
    return -1;
  }
  // fseek writes out what waits in the buffer before it moves.
  stream->SetOutputPending(false);
  return std::fseek(Stream(), offset, origin);
}

long FileObject::CurPos() {
  if (stream == nullptr) {
    RecordClosed(kLineCurPosClosed);
    return -1;
  }
  Clear();
  const long position = std::ftell(Stream());
  if (position == -1) {
    const int cause = errno;
    SetPositionText(kLineCurPos);
    SetStatusAndErrno(e_CURPOS, cause);
  }
  return position;
}

bool FileObject::Eof() {
  if (stream == nullptr) {
    RecordClosed(kLineEofClosed);
    return true;
  }
  return std::feof(Stream()) != 0;
}

bool FileObject::Truncate() {
  if (stream == nullptr) {
    RecordClosed(kLineTruncateClosed);
    return !IsError();
  }
  Clear();
  const long position = std::ftell(Stream());
  if (_chsize(_fileno(Stream()), position) != 0) {
    const int cause = errno;
    SetPositionText(kLineTruncate);
    SetStatusAndErrno(e_TRUNCATE, cause);
  }
  return !IsError();
}

bool FileObject::Flush() {
  if (stream == nullptr) {
    RecordClosed(kLineFlushClosed);
    return !IsError();
  }
  Clear();
  stream->SetOutputPending(false);
  if (std::fflush(Stream()) != 0) {
    SetPositionText(kLineFlush);
    SetStatusAndErrno(e_FLUSH, kFlushErrno);
  }
  return !IsError();
}

char* FileObject::ReadLine(char* buffer, int size) {
  if (stream == nullptr) {
    RecordClosed(kLineReadLineClosed);
    return nullptr;
  }
  Clear();
  // fgets writes the terminator even into a buffer of no bytes.
  if (buffer == nullptr || size < 1)
    return nullptr;
  stream->SetOutputPending(false);
  char* line = std::fgets(buffer, size, Stream());
  if (line == nullptr && std::ferror(Stream()) != 0) {
    const int cause = errno;
    SetPositionText(kLineReadLine);
    SetStatusAndErrno(e_READ_ERROR, cause);
  }
  return line;
}
