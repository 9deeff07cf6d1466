// Removal of a file or an empty folder at the next system start, for what a
// running program cannot delete now (above all its own file).
#ifndef KESTRIN_UNINST_RESTARTREMOVAL_H
#define KESTRIN_UNINST_RESTARTREMOVAL_H

// Records the path for removal at the next start: on Windows 9x, as the
// system reports itself (or where MoveFileExA fails as not implemented), a
// "NUL=" line with the short path in the [rename] section of WININIT.INI;
// elsewhere MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT. Removals run in the
// order recorded.
bool ScheduleRemovalAtRestart(const char* path);

// Whether the removals at the next start take empty folders too: WININIT.EXE
// of Windows 9x removes files only.
bool RestartRemovesFolders();

// A WININIT.INI text with "NUL=<shortPath>" added as the last line of its
// [rename] section (the section is added at the end when missing). Section
// names compare without regard to case; lines end in CRLF. The result is
// allocated with malloc (the caller frees it), or null when out of memory.
char* AddWininitRemoval(const char* iniText, const char* shortPath);

#endif
