// RegistryKey against the real registry of the Wine prefix. Every test works
// below a scratch key of its own (HKCU or HKLM), removed at the end.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "registry/RegistryKey.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WinTestSupport.h"

namespace {

using test::ScratchKey;

// The text a RegistryKey threw, or "(nothing thrown)". Also checks that the
// thrown pointer is the process-wide buffer.
template <typename Action>
std::string ThrownText(Action action) {
  try {
    action();
  } catch (const char* text) {
    EXPECT_EQ(static_cast<char*>(RegistryMessageBuffer), text);
    return text;
  }
  return "(nothing thrown)";
}

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// The system's own explanation of a Win32 code, as the error record words it.
std::string SystemMessage(DWORD code) {
  char* message = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                 nullptr, code, 0x400, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = message != nullptr ? message : "";
  LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
    text.pop_back();
  return text;
}

std::string Text(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

// The tests run against both roots the program uses.
class RegistryKeyTest : public ::testing::TestWithParam<HKEY> {
 protected:
  ScratchKey scratchKey{GetParam()};
  HKEY root = GetParam();
  void SetUp() override { ASSERT_TRUE(scratchKey.Created()) << scratchKey.Path(); }
};

INSTANTIATE_TEST_SUITE_P(Roots, RegistryKeyTest, ::testing::Values(HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE),
                         [](const ::testing::TestParamInfo<HKEY>& info) {
                           return info.param == HKEY_CURRENT_USER ? std::string("CurrentUser")
                                                                  : std::string("LocalMachine");
                         });

// --- Open ----------------------------------------------------------------------------

TEST_P(RegistryKeyTest, AMissingKeyOpenedForReadingThrowsOpenRegError) {
  const std::string path = scratchKey / "missing";
  const std::string text = ThrownText([&] { RegistryKey key(root, path.c_str(), RegistryRead); });
  const std::string expected = "OpenRegError " + path + " 2 Error code=2 (" + SystemMessage(2) + ")";
  EXPECT_EQ(expected, text);
  EXPECT_TRUE(StartsWith(text, "OpenRegError " + path + " 2 Error code=")) << text;
  EXPECT_FALSE(test::KeyExists(root, path));
}

TEST_P(RegistryKeyTest, AMissingKeyOpenedForWritingThrowsOpenRegErrorToo) {
  const std::string path = scratchKey / "missing";
  const std::string text = ThrownText([&] { RegistryKey key(root, path.c_str(), RegistryWrite); });
  EXPECT_TRUE(StartsWith(text, "OpenRegError " + path + " 2 Error code=2 (")) << text;
  EXPECT_FALSE(test::KeyExists(root, path));
}

TEST_P(RegistryKeyTest, ModeThreeCreatesTheKey) {
  const std::string path = scratchKey / "made\\deeper";
  {
    RegistryKey key(root, path.c_str(), RegistryWriteCreate);
    EXPECT_EQ(root, key.Parent());
    EXPECT_STREQ(path.c_str(), key.Path());
    EXPECT_NE(nullptr, key.Handle());
    key.WriteString("Name", "value");
  }
  EXPECT_TRUE(test::KeyExists(root, path));
  EXPECT_EQ("value", std::string(test::ReadValue(root, path, "Name").data.c_str()));
  // An existing key opens with mode 3 as well, keeping its values.
  RegistryKey again(root, path.c_str(), RegistryWriteCreate);
  char buffer[16] = {};
  EXPECT_TRUE(again.QueryValue("Name", buffer, sizeof buffer));
  EXPECT_STREQ("value", buffer);
}

TEST_P(RegistryKeyTest, TheCreateBitAloneCreatesForReading) {
  const std::string path = scratchKey / "readable";
  RegistryKey key(root, path.c_str(), RegistryCreate);
  EXPECT_TRUE(test::KeyExists(root, path));
  // Windows 9x keeps no access rights on keys: any handle writes.
  if (test::RunsOnWindows9x())
    EXPECT_EQ("(nothing thrown)", ThrownText([&] { key.WriteDword("x", 1); }));
  else
    EXPECT_TRUE(StartsWith(ThrownText([&] { key.WriteDword("x", 1); }), "WriteRegError " + path + " "))
        << RegistryMessageBuffer;
}

TEST_P(RegistryKeyTest, ACreateTheSystemRefusesThrowsCreateRegErrorWithItsCode) {
  // A non-volatile key cannot be made below a volatile one.
  HKEY volatileKey = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(root, (scratchKey / "volatile").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr));
  RegCloseKey(volatileKey);
  const std::string child = scratchKey / "volatile\\child";
  EXPECT_EQ("CreateRegError " + child + " 1021 Error code=1021 (" + SystemMessage(1021) + ")",
            ThrownText([&] { RegistryKey key(root, child.c_str(), RegistryWriteCreate); }));
  EXPECT_FALSE(test::KeyExists(root, child));
}

TEST(RegistryKeyOpen, WhenTheCreateFailsAnOpenableKeyStillOpens) {
  // Wine refuses to create below HKEY_PERFORMANCE_DATA (error 6) but opens
  // the root itself.
  HKEY probe = nullptr;
  if (RegCreateKeyExA(HKEY_PERFORMANCE_DATA, "", 0, const_cast<char*>(""), 0, KEY_READ, nullptr, &probe,
                      nullptr) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    GTEST_SKIP() << "this system creates below HKEY_PERFORMANCE_DATA";
  }
  std::strcpy(RegistryMessageBuffer, "untouched");
  EXPECT_EQ("(nothing thrown)", ThrownText([] { PerformanceDataKey key("", RegistryCreate); }));
  EXPECT_STREQ("untouched", RegistryMessageBuffer);
}

TEST_P(RegistryKeyTest, AFailedCreateThrowsCreateRegErrorWithTheCreateCode) {
  // A parent handle that is no key: both calls fail with ERROR_INVALID_HANDLE.
  HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ff0));
  const std::string text = ThrownText([&] { RegistryKey key(bogus, "Software", RegistryWriteCreate); });
  EXPECT_EQ("CreateRegError Software 6 Error code=6 (" + SystemMessage(6) + ")", text);
}

