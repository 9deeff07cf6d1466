#include "uninst/ListArea.h"

#include <cstring>

namespace ListArea {

namespace {
const char kMarker[kMarkerLength + 1] = "FileList";
}

long Find(const unsigned char* image, std::size_t size) {
  if (image == nullptr || size <= kSearchBackFromEnd)
    return -1;
  for (std::size_t at = size - kSearchBackFromEnd; at > 0; --at) {
    // The ninth byte is inside the image: at + 8 < size - 92.
    if (std::memcmp(image + at, kMarker, kMarkerLength) == 0 && image[at + kMarkerLength] == 0)
      return static_cast<long>(at);
  }
  return -1;
}

bool Patch(unsigned char* image, std::size_t size, const char* list) {
  const long at = Find(image, size);
  if (at < 0)
    return false;
  const std::size_t bytes = std::strlen(list) + 1;
  if (bytes > kSize || static_cast<std::size_t>(at) + bytes > size)
    return false;
  std::memcpy(image + at, list, bytes);
  return true;
}

}  // namespace ListArea
