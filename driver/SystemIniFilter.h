// The "system.ini" line filter of static driver un-registration:
// the "device=" matcher, the section tracking, and the whole file pass over
// two streams. Portable (standard C and C++ only): it builds in the native
// tree, where it is tested and fuzzed.
//
// Index:
//   TrimLineEnd        drop every CR and LF at the end of a line
//   IsDeviceLineFor    the "device=" match rules for one driver file name
//   SystemIniFilter    line by line: section flag, found flag, keep or drop
//   RewriteSystemIni   the file pass: read lines, write kept ones with "\r\n"
#ifndef KESTRIN_DRIVER_SYSTEMINIFILTER_H
#define KESTRIN_DRIVER_SYSTEMINIFILTER_H

#include <cstddef>
#include <cstdio>
#include <string_view>

// The section whose "device=" lines load static drivers; matched exactly
// (case as written, no blanks).
inline constexpr std::string_view kEnhSectionHeader = "[386Enh]";
// The key word of a driver line; matched without regard to case.
inline constexpr std::string_view kDeviceKeyWord = "device=";
// The longest line (without its line end) that one read of the file pass
// has room for. Only such lines are judged as driver lines: a longer one was
// never a line the system reads as one, and it reaches the new file as it is.
inline constexpr std::size_t kLongestJudgedLine = 1021;

// The line without the carriage returns and line feeds at its end.
std::string_view TrimLineEnd(std::string_view line);

// True when `line` (without its line end) loads `driverFileName`: it begins
// with "device=" (any case), is at least as long as "device=" plus the name,
// ends in the name (any case), and the character just before the name is a
// backslash or "=". So "device=C:\WIN\kestrin.vxd" and "DEVICE=KESTRIN.VXD"
// match KESTRIN.VXD, "device=XKESTRIN.VXD" does not. An empty name matches
// nothing.
bool IsDeviceLineFor(std::string_view line, std::string_view driverFileName);

// The scan state of one pass, fed the lines of the file in order.
class SystemIniFilter {
 public:
  // The name is not copied: its characters must outlive the filter.
  explicit SystemIniFilter(std::string_view driverFileName) : driverFileName(driverFileName) {}

  // Takes one whole line (its line end may still be on it) and tells
  // whether it stays. A line beginning with "[" ends the current section;
  // the line "[386Enh]" starts the driver section. Inside it a line that
  // IsDeviceLineFor the driver is dropped and sets the found flag, unless
  // it is longer than kLongestJudgedLine.
  bool Keep(std::string_view line);

  // At least one line was dropped.
  bool Found() const { return found; }
  // The lines read last belong to a "[386Enh]" section.
  bool InDriverSection() const { return inDriverSection; }

 private:
  std::string_view driverFileName;
  bool inDriverSection = false;
  bool found = false;
};

// What one file pass did.
struct SystemIniPassResult {
  bool found = false;        // a line was dropped
  bool writeFailed = false;  // a kept line could not be written; reading stopped
  bool readFailed = false;   // the input reported a read error; reading stopped
  std::size_t linesRead = 0;
  std::size_t linesDropped = 0;

  // The new file may replace the old one.
  bool ShouldReplace() const { return found && !writeFailed && !readFailed; }
};

// Reads `in` to its end, line by line, and writes every kept line (less the
// CR and LF characters at its end) to `out` followed by "\r\n". Lines are
// split at each line feed only; a line of any length is read whole (the
// 1,024-byte read buffer never splits it) and a line may hold any byte,
// zero bytes included. A final line without line end is a line. Writing
// stops at the first incomplete write; `out` is flushed at the end, and a
// failed flush counts as a write failure. Neither stream is closed. A line
// for which no storage can be had throws the char* "Memory allocation
// error".
SystemIniPassResult RewriteSystemIni(std::FILE* in, std::FILE* out, std::string_view driverFileName);

#endif  // KESTRIN_DRIVER_SYSTEMINIFILTER_H