TEST_P(RegistryKeyTest, APathLongerThan260CharactersIsRefusedNotOverrun) {
  const std::string path = scratchKey / std::string(300, 'x');
  std::string text = ThrownText([&] { RegistryKey key(root, path.c_str(), RegistryWriteCreate); });
  EXPECT_TRUE(StartsWith(text, "CreateRegError " + path.substr(0, 260) + " 206 Error code=206 (")) << text;

  // Joined from a key and a sub-key name: one character too many is as
  // much too long, not a shorter key.
  RegistryKey top(root, scratchKey.Path().c_str(), RegistryRead);
  const std::string name(260 - scratchKey.Path().size(), 'y');
  const std::string joined = scratchKey / name;
  ASSERT_EQ(261u, joined.size());
  text = ThrownText([&] { RegistryKey child(top, name.c_str(), RegistryWriteCreate); });
  EXPECT_TRUE(StartsWith(text, "CreateRegError " + joined.substr(0, 260) + " 206 Error code=206 (")) << text;
  EXPECT_TRUE(test::SubKeys(root, scratchKey.Path()).empty());
}

TEST_P(RegistryKeyTest, ASubKeyIsOpenedFromTheCommonParent) {
  RegistryKey top(root, scratchKey.Path().c_str(), RegistryRead);
  RegistryKey child(top, "child", RegistryWriteCreate);
  EXPECT_EQ(root, child.Parent());
  EXPECT_EQ(scratchKey / "child", child.Path());
  RegistryKey grandChild(child, "grand", RegistryWriteCreate);
  EXPECT_EQ(scratchKey / "child\\grand", grandChild.Path());
  EXPECT_TRUE(test::KeyExists(root, scratchKey / "child\\grand"));
  // Missing with mode 0: the message names the joined path.
  EXPECT_TRUE(StartsWith(ThrownText([&] { RegistryKey missing(top, "none", RegistryRead); }),
                         "OpenRegError " + scratchKey / "none" + " 2 Error code="));
}

