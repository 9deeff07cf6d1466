// Fuzzes the catalogue's segment choice: the first input byte is the language
// index, the rest the entry. The chosen segment must lie inside the entry,
// hold no separator, and start at the entry's start or behind a separator.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/MessageSegment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  const int32_t languageIndex = static_cast<int8_t>(data[0]);
  const size_t length = size - 1;
  // A copy of exactly the entry's size, so reads past it are caught.
  char* entry = static_cast<char*>(std::malloc(length == 0 ? 1 : length));
  if (length != 0)
    std::memcpy(entry, data + 1, length);

  const MessageSegment segment = SelectMessageSegment(length != 0 ? entry : nullptr, length, languageIndex);
  if (segment.start > length || segment.length > length - segment.start)
    std::abort();
  if (segment.length != 0 &&
      std::memchr(entry + segment.start, kMessageSegmentSeparator, segment.length) != nullptr)
    std::abort();
  if (segment.start != 0 && entry[segment.start - 1] != kMessageSegmentSeparator)
    std::abort();
  const size_t end = segment.start + segment.length;
  if (end != length && entry[end] != kMessageSegmentSeparator)
    std::abort();
  if (languageIndex <= 0 && segment.start != 0)
    std::abort();

  std::free(entry);
  return 0;
}
