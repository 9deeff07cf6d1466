// Removal of a file or an empty folder at the next system start, for what a
// running program cannot delete now (above all its own file).
#ifndef KESTRIN_UNINST_RESTARTREMOVAL_H
#define KESTRIN_UNINST_RESTARTREMOVAL_H

// Records the path for removal at the next start: MoveFileExA with
// MOVEFILE_DELAY_UNTIL_REBOOT where the system has it, else (Windows 9x,
// where that call is not implemented) a "NUL=" line with the short path in the
// [rename] section of WININIT.INI. Removals run in the order recorded.
bool ScheduleRemovalAtRestart(const char* path);

// A WININIT.INI text with "NUL=<shortPath>" added as the last line of its
// [rename] section (the section is added at the end when missing). Section
// names compare without regard to case; lines end in CRLF. The result is
// allocated with malloc (the caller frees it), or null when out of memory.
char* AddWininitRemoval(const char* iniText, const char* shortPath);

#endif
