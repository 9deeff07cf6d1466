#include "uninst/FileListWalk.h"

#include <cstring>

FileListWalk::FileListWalk(const char* area, std::size_t size) : cursor(0), done(false) {
  if (size > ListArea::kSize)
    size = ListArea::kSize;
  std::memcpy(text, area, size);
  text[size] = '\0';
}

const char* FileListWalk::Next() {
  if (done)
    return nullptr;
  char* line = text + cursor;
  char* feed = std::strchr(line, '\n');
  if (feed == nullptr) {
    done = true;  // the line runs to the zero byte: it is the last
  } else {
    *feed = '\0';
    cursor = static_cast<std::size_t>(feed - text) + 1;
    if (text[cursor] == '\0')
      done = true;  // an empty last line is no line
  }
  return line;
}
