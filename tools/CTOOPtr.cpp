#include "tools/CTOOPtr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

const char kMemoryAllocationError[] = "Memory allocation error";
const char kCTOOPtrZeroItems[] = "(CTOOPtr:ZeroItems)";

void ThrowMemoryAllocationError() {
  // The program's handlers catch char*, not const char*.
  throw const_cast<char*>(kMemoryAllocationError);
}

namespace ctooptr_detail {

void* Allocate(uint32_t count, size_t itemSize, int* failureFlags) {
  void* items = nullptr;
  if (count == 0) {
    items = const_cast<char*>(kCTOOPtrZeroItems);
  } else if (itemSize == 0 || count <= SIZE_MAX / itemSize) {
    items = std::malloc(static_cast<size_t>(count) * itemSize);
  }
  if (items == nullptr) {
    if (failureFlags != nullptr)
      *failureFlags |= kCTOOPtrAllocationFailed;
    ThrowMemoryAllocationError();
  }
  return items;
}

void Free(void* items, uint32_t count) {
  if (count != 0)
    std::free(items);
}

}  // namespace ctooptr_detail

namespace {

uint32_t TextBufferCount(const char* text, uint32_t extra) {
  const size_t length = text != nullptr ? std::strlen(text) : 0;
  if (length > UINT32_MAX - 1 || extra > UINT32_MAX - 1 - length)
    ThrowMemoryAllocationError();
  return static_cast<uint32_t>(length + extra + 1);
}

}  // namespace

CTOOPtr::CTOOPtr(const char* text, uint32_t extra) : CTOOPtrOf<char>(TextBufferCount(text, extra)) {
  const char* source = text != nullptr ? text : "";
  std::memcpy(items, source, std::strlen(source) + 1);
}
