// NameList: names cut in place from a newline-separated text.
#include "app/NameList.h"

#include <cstring>

NameList::NameList() : NameList(nullptr) {}

NameList::NameList(const char* source) : text(source, 0), cursor(nullptr), end(nullptr) {
  char* start = text.Get();
  // The buffer holds the text and its terminator, so count - 1 is its length.
  const uint32_t length = text.Count() - 1;
  end = start + length;
  for (char* at = start; at != end; ++at) {
    if (*at == '\n')
      *at = '\0';
  }
  reset();
}

void NameList::reset() { cursor = text.Get(); }

const char* NameList::next() {
  if (atEnd())
    return nullptr;
  const char* name = cursor;
  // The terminator behind the last name keeps this inside the buffer.
  cursor += std::strlen(cursor) + 1;
  return name;
}

bool NameList::atEnd() const { return cursor >= end; }
