// SelectMessageSegment: the pure part of the catalogue lookup.
#include "app/MessageSegment.h"

#include <cstring>

namespace {

// Offset of the next separator at or after `from`, or `length` when none.
size_t NextSeparator(const char* entry, size_t length, size_t from) {
  if (from >= length)
    return length;
  const void* found = std::memchr(entry + from, kMessageSegmentSeparator, length - from);
  return found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - entry) : length;
}

}  // namespace

MessageSegment SelectMessageSegment(const char* entry, size_t length, int32_t languageIndex) {
  size_t start = 0;
  for (int32_t skipped = 0; skipped < languageIndex; ++skipped) {
    const size_t separator = NextSeparator(entry, length, start);
    if (separator == length) {
      // Fewer segments than the index asks for: the whole entry's first one.
      start = 0;
      break;
    }
    start = separator + 1;
  }
  return MessageSegment{start, NextSeparator(entry, length, start) - start};
}
