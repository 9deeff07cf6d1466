// The Win32 explanation appended to the open and create failures.
#include "registry/RegistryMessage.h"
#include "tools/ErrorRecord.h"

void AppendWin32Explanation(unsigned long code) {
  // With an empty prefix the record's text is one blank, then
  // "Error code=%d (%s)".
  const Win32ErrorRef explanation("", static_cast<int>(code));
  AppendRegistryMessage(explanation.GetText());
}
