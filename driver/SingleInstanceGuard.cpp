#include "driver/SingleInstanceGuard.h"

#include <cstring>

#include "tools/FormatIntoBuffer.h"

namespace {

// Names of the kernel objects derived from an instance name.
const char kMutexNameFormat[] = "%s_Mutex";
const char kOwnEventNameFormat[] = "%s_OwnEvent";
const char kPopupEventNameFormat[] = "%s_PopupEvent";
const size_t kObjectNameSize = 512;

void ObjectName(char (&buffer)[kObjectNameSize], const char* format, const char* name) {
  FormatIntoBuffer(buffer, kObjectNameSize, format, name);
}

// A manual-reset event, unsignalled when new, without security attributes;
// an existing one of that name is opened instead.
HANDLE OpenOrCreateEvent(const char* format, const char* name) {
  char objectName[kObjectNameSize];
  ObjectName(objectName, format, name);
  return CreateEventA(nullptr, TRUE, FALSE, objectName);
}

}  // namespace

SingleInstanceGuard::SingleInstanceGuard(const char* name)
    : firstInstance(1), ownEvent(nullptr), popupEvent(nullptr) {
  if (name == nullptr || std::strlen(name) > static_cast<size_t>(kMaxNameLength))
    return;

  char mutexName[kObjectNameSize];
  ObjectName(mutexName, kMutexNameFormat, name);
  HANDLE mutex = CreateMutexA(nullptr, TRUE, mutexName);
  // Initial ownership is granted only to the process that makes the mutex;
  // every ownership taken must be given back, or a check racing with this
  // one would wait for this thread to end.
  int ownership = 0;
  if (mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS)
    ++ownership;

  bool checked = true;
  if (mutex != nullptr) {
    const DWORD waited = WaitForSingleObject(mutex, kCheckTimeoutMs);
    // An abandoned mutex (its owner ended without releasing it) is owned
    // by this thread now, just like a mutex taken normally.
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
      ++ownership;
    if (waited != WAIT_OBJECT_0) {
      // Time-out, an abandoned mutex or a failure: count as a later instance.
      firstInstance = 0;
      checked = false;
    }
  }

  if (checked) {
    ownEvent = OpenOrCreateEvent(kOwnEventNameFormat, name);
    // A missing event fails this test too and leaves the first flag at 1.
    if (WaitForSingleObject(ownEvent, 0) == WAIT_OBJECT_0)
      firstInstance = 0;
    else if (ownEvent != nullptr)
      SetEvent(ownEvent);
    popupEvent = OpenOrCreateEvent(kPopupEventNameFormat, name);
  }

  if (mutex != nullptr) {
    for (; ownership > 0; --ownership)
      ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (ownEvent != nullptr) {
    if (firstInstance == 1)
      ResetEvent(ownEvent);
    CloseHandle(ownEvent);
  }
  if (popupEvent != nullptr)
    CloseHandle(popupEvent);
}

void SingleInstanceGuard::Swap(SingleInstanceGuard& other) {
  const int32_t flag = firstInstance;
  firstInstance = other.firstInstance;
  other.firstInstance = flag;
  HANDLE handle = ownEvent;
  ownEvent = other.ownEvent;
  other.ownEvent = handle;
  handle = popupEvent;
  popupEvent = other.popupEvent;
  other.popupEvent = handle;
}

void SingleInstanceGuard::Assign(const char* name) {
  SingleInstanceGuard fresh(name);
  Swap(fresh);
}

void SingleInstanceGuard::RequestPopup() {
  if (popupEvent != nullptr)
    SetEvent(popupEvent);
}

bool SingleInstanceGuard::WaitForPopupRequest(DWORD timeoutMs) {
  if (popupEvent == nullptr)
    return false;
  if (WaitForSingleObject(popupEvent, timeoutMs) != WAIT_OBJECT_0)
    return false;
  ResetEvent(popupEvent);
  return true;
}
