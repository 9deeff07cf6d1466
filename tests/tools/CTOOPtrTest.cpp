// CTOOPtr: the zero-items marker, the text constructor, Swap and the thrown
// allocation failure.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/CTOOPtr.h"

namespace {

TEST(CTOOPtrTest, ZeroCountPointsToTheMarker) {
  CTOOPtr none(0);
  EXPECT_EQ(0u, none.Count());
  EXPECT_STREQ("(CTOOPtr:ZeroItems)", none.Get());
}

TEST(CTOOPtrTest, TextConstructorSizesAndCopies) {
  CTOOPtr fromNull(nullptr, 0);
  EXPECT_EQ(1u, fromNull.Count());
  EXPECT_STREQ("", fromNull.Get());

  CTOOPtr text("abc", 40);
  EXPECT_EQ(44u, text.Count());
  EXPECT_EQ(0, std::memcmp(text.Get(), "abc", 4));
  // Every item of the block is writable (ASan checks the end).
  text.Get()[43] = 'z';
  EXPECT_EQ(text.Get() + 3, text.Item(3));
}

TEST(CTOOPtrTest, SwapHandsOverBothBlocks) {
  CTOOPtr outer("outer", 0);
  char* outerBlock = outer.Get();
  {
    CTOOPtr inner(0);
    inner.Swap(outer);
    EXPECT_EQ(outerBlock, inner.Get());
    EXPECT_EQ(6u, inner.Count());
    EXPECT_EQ(0u, outer.Count());
    EXPECT_STREQ("(CTOOPtr:ZeroItems)", outer.Get());
  }
  // The inner object freed the block; the outer one frees nothing.
}

// An item size whose product with the largest count cannot be represented.
struct Huge {
  char bytes[sizeof(size_t) > 4 ? (1ull << 33) : 2];
};

TEST(CTOOPtrTest, SizeOverflowSetsTheFlagAndThrows) {
  int flags = 0x10;
  try {
    CTOOPtrOf<Huge> buffer(0xFFFFFFFFu, &flags);
    FAIL() << "no exception";
  } catch (const char* text) {
    EXPECT_STREQ("Memory allocation error", text);
  }
  EXPECT_EQ(0x11, flags);
  EXPECT_THROW(CTOOPtrOf<Huge>(0xFFFFFFFFu), char*);
}

}  // namespace
