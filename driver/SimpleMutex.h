// SimpleMutex: an unnamed mutex with wait and release operations.
// Failure channel: the platform's results are returned unchanged; nothing
// throws.
#ifndef KESTRIN_DRIVER_SIMPLEMUTEX_H
#define KESTRIN_DRIVER_SIMPLEMUTEX_H

#include <windows.h>

class SimpleMutex {
 public:
  // CreateMutexA without security attributes or name; the calling thread
  // owns it at once when `initialOwner` is set. A failed creation leaves
  // no handle: waits then return WAIT_FAILED.
  explicit SimpleMutex(bool initialOwner);
  ~SimpleMutex() { Close(); }
  SimpleMutex(const SimpleMutex&) = delete;
  SimpleMutex& operator=(const SimpleMutex&) = delete;

  // Closes the handle; later operations fail as for a failed creation.
  void Close();
  // WaitForSingleObject's result: WAIT_OBJECT_0, WAIT_ABANDONED,
  // WAIT_TIMEOUT or WAIT_FAILED.
  DWORD Wait(DWORD timeoutMs);
  DWORD TryWait() { return Wait(0); }
  // ReleaseMutex; false when this thread does not own the mutex.
  bool Unlock();

 private:
  HANDLE handle;
};

#endif  // KESTRIN_DRIVER_SIMPLEMUTEX_H
