// SingleInstanceGuard: tells a program whether it is the first running
// instance under a name, and lets later instances ask the first one to show
// itself through a named popup event.
//
// Three named kernel objects are derived from the instance name: a mutex
// that serialises the check between processes, an "own" event that the
// first instance holds signalled for its whole life, and the popup event.
// Failure channel: nothing throws or reports an error; a failed platform
// call shows only in IsFirstInstance (see the constructor).
#ifndef KESTRIN_DRIVER_SINGLEINSTANCEGUARD_H
#define KESTRIN_DRIVER_SINGLEINSTANCEGUARD_H

#include <windows.h>

#include <cstdint>

class SingleInstanceGuard {
 public:
  // Longest instance name the guard takes; a longer one gives a guard that
  // reports a first instance and holds no objects.
  static const int kMaxNameLength = 100;
  // How long the check waits for another process's check to finish.
  static const DWORD kCheckTimeoutMs = 10000;

  // Reports a first instance and holds nothing.
  SingleInstanceGuard() : firstInstance(1), ownEvent(nullptr), popupEvent(nullptr) {}
  // Makes the check. A null or over-long name holds nothing and reports a
  // first instance; so does a check whose own event cannot be made. A
  // process that cannot get the check's mutex within kCheckTimeoutMs counts
  // itself as a later instance; so does one that finds the mutex abandoned
  // (a process ended during its check), which still gives the mutex back.
  explicit SingleInstanceGuard(const char* name);
  // A first instance gives the name up (resets its own event); every guard
  // closes its events.
  ~SingleInstanceGuard();
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

  // Makes a fresh check under `name` and takes its result; this guard's
  // former events are released as by the destructor, after the check.
  void Assign(const char* name);

  // 1: the first instance (or the check could not be made); 0: another
  // instance holds the name.
  int32_t IsFirstInstance() const { return firstInstance; }

  // Signals the popup event, when the guard has one.
  void RequestPopup();

  // Waits up to `timeoutMs` for a popup request. True when one came; the
  // request is then consumed (the event is reset), so the next wait waits
  // for the next request. False at once for a guard without a popup event.
  bool WaitForPopupRequest(DWORD timeoutMs);

  // The popup event for a program's own wait (MsgWaitForMultipleObjects in
  // a message loop), or null. The guard keeps owning it; reset it after a
  // request has been handled.
  HANDLE PopupEvent() const { return popupEvent; }

 private:
  void Swap(SingleInstanceGuard& other);

  int32_t firstInstance;
  HANDLE ownEvent;
  HANDLE popupEvent;
};

#endif  // KESTRIN_DRIVER_SINGLEINSTANCEGUARD_H
