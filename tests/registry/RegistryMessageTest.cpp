// RegistryMessageBuffer: every message is cut to fit its 1,024 bytes. Runs
// natively under AddressSanitizer (which would see any overflow) and on Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "registry/RegistryMessage.h"

namespace {

TEST(RegistryMessage, FormatsPathAndCode) {
  FormatRegistryMessage("WriteRegError %s %d", "Software\\Kestrin", 5);
  EXPECT_STREQ("WriteRegError Software\\Kestrin 5", RegistryMessageBuffer);
}

TEST(RegistryMessage, EachMessageReplacesTheLast) {
  FormatRegistryMessage("CloseRegError %s %d", "a long path of some sort", 6);
  FormatRegistryMessage("QueryRegError %s %d", "x", 2);
  EXPECT_STREQ("QueryRegError x 2", RegistryMessageBuffer);
}

TEST(RegistryMessage, AnOverlongFormattedMessageIsCutToFit) {
  const std::string name(3000, 'n');
  FormatRegistryMessage("DeleteKeyRegError %s %s", name.c_str(), "Software\\Kestrin");
  const std::string expected = ("DeleteKeyRegError " + name).substr(0, kRegistryMessageBufferSize - 1);
  EXPECT_EQ(expected, RegistryMessageBuffer);
  EXPECT_EQ(kRegistryMessageBufferSize - 1, static_cast<int>(std::strlen(RegistryMessageBuffer)));
}

TEST(RegistryMessage, ALongPathPlusALongSystemTextIsCutToFit) {
  const std::string path(260, 'p');
  const std::string systemText = " Error code=5 (" + std::string(2000, 's') + ")";
  FormatRegistryMessage("OpenRegError %s %d", path.c_str(), 5);
  AppendRegistryMessage(systemText.c_str());
  const std::string whole = "OpenRegError " + path + " 5" + systemText;
  EXPECT_EQ(whole.substr(0, kRegistryMessageBufferSize - 1), RegistryMessageBuffer);

  // Appending to a full buffer adds nothing.
  AppendRegistryMessage("more");
  EXPECT_EQ(whole.substr(0, kRegistryMessageBufferSize - 1), RegistryMessageBuffer);
}

TEST(RegistryMessage, AShortAppendIsWhole) {
  FormatRegistryMessage("OpenRegError %s %d", "Software\\X", 2);
  AppendRegistryMessage(" Error code=2 (The system cannot find the file specified.)");
  AppendRegistryMessage(nullptr);
  EXPECT_STREQ("OpenRegError Software\\X 2 Error code=2 (The system cannot find the file specified.)",
               RegistryMessageBuffer);
}

TEST(RegistryMessage, AMessageOfExactlyTheBufferLessOneFits) {
  const std::string text(kRegistryMessageBufferSize - 1, 'x');
  FormatRegistryMessage("%s", text.c_str());
  EXPECT_EQ(text, RegistryMessageBuffer);
  FormatRegistryMessage("%s", "");
  AppendRegistryMessage(text.c_str());
  EXPECT_EQ(text, RegistryMessageBuffer);
}

}  // namespace
