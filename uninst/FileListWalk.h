// Reads the deletion list out of the helper's list area, one line at a time.
#ifndef KESTRIN_UNINST_FILELISTWALK_H
#define KESTRIN_UNINST_FILELISTWALK_H

#include <cstddef>

#include "uninst/ListArea.h"

// Lines are separated by one line feed; the list ends at its zero byte, and a
// line feed followed by the zero byte ends it too (a final line feed changes
// nothing). The walk works on its own copy of the area with a zero byte
// behind it, so an area that was written without a terminating zero can never
// make it read past the area. No heap and no C++ library: the helper stays
// small.
class FileListWalk {
 public:
  // Takes at most ListArea::kSize bytes of the area.
  FileListWalk(const char* area, std::size_t size);

  // The next line, or null after the last one.
  const char* Next();

 private:
  char text[ListArea::kSize + 1];
  std::size_t cursor;
  bool done;
};

#endif  // KESTRIN_UNINST_FILELISTWALK_H
