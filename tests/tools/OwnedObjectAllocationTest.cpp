// Records that take over an object must not lose it when their own
// construction runs out of memory. This program replaces the global
// allocation functions with ones that can fail the n-th allocation from a
// given moment, and makes the records with each allocation failing in turn.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "tools/CTOOPtr.h"
#include "tools/ObjectHolder.h"
#include "tools/WinsockError.h"

namespace {

std::atomic<long> allocations{0};
// The number of the allocation to fail; 0 fails none.
std::atomic<long> failAt{0};
std::atomic<bool> failed{false};

void* Allocate(std::size_t size)
{
    const long number = ++allocations;
    if (failAt != 0 && number == failAt) {
        failed = true;
        return nullptr;
    }
    return std::malloc(size != 0 ? size : 1);
}

// Out of line: GCC would otherwise see malloc'd blocks reach delete and warn
// about a mismatch that replacing both sides makes right.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void Release(void* block)
{
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size)
{
    void* block = Allocate(size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* block) noexcept
{
    Release(block);
}
void operator delete[](void* block) noexcept
{
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}

namespace {

// Counts its take-overs and its destruction.
class Tracked : public OwnedObject {
public:
    Tracked(int* takenOver, int* destroyed) : takenOver(takenOver), destroyed(destroyed) {}
    ~Tracked() override { ++*destroyed; }
    void OnTakenOver() override { ++*takenOver; }

private:
    int* takenOver;
    int* destroyed;
};

// Runs `make` (which hands a fresh Tracked to a record and lets the record
// go) with the first, second, ... allocation inside it failing, until a run
// needs no more allocations than that. Whether the record was made or its
// construction threw, the object must be destroyed exactly once.
template <typename Make>
void EachAllocationFailingInTurn(Make make)
{
    for (long n = 1;; ++n) {
        ASSERT_LT(n, 100) << "more allocations than expected";
        int takenOver = 0, destroyed = 0;
        Tracked* object = new Tracked(&takenOver, &destroyed);
        failed = false;
        failAt = allocations + n;
        bool threw = false;
        try {
            make(object);
        } catch (char* text) {
            threw = true;
            EXPECT_STREQ(kMemoryAllocationError, text) << n;
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        failAt = 0;
        const bool injected = failed;
        EXPECT_EQ(1, destroyed) << "allocation " << n << (threw ? " (thrown)" : "");
        EXPECT_LE(takenOver, 1) << n;
        if (!threw) {
            EXPECT_EQ(1, takenOver) << n;
        }
        if (!injected)
            break;
    }
}

TEST(OwnedObjectAllocation, ASocketErrorRecordThatCannotBeMadeDestroysItsContext)
{
    EachAllocationFailingInTurn([](OwnedObject* context) {
        SocketErrorRef error("connect", context, "server", 10061);
    });
    EachAllocationFailingInTurn([](OwnedObject* context) {
        SocketErrorRef error(nullptr, context, nullptr, 10061);
    });
    // The record on its own: it owns the context once it is made, and
    // leaves it to its caller when its construction throws.
    EachAllocationFailingInTurn([](OwnedObject* context) {
        std::unique_ptr<OwnedObject> owned(context);
        SocketErrorRecord* record = new SocketErrorRecord("connect", owned.get(), "server", 10061);
        owned.release();
        record->Release();
    });
}

TEST(OwnedObjectAllocation, AnObjectHolderThatCannotBeMadeDestroysItsObject)
{
    EachAllocationFailingInTurn([](OwnedObject* object) { ObjectHolderRef holder(object); });
}

}  // namespace