TEST_P(RegistryKeyTest, AFailedCloseLeavesItsMessageAndThrowsNothing) {
  std::strcpy(RegistryMessageBuffer, "untouched");
  {
    RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead);
    // Close the handle behind the object's back: its own close then fails.
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key.Handle()));
  }
  EXPECT_EQ("CloseRegError " + scratchKey.Path() + " 6", std::string(RegistryMessageBuffer));
}

TEST_P(RegistryKeyTest, AGoodCloseLeavesTheBufferAlone) {
  std::strcpy(RegistryMessageBuffer, "untouched");
  { RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead); }
  EXPECT_STREQ("untouched", RegistryMessageBuffer);
}

// --- Values -------------------------------------------------------------------------

TEST_P(RegistryKeyTest, WritesStoreEachTypeWithItsStoredSize) {
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  EXPECT_TRUE(key.WriteString("Text", "C:\\KESTRIN\\KESTRIN.VXD"));
  EXPECT_TRUE(key.WriteDword("Number", 0x01020304));
  const unsigned char zero = 0;
  EXPECT_TRUE(key.WriteBinary("Start", &zero, 1));
  EXPECT_TRUE(key.WriteString("", "default"));
  EXPECT_TRUE(key.WriteString("Empty", ""));

  const auto text = test::ReadValue(root, scratchKey.Path(), "Text");
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), text.type);
  EXPECT_EQ(Text("C:\\KESTRIN\\KESTRIN.VXD"), text.data);  // terminator included
  const auto number = test::ReadValue(root, scratchKey.Path(), "Number");
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), number.type);
  EXPECT_EQ(std::string("\x04\x03\x02\x01", 4), number.data);
  const auto start = test::ReadValue(root, scratchKey.Path(), "Start");
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), start.type);
  EXPECT_EQ(std::string(1, '\0'), start.data);
  EXPECT_EQ(Text("default"), test::ReadValue(root, scratchKey.Path(), "").data);
  EXPECT_EQ(Text(""), test::ReadValue(root, scratchKey.Path(), "Empty").data);

  // Writing again overwrites.
  EXPECT_TRUE(key.WriteString("Text", "other"));
  EXPECT_EQ(Text("other"), test::ReadValue(root, scratchKey.Path(), "Text").data);
}

TEST_P(RegistryKeyTest, QueryValueReadsWhatIsThere) {
  ASSERT_TRUE(test::WriteString(root, scratchKey.Path(), "Language", "1"));
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead);
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_TRUE(key.QueryValue("Language", buffer, sizeof buffer));
  EXPECT_STREQ("1", buffer);
  EXPECT_EQ('#', buffer[2]);  // nothing written past the value
}

TEST_P(RegistryKeyTest, MissingValuesReadAndDeleteAsFalseWithoutThrowing) {
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  char buffer[16] = "sentinel";
  bool read = true, deleted = true;
  EXPECT_EQ("(nothing thrown)", ThrownText([&] {
              read = key.QueryValue("missing", buffer, sizeof buffer);
              deleted = key.DeleteValue("missing");
            }));
  EXPECT_FALSE(read);
  EXPECT_FALSE(deleted);
  EXPECT_STREQ("sentinel", buffer);
}

TEST_P(RegistryKeyTest, AValueTooBigForTheBufferReadsAsFalse) {
  ASSERT_TRUE(test::WriteString(root, scratchKey.Path(), "Long", std::string(100, 'l')));
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead);
  char buffer[16];
  EXPECT_FALSE(key.QueryValue("Long", buffer, sizeof buffer));
}

TEST_P(RegistryKeyTest, DeleteValueRemovesAnExistingValue) {
  ASSERT_TRUE(test::WriteString(root, scratchKey.Path(), "Path", "C:\\x"));
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  EXPECT_TRUE(key.DeleteValue("Path"));
  EXPECT_FALSE(test::ReadValue(root, scratchKey.Path(), "Path").exists);
  EXPECT_FALSE(key.DeleteValue("Path"));
}

