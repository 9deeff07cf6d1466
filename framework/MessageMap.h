// CMessageMap: the routing table through which a dialog sends a message to a
// handler of its own.
#ifndef KESTRIN_FRAMEWORK_MESSAGEMAP_H
#define KESTRIN_FRAMEWORK_MESSAGEMAP_H

#include <windows.h>

#include <cstddef>

class CDialog;

// Every handler takes the message's two parameters and returns its result.
// A handler that wants the system's own handling of the message calls
// CDialog::Default(); its return value is then not used.
typedef LRESULT (CDialog::*CMessageHandler)(WPARAM wParam, LPARAM lParam);

// One row of a routing table. WM_COMMAND rows match the control (or command)
// id and the notification code; rows of every other message match the
// message alone.
struct CMessageMapEntry {
  UINT message;
  UINT id;
  UINT code;
  CMessageHandler handler;
};

struct CMessageMap {
  const CMessageMapEntry* entries;
  std::size_t count;
};

// A handler of a class derived from CDialog, as a table row holds it.
template <class Dialog>
CMessageHandler MessageHandler(LRESULT (Dialog::*handler)(WPARAM, LPARAM)) {
  return static_cast<CMessageHandler>(handler);
}

template <std::size_t N>
CMessageMap MakeMessageMap(const CMessageMapEntry (&entries)[N]) {
  return CMessageMap{entries, N};
}

#endif  // KESTRIN_FRAMEWORK_MESSAGEMAP_H
