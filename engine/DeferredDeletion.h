// The product files an uninstall could not delete at once (files in use, the
// running setup program itself): their list, and the helper that deletes them
// at the next start.
#ifndef KESTRIN_ENGINE_DEFERREDDELETION_H
#define KESTRIN_ENGINE_DEFERREDDELETION_H

#include "tools/SharedString.h"

class ProductProfile;

// The deferred-deletion list: the program folder's short 8.3 form on its
// first line, added with the first failed file, then the short name of each
// failed file, one per line, no line feed after the last. Short forms come
// from GetShortPathNameA; where there is none the long form stands.
class DeferredDeletionList {
 public:
  // Adds `fullPath`, a file of `folder` that could not be deleted.
  void AddFailedFile(const char* folder, const char* fullPath);
  bool IsEmpty() const { return !text.IsValid(); }
  const SharedString& Text() const { return text; }

 private:
  SharedString text;
};

// Writes the helper "uninst.exe" into the program folder with `list` in its
// list area, records it under RunOnce and asks for the restart. Returns the
// uninstall's result: 0 when the list is too long for the helper (reported),
// 1 otherwise, also when the helper could not be written (reported) or the
// setup program carries no helper image (silent).
int ScheduleDeferredDeletion(const ProductProfile& profile, const char* list);

// The part of ScheduleDeferredDeletion after the helper image has been
// found: writes `image` (`size` bytes) with the list over its list area,
// when it has one, records it under RunOnce and asks for the restart.
// Returns 1. Apart so that images other than the program's own can be tried.
int WriteHelperAndAskRestart(const ProductProfile& profile, const char* list, const void* image,
                             unsigned long size);

#endif  // KESTRIN_ENGINE_DEFERREDDELETION_H
