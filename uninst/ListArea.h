// The list area of the deletion helper "uninst.exe": the one contract between
// the setup program, which writes the deletion list into a copy of the
// helper's image, and the helper, which reads it at the next system start.
#ifndef KESTRIN_UNINST_LISTAREA_H
#define KESTRIN_UNINST_LISTAREA_H

#include <cstddef>

namespace ListArea {

// Bytes the area offers from the marker's first byte on; the list and its
// terminating zero must fit in them.
constexpr std::size_t kSize = 4096;
// "FileList" and a zero byte open the pristine area.
constexpr std::size_t kMarkerLength = 8;
// The search starts this many bytes before the end of the image and walks
// backward; a marker behind that point is never found.
constexpr std::size_t kSearchBackFromEnd = 100;

// Offset of the list area in an image, or -1. Steps backward one byte at a
// time from size - 100 while the offset is above 0 (offset 0 is never
// tested), as the setup program has always searched.
long Find(const unsigned char* image, std::size_t size);

// Writes the list with its zero byte over the area found in the image.
// Returns false, leaving the image unchanged, when no area is found, when the
// list does not fit in the area, or when the area is so near the end of the
// image that the list would run past it.
bool Patch(unsigned char* image, std::size_t size, const char* list);

}  // namespace ListArea

#endif  // KESTRIN_UNINST_LISTAREA_H
