// Copies and assignments of SharedString must not allocate. This program
// links the allocation hook, which counts allocations; everything
// SharedString allocates goes through them.
#include <gtest/gtest.h>

#include "tests/support/AllocationHook.h"
#include "tools/SharedString.h"

namespace {

TEST(AllocationCountTest, MakingATextIsCounted) {
  // Without this the zero below would prove nothing.
  const long before = test::AllocationCount();
  SharedString text("counted");
  const long made = test::AllocationCount() - before;
  EXPECT_EQ(1, made);
}

TEST(AllocationCountTest, CopiesAndAssignmentsAllocateNothing) {
  SharedString first("first");
  SharedString second("second");
  SharedString empty;

  const long before = test::AllocationCount();
  {
    SharedString copy(first);
    SharedString another = copy;
    copy = second;
    const SharedString& alias = copy;
    copy = alias;
    another = empty;
    another = first;
    SharedString moved(static_cast<SharedString&&>(another));
    moved = static_cast<SharedString&&>(copy);
    SharedString share;
    share += first;  // appending to an empty handle shares
    first += empty;
    SharedString plusNull = second + nullptr;
    SharedString whole = first.Left(100);
  }
  const long during = test::AllocationCount() - before;
  EXPECT_EQ(0, during);
  EXPECT_TRUE(first == "first");
  EXPECT_TRUE(second == "second");
}

}  // namespace
