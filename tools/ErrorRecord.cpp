#include "tools/ErrorRecord.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/CTOOPtr.h"
#include "tools/Format.h"
#include "tools/Platform.h"

namespace {

char* CopyText(const char* text) {
  if (text == nullptr)
    return nullptr;
  const size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy == nullptr)
    ThrowMemoryAllocationError();
  std::memcpy(copy, text, size);
  return copy;
}

// Runtimes answer codes they do not know with a text of this form
// ("Unknown error" from the Microsoft runtime, "Unknown error 12345" from
// glibc) instead of no text.
bool IsKnownErrnoText(const char* text) {
  return text != nullptr && *text != '\0' && std::strncmp(text, "Unknown error", 13) != 0;
}

SharedString ErrnoText(int code) {
  if (code == 0)
    return SharedString("");
  const char* text = std::strerror(code);
  if (IsKnownErrnoText(text))
    return SharedString(text);
  return MakeFormatted("errno = %d", code);
}

}  // namespace

// --- ErrorRecord ---

ErrorRecord::ErrorRecord(const char* text) : text(CopyText(text)) {}

ErrorRecord::~ErrorRecord() { std::free(text); }

void ErrorRecord::SetText(const char* newText) {
  // Copy before freeing: the new text may be (part of) the old one.
  char* copy = CopyText(newText);
  std::free(text);
  text = copy;
}

void ErrorRecord::Prepend(const char* prefix) {
  const char* head = prefix != nullptr ? prefix : "";
  const char* tail = text != nullptr ? text : "";
  const size_t headLength = std::strlen(head);
  const size_t tailLength = std::strlen(tail);
  const size_t size = headLength + tailLength + 1;
  // Short texts are joined on the stack; only long ones need the heap.
  char local[256];
  char* joined = local;
  CTOOPtr heap(0);
  if (size > sizeof local) {
    if (size > UINT32_MAX)
      ThrowMemoryAllocationError();
    CTOOPtr larger(static_cast<uint32_t>(size));
    heap.Swap(larger);
    joined = heap.Get();
  }
  std::memcpy(joined, head, headLength);
  std::memcpy(joined + headLength, tail, tailLength + 1);
  SetText(joined);
}

// --- Win32ErrorRecord ---

Win32ErrorRecord::Win32ErrorRecord() : code(static_cast<int32_t>(platform::LastSystemError())) { Describe(); }

Win32ErrorRecord::Win32ErrorRecord(int code) : code(code) { Describe(); }

Win32ErrorRecord::Win32ErrorRecord(const char* prefix, int code)
    : code(code == -1 ? static_cast<int32_t>(platform::LastSystemError()) : code) {
  Describe();
  if (prefix != nullptr) {
    Prepend(" ");
    Prepend(prefix);
  }
}

void Win32ErrorRecord::Describe() {
  if (code == 0)
    return;
  const SharedString message = platform::SystemErrorMessage(static_cast<uint32_t>(code));
  int32_t length = message.Length();
  while (length > 0 && (message[length - 1] == '\n' || message[length - 1] == '\r'))
    --length;
  // A code the system has no message for reads "Error code=<n> ()".
  const SharedString trimmed = message.Left(length);
  SetText(MakeFormatted("Error code=%d (%s)", code, trimmed.c_str()).c_str());
}

// --- ErrnoErrorRecord ---

ErrnoErrorRecord::ErrnoErrorRecord() : ErrnoErrorRecord(errno) {}

ErrnoErrorRecord::ErrnoErrorRecord(int code) : code(code) { SetText(ErrnoText(code).c_str()); }

ErrnoErrorRecord::ErrnoErrorRecord(const char* prefix) : ErrnoErrorRecord(prefix, errno) {}

ErrnoErrorRecord::ErrnoErrorRecord(const char* prefix, int code) : code(code) {
  if (prefix != nullptr)
    SetText((SharedString(prefix) + " " + ErrnoText(code).c_str()).c_str());
  else if (code != 0)
    SetText(ErrnoText(code).c_str());
}

// --- handles ---

ErrorRef::ErrorRef(const ErrorRef& other) : record(other.record) {
  if (record != nullptr)
    record->AddRef();
}

ErrorRef& ErrorRef::operator=(const ErrorRef& other) {
  if (other.record != nullptr)
    other.record->AddRef();
  if (record != nullptr)
    record->Release();
  record = other.record;
  return *this;
}

ErrorRef& ErrorRef::operator=(ErrorRef&& other) noexcept {
  if (this != &other) {
    if (record != nullptr)
      record->Release();
    record = other.record;
    other.record = nullptr;
  }
  return *this;
}

ErrorRef::~ErrorRef() {
  if (record != nullptr)
    record->Release();
}

const char* ErrorRef::GetText() const {
  const char* text = record != nullptr ? record->GetText() : nullptr;
  return text != nullptr ? text : "";
}

int ErrorRef::GetCode() const { return record != nullptr ? record->GetCode() : 0; }

ErrorRecordRef::ErrorRecordRef(const char* text) : ErrorRef(new ErrorRecord(text)) {}

// The code is read before anything is allocated, so that nothing can
// overwrite it first.
Win32ErrorRef::Win32ErrorRef() : Win32ErrorRef(static_cast<int>(platform::LastSystemError())) {}

Win32ErrorRef::Win32ErrorRef(int code) : ErrorRef(new Win32ErrorRecord(code)) {}

Win32ErrorRef::Win32ErrorRef(const char* prefix, int code)
    : ErrorRef(
          new Win32ErrorRecord(prefix, code == -1 ? static_cast<int>(platform::LastSystemError()) : code)) {}

ErrnoErrorRef::ErrnoErrorRef() : ErrnoErrorRef(errno) {}

ErrnoErrorRef::ErrnoErrorRef(int code) : ErrorRef(new ErrnoErrorRecord(code)) {}

ErrnoErrorRef::ErrnoErrorRef(const char* prefix) : ErrnoErrorRef(prefix, errno) {}

ErrnoErrorRef::ErrnoErrorRef(const char* prefix, int code) : ErrorRef(new ErrnoErrorRecord(prefix, code)) {}
