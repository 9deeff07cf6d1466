// The text of WININIT.INI, which WININIT.EXE of Windows 9x carries out at
// the next start.
#ifndef KESTRIN_UNINST_WININITTEXT_H
#define KESTRIN_UNINST_WININITTEXT_H

// A WININIT.INI text with "NUL=<shortPath>" added as the last line of its
// [rename] section (the section is added at the end when missing). Section
// names compare without regard to case; lines end in CRLF. The result is
// allocated with malloc (the caller frees it), or null when out of memory.
char* AddWininitRemoval(const char* iniText, const char* shortPath);

#endif  // KESTRIN_UNINST_WININITTEXT_H
