// The portable text handling of the setup shell: name lists, the choice of a
// catalogue segment, saved language names and the module path split.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/LanguageNames.h"
#include "app/MessageSegment.h"
#include "app/ModulePath.h"
#include "app/NameList.h"

namespace {

// Every name of a list, walked from the start; "<null>" marks the end.
std::vector<std::string> Walk(NameList& list) {
  std::vector<std::string> names;
  list.reset();
  while (const char* name = list.next())
    names.push_back(name);
  EXPECT_TRUE(list.atEnd());
  EXPECT_EQ(nullptr, list.next()) << "next past the end";
  return names;
}

using Names = std::vector<std::string>;

std::string Segment(const std::string& entry, int32_t languageIndex) {
  const MessageSegment s = SelectMessageSegment(entry.data(), entry.size(), languageIndex);
  EXPECT_LE(s.start + s.length, entry.size());
  return entry.substr(s.start, s.length);
}

}  // namespace

TEST(NameList, NamesInOrderWithEmptyNamesBetweenAdjacentNewlines) {
  NameList list("a\n\nb");
  EXPECT_EQ((Names{"a", "", "b"}), Walk(list));
}

TEST(NameList, FinalNewlineGivesNoEmptyName) {
  NameList list("a\n");
  EXPECT_EQ((Names{"a"}), Walk(list));
  NameList twoFinal("a\n\n");
  EXPECT_EQ((Names{"a", ""}), Walk(twoFinal));
}

TEST(NameList, EmptyTextsGiveNoNames) {
  NameList empty("");
  EXPECT_TRUE(empty.atEnd());
  EXPECT_EQ(nullptr, empty.next());
  NameList none;
  EXPECT_TRUE(none.atEnd());
  EXPECT_EQ(nullptr, none.next());
  NameList null(nullptr);
  EXPECT_EQ(Names{}, Walk(null));
  NameList lone("\n");
  EXPECT_EQ((Names{""}), Walk(lone));
}

TEST(NameList, ResetWalksAgainAndTheSourceIsCopied) {
  char source[] = "Installer.exe\nKestrin.vxd\nKestrin.htm";
  NameList list(source);
  std::strcpy(source, "changed");
  EXPECT_EQ((Names{"Installer.exe", "Kestrin.vxd", "Kestrin.htm"}), Walk(list));
  EXPECT_EQ((Names{"Installer.exe", "Kestrin.vxd", "Kestrin.htm"}), Walk(list));
}

TEST(MessageSegment, LanguageSegmentsAndFallbackToEnglish) {
  const std::string entry = " Choose action \x01 Russian words ";
  EXPECT_EQ(" Choose action ", Segment(entry, 0));
  EXPECT_EQ(" Russian words ", Segment(entry, 1));
  EXPECT_EQ(" Choose action ", Segment(entry, 2));
  EXPECT_EQ(" Choose action ", Segment(entry, 7));
  EXPECT_EQ(" Choose action ", Segment(entry, -1));
}

TEST(MessageSegment, SingleSegmentIsTheSameForEveryIndex) {
  const std::string entry = "&About KestrinInstaller...";
  for (int32_t index : {0, 1, 2})
    EXPECT_EQ(entry, Segment(entry, index)) << "index " << index;
}

TEST(MessageSegment, SegmentStopsAtAFurtherSeparator) {
  const std::string entry = "English\x01Russian\x01more";
  EXPECT_EQ("English", Segment(entry, 0));
  EXPECT_EQ("Russian", Segment(entry, 1));
  EXPECT_EQ("more", Segment(entry, 2));
  EXPECT_EQ("English", Segment(entry, 3));
}

TEST(MessageSegment, EmptySegmentsAndEntries) {
  EXPECT_EQ("", Segment("", 0));
  EXPECT_EQ("", Segment("", 1));
  EXPECT_EQ("", Segment("English\x01", 1));
  EXPECT_EQ("", Segment("\x01Russian", 0));
  EXPECT_EQ("Russian", Segment("\x01Russian", 1));
  const MessageSegment none = SelectMessageSegment(nullptr, 0, 1);
  EXPECT_EQ(0u, none.start);
  EXPECT_EQ(0u, none.length);
}

TEST(LanguageNames, SavedNameIgnoresCaseAndMustMatchWhole) {
  struct Case {
    const char* saved;
    int32_t language;
  };
  const Case cases[] = {
      {"Russian", kLanguageRussian},
      {"RUSSIAN", kLanguageRussian},
      {"russian", kLanguageRussian},
      {"rUsSiAn", kLanguageRussian},
      {"English", kLanguageEnglish},
      {"ENGLISH", kLanguageEnglish},
      {"Russ", kLanguageEnglish},
      {"Russian ", kLanguageEnglish},
      {" Russian", kLanguageEnglish},
      {"", kLanguageEnglish},
      {"\xD0\xF3\xF1\xF1\xEA\xE8\xE9", kLanguageEnglish},
      {"Russiano", kLanguageEnglish},
  };
  for (const Case& c : cases) {
    char buffer[1024] = {};
    std::strcpy(buffer, c.saved);
    EXPECT_EQ(c.language, LanguageFromSavedName(buffer, sizeof buffer)) << "saved \"" << c.saved << "\"";
  }
  EXPECT_EQ(kLanguageEnglish, LanguageFromSavedName(nullptr, 1024));
}

TEST(LanguageNames, UnterminatedBufferIsNeverReadPastItsEnd) {
  // Heap blocks of exactly the given size, so the sanitizer sees any overrun.
  const size_t size = 1024;
  std::unique_ptr<char[]> full(new char[size]);
  std::memset(full.get(), 'x', size);
  std::memcpy(full.get(), "Russian", 7);
  EXPECT_EQ(kLanguageEnglish, LanguageFromSavedName(full.get(), size));

  // "Russian" with no room left for its terminator.
  std::unique_ptr<char[]> exact(new char[7]);
  std::memcpy(exact.get(), "Russian", 7);
  EXPECT_EQ(kLanguageEnglish, LanguageFromSavedName(exact.get(), 7));

  std::unique_ptr<char[]> fits(new char[8]);
  std::memcpy(fits.get(), "Russian", 8);
  EXPECT_EQ(kLanguageRussian, LanguageFromSavedName(fits.get(), 8));
}

TEST(ModulePath, SplitAtTheLastBackslash) {
  struct Case {
    const char* path;
    const char* folder;
    const char* fileName;
  };
  const Case cases[] = {
      {"C:\\Setup\\Installer.exe", "C:\\Setup", "Installer.exe"},
      {"C:\\Installer.exe", "C:", "Installer.exe"},
      {"\\\\server\\share\\Setup\\Installer.exe", "\\\\server\\share\\Setup", "Installer.exe"},
      {"C:\\Setup\\", "C:\\Setup", ""},
      {"Installer.exe", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SharedString folder("old");
    SharedString fileName("old");
    SplitModulePath(c.path, folder, fileName);
    EXPECT_STREQ(c.folder, folder.c_str()) << "path " << c.path;
    EXPECT_STREQ(c.fileName, fileName.c_str()) << "path " << c.path;
  }
  SharedString folder("old");
  SharedString fileName("old");
  SplitModulePath(nullptr, folder, fileName);
  EXPECT_STREQ("", folder.c_str());
  EXPECT_STREQ("", fileName.c_str());
}