TEST_P(RegistryKeyTest, WritingThroughAReadOnlyKeyThrowsWriteRegError) {
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead);
  // Windows 9x keeps no access rights on keys: the writes go through.
  const bool rights = !test::RunsOnWindows9x();
  const std::string expected = rights ? "WriteRegError " + scratchKey.Path() + " 5" : "(nothing thrown)";
  EXPECT_EQ(expected, ThrownText([&] { key.WriteString("a", "b"); }));
  EXPECT_EQ(expected, ThrownText([&] { key.WriteDword("a", 1); }));
  const char data[2] = {1, 2};
  EXPECT_EQ(expected, ThrownText([&] { key.WriteBinary("a", data, 2); }));
  EXPECT_EQ(!rights, key.DeleteValue("a"));
}

// --- Sub-keys and counts -------------------------------------------------------------

TEST_P(RegistryKeyTest, CountsAndEnumeration) {
  for (const char* name : {"alpha", "beta", "gamma"})
    ASSERT_TRUE(test::CreateKey(root, scratchKey / name));
  ASSERT_TRUE(test::WriteString(root, scratchKey.Path(), "v1", "1"));
  ASSERT_TRUE(test::WriteString(root, scratchKey.Path(), "v2", "2"));
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead);
  EXPECT_EQ(3u, key.SubKeyCount());
  EXPECT_EQ(2u, key.ValueCount());
  std::string names;
  for (DWORD i = 0; i < key.SubKeyCount(); ++i) {
    char name[261];
    key.EnumSubKey(i, name, sizeof name);
    names += std::string(name) + ";";
  }
  EXPECT_EQ("alpha;beta;gamma;", names);
  // The end of the list is a failure too.
  char name[261];
  EXPECT_EQ("EnumRegError " + scratchKey.Path() + " 259",
            ThrownText([&] { key.EnumSubKey(3, name, sizeof name); }));
}

TEST_P(RegistryKeyTest, CountsOfAClosedHandleThrowQueryRegError) {
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryRead);
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key.Handle()));
  EXPECT_EQ("QueryRegError " + scratchKey.Path() + " 6", ThrownText([&] { key.SubKeyCount(); }));
  EXPECT_EQ("QueryRegError " + scratchKey.Path() + " 6", ThrownText([&] { key.ValueCount(); }));
}

TEST_P(RegistryKeyTest, DeleteSubKeyRemovesADeepTreeAndLeavesTheRest) {
  const std::string tree = scratchKey / "tree";
  for (const char* path : {"a\\b\\c\\d\\e", "a\\b\\c2", "a\\b2\\x", "a\\b3", "z"}) {
    ASSERT_TRUE(test::CreateKey(root, tree + "\\" + path));
    ASSERT_TRUE(test::WriteString(root, tree + "\\" + path, "v", path));
  }
  ASSERT_TRUE(test::WriteString(root, tree + "\\a", "top", "value"));
  // The system refuses to delete a key that still has sub-keys: only a
  // deepest-first delete gets through.
  ASSERT_NE(ERROR_SUCCESS, RegDeleteKeyA(root, (tree + "\\a\\b").c_str()));
  RegistryKey key(root, tree.c_str(), RegistryWrite);
  EXPECT_EQ("(nothing thrown)", ThrownText([&] { key.DeleteSubKey("a"); }));
  EXPECT_FALSE(test::KeyExists(root, tree + "\\a"));
  EXPECT_TRUE(test::KeyExists(root, tree + "\\z"));
  EXPECT_EQ(std::vector<std::string>{"z"}, test::SubKeys(root, tree));
}

TEST_P(RegistryKeyTest, DeleteSubKeyOfAMissingKeyThrowsTheOpenText) {
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  EXPECT_TRUE(StartsWith(ThrownText([&] { key.DeleteSubKey("missing"); }),
                         "OpenRegError " + scratchKey / "missing" + " 2 Error code="));
}

TEST_P(RegistryKeyTest, ANameTooLongForThePathThrowsDeleteKeyRegErrorNameFirst) {
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  const std::string name(261 - scratchKey.Path().size(), 'n');  // path + name + 1 > 261
  EXPECT_EQ("DeleteKeyRegError " + name + " " + scratchKey.Path(),
            ThrownText([&] { key.DeleteSubKey(name.c_str()); }));
  // Far longer: the message is cut to the buffer.
  const std::string huge(5000, 'h');
  const std::string text = ThrownText([&] { key.DeleteSubKey(huge.c_str()); });
  EXPECT_EQ(static_cast<size_t>(kRegistryMessageBufferSize - 1), text.size());
  EXPECT_EQ(("DeleteKeyRegError " + huge).substr(0, kRegistryMessageBufferSize - 1), text);
}

