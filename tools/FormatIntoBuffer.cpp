#include "tools/FormatIntoBuffer.h"

#include <cstdio>

size_t FormatIntoBuffer(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const size_t length = FormatIntoBufferV(buffer, size, format, args);
  va_end(args);
  return length;
}

size_t FormatIntoBufferV(char* buffer, size_t size, const char* format, va_list args) {
  if (size == 0)
    return 0;
#ifdef _WIN32
  // msvcrt.dll's _vsnprintf returns -1 for a text longer than the buffer,
  // and then, as for a text exactly as long, leaves the buffer full and
  // unterminated.
  const int written = _vsnprintf(buffer, size, format, args);
  if (written >= 0 && static_cast<size_t>(written) < size)
    return static_cast<size_t>(written);
  buffer[size - 1] = '\0';
  return size - 1;
#else
  const int written = std::vsnprintf(buffer, size, format, args);
  if (written < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(written) < size ? static_cast<size_t>(written) : size - 1;
#endif
}
