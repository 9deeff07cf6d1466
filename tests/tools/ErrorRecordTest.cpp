// Error records and their handles: Prepend, the Win32, errno and Winsock
// texts, and ownership of held objects.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "tests/support/TrackedObject.h"
#include "tools/ErrorRecord.h"
#include "tools/ObjectHolder.h"
#include "tools/Platform.h"
#include "tools/WinsockError.h"

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
#endif

namespace {

TEST(ErrorRecordTest, TextSetAndPrepend) {
  ErrorRecordRef none;
  EXPECT_EQ(nullptr, none.Record()->GetText());
  EXPECT_STREQ("", none.GetText());
  none.Record()->Prepend("head");
  EXPECT_STREQ("head", none.GetText());

  ErrorRecordRef text("tail");
  text.Record()->Prepend(nullptr);
  EXPECT_STREQ("tail", text.GetText());
  text.Record()->Prepend("head ");
  EXPECT_STREQ("head tail", text.GetText());
  // Setting a part of its own text.
  text.Record()->SetText(text.GetText() + 5);
  EXPECT_STREQ("tail", text.GetText());
  text.Record()->SetText(nullptr);
  EXPECT_EQ(nullptr, text.Record()->GetText());
}

TEST(ErrorRecordTest, PrependAcrossTheLocalBufferBoundary) {
  // Joined sizes (with the terminator) of 255, 256, 257 and far beyond.
  for (size_t total : {255u, 256u, 257u, 300u, 5000u}) {
    const std::string head(100, 'h');
    const std::string tail(total - 1 - head.size(), 't');
    ErrorRecordRef record(tail.c_str());
    record.Record()->Prepend(head.c_str());
    EXPECT_EQ(head + tail, record.GetText()) << total;
  }
  const std::string longHead(400, 'p');
  ErrorRecordRef empty;
  empty.Record()->Prepend(longHead.c_str());
  EXPECT_EQ(longHead, empty.GetText());
}

bool HasLineEnd(const char* text) {
  return std::strchr(text, '\r') != nullptr || std::strchr(text, '\n') != nullptr;
}

TEST(Win32ErrorRecordTest, TextsAndPrefixes) {
  Win32ErrorRef none(0);
  EXPECT_EQ(nullptr, none.Record()->GetText());
  EXPECT_STREQ("", none.GetText());
  EXPECT_EQ(nullptr, Win32ErrorRef(nullptr, 0).Record()->GetText());
  EXPECT_STREQ("pre ", Win32ErrorRef("pre", 0).GetText());

  // The system's message goes in without its line ends.
  const SharedString raw = platform::SystemErrorMessage(5);
  std::string firstLine(raw.c_str());
  firstLine = firstLine.substr(0, firstLine.find_first_of("\r\n"));
  Win32ErrorRef denied(5);
  EXPECT_EQ(5, denied.GetCode());
  EXPECT_EQ("Error code=5 (" + firstLine + ")", denied.GetText());
  EXPECT_FALSE(HasLineEnd(denied.GetText()));

  const std::string blank = Win32ErrorRef("", 5).GetText();
  EXPECT_EQ(" Error code=5 (", blank.substr(0, 15));
  EXPECT_EQ(std::string("OpenRegError ") + denied.GetText(), Win32ErrorRef("OpenRegError", 5).GetText());
}

TEST(Win32ErrorRecordTest, CodeFromTheLastError) {
#ifdef _WIN32
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(2, Win32ErrorRef().GetCode());
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(5, Win32ErrorRef("x", -1).GetCode());
  // The system ends its messages with a line end; the record drops it.
  const SharedString raw = platform::SystemErrorMessage(2);
  ASSERT_GT(raw.Length(), 2);
  EXPECT_TRUE(HasLineEnd(raw.c_str() + raw.Length() - 1));
  // No message for the code: empty parentheses.
  EXPECT_STREQ("Error code=536875572 ()", Win32ErrorRef(0x20001234).GetText());
#else
  errno = ENOENT;
  EXPECT_EQ(ENOENT, Win32ErrorRef().GetCode());
  errno = EACCES;
  EXPECT_EQ(EACCES, Win32ErrorRef("x", -1).GetCode());
#endif
}

TEST(ErrnoErrorRecordTest, Texts) {
  EXPECT_STREQ("", ErrnoErrorRef(0).GetText());
  EXPECT_NE(nullptr, ErrnoErrorRef(0).Record()->GetText());
  EXPECT_STREQ(std::strerror(ENOENT), ErrnoErrorRef(ENOENT).GetText());
  EXPECT_EQ(ENOENT, ErrnoErrorRef(ENOENT).GetCode());
  EXPECT_STREQ("errno = 99999", ErrnoErrorRef(99999).GetText());

  errno = EACCES;
  EXPECT_EQ(std::string("open ") + std::strerror(EACCES), ErrnoErrorRef("open").GetText());
  errno = EACCES;
  EXPECT_EQ(EACCES, ErrnoErrorRef().GetCode());
  errno = 0;
  EXPECT_EQ(nullptr, ErrnoErrorRef(static_cast<const char*>(nullptr)).Record()->GetText());
  errno = 0;
  EXPECT_STREQ("open ", ErrnoErrorRef("open").GetText());
}

TEST(WinsockErrorRecordTest, NameTable) {
  EXPECT_STREQ("WSAEINTR", kWinsockErrorNames[0].name);
  EXPECT_EQ(10004, kWinsockErrorNames[0].code);
  EXPECT_STREQ("WSANO_ADDRESS", kWinsockErrorNames[kWinsockErrorNameCount - 1].name);
  EXPECT_EQ(11004, kWinsockErrorNames[kWinsockErrorNameCount - 1].code);
  EXPECT_STREQ("WSANO_DATA", FindWinsockErrorName(11004));

  EXPECT_STREQ("WSANO_DATA", WinsockErrorRef(11004).GetText());
  EXPECT_STREQ("WSAECONNRESET", WinsockErrorRef(10054).GetText());
  EXPECT_STREQ("WSAEDISCON", WinsockErrorRef(10101).GetText());
  EXPECT_STREQ("", WinsockErrorRef(0).GetText());
  EXPECT_STREQ("Winsock error 12345", WinsockErrorRef(12345).GetText());
  EXPECT_EQ(12345, WinsockErrorRef(12345).GetCode());
}

#ifdef _WIN32
TEST(WinsockErrorRecordTest, CodesMatchTheSystemHeaders) {
  struct {
    int code;
    const char* name;
  } const expected[] = {
#define ROW(name) {name, #name}
      ROW(WSAEINTR),         ROW(WSAEBADF),           ROW(WSAEACCES),          ROW(WSAEFAULT),
      ROW(WSAEINVAL),        ROW(WSAEMFILE),          ROW(WSAEWOULDBLOCK),     ROW(WSAEINPROGRESS),
      ROW(WSAEALREADY),      ROW(WSAENOTSOCK),        ROW(WSAEDESTADDRREQ),    ROW(WSAEMSGSIZE),
      ROW(WSAEPROTOTYPE),    ROW(WSAENOPROTOOPT),     ROW(WSAEPROTONOSUPPORT), ROW(WSAESOCKTNOSUPPORT),
      ROW(WSAEOPNOTSUPP),    ROW(WSAEPFNOSUPPORT),    ROW(WSAEAFNOSUPPORT),    ROW(WSAEADDRINUSE),
      ROW(WSAEADDRNOTAVAIL), ROW(WSAENETDOWN),        ROW(WSAENETUNREACH),     ROW(WSAENETRESET),
      ROW(WSAECONNABORTED),  ROW(WSAECONNRESET),      ROW(WSAENOBUFS),         ROW(WSAEISCONN),
      ROW(WSAENOTCONN),      ROW(WSAESHUTDOWN),       ROW(WSAETOOMANYREFS),    ROW(WSAETIMEDOUT),
      ROW(WSAECONNREFUSED),  ROW(WSAELOOP),           ROW(WSAENAMETOOLONG),    ROW(WSAEHOSTDOWN),
      ROW(WSAEHOSTUNREACH),  ROW(WSAENOTEMPTY),       ROW(WSAEPROCLIM),        ROW(WSAEUSERS),
      ROW(WSAEDQUOT),        ROW(WSAESTALE),          ROW(WSAEREMOTE),         ROW(WSAEDISCON),
      ROW(WSASYSNOTREADY),   ROW(WSAVERNOTSUPPORTED), ROW(WSANOTINITIALISED),  ROW(WSAHOST_NOT_FOUND),
      ROW(WSATRY_AGAIN),     ROW(WSANO_RECOVERY),     ROW(WSANO_DATA),         ROW(WSANO_ADDRESS),
#undef ROW
  };
  static_assert(sizeof expected / sizeof expected[0] == kWinsockErrorNameCount, "52 names");
  for (int i = 0; i < kWinsockErrorNameCount; ++i) {
    EXPECT_EQ(expected[i].code, kWinsockErrorNames[i].code) << expected[i].name;
    EXPECT_STREQ(expected[i].name, kWinsockErrorNames[i].name);
  }
  WSASetLastError(WSAETIMEDOUT);
  EXPECT_STREQ("WSAETIMEDOUT", WinsockErrorRef().GetText());
  WSASetLastError(WSAECONNREFUSED);
  EXPECT_STREQ("peer:connect WSAECONNREFUSED", SocketErrorRef("connect", nullptr, "peer").GetText());
}
#endif

using test::Tracked;

TEST(SocketErrorRecordTest, TextAndOwnedContext) {
  int takenOver = 0, destroyed = 0;
  {
    SocketErrorRef error("connect", new Tracked(&takenOver, &destroyed), "server", 10061);
    EXPECT_STREQ("server:connect WSAECONNREFUSED", error.GetText());
    EXPECT_EQ(10061, error.GetCode());
    EXPECT_EQ(1, takenOver);
    ErrorRef copy = error;
    { ErrorRef drop = copy; }
    EXPECT_EQ(0, destroyed);
  }
  EXPECT_EQ(1, takenOver);
  EXPECT_EQ(1, destroyed);

  EXPECT_STREQ("send WSAECONNRESET", SocketErrorRef("send", nullptr, nullptr, 10054).GetText());
  EXPECT_STREQ(" WSAEINTR", SocketErrorRef(nullptr, nullptr, nullptr, 10004).GetText());
}

TEST(ObjectHolderRecordTest, OwnsTheObjectUntilTheLastHandle) {
  int takenOver = 0, destroyed = 0;
  ErrorRef survivor;
  {
    ObjectHolderRef holder(new Tracked(&takenOver, &destroyed));
    EXPECT_STREQ("", holder.GetText());
    EXPECT_NE(nullptr, holder.Record()->GetText());
    EXPECT_EQ(0, holder.GetCode());
    survivor = holder;
    const ErrorRef& alias = survivor;
    survivor = alias;
  }
  EXPECT_EQ(1, takenOver);
  EXPECT_EQ(0, destroyed);
  survivor = ErrorRef();
  EXPECT_EQ(1, destroyed);
  EXPECT_STREQ("", survivor.GetText());
  EXPECT_EQ(0, survivor.GetCode());
  ObjectHolderRef empty(nullptr);
  EXPECT_STREQ("", empty.GetText());
}

}  // namespace
