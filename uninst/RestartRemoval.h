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

#endif  // KESTRIN_UNINST_RESTARTREMOVAL_H
