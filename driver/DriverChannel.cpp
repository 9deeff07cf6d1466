// DriverChannel: the control channel to a running virtual device driver.
#include "driver/DriverChannel.h"

#include <cstring>

#include "tools/CTOOPtr.h"

namespace {

const char kDevicePathPrefix[] = "\\\\.\\";
const DWORD kNoCount = 0xFFFFFFFF;

// kernel32 of Windows 9x only; looked up at run time so that the program
// still loads where it is missing.
const char kKernelModule[] = "kernel32.dll";
const char kOpenVxDHandleName[] = "OpenVxDHandle";
typedef HANDLE(WINAPI* OpenVxDHandleFunction)(HANDLE);

HANDLE OpenDevice(const char* path) {
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE device = CreateFileA(path, 0, share, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (device == INVALID_HANDLE_VALUE)
    device = CreateFileA(path, 0, share, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  return device;
}

}  // namespace

DriverChannel::DriverChannel(const char* deviceName)
    : open(0), device(INVALID_HANDLE_VALUE), overlapped(), bytesReturned(kNoCount) {
  try {
    CTOOPtr path(kDevicePathPrefix, static_cast<uint32_t>(std::strlen(deviceName)));
    std::strcat(path.Get(), deviceName);
    device = OpenDevice(path.Get());
  } catch (const char*) {
    return;  // out of memory: the channel stays not open
  }
  if (device == INVALID_HANDLE_VALUE)
    return;
  overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (overlapped.hEvent != nullptr)
    open = 1;
}

DriverChannel::~DriverChannel() {
  if (device != INVALID_HANDLE_VALUE)
    CloseHandle(device);
  if (overlapped.hEvent != nullptr)
    CloseHandle(overlapped.hEvent);
}

int DriverChannel::IsOpen() { return open; }

BOOL DriverChannel::Control(DWORD code, void* input, DWORD inputSize, void* output, DWORD outputSize,
                            DWORD* bytesReturnedOut) {
  bytesReturned = kNoCount;
  BOOL result = FALSE;
  if (open) {
    // Unsignalled before every request, so that waiting for one the driver
    // leaves pending cannot end on the completion of an earlier one.
    ResetEvent(overlapped.hEvent);
    result = DeviceIoControl(device, code, input, inputSize, output, outputSize, &bytesReturned, &overlapped);
    // The driver still owns both buffers until a pending request completes;
    // returning earlier would let it write into memory the caller has
    // already given up.
    if (!result && GetLastError() == ERROR_IO_PENDING)
      result = GetOverlappedResult(device, &overlapped, &bytesReturned, TRUE);
  }
  if (bytesReturnedOut != nullptr)
    *bytesReturnedOut = bytesReturned;
  return result;
}

HANDLE DriverChannel::GetRing0Handle(HANDLE event) {
  if (!open)
    return nullptr;
  HMODULE kernel = GetModuleHandleA(kKernelModule);
  if (kernel == nullptr)
    return nullptr;
  // Through the generic function type: a direct cast between unrelated
  // function types draws a warning.
  auto openVxDHandle = reinterpret_cast<OpenVxDHandleFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, kOpenVxDHandleName)));
  if (openVxDHandle == nullptr)
    return nullptr;
  return openVxDHandle(event);
}
