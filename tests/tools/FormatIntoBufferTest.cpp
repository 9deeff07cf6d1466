// Formatting into a fixed buffer: the runtime's text, cut at the buffer's
// last byte and always terminated, whatever the runtime does at the edge
// (msvcrt.dll leaves a text of exactly the buffer's size unterminated).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tools/FormatIntoBuffer.h"

namespace {

const char kGuard = '#';

TEST(FormatIntoBuffer, CutsAtTheLastByteAndAlwaysTerminates) {
  const size_t kSize = 8;
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"abc", "abc"},
      {"abcdefg", "abcdefg"},   // size - 1: fits whole
      {"abcdefgh", "abcdefg"},  // exactly the size: one too many
      {"abcdefghijk", "abcdefg"},
      {"", ""},
  };
  for (const auto& c : cases) {
    char buffer[kSize + 1];
    std::memset(buffer, kGuard, sizeof buffer);
    const size_t length = FormatIntoBuffer(buffer, kSize, "%s", c.text);
    EXPECT_STREQ(c.expected, buffer) << c.text;
    EXPECT_EQ(std::strlen(c.expected), length) << c.text;
    EXPECT_EQ(kGuard, buffer[kSize]) << c.text;
  }
}

TEST(FormatIntoBuffer, FormatsLikePrintf) {
  char buffer[64];
  EXPECT_EQ(21u, FormatIntoBuffer(buffer, sizeof buffer, "%s\\%s %d", "System\\VxD", "KESTRIN", -5));
  EXPECT_STREQ("System\\VxD\\KESTRIN -5", buffer);

  char one = kGuard;
  EXPECT_EQ(0u, FormatIntoBuffer(&one, 1, "%s", "text"));
  EXPECT_EQ('\0', one);
  one = kGuard;
  EXPECT_EQ(0u, FormatIntoBuffer(&one, 0, "%s", "text"));
  EXPECT_EQ(kGuard, one);
}

}  // namespace
