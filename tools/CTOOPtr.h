// CTOOPtr: scoped owner of one fixed-size heap block (a temporary, writable
// text buffer, as a rule). Failure channel: the constructors throw the char*
// text "Memory allocation error".
#ifndef KESTRIN_TOOLS_CTOOPTR_H
#define KESTRIN_TOOLS_CTOOPTR_H

#include <cstddef>
#include <cstdint>

// The text thrown, as a char*, when storage cannot be had. It is a constant:
// catchers never free it.
extern const char kMemoryAllocationError[];
[[noreturn]] void ThrowMemoryAllocationError();

// What every empty CTOOPtr points to; never freed.
extern const char kCTOOPtrZeroItems[];

// Flag bit set in the caller's failure flags before the throw.
const int kCTOOPtrAllocationFailed = 1;

namespace ctooptr_detail {
// Storage for `count` items of `itemSize` bytes: the zero-items marker for
// 0, otherwise a heap block. On overflow of count * itemSize or heap failure
// sets bit 0 of *failureFlags (when given) and throws.
void* Allocate(uint32_t count, size_t itemSize, int* failureFlags);
void Free(void* items, uint32_t count);
}  // namespace ctooptr_detail

// Owns `count` items; contents are not initialised (except by the text
// constructor). Never grows: make a new one and Swap.
template <typename T>
class CTOOPtrOf {
 public:
  explicit CTOOPtrOf(uint32_t count, int* failureFlags = nullptr)
      : items(static_cast<T*>(ctooptr_detail::Allocate(count, sizeof(T), failureFlags))), count(count) {}
  ~CTOOPtrOf() { ctooptr_detail::Free(items, count); }
  CTOOPtrOf(const CTOOPtrOf&) = delete;
  CTOOPtrOf& operator=(const CTOOPtrOf&) = delete;

  T* Get() const { return items; }
  // No bounds check.
  T* Item(uint32_t index) const { return items + index; }
  uint32_t Count() const { return count; }

  void Swap(CTOOPtrOf& other) {
    T* heldItems = items;
    uint32_t heldCount = count;
    items = other.items;
    count = other.count;
    other.items = heldItems;
    other.count = heldCount;
  }

 protected:
  T* items;
  uint32_t count;
};

// The character buffer the program uses everywhere.
class CTOOPtr : public CTOOPtrOf<char> {
 public:
  explicit CTOOPtr(uint32_t count, int* failureFlags = nullptr) : CTOOPtrOf<char>(count, failureFlags) {}
  // Room for `text` (null counts as "") plus `extra` more characters and
  // the terminator; the text is copied to the start with its terminator.
  CTOOPtr(const char* text, uint32_t extra);
};

#endif  // KESTRIN_TOOLS_CTOOPTR_H
