// A path as the runtime's file functions take it.
#ifndef KESTRIN_TOOLS_NORMALISEDPATH_H
#define KESTRIN_TOOLS_NORMALISEDPATH_H

#include "tools/SharedString.h"

// A copy of `path` with every forward slash turned into a backslash: the
// runtime takes backslashes only. The caller's text stays as written (and is
// what a failure records).
SharedString NormalisedPath(const char* path);

#endif  // KESTRIN_TOOLS_NORMALISEDPATH_H
