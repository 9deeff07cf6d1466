// Reference-counted error records: they turn a system error code into text.
// ErrorRecord holds a text; Win32ErrorRecord and ErrnoErrorRecord describe a
// Win32 code or an errno value. Handles (ErrorRef and one per kind) own the
// records; the Winsock and owned-object kinds are in WinsockError.h and
// ObjectHolder.h.
#ifndef KESTRIN_TOOLS_ERRORRECORD_H
#define KESTRIN_TOOLS_ERRORRECORD_H

#include <cstdint>

#include "tools/RefCounted.h"

// A shared object that can tell an error text. GetText may return null
// (no text); GetCode is 0 for kinds without a code.
class ErrorTextRecord : public RefCounted {
 public:
  virtual const char* GetText() const = 0;
  virtual int GetCode() const { return 0; }
};

class ErrorRecord : public ErrorTextRecord {
 public:
  // Copies the text; null gives no text.
  explicit ErrorRecord(const char* text = nullptr);
  ~ErrorRecord() override;

  const char* GetText() const override { return text; }
  // Replaces the text with a copy of `newText` (null clears). `newText`
  // may point into the current text.
  void SetText(const char* newText);
  // The text becomes `prefix` followed by the old text (a missing part
  // counts as empty).
  void Prepend(const char* prefix);

 private:
  char* text;
};

// "Error code=<code> (<system message>)", the message without its line ends.
class Win32ErrorRecord : public ErrorRecord {
 public:
  // The code of GetLastError.
  Win32ErrorRecord();
  explicit Win32ErrorRecord(int code);
  // "<prefix> Error code=..." when a prefix is given (even ""); a code of
  // -1 means GetLastError. A null prefix with code 0 gives no text.
  Win32ErrorRecord(const char* prefix, int code);

  int GetCode() const override { return code; }

 private:
  void Describe();

  int32_t code;
};

// The C runtime's message for an errno value ("errno = <n>" when it has
// none; "" for 0).
class ErrnoErrorRecord : public ErrorRecord {
 public:
  // The current errno.
  ErrnoErrorRecord();
  explicit ErrnoErrorRecord(int code);
  // "<prefix> <message>" for the current errno when a prefix is given; a
  // null prefix with errno 0 gives no text.
  explicit ErrnoErrorRecord(const char* prefix);
  // The same with the given errno value.
  ErrnoErrorRecord(const char* prefix, int code);

  int GetCode() const override { return code; }

 private:
  int32_t code;
};

// Owns one reference to a record (or none).
class ErrorRef {
 public:
  ErrorRef() : record(nullptr) {}
  // Takes over the reference the caller holds (a new record's first one).
  explicit ErrorRef(ErrorTextRecord* adopted) : record(adopted) {}
  ErrorRef(const ErrorRef& other);
  ErrorRef(ErrorRef&& other) noexcept : record(other.record) { other.record = nullptr; }
  ErrorRef& operator=(const ErrorRef& other);
  ErrorRef& operator=(ErrorRef&& other) noexcept;
  ~ErrorRef();

  // The record's text; "" when the handle is empty or the record has none.
  const char* GetText() const;
  // The record's code; 0 when the handle is empty.
  int GetCode() const;
  ErrorTextRecord* Get() const { return record; }
  bool IsEmpty() const { return record == nullptr; }

 private:
  ErrorTextRecord* record;
};

class ErrorRecordRef : public ErrorRef {
 public:
  explicit ErrorRecordRef(const char* text = nullptr);
  ErrorRecord* Record() const { return static_cast<ErrorRecord*>(Get()); }
};

class Win32ErrorRef : public ErrorRef {
 public:
  Win32ErrorRef();
  explicit Win32ErrorRef(int code);
  Win32ErrorRef(const char* prefix, int code);
  Win32ErrorRecord* Record() const { return static_cast<Win32ErrorRecord*>(Get()); }
};

class ErrnoErrorRef : public ErrorRef {
 public:
  ErrnoErrorRef();
  explicit ErrnoErrorRef(int code);
  explicit ErrnoErrorRef(const char* prefix);
  ErrnoErrorRef(const char* prefix, int code);
  ErrnoErrorRecord* Record() const { return static_cast<ErrnoErrorRecord*>(Get()); }
};

#endif  // KESTRIN_TOOLS_ERRORRECORD_H
