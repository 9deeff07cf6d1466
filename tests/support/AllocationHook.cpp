// The replaced global allocation functions (see AllocationHook.h).
#include "tests/support/AllocationHook.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocations{0};
// The number of the allocation to fail; 0 fails none.
std::atomic<long> failAt{0};
std::atomic<bool> failed{false};
std::atomic<int> errnoLeftByFree{0};

void* Allocate(std::size_t size) {
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
  if (const int value = errnoLeftByFree)
    errno = value;
}

}  // namespace

namespace test {

long AllocationCount() { return allocations; }

void FailAllocation(long number) {
  failed = false;
  failAt = number;
}

bool AllocationFailed() { return failed; }

void SetErrnoLeftByFree(int value) { errnoLeftByFree = value; }

}  // namespace test

void* operator new(std::size_t size) {
  void* block = Allocate(size);
  if (block == nullptr)
    throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
