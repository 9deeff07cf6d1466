// RemoveFile must record the errno of the failed removal, not whatever the
// clean-up after it leaves behind. This program replaces the global
// deallocation functions with ones that overwrite errno on demand: freeing
// memory may change errno, and the path copy RemoveFile makes is freed
// right after the removal.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "tests/support/WinTestSupport.h"
#include "tools/Win32/File/PathHelpers.h"

namespace {

std::atomic<bool> overwriteErrno{false};
// Not an errno value the removal itself gives.
const int kLeftByFree = EDOM;

#if defined(__GNUC__)
__attribute__((noinline))
#endif
void Release(void* block)
{
    std::free(block);
    if (overwriteErrno)
        errno = kLeftByFree;
}

}  // namespace

void* operator new(std::size_t size)
{
    void* block = std::malloc(size != 0 ? size : 1);
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
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
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

// Overwrites errno in every deallocation while it lives.
struct ErrnoOverwritingFrees {
    ErrnoOverwritingFrees() { overwriteErrno = true; }
    ~ErrnoOverwritingFrees() { overwriteErrno = false; }
};

TEST(RemoveFileErrno, TheRemovalsErrnoSurvivesTheFreedPathCopy)
{
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
