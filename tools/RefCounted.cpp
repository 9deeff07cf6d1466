#include "tools/RefCounted.h"

int32_t RefCounted::AddRef() { return count.fetch_add(1, std::memory_order_relaxed) + 1; }

int32_t RefCounted::Release() {
  // acq_rel: the thread that drops the last reference must see every
  // write made through the other references before it destroys.
  const int32_t remaining = count.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (remaining == 0) {
    delete this;
    return 0;
  }
  return remaining;
}

RefCounted::~RefCounted() = default;
