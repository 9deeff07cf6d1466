// The driver channel: opening a device that is not there, and the version
// query against the driver double loaded as a kernel service.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>

#include "driver/DriverChannel.h"
#include "tests/support/DriverDouble.h"

namespace {

const char kDoubleDevice[] = "KESTRIN";
const char kMissingDevice[] = "KESTRINMISSING";
const DWORD kSentinel = 0xA5A5A5A5;
const DWORD kNoCount = 0xFFFFFFFF;

// The output word with guard words on both sides, to catch a driver or a
// channel writing more than it was given.
struct GuardedWord {
  DWORD before = kSentinel;
  DWORD word = kSentinel;
  DWORD after = kSentinel;
};

TEST(DriverChannelWithoutDriver, StaysClosedAndSendsNothing) {
  DriverChannel channel(kMissingDevice);
  EXPECT_EQ(0, channel.IsOpen());

  GuardedWord reply;
  DWORD count = 0;
  EXPECT_FALSE(channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &reply.word, sizeof reply.word, &count));
  EXPECT_EQ(kSentinel, reply.word);
  EXPECT_EQ(kNoCount, count);
  EXPECT_EQ(nullptr, channel.GetRing0Handle(GetCurrentProcess()));
}

TEST(DriverVersionWord, TakesTheWordApartUnsigned) {
  struct Case {
    DWORD word;
    DWORD majorVersion, minorVersion, build;
  } const cases[] = {
      {0x00650007, 1, 1, 7},                                  // 101, 7
      {0x0066002A, 1, 2, 42},                                 // 102, 42
      {0x00000000, 0, 0, 0},   {0xFFFFFFFF, 655, 35, 65535},  // no sign anywhere
      {0x27100000, 100, 0, 0},                                // 10000
  };
  for (const auto& c : cases) {
    const DriverVersion v = DecodeDriverVersion(c.word);
    EXPECT_EQ(c.majorVersion, v.majorVersion) << std::hex << c.word;
    EXPECT_EQ(c.minorVersion, v.minorVersion) << std::hex << c.word;
    EXPECT_EQ(c.build, v.build) << std::hex << c.word;
  }
}

// One loaded driver for the whole suite (see test::DriverSuite).
class DriverChannelTest : public test::DriverSuite {};

TEST_F(DriverChannelTest, ReadsTheWordTheDriverAnswers) {
  DriverChannel channel(kDoubleDevice);
  ASSERT_EQ(1, channel.IsOpen());
  for (DWORD word : {DWORD{0x00650007}, DWORD{0}, DWORD{0xFFFFFFFF}}) {
    ASSERT_TRUE(driver->SetVersionWord(word));
    GuardedWord reply;
    reply.word = 0;
    EXPECT_TRUE(channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &reply.word, sizeof reply.word));
    EXPECT_EQ(word, reply.word);
    EXPECT_EQ(kSentinel, reply.before);
    EXPECT_EQ(kSentinel, reply.after);
  }
}

TEST_F(DriverChannelTest, ReportsTheByteCountWhenAsked) {
  DriverChannel channel(kDoubleDevice);
  ASSERT_EQ(1, channel.IsOpen());
  DWORD word = 0;
  DWORD count = kSentinel;
  EXPECT_TRUE(channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &word, sizeof word, &count));
  EXPECT_EQ(DWORD{sizeof word}, count);
  EXPECT_EQ(test::DriverDouble::kDefaultWord, word);
}

TEST_F(DriverChannelTest, RefusedRequestLeavesTheBufferAlone) {
  DriverChannel channel(kDoubleDevice);
  ASSERT_EQ(1, channel.IsOpen());
  GuardedWord reply;
  EXPECT_FALSE(channel.Control(IOCTL_DRIVER_GET_VERSION + 4, nullptr, 0, &reply.word, sizeof reply.word));
  EXPECT_EQ(kSentinel, reply.word);

  // Too small for the word: refused too, and nothing written past the end.
  unsigned char small[2 + sizeof(DWORD)];
  std::memset(small, 0x5A, sizeof small);
  EXPECT_FALSE(channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, small, 2));
  for (unsigned char byte : small)
    EXPECT_EQ(0x5A, byte);
}

TEST_F(DriverChannelTest, WaitsForARequestTheDriverLeavesPending) {
  const DWORD delayMs = 400;
  ASSERT_TRUE(driver->SetVersionWord(0x01020304));
  ASSERT_TRUE(driver->SetPendingMs(delayMs));
  DriverChannel channel(kDoubleDevice);
  ASSERT_EQ(1, channel.IsOpen());

  // On the heap and checked before it is freed: a channel that returned
  // early would leave the driver writing into memory given up.
  auto reply = std::make_unique<GuardedWord>();
  reply->word = 0;
  DWORD count = kSentinel;
  const DWORD start = GetTickCount();
  EXPECT_TRUE(
      channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &reply->word, sizeof reply->word, &count));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(DWORD{0x01020304}, reply->word);
  EXPECT_EQ(DWORD{sizeof(DWORD)}, count);
  EXPECT_GE(elapsed, delayMs - 50) << "returned before the driver completed";

  // A second request on the same channel must not find the event still set.
  ASSERT_TRUE(driver->SetVersionWord(0x00650008));
  reply->word = 0;
  EXPECT_TRUE(channel.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &reply->word, sizeof reply->word));
  EXPECT_EQ(DWORD{0x00650008}, reply->word);
}

TEST_F(DriverChannelTest, SeveralChannelsAtOnce) {
  DriverChannel first(kDoubleDevice);
  DriverChannel second(kDoubleDevice);
  EXPECT_EQ(1, first.IsOpen());
  EXPECT_EQ(1, second.IsOpen());
  DWORD word = 0;
  EXPECT_TRUE(second.Control(IOCTL_DRIVER_GET_VERSION, nullptr, 0, &word, sizeof word));
  EXPECT_EQ(test::DriverDouble::kDefaultWord, word);
}

TEST_F(DriverChannelTest, Ring0HandleOnlyWhereTheSystemHasOne) {
  DriverChannel channel(kDoubleDevice);
  ASSERT_EQ(1, channel.IsOpen());
  // Windows 9x only: elsewhere kernel32 has no such function.
  if (GetProcAddress(GetModuleHandleA("kernel32.dll"), "OpenVxDHandle") == nullptr) {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(nullptr, channel.GetRing0Handle(event));
    CloseHandle(event);
  }
}

}  // namespace
