// FormatText / MakeFormatted: printf-style formatting into a SharedString,
// with conversions of the library's own. The engine is SharedString::FormatV.
//
// A conversion is: "%" ["-"] [" " | "+"] [width digits | "*"]
//                  ["." [digits | "*"]] ["l" | "L" | "h" | "F" | "N"] ["_"] [","]
//                  conversion character
// "%%" gives one "%". Width and precision from "*" are read (as int) before
// the value. The library's own conversions:
//   %s   const char* ("(null)" for null)      %c   int, its low byte
//   %D   64-bit integer (long long); "_" unsigned, "," groups digits by three
//   %I   unsigned IPv4 address, most significant byte first: 192.168.0.1
//   %M, %:  pointer to six bytes, as 00:1a:2b:3c:4d:5e ("(null)" for null)
// These are placed in the width (blanks, left when "-" is given; a negative
// width counts as none) and cut to the precision; a field holds at most 1,024
// characters.
// Handed to the C runtime one at a time (FormatIntoBuffer: msvcrt.dll on
// Windows), and so printed as that runtime prints them:
//   %e %E %f %g %G  a double, rounded to float unless "l" or "L" is given
//   %d %i %u %x %X %o %p  one 32-bit int
// and cut to 1,024 characters. Any other conversion character reads one int
// and is copied as it stands ("%n" reads one int and writes nothing). A
// conversion cut short by the end of the format produces nothing and reads
// no argument.
// Failure channel: throws the char* "Memory allocation error" when storage
// cannot be had; the target is then unchanged.
#ifndef KESTRIN_TOOLS_FORMAT_H
#define KESTRIN_TOOLS_FORMAT_H

#include "tools/SharedString.h"

// Formats into `target` and returns it.
SharedString& FormatText(SharedString& target, const char* format, ...);
// A new string with the formatted text.
SharedString MakeFormatted(const char* format, ...);

#endif  // KESTRIN_TOOLS_FORMAT_H
