#include "registry/RegistryMessage.h"

#include <cstring>

#include "tools/FormatIntoBuffer.h"

char RegistryMessageBuffer[kRegistryMessageBufferSize];

void FormatRegistryMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatRegistryMessageV(format, args);
  va_end(args);
}

void FormatRegistryMessageV(const char* format, va_list args) {
  FormatIntoBufferV(RegistryMessageBuffer, sizeof RegistryMessageBuffer, format, args);
}

void AppendRegistryMessage(const char* text) {
  if (text == nullptr)
    return;
  const size_t used = std::strlen(RegistryMessageBuffer);
  const size_t room = sizeof RegistryMessageBuffer - 1 - used;
  size_t length = std::strlen(text);
  if (length > room)
    length = room;
  std::memcpy(RegistryMessageBuffer + used, text, length);
  RegistryMessageBuffer[used + length] = '\0';
}
