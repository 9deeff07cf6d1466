// The XTOOMsg family: error-state holders that file operations fill with a
// status code (StatusCodes.h), an errno value and a text (usually the file
// name). An armed holder (throwOnError) throws a copy of itself, as its own
// class, when a non-zero code is recorded; an unarmed one only keeps the
// codes until Clear, and the caller tests IsError.
#ifndef KESTRIN_TOOLS_XTOOMSG_H
#define KESTRIN_TOOLS_XTOOMSG_H

#include "tools/SharedString.h"
#include "tools/StatusCodes.h"

// What catching any thrown holder ends with.
struct XTOOBaseMsg {
  bool throwOnError;
};

class XTOOMsg : public XTOOBaseMsg {
 public:
  explicit XTOOMsg(bool throwOnError) : XTOOBaseMsg{throwOnError} {}
  virtual ~XTOOMsg();

  virtual bool IsError() const = 0;
  virtual SharedString GetText() const = 0;
  virtual void Clear() = 0;
  // Throws a copy of this holder as the class that overrides it.
  [[noreturn]] virtual void Throw() const = 0;

  void SetText(const char* newText) { text = newText; }
  // The file name or position text recorded with the error.
  const SharedString& Text() const { return text; }
  // Throws (through Throw) when this holder is armed.
  void ThrowIfArmed() const;

 protected:
  XTOOMsg(const XTOOMsg&) = default;
  XTOOMsg& operator=(const XTOOMsg&) = default;

  SharedString text;
};

class XTOOStatus : public XTOOMsg {
 public:
  XTOOStatus(int status, bool throwOnError) : XTOOMsg(throwOnError), status(status) {}
  XTOOStatus(const XTOOStatus&) = default;
  XTOOStatus& operator=(const XTOOStatus&) = default;

  bool IsError() const override { return status != 0; }
  // "Status = 4 (The specified file not found)", or "Status = 7" for a
  // code the table does not know.
  SharedString GetText() const override;
  void Clear() override { status = 0; }
  [[noreturn]] void Throw() const override;

  int GetStatus() const { return status; }
  // Stores the code; a non-zero code throws when armed.
  void SetStatus(int code);

 protected:
  int32_t status;
};

class XTOOErrnoOld : public XTOOStatus {
 public:
  XTOOErrnoOld(int errnoValue, bool throwOnError) : XTOOStatus(0, throwOnError), errnoValue(errnoValue) {}
  XTOOErrnoOld(const XTOOErrnoOld&) = default;
  XTOOErrnoOld& operator=(const XTOOErrnoOld&) = default;

  bool IsError() const override { return errnoValue != 0; }
  // One of:
  //   Error <errno> (<strerror>), File name is "<text>"             (status 0)
  //   Error <errno> (<strerror>), File name is "<text>", Status = ...
  //   File name is "<text>", Status = ...                           (errno 0)
  SharedString GetText() const override;
  void Clear() override { errnoValue = 0; }
  [[noreturn]] void Throw() const override;

  int GetErrno() const { return errnoValue; }
  // Stores the value; a non-zero value throws when armed.
  void SetErrno(int value);

 protected:
  int32_t errnoValue;
};

// The holder file operations fill (the file object derives from it).
class XTOOFile : public XTOOErrnoOld {
 public:
  explicit XTOOFile(bool throwOnError) : XTOOErrnoOld(0, throwOnError) {}
  XTOOFile(const XTOOFile&) = default;
  XTOOFile& operator=(const XTOOFile&) = default;

  bool IsError() const override { return status != 0 || errnoValue != 0; }
  SharedString GetText() const override { return XTOOErrnoOld::GetText(); }
  void Clear() override {
    status = 0;
    errnoValue = 0;
  }
  [[noreturn]] void Throw() const override;

  // Records both codes; an armed holder throws at most once, and then
  // carries both.
  void SetStatusAndErrno(int code, int value);
};

// Throws an armed XTOOStatus with e_INVALID_IMPLEMENTATION when `condition`
// is 0.
void CheckImplementation(int condition);

#endif  // KESTRIN_TOOLS_XTOOMSG_H
