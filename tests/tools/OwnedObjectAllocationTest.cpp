// Records that take over an object must not lose it when their own
// construction runs out of memory. This program links the allocation hook,
// which can fail the n-th allocation from a given moment, and makes the
// records with each allocation failing in turn.
#include <gtest/gtest.h>

#include <memory>
#include <new>

#include "tests/support/AllocationHook.h"
#include "tests/support/TrackedObject.h"
#include "tools/CTOOPtr.h"
#include "tools/ObjectHolder.h"
#include "tools/WinsockError.h"

namespace {

using test::Tracked;

// Runs `make` (which hands a fresh Tracked to a record and lets the record
// go) with the first, second, ... allocation inside it failing, until a run
// needs no more allocations than that. Whether the record was made or its
// construction threw, the object must be destroyed exactly once.
template <typename Make>
void EachAllocationFailingInTurn(Make make) {
  for (long n = 1;; ++n) {
    ASSERT_LT(n, 100) << "more allocations than expected";
    int takenOver = 0, destroyed = 0;
    Tracked* object = new Tracked(&takenOver, &destroyed);
    test::FailAllocation(test::AllocationCount() + n);
    bool threw = false;
    try {
      make(object);
    } catch (const char* text) {
      threw = true;
      EXPECT_STREQ(kMemoryAllocationError, text) << n;
    } catch (const std::bad_alloc&) {
      threw = true;
    }
    const bool injected = test::AllocationFailed();
    test::FailAllocation(0);
    EXPECT_EQ(1, destroyed) << "allocation " << n << (threw ? " (thrown)" : "");
    EXPECT_LE(takenOver, 1) << n;
    if (!threw) {
      EXPECT_EQ(1, takenOver) << n;
    }
    if (!injected)
      break;
  }
}

TEST(OwnedObjectAllocation, ASocketErrorRecordThatCannotBeMadeDestroysItsContext) {
  EachAllocationFailingInTurn(
      [](OwnedObject* context) { SocketErrorRef error("connect", context, "server", 10061); });
  EachAllocationFailingInTurn(
      [](OwnedObject* context) { SocketErrorRef error(nullptr, context, nullptr, 10061); });
  // The record on its own: it owns the context once it is made, and
  // leaves it to its caller when its construction throws.
  EachAllocationFailingInTurn([](OwnedObject* context) {
    std::unique_ptr<OwnedObject> owned(context);
    SocketErrorRecord* record = new SocketErrorRecord("connect", owned.get(), "server", 10061);
    owned.release();
    record->Release();
  });
}

TEST(OwnedObjectAllocation, AnObjectHolderThatCannotBeMadeDestroysItsObject) {
  EachAllocationFailingInTurn([](OwnedObject* object) { ObjectHolderRef holder(object); });
}

}  // namespace
