// Replaced global allocation functions for the test programs that need to
// watch or disturb allocation: they count allocations, can fail a chosen one
// and can overwrite errno when memory is freed. Linking the hook replaces
// operator new and delete for the whole program, so only the programs built
// for that link it (kestrin_allocation_hook).
#ifndef KESTRIN_TESTS_SUPPORT_ALLOCATIONHOOK_H
#define KESTRIN_TESTS_SUPPORT_ALLOCATIONHOOK_H

namespace test {

// Allocations made so far through operator new, every form counted.
long AllocationCount();

// Makes the allocation numbered `number` (the count it brings
// AllocationCount() to) fail: plain new throws std::bad_alloc, nothrow new
// gives null. 0 fails none. Either way an earlier failure is forgotten.
void FailAllocation(long number);

// Whether the allocation FailAllocation chose has failed since.
bool AllocationFailed();

// Every deallocation from now on sets errno to `value`, as freeing memory
// may; 0 leaves errno alone.
void SetErrnoLeftByFree(int value);

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_ALLOCATIONHOOK_H
