// RemoveFile must record the errno of the failed removal, not whatever the
// clean-up after it leaves behind. This program links the allocation
// hook, whose deallocation functions overwrite errno on demand: freeing
// memory may change errno, and the path copy RemoveFile makes is freed
// right after the removal.
#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <string>

#include "tests/support/AllocationHook.h"
#include "tests/support/WinTestSupport.h"
#include "tools/Win32/File/PathHelpers.h"

namespace {

// Not an errno value the removal itself gives.
const int kLeftByFree = EDOM;

// Overwrites errno in every deallocation while it lives.
struct ErrnoOverwritingFrees {
  ErrnoOverwritingFrees() { test::SetErrnoLeftByFree(kLeftByFree); }
  ~ErrnoOverwritingFrees() { test::SetErrnoLeftByFree(0); }
};

TEST(RemoveFileErrno, TheRemovalsErrnoSurvivesTheFreedPathCopy) {
  test::TempFolder folder{"rmerrno"};
  // Forward slashes: the path is copied to hand the runtime backslashes.
  std::string path = folder / "missing.txt";
  for (char& c : path)
    if (c == '\\')
      c = '/';
  XTOOFile holder(false);
  int result = 0;
  {
    ErrnoOverwritingFrees overwriting;
    result = RemoveFile(path.c_str(), holder);
  }
  EXPECT_EQ(ENOENT, result);
  EXPECT_EQ(43, holder.GetStatus());
  EXPECT_EQ(ENOENT, holder.GetErrno());
}

}  // namespace
