// SplitModulePath: a program's full path cut into its folder and file name.
#ifndef KESTRIN_APP_MODULEPATH_H
#define KESTRIN_APP_MODULEPATH_H

#include "tools/SharedString.h"

// Cuts `path` at its last backslash: the part before it becomes `folder`,
// the part after it `fileName`. A path with no backslash (or a null one)
// gives two empty texts. A drive-root program "C:\Setup.exe" gives the
// folder "C:" (paths are joined later as folder + "\" + name).
void SplitModulePath(const char* path, SharedString& folder, SharedString& fileName);

#endif  // KESTRIN_APP_MODULEPATH_H