// Makes `name` below the key at `path` through a handle on it, so that the
// joined path may be longer than 260 characters.
void CreateChild(HKEY root, const std::string& path, const std::string& name) {
  HKEY parent = nullptr, child = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr));
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr));
  RegCloseKey(child);
  RegCloseKey(parent);
}

TEST_P(RegistryKeyTest, ASubKeyNameThatDoesNotFitThePathFailsItsEnumeration) {
  // "<scratch>\<200 x a>" fits in 260 characters; its child does not. The
  // child's name is read into what is left of the path buffer, so the
  // enumeration of the key being emptied fails with ERROR_MORE_DATA.
  const std::string longName(200, 'a');
  const std::string deep = scratchKey / longName;
  ASSERT_LE(deep.size(), 260u);
  ASSERT_GT(deep.size() + 1 + 100, 260u);
  CreateChild(root, deep, std::string(100, 'c'));
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  EXPECT_EQ("EnumRegError " + deep + " 234", ThrownText([&] { key.DeleteSubKey(longName.c_str()); }));
  EXPECT_TRUE(test::KeyExists(root, deep));  // nothing deleted above the child
}

TEST_P(RegistryKeyTest, AKeyWithAPathOf260CharactersLeavesNoRoomForASubKeyName) {
  // The backslash takes the terminator's place: not even a one-letter name
  // fits after it.
  const std::string name(260 - scratchKey.Path().size() - 1, 'f');
  const std::string full = scratchKey / name;
  ASSERT_EQ(260u, full.size());
  CreateChild(root, full, "x");
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  EXPECT_EQ("EnumRegError " + full + " 234", ThrownText([&] { key.DeleteSubKey(name.c_str()); }));
  EXPECT_TRUE(test::KeyExists(root, full));

  // Without sub-keys it goes.
  test::DeleteTree(root, full);
  ASSERT_TRUE(test::CreateKey(root, full));
  EXPECT_EQ("(nothing thrown)", ThrownText([&] { key.DeleteSubKey(name.c_str()); }));
  EXPECT_FALSE(test::KeyExists(root, full));
}

TEST_P(RegistryKeyTest, ASubKeyWhosePathFillsTheBufferExactlyIsDeleted) {
  const std::string name(200, 'e');
  const std::string top = scratchKey / name;
  const std::string child(260 - top.size() - 1, 'g');
  ASSERT_EQ(260u, top.size() + 1 + child.size());
  CreateChild(root, top, child);
  RegistryKey key(root, scratchKey.Path().c_str(), RegistryWrite);
  EXPECT_EQ("(nothing thrown)", ThrownText([&] { key.DeleteSubKey(name.c_str()); }));
  EXPECT_FALSE(test::KeyExists(root, top));
}

// --- Tree copy ------------------------------------------------------------------------

// Source tree: values of several types, a default value, nested sub-keys.
void MakeSource(HKEY root, const std::string& source) {
  ASSERT_TRUE(test::WriteString(root, source, "", "source default"));
  ASSERT_TRUE(test::WriteString(root, source, "Same", "identical"));
  ASSERT_TRUE(test::WriteValue(root, source, "TypeOnly", REG_EXPAND_SZ, Text("%PATH%")));
  ASSERT_TRUE(test::WriteValue(root, source, "Dword", REG_DWORD, std::string("\x07\x00\x00\x00", 4)));
  ASSERT_TRUE(test::WriteValue(root, source, "Binary", REG_BINARY, std::string("\x00\x01\x02", 3)));
  ASSERT_TRUE(test::WriteString(root, source, "Changed", "new"));
  ASSERT_TRUE(test::WriteString(root, source + "\\sub", "", "sub default"));
  ASSERT_TRUE(test::WriteString(root, source + "\\sub", "inner", "1"));
  ASSERT_TRUE(test::WriteString(root, source + "\\sub\\deeper", "", "deeper default"));
  ASSERT_TRUE(test::WriteString(root, source + "\\sub\\deeper", "x", "2"));
}

