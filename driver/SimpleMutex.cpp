#include "driver/SimpleMutex.h"

SimpleMutex::SimpleMutex(bool initialOwner)
    : handle(CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, nullptr)) {}

void SimpleMutex::Close() {
  if (handle != nullptr) {
    CloseHandle(handle);
    handle = nullptr;
  }
}

DWORD SimpleMutex::Wait(DWORD timeoutMs) {
  if (handle == nullptr)
    return WAIT_FAILED;
  return WaitForSingleObject(handle, timeoutMs);
}

bool SimpleMutex::Unlock() { return handle != nullptr && ReleaseMutex(handle) != FALSE; }
