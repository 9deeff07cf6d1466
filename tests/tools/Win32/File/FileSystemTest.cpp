// File-system operations by path: copy, attributes, size and time, with the
// statuses they record.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <string>

#include "tests/support/TestFiles.h"
#include "tests/support/WinTestSupport.h"
#include "tools/Win32/File/FileSystem.h"

namespace {

std::string DateTimeText(const DateTime& value) {
  return std::string(value.CalendarDate::ToString().c_str()) + " " + value.TimeOfDay::ToString().c_str();
}

// A holder with an earlier failure in it, to show that each operation clears.
XTOOFile DirtyHolder() {
  XTOOFile holder(false);
  holder.SetText("earlier");
  holder.SetStatusAndErrno(5, 13);
  return holder;
}

class FileSystemTest : public ::testing::Test {
 protected:
  test::TempFolder folder{"kfs"};
};

TEST_F(FileSystemTest, CopyRefusesAnExistingTargetWhenAsked) {
  const std::string source = folder / "a.txt";
  const std::string target = folder / "b.txt";
  ASSERT_TRUE(test::WriteFile(source, "new"));
  ASSERT_TRUE(test::WriteFile(target, "old"));
  XTOOFile holder = DirtyHolder();
  EXPECT_FALSE(FileCopy(source.c_str(), target.c_str(), true, holder));
  EXPECT_EQ(holder.GetStatus(), 64);
  EXPECT_EQ(holder.GetErrno(), 0);
  EXPECT_STREQ(holder.Text().c_str(), source.c_str());
  EXPECT_EQ(test::ReadFile(target), "old");

  EXPECT_TRUE(FileCopy(source.c_str(), target.c_str(), false, holder));
  EXPECT_FALSE(holder.IsError());
  EXPECT_EQ(test::ReadFile(target), "new");

  const std::string missing = folder / "missing.txt";
  EXPECT_FALSE(FileCopy(missing.c_str(), (folder / "c.txt").c_str(), false, holder));
  EXPECT_EQ(holder.GetStatus(), 64);
  EXPECT_STREQ(holder.Text().c_str(), missing.c_str());
}

TEST_F(FileSystemTest, AttributesOfFilesFoldersAndMissingFiles) {
  const std::string path = folder / "a.txt";
  ASSERT_TRUE(test::WriteFile(path, "x"));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  XTOOFile holder = DirtyHolder();
  EXPECT_EQ(FileGetAttributes(path.c_str(), holder),
            static_cast<uint32_t>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_FALSE(holder.IsError());
  EXPECT_NE(FileGetAttributes(folder.Path().c_str(), holder) & FILE_ATTRIBUTE_DIRECTORY, 0u);

  const std::string missing = folder / "missing.txt";
  EXPECT_EQ(FileGetAttributes(missing.c_str(), holder), kNoFileAttributes);
  EXPECT_EQ(holder.GetStatus(), 41);
  EXPECT_EQ(holder.GetErrno(), 0);
  EXPECT_STREQ(holder.Text().c_str(), missing.c_str());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileSystemTest, SizeOfMissingEmptyAndFilledFiles) {
  const std::string missing = folder / "missing.bin";
  XTOOFile holder = DirtyHolder();
  EXPECT_EQ(FileGetSize(missing.c_str(), holder), -1);
  EXPECT_EQ(holder.GetStatus(), 17);
  EXPECT_EQ(holder.GetErrno(), ENOENT);
  EXPECT_STREQ(holder.Text().c_str(), missing.c_str());

  const std::string empty = folder / "empty.bin";
  ASSERT_TRUE(test::WriteFile(empty, ""));
  EXPECT_EQ(FileGetSize(empty.c_str(), holder), 0);
  EXPECT_FALSE(holder.IsError());

  const std::string filled = folder / "filled.bin";
  ASSERT_TRUE(test::WriteFile(filled, std::string(70000, 'z')));
  EXPECT_EQ(FileGetSize(filled.c_str(), holder), 70000);
  EXPECT_FALSE(holder.IsError());

  XTOOFile armed(true);
  try {
    FileGetSize(missing.c_str(), armed);
    FAIL() << "no throw";
  } catch (const XTOOFile& thrown) {
    EXPECT_EQ(thrown.GetStatus(), 17);
    EXPECT_EQ(thrown.GetErrno(), ENOENT);
  }
}

TEST_F(FileSystemTest, SetAndGetTimeByPath) {
  const std::string path = folder / "t.bin";
  ASSERT_TRUE(test::WriteFile(path, "x"));
  XTOOFile holder = DirtyHolder();
  const DateTime when(2004, 2, 29, 12, 34, 57, 0);
  EXPECT_TRUE(FileSetTime(path.c_str(), when, holder));
  EXPECT_FALSE(holder.IsError());
  const DateTime seen = FileGetTime(path.c_str(), holder);
  EXPECT_FALSE(holder.IsError());
  // The runtime keeps whole seconds, odd ones included.
  EXPECT_EQ(seen, when) << DateTimeText(seen);

  // Before the runtime's epoch: refused, and the file keeps its time.
  EXPECT_FALSE(FileSetTime(path.c_str(), DateTime(1960, 1, 1, 0, 0, 0, 0), holder));
  EXPECT_EQ(holder.GetStatus(), 122);
  EXPECT_EQ(holder.GetErrno(), EINVAL);
  EXPECT_STREQ(holder.Text().c_str(), path.c_str());
  EXPECT_EQ(FileGetTime(path.c_str(), holder), when);
}

TEST_F(FileSystemTest, TimeOfMissingFiles) {
  const std::string missing = folder / "missing.bin";
  XTOOFile holder = DirtyHolder();
  EXPECT_EQ(FileGetTime(missing.c_str(), holder), DateTime(0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(holder.GetStatus(), 123);
  EXPECT_EQ(holder.GetErrno(), ENOENT);
  EXPECT_STREQ(holder.Text().c_str(), missing.c_str());

  EXPECT_FALSE(FileSetTime(missing.c_str(), DateTime(2004, 1, 1, 0, 0, 0, 0), holder));
  EXPECT_EQ(holder.GetStatus(), 122);
  EXPECT_EQ(holder.GetErrno(), ENOENT);
}

}  // namespace