// Destination tree: an identical value, one that differs only in type, one
// that differs in data, and values and keys the source lacks.
void MakeDestination(HKEY root, const std::string& destination) {
  ASSERT_TRUE(test::WriteString(root, destination, "Same", "identical"));
  ASSERT_TRUE(test::WriteString(root, destination, "TypeOnly", "%PATH%"));
  ASSERT_TRUE(test::WriteString(root, destination, "Changed", "old"));
  ASSERT_TRUE(test::WriteString(root, destination, "Extra", "only here"));
  ASSERT_TRUE(test::WriteValue(root, destination, "Dword", REG_SZ, Text("seven")));
  ASSERT_TRUE(test::WriteString(root, destination + "\\sub", "extraInner", "x"));
  ASSERT_TRUE(test::WriteString(root, destination + "\\onlyHere\\below", "v", "x"));
}

void ExpectSameTree(HKEY sourceRoot, const std::string& source, HKEY destinationRoot,
                    const std::string& destination) {
  EXPECT_EQ(test::Values(sourceRoot, source), test::Values(destinationRoot, destination)) << destination;
  const auto sourceKeys = test::SubKeys(sourceRoot, source);
  EXPECT_EQ(sourceKeys, test::SubKeys(destinationRoot, destination)) << destination;
  for (const auto& name : sourceKeys)
    ExpectSameTree(sourceRoot, source + "\\" + name, destinationRoot, destination + "\\" + name);
}

TEST_P(RegistryKeyTest, CopyFromAddsAndOverwritesWithoutRemoving) {
  const std::string source = scratchKey / "source", destination = scratchKey / "destination";
  MakeSource(root, source);
  MakeDestination(root, destination);
  {
    RegistryKey from(root, source.c_str(), RegistryRead);
    RegistryKey to(root, destination.c_str(), RegistryWrite);
    to.CopyFrom(from);
  }
  for (const char* name : {"", "Same", "TypeOnly", "Dword", "Binary", "Changed"})
    EXPECT_EQ(test::ReadValue(root, source, name), test::ReadValue(root, destination, name)) << name;
  // The value that differed only in type now has the source's type.
  EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), test::ReadValue(root, destination, "TypeOnly").type);
  // Nothing removed.
  EXPECT_EQ(Text("only here"), test::ReadValue(root, destination, "Extra").data);
  EXPECT_TRUE(test::ReadValue(root, destination + "\\sub", "extraInner").exists);
  EXPECT_TRUE(test::KeyExists(root, destination + "\\onlyHere\\below"));
  // Sub-keys copied all the way down.
  EXPECT_EQ(test::Values(root, source + "\\sub\\deeper"), test::Values(root, destination + "\\sub\\deeper"));
  EXPECT_EQ(Text("1"), test::ReadValue(root, destination + "\\sub", "inner").data);
}

TEST_P(RegistryKeyTest, CopyFromLeavesIdenticalValuesAlone) {
  const std::string source = scratchKey / "source", destination = scratchKey / "destination";
  ASSERT_TRUE(test::WriteString(root, source, "", "default"));
  ASSERT_TRUE(test::WriteString(root, source, "Same", "identical"));
  ASSERT_TRUE(test::WriteString(root, destination, "", "default"));
  ASSERT_TRUE(test::WriteString(root, destination, "Same", "identical"));
  {
    RegistryKey from(root, source.c_str(), RegistryRead);
    RegistryKey to(root, destination.c_str(), RegistryWrite);
    to.CopyFrom(from);
  }
  EXPECT_EQ(test::Values(root, source), test::Values(root, destination));
}

TEST_P(RegistryKeyTest, ASourceWithoutDefaultGivesAnEmptyDefault) {
  const std::string source = scratchKey / "source", destination = scratchKey / "destination";
  ASSERT_TRUE(test::WriteString(root, source, "v", "1"));
  ASSERT_TRUE(test::CreateKey(root, destination));
  RegistryKey from(root, source.c_str(), RegistryRead);
  RegistryKey to(root, destination.c_str(), RegistryWrite);
  to.CopyFrom(from);
  const auto value = test::ReadValue(root, destination, "");
  EXPECT_TRUE(value.exists);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
  EXPECT_EQ(Text(""), value.data);
}

