// Copies and assignments of SharedString must not allocate. This program
// replaces the global allocation functions with counting ones; everything
// SharedString allocates goes through them.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "tools/SharedString.h"

namespace {
std::atomic<long> allocations{0};

void* Counted(std::size_t size)
{
    ++allocations;
    return std::malloc(size != 0 ? size : 1);
}

// Out of line: GCC would otherwise see malloc'd blocks reach delete and warn
// about a mismatch that replacing both sides makes right.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
void Uncounted(void* block)
{
    std::free(block);
}
}  // namespace

void* operator new(std::size_t size)
{
    void* block = Counted(size);
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
    return Counted(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Counted(size);
}
void operator delete(void* block) noexcept
{
    Uncounted(block);
}
void operator delete[](void* block) noexcept
{
    Uncounted(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    Uncounted(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    Uncounted(block);
}

namespace {

TEST(AllocationCountTest, MakingATextIsCounted)
{
    // Without this the zero below would prove nothing.
    const long before = allocations;
    SharedString text("counted");
    const long made = allocations - before;
    EXPECT_EQ(1, made);
}

TEST(AllocationCountTest, CopiesAndAssignmentsAllocateNothing)
{
    SharedString first("first");
    SharedString second("second");
    SharedString empty;

    const long before = allocations;
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
    const long during = allocations - before;
    EXPECT_EQ(0, during);
    EXPECT_TRUE(first == "first");
    EXPECT_TRUE(second == "second");
}

}  // namespace
