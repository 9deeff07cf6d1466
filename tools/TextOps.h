// Text helpers on byte ranges and zero-terminated buffers. The text
// operations that belong to SharedString (Trim, Left, Right, Mid, Hash,
// Replace, AssignFixed, CopyToFixed) are declared in SharedString.h.
#ifndef KESTRIN_TOOLS_TEXTOPS_H
#define KESTRIN_TOOLS_TEXTOPS_H

#include <cstdint>

#include "tools/SharedString.h"

// Up to 4 bytes: the bytes as a little-endian number. Longer: rotate left by
// 7 and exclusive-or each byte in. A negative length counts as 0.
uint32_t HashBytes(const void* data, int32_t length);

// "0A FF": each byte as two upper-case hex digits, single blanks between;
// "" for a count of 0 or less.
SharedString HexBytes(const void* bytes, int32_t count);

// Makes the zero-terminated text in `buffer` end with one backslash ("" becomes
// "\"). The buffer must have room for one more character.
void AppendBackslash(char* buffer);
// Removes one final backslash, if there is one.
void StripBackslash(char* buffer);

#endif  // KESTRIN_TOOLS_TEXTOPS_H