TEST_P(RegistryKeyTest, MirrorPrunesThenCopies) {
  const std::string source = scratchKey / "source", destination = scratchKey / "destination";
  MakeSource(root, source);
  MakeDestination(root, destination);
  {
    RegistryKey from(root, source.c_str(), RegistryRead);
    RegistryKey to(root, destination.c_str(), RegistryWrite);
    to.Mirror(from);
  }
  // This key's own values and its list of sub-keys now equal the source's:
  // "Extra" and "onlyHere" are gone, "TypeOnly" and "Dword" have the
  // source's types.
  EXPECT_EQ(test::Values(root, source), test::Values(root, destination));
  EXPECT_EQ(test::SubKeys(root, source), test::SubKeys(root, destination));
  EXPECT_FALSE(test::KeyExists(root, destination + "\\onlyHere"));
  // Below a sub-key that both have, the copy adds and overwrites; the prune
  // works on the mirrored key's own level only (Prune).
  EXPECT_EQ(Text("1"), test::ReadValue(root, destination + "\\sub", "inner").data);
  EXPECT_TRUE(test::ReadValue(root, destination + "\\sub", "extraInner").exists);
  ExpectSameTree(root, source + "\\sub\\deeper", root, destination + "\\sub\\deeper");
}

TEST_P(RegistryKeyTest, MirrorLeavesValuesThatDoNotFitItsBuffersAlone) {
  const std::string source = scratchKey / "source", destination = scratchKey / "destination";
  const std::string big(300, 'b');
  const std::string longName(300, 'n');
  ASSERT_TRUE(test::CreateKey(root, source));
  // Only here, and too big for the 261-byte data or name buffer: the
  // enumeration skips them, so they stay.
  ASSERT_TRUE(test::WriteValue(root, destination, "BigData", REG_BINARY, big));
  ASSERT_TRUE(test::WriteString(root, destination, longName, "x"));
  // Only here and small: it goes.
  ASSERT_TRUE(test::WriteString(root, destination, "Small", "x"));
  // In both, too big in the source only: a value of the same type stays
  // (the copy cannot take the source's), one of another type goes.
  ASSERT_TRUE(test::WriteValue(root, source, "BigThere", REG_BINARY, big));
  ASSERT_TRUE(test::WriteValue(root, destination, "BigThere", REG_BINARY, std::string("\x01", 1)));
  ASSERT_TRUE(test::WriteValue(root, source, "BigThereOtherType", REG_BINARY, big));
  ASSERT_TRUE(test::WriteString(root, destination, "BigThereOtherType", "x"));
  {
    RegistryKey from(root, source.c_str(), RegistryRead);
    RegistryKey to(root, destination.c_str(), RegistryWrite);
    to.Mirror(from);
  }
  EXPECT_EQ(big, test::ReadValue(root, destination, "BigData").data);
  EXPECT_TRUE(test::ReadValue(root, destination, longName).exists);
  EXPECT_FALSE(test::ReadValue(root, destination, "Small").exists);
  EXPECT_EQ(std::string("\x01", 1), test::ReadValue(root, destination, "BigThere").data);
  EXPECT_FALSE(test::ReadValue(root, destination, "BigThereOtherType").exists);
}

TEST_P(RegistryKeyTest, MirrorOntoAnEmptyKeyMakesAnEqualTree) {
  const std::string source = scratchKey / "source", destination = scratchKey / "destination";
  MakeSource(root, source);
  ASSERT_TRUE(test::CreateKey(root, destination));
  {
    RegistryKey from(root, source.c_str(), RegistryRead);
    RegistryKey to(root, destination.c_str(), RegistryWrite);
    to.Mirror(from);
  }
  ExpectSameTree(root, source, root, destination);
}

