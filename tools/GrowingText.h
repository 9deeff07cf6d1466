// GrowingText: characters gathered into one block that grows as they come: a
// block of its own first (most texts never touch the heap), then doubling on
// the heap, so that gathering any number of characters costs time in
// proportion to it. Its size stays within a SharedString length (signed
// 32-bit). Failure channel: beyond that size, or when no storage can be had,
// it throws the char* text "Memory allocation error".
#ifndef KESTRIN_TOOLS_GROWINGTEXT_H
#define KESTRIN_TOOLS_GROWINGTEXT_H

#include <cstddef>

#include "tools/CTOOPtr.h"

class GrowingText {
 public:
  GrowingText() : data(local), size(0), capacity(sizeof local), heap(0) {}
  GrowingText(const GrowingText&) = delete;
  GrowingText& operator=(const GrowingText&) = delete;

  // Room for `extra` more characters plus a terminator; returns where they
  // go. Commit then counts those written.
  char* Reserve(size_t extra) {
    if (capacity - size <= extra)
      Grow(extra);
    return data + size;
  }
  void Commit(size_t written) { size += written; }
  void Append(const char* text, size_t length);
  void AppendFill(char filler, size_t count);
  // Empties it; the storage stays for the next text.
  void Clear() { size = 0; }

  const char* Data() const { return data; }
  size_t Size() const { return size; }

 private:
  void Grow(size_t extra);

  char local[4096];
  char* data;
  size_t size;
  size_t capacity;
  CTOOPtr heap;
};

#endif  // KESTRIN_TOOLS_GROWINGTEXT_H
