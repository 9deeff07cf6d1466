#include "tools/GrowingText.h"

#include <cstdint>
#include <cstring>

void GrowingText::Append(const char* text, size_t length) {
  std::memcpy(Reserve(length), text, length);
  size += length;
}

void GrowingText::AppendFill(char filler, size_t count) {
  std::memset(Reserve(count), filler, count);
  size += count;
}

void GrowingText::Grow(size_t extra) {
  size_t wanted = capacity * 2;
  if (wanted < size + extra + 1)
    wanted = size + extra + 1;
  if (size + extra >= static_cast<size_t>(INT32_MAX))
    ThrowMemoryAllocationError();
  if (wanted > static_cast<size_t>(INT32_MAX))
    wanted = static_cast<size_t>(INT32_MAX);
  CTOOPtr larger(static_cast<uint32_t>(wanted));
  std::memcpy(larger.Get(), data, size);
  heap.Swap(larger);
  data = heap.Get();
  capacity = wanted;
}