TEST_P(RegistryKeyTest, AssignmentMirrorsAndPlusEqualsCopies) {
  const std::string source = scratchKey / "source", mirrored = scratchKey / "mirrored",
                    copied = scratchKey / "copied";
  MakeSource(root, source);
  MakeDestination(root, mirrored);
  MakeDestination(root, copied);
  {
    RegistryKey from(root, source.c_str(), RegistryRead);
    RegistryKey toMirror(root, mirrored.c_str(), RegistryWrite);
    RegistryKey toCopy(root, copied.c_str(), RegistryWrite);
    toMirror = from;
    toCopy += from;
    toCopy = toCopy;  // itself: nothing changes
  }
  EXPECT_EQ(test::Values(root, source), test::Values(root, mirrored));
  EXPECT_EQ(test::SubKeys(root, source), test::SubKeys(root, mirrored));
  EXPECT_TRUE(test::ReadValue(root, copied, "Extra").exists);
  EXPECT_TRUE(test::KeyExists(root, copied + "\\onlyHere"));
  EXPECT_EQ(Text("new"), test::ReadValue(root, copied, "Changed").data);
}

// --- The root classes ---------------------------------------------------------------

TEST(RegistryRootClasses, EachOpensBelowItsRoot) {
  ScratchKey user(HKEY_CURRENT_USER), machine(HKEY_LOCAL_MACHINE);
  CurrentUserKey userKey(user.Path().c_str(), RegistryRead);
  EXPECT_EQ(HKEY_CURRENT_USER, userKey.Parent());
  LocalMachineKey machineKey(machine.Path().c_str(), RegistryRead);
  EXPECT_EQ(HKEY_LOCAL_MACHINE, machineKey.Parent());
  ClassesRootKey classes("", RegistryRead);
  EXPECT_EQ(HKEY_CLASSES_ROOT, classes.Parent());
  UsersKey users("", RegistryRead);
  EXPECT_EQ(HKEY_USERS, users.Parent());
  // The predefined roots' values (sign-extended in a 64-bit handle).
  auto low = [](HKEY key) { return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(key)); };
  EXPECT_EQ(0x80000000u, low(HKEY_CLASSES_ROOT));
  EXPECT_EQ(0x80000004u, low(HKEY_PERFORMANCE_DATA));
  EXPECT_EQ(0x80000005u, low(HKEY_CURRENT_CONFIG));
  EXPECT_EQ(0x80000006u, low(HKEY_DYN_DATA));
  // The others may or may not exist on this system; either way they open or
  // throw the text pointer.
  for (auto open :
       {+[] { CurrentConfigKey key("", RegistryRead); }, +[] { PerformanceDataKey key("", RegistryRead); },
        +[] { DynDataKey key("", RegistryRead); }}) {
    const std::string text = ThrownText(open);
    EXPECT_TRUE(text == "(nothing thrown)" || StartsWith(text, "OpenRegError  ")) << text;
  }
}

TEST(RegistryRootClasses, AssignmentAcrossRoots) {
  ScratchKey machine(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
  MakeSource(HKEY_LOCAL_MACHINE, machine / "source");
  MakeDestination(HKEY_CURRENT_USER, user / "destination");
  {
    LocalMachineKey from((machine / "source").c_str(), RegistryRead);
    CurrentUserKey to((user / "destination").c_str(), RegistryWrite);
    to = from;
  }
  EXPECT_EQ(test::Values(HKEY_LOCAL_MACHINE, machine / "source"),
            test::Values(HKEY_CURRENT_USER, user / "destination"));
  EXPECT_EQ(test::SubKeys(HKEY_LOCAL_MACHINE, machine / "source"),
            test::SubKeys(HKEY_CURRENT_USER, user / "destination"));
  ExpectSameTree(HKEY_LOCAL_MACHINE, machine / "source\\sub\\deeper", HKEY_CURRENT_USER,
                 user / "destination\\sub\\deeper");
}

TEST(RegistryRootClasses, ThrownTextsCanBeCaughtAsConstCharToo) {
  ScratchKey user(HKEY_CURRENT_USER);
  const std::string path = user / "missing";
  try {
    CurrentUserKey key(path.c_str(), RegistryRead);
    FAIL() << "nothing thrown";
  } catch (const char* text) {
    EXPECT_EQ(static_cast<const char*>(RegistryMessageBuffer), text);
  }
}

}  // namespace
