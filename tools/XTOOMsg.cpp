#include "tools/XTOOMsg.h"

#include <cstring>

#include "tools/Format.h"

XTOOMsg::~XTOOMsg() = default;

void XTOOMsg::ThrowIfArmed() const {
  if (throwOnError)
    Throw();
}

SharedString XTOOStatus::GetText() const {
  const char* known = FindStatusText(status);
  if (known != nullptr)
    return MakeFormatted("Status = %d (%s)", status, known);
  return MakeFormatted("Status = %d", status);
}

void XTOOStatus::Throw() const { throw XTOOStatus(*this); }

void XTOOStatus::SetStatus(int code) {
  status = code;
  if (code != 0)
    ThrowIfArmed();
}

SharedString XTOOErrnoOld::GetText() const {
  const char* system = std::strerror(errnoValue);
  if (system == nullptr)
    system = "";
  const char* name = text.c_str();
  if (status == 0)
    return MakeFormatted("Error %d (%s), File name is \"%s\"", errnoValue, system, name);
  const SharedString statusText = XTOOStatus::GetText();
  if (errnoValue != 0)
    return MakeFormatted("Error %d (%s), File name is \"%s\", %s", errnoValue, system, name,
                         statusText.c_str());
  return MakeFormatted("File name is \"%s\", %s", name, statusText.c_str());
}

void XTOOErrnoOld::Throw() const { throw XTOOErrnoOld(*this); }

void XTOOErrnoOld::SetErrno(int value) {
  errnoValue = value;
  if (value != 0)
    ThrowIfArmed();
}

void XTOOFile::Throw() const { throw XTOOFile(*this); }

void XTOOFile::SetStatusAndErrno(int code, int value) {
  XTOOFile::Clear();
  // The status goes in unchecked first, so that a throw from SetErrno
  // already carries it; SetStatus can then throw only if SetErrno did not.
  status = code;
  SetErrno(value);
  SetStatus(code);
}

void CheckImplementation(int condition) {
  if (condition == 0)
    XTOOStatus(e_INVALID_IMPLEMENTATION, true).Throw();
}
