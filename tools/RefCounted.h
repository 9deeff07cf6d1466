// RefCounted: the common base of every shared object of the tools library
// (string bodies, error records, held objects).
#ifndef KESTRIN_TOOLS_REFCOUNTED_H
#define KESTRIN_TOOLS_REFCOUNTED_H

#include <atomic>
#include <cstdint>

// A shared object starts with one reference, owned by whoever made it.
// Handles on several threads may add and drop references to one object;
// the count changes only through atomic operations.
class RefCounted {
 public:
  RefCounted() : count(1) {}
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  // Returns the new count.
  virtual int32_t AddRef();
  // Returns the remaining count; at 0 the object has destroyed itself.
  virtual int32_t Release();
  virtual ~RefCounted();

  // True when the caller holds the only reference.
  bool IsSoleOwner() const { return count.load(std::memory_order_acquire) == 1; }

 private:
  std::atomic<int32_t> count;
};

#endif  // KESTRIN_TOOLS_REFCOUNTED_H
