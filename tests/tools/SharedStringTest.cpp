// Handles, sharing and comparisons of SharedString; the reference counting
// of RefCounted.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/SharedString.h"

namespace {

// Counts how often it is destroyed, to see the last Release destroy once.
class Probe : public RefCounted {
 public:
  explicit Probe(int* destroyed) : destroyed(destroyed) {}
  ~Probe() override { ++*destroyed; }

 private:
  int* destroyed;
};

TEST(RefCountedTest, LastReleaseDestroysExactlyOnce) {
  int destroyed = 0;
  Probe* probe = new Probe(&destroyed);
  EXPECT_TRUE(probe->IsSoleOwner());
  EXPECT_EQ(2, probe->AddRef());
  EXPECT_FALSE(probe->IsSoleOwner());
  EXPECT_EQ(1, probe->Release());
  EXPECT_EQ(0, destroyed);
  EXPECT_EQ(0, probe->Release());
  EXPECT_EQ(1, destroyed);
}

TEST(SharedStringTest, EmptyHandleDiffersFromEmptyText) {
  SharedString none;
  SharedString blank("");
  EXPECT_STREQ("", none.c_str());
  EXPECT_EQ(0, none.Length());
  EXPECT_FALSE(none.IsValid());
  EXPECT_TRUE(blank.IsValid());
  EXPECT_STREQ("", blank.c_str());
  EXPECT_NE(none, blank);
  EXPECT_EQ(none, SharedString());
  // Both print as "" and so equal the empty text.
  EXPECT_TRUE(none == "");
  EXPECT_TRUE(blank == "");
  EXPECT_FALSE(SharedString(static_cast<const char*>(nullptr)).IsValid());
}

TEST(SharedStringTest, SizeConstructorGivesRoomAndEmptyText) {
  SharedString room(5);
  ASSERT_TRUE(room.IsValid());
  EXPECT_EQ(5, room.Length());
  EXPECT_STREQ("", room.c_str());
  std::memcpy(room.Buffer(), "hello", 6);
  EXPECT_TRUE(room == "hello");
  EXPECT_FALSE(SharedString(-1).IsValid());
}

TEST(SharedStringTest, CopiesShareOneBodyAndSurviveTheOriginal) {
  SharedString copy;
  const char* body;
  {
    SharedString original("shared");
    body = original.c_str();
    copy = original;
    SharedString constructed(original);
    EXPECT_EQ(body, constructed.c_str());
  }
  EXPECT_EQ(body, copy.c_str());
  EXPECT_TRUE(copy == "shared");
}

TEST(SharedStringTest, SelfAssignmentKeepsTheBody) {
  SharedString text("alive");
  const SharedString& alias = text;
  text = alias;
  EXPECT_TRUE(text == "alive");
  // Assigning its own characters copies them before the old body goes.
  text = text.c_str() + 1;
  EXPECT_TRUE(text == "live");
}

TEST(SharedStringTest, AppendSharesIntoEmptyAndCopiesOtherwise) {
  SharedString tail("tail");
  SharedString empty;
  empty += tail;
  EXPECT_EQ(tail.c_str(), empty.c_str());

  SharedString head("head");
  SharedString before = head;
  head += tail;
  EXPECT_TRUE(head == "headtail");
  EXPECT_EQ(8, head.Length());
  EXPECT_TRUE(before == "head");

  const char* kept = head.c_str();
  head += SharedString();
  EXPECT_EQ(kept, head.c_str());
}

TEST(SharedStringTest, PlusText) {
  SharedString base("ab");
  EXPECT_EQ(base.c_str(), (base + nullptr).c_str());
  SharedString joined = base + "cd";
  EXPECT_TRUE(joined == "abcd");
  EXPECT_EQ(4, joined.Length());
  EXPECT_TRUE(base == "ab");
  SharedString fromEmpty = SharedString() + "x";
  EXPECT_TRUE(fromEmpty.IsValid());
  EXPECT_TRUE(fromEmpty == "x");
}

TEST(SharedStringTest, Ordering) {
  SharedString a("abc"), b("abd"), none1, none2;
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(b > a);
  EXPECT_FALSE(a < a);
  EXPECT_TRUE(none1 == none2);
  EXPECT_FALSE(none1 < none2);
  EXPECT_FALSE(none1 > none2);
  EXPECT_FALSE(none1 < a);
  EXPECT_FALSE(a > none1);
  EXPECT_TRUE(a != "abd");
  EXPECT_TRUE(SharedString("\xE0") > SharedString("a"));  // byte-wise, unsigned
  EXPECT_EQ('b', a[1]);
}

}  // namespace
