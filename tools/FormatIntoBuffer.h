// FormatIntoBuffer: printf-style formatting into a fixed buffer by the
// platform's C runtime: msvcrt.dll's own _vsnprintf on Windows, so that no
// formatting code of the compiler's libraries is linked into the programs
// (libstdc++ makes every printf of C++ code mingw-w64's own), and the C
// library's vsnprintf natively.
#ifndef KESTRIN_TOOLS_FORMATINTOBUFFER_H
#define KESTRIN_TOOLS_FORMATINTOBUFFER_H

#include <cstdarg>
#include <cstddef>

// What the runtime reads for "%Le", "%Lf" and "%Lg": msvcrt.dll knows no
// long double of its own, its "L" reads a double.
#ifdef _WIN32
typedef double RuntimeLongDouble;
#else
typedef long double RuntimeLongDouble;
#endif

// Formats into `buffer` of `size` bytes: a text too long is cut to size - 1
// characters, and the text always ends in a zero byte. Returns its length
// (0 for a size of 0, which writes nothing). Natively a text the runtime
// refuses altogether leaves "".
__attribute__((format(printf, 3, 4))) size_t FormatIntoBuffer(char* buffer, size_t size, const char* format,
                                                              ...);
size_t FormatIntoBufferV(char* buffer, size_t size, const char* format, va_list args);

#endif  // KESTRIN_TOOLS_FORMATINTOBUFFER_H
