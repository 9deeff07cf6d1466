#include "tools/Platform.h"

#include <winsock.h>
#include <windows.h>

namespace platform {

uint32_t LastSystemError() { return GetLastError(); }

SharedString SystemErrorMessage(uint32_t code) {
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
      code, 0x400 /* user default language */, reinterpret_cast<char*>(&message), 0, nullptr);
  SharedString text;
  if (length != 0 && message != nullptr)
    text = message;
  if (message != nullptr)
    LocalFree(message);
  return text;
}

int LastSocketError() { return WSAGetLastError(); }

}  // namespace platform
