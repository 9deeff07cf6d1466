// Text operations: substrings, trimming, replacing, hashing, hex dumps and
// the fixed-size buffer helpers (with guard bytes around every buffer).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tools/TextOps.h"

namespace {

const SharedString kAbcdef("abcdef");

TEST(TextOpsTest, MidLeftRight) {
  struct {
    int32_t start, count;
    const char* expected;
  } const mids[] = {
      {-2, 5, "abc"},
      {2, -1, "cdef"},
      {1, 2, "bc"},
      {4, 10, "ef"},
      {6, 1, ""},
      {9, 1, ""},
      {2, 0, ""},
      {-10, 3, ""},
      {-2, -1, ""},
      {0, 6, "abcdef"},
      {INT32_MIN, INT32_MAX, ""},
      {3, INT32_MAX, "def"},
  };
  for (const auto& m : mids) {
    SharedString part = kAbcdef.Mid(m.start, m.count);
    EXPECT_STREQ(m.expected, part.c_str()) << "Mid(" << m.start << ", " << m.count << ")";
    EXPECT_TRUE(part.IsValid());
  }
  // The whole text is a share, not a copy.
  EXPECT_EQ(kAbcdef.c_str(), kAbcdef.Mid(0, 6).c_str());
  EXPECT_EQ(kAbcdef.c_str(), kAbcdef.Left(6).c_str());
  EXPECT_EQ(kAbcdef.c_str(), kAbcdef.Right(100).c_str());

  EXPECT_STREQ("ef", kAbcdef.Right(2).c_str());
  EXPECT_STREQ("abc", kAbcdef.Left(3).c_str());
  EXPECT_STREQ("", kAbcdef.Left(0).c_str());
  EXPECT_STREQ("", kAbcdef.Left(-1).c_str());
  EXPECT_STREQ("", kAbcdef.Right(-3).c_str());
  EXPECT_EQ(2, kAbcdef.Right(2).Length());
}

TEST(TextOpsTest, Trim) {
  struct {
    const char* text;
    int flags;
    const char* expected;
  } const cases[] = {
      {"  x  ", 3, "x"},
      {"  x  ", 1, "x  "},
      {"  x  ", 2, "  x"},
      {"   ", 3, ""},
      {"ab\n", 4, "ab"},
      {"ab\n\n", 4, "ab\n"},
      // The line-feed test looks at the text before blanks were dropped.
      {"a \n", 2 | 4, "a "},
      {"a\n ", 2 | 4, "a\n"},
      {"dir\\", 0x10, "dir"},
      {"dir\\\\", 0x10, "dir\\"},
      {"dir\\ ", 2 | 0x10, "dir\\"},
      {"\n", 1 | 4, ""},
      {"ab\n", 0x10, "ab\n"},
  };
  for (const auto& c : cases) {
    SharedString text(c.text);
    EXPECT_STREQ(c.expected, text.Trim(c.flags).c_str()) << "Trim(" << c.flags << ") of \"" << c.text << "\"";
  }
  SharedString untouched("keep");
  const char* body = untouched.c_str();
  untouched.Trim(0x1F);
  EXPECT_EQ(body, untouched.c_str());
  SharedString none;
  EXPECT_FALSE(none.Trim(3).IsValid());
}

TEST(TextOpsTest, Replace) {
  SharedString path("a/b/c");
  EXPECT_EQ(2, path.Replace("/", "\\"));
  EXPECT_STREQ("a\\b\\c", path.c_str());

  SharedString runs("aaaaa");
  EXPECT_EQ(2, runs.Replace("aa", "b"));
  EXPECT_STREQ("bba", runs.c_str());

  // Inserted text is not searched again.
  SharedString grow("xx");
  EXPECT_EQ(2, grow.Replace("x", "xyx"));
  EXPECT_STREQ("xyxxyx", grow.c_str());

  SharedString shrink("--a--");
  EXPECT_EQ(2, shrink.Replace("--", ""));
  EXPECT_STREQ("a", shrink.c_str());
  EXPECT_EQ(1, shrink.Length());

  SharedString same("abc");
  const char* body = same.c_str();
  EXPECT_EQ(0, same.Replace("z", "y"));
  EXPECT_EQ(0, same.Replace("", "y"));
  EXPECT_EQ(body, same.c_str());
}

TEST(TextOpsTest, HashAndHexBytes) {
  const unsigned char two[] = {0x01, 0x02};
  const unsigned char four[] = {0x01, 0x02, 0x03, 0x04};
  const unsigned char five[] = {0x01, 0x02, 0x03, 0x04, 0x05};
  // A high byte must be taken unsigned, and the rotation must wrap.
  const unsigned char high[] = {0x80, 0x00, 0x00, 0x00, 0x00};
  const unsigned char ones[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(0x0201u, HashBytes(two, 2));
  EXPECT_EQ(0x04030201u, HashBytes(four, 4));
  EXPECT_EQ(0x1040C205u, HashBytes(five, 5));
  EXPECT_EQ(0x8u, HashBytes(high, 5));
  EXPECT_EQ(0x11224488u, HashBytes(ones, 9));
  EXPECT_EQ(0u, HashBytes(two, 0));
  EXPECT_EQ(0x163465D8u, SharedString("Kestrin.vxd").Hash());
  EXPECT_EQ(0x6261u, SharedString("ab").Hash());

  const unsigned char bytes[] = {0x0A, 0xFF, 0x00};
  EXPECT_STREQ("0A FF", HexBytes(bytes, 2).c_str());
  EXPECT_STREQ("0A FF 00", HexBytes(bytes, 3).c_str());
  EXPECT_EQ(8, HexBytes(bytes, 3).Length());
  EXPECT_STREQ("", HexBytes(bytes, 0).c_str());
  EXPECT_STREQ("", HexBytes(bytes, -1).c_str());
}

const char kGuard = '\xCC';

// A buffer with guard bytes on both sides.
struct Guarded {
  char bytes[16 + 8];
  explicit Guarded(const char* text = nullptr) {
    std::memset(bytes, kGuard, sizeof bytes);
    if (text != nullptr)
      std::memcpy(Data(), text, std::strlen(text) + 1);
  }
  char* Data() { return bytes + 4; }
  bool GuardsIntact(size_t size) const {
    for (size_t i = 0; i < 4; ++i)
      if (bytes[i] != kGuard)
        return false;
    for (size_t i = 4 + size; i < sizeof bytes; ++i)
      if (bytes[i] != kGuard)
        return false;
    return true;
  }
};

TEST(TextOpsTest, CopyToFixed) {
  struct {
    const char* text;
    int32_t size;
    bool fits;
    const char* expected;  // `size` bytes
  } const cases[] = {
      {"abc", 5, true, "abc\0\0"},   {"abcde", 5, true, "abcde"},  // no terminator when exactly full
      {"abcdef", 5, false, "abcde"}, {"", 3, true, "\0\0\0"},     {"abc", 0, false, ""},
  };
  for (const auto& c : cases) {
    Guarded buffer;
    EXPECT_EQ(c.fits, SharedString(c.text).CopyToFixed(buffer.Data(), c.size)) << c.text;
    EXPECT_EQ(std::string(c.expected, c.size), std::string(buffer.Data(), c.size)) << c.text;
    EXPECT_TRUE(buffer.GuardsIntact(c.size)) << c.text;
  }
}

TEST(TextOpsTest, AssignFixed) {
  const char unterminated[3] = {'x', 'y', 'z'};
  SharedString text("old");
  EXPECT_TRUE(text.AssignFixed(unterminated, 3));
  EXPECT_STREQ("xyz", text.c_str());
  EXPECT_TRUE(text.AssignFixed("ab\0cd", 5));
  EXPECT_STREQ("ab", text.c_str());
  EXPECT_EQ(2, text.Length());
  EXPECT_TRUE(text.AssignFixed("abc", 0));
  EXPECT_TRUE(text.IsValid());
  EXPECT_STREQ("", text.c_str());
}

TEST(TextOpsTest, Backslashes) {
  struct {
    const char* text;
    const char* appended;
    const char* stripped;
  } const cases[] = {
      {"", "\\", ""},
      {"dir", "dir\\", "dir"},
      {"dir\\", "dir\\", "dir"},
      {"\\\\", "\\\\", "\\"},
  };
  for (const auto& c : cases) {
    Guarded append(c.text);
    AppendBackslash(append.Data());
    EXPECT_STREQ(c.appended, append.Data());
    EXPECT_TRUE(append.GuardsIntact(std::strlen(c.appended) + 1));

    Guarded strip(c.text);
    StripBackslash(strip.Data());
    EXPECT_STREQ(c.stripped, strip.Data());
    EXPECT_TRUE(strip.GuardsIntact(std::strlen(c.text) + 1));
  }
}

}  // namespace
