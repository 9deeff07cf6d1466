// SelectMessageSegment: picks one language's wording out of a catalogue entry
// whose segments are separated by the byte 0x01.
#ifndef KESTRIN_APP_MESSAGESEGMENT_H
#define KESTRIN_APP_MESSAGESEGMENT_H

#include <cstddef>
#include <cstdint>

// Separates the language segments of one entry: English first, then Russian.
const char kMessageSegmentSeparator = '\x01';

struct MessageSegment {
  size_t start;   // offset of the segment's first byte in the entry
  size_t length;  // bytes up to the next separator or the end of the entry
};

// Segment number `languageIndex` (from 0) of the first `length` bytes of
// `entry`; segment 0 when the entry has no such segment (or the index is
// negative), so a bad index always falls back to English. Never reads
// outside the given bytes; `entry` may be null when `length` is 0.
MessageSegment SelectMessageSegment(const char* entry, size_t length, int32_t languageIndex);

#endif  // KESTRIN_APP_MESSAGESEGMENT_H
