// FileObject on real files: opening, the closed-object records with their
// position texts, shared streams, Truncate, Length, ReadLine and the time
// operations.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "tests/support/TestFiles.h"
#include "tests/support/WinTestSupport.h"
#include "tools/File_com/FileObject.h"
#include "tools/Win32/File/DosDateTime.h"
#include "tools/Win32/File/FileSystem.h"

namespace {

std::string Position(const char* line) { return std::string("file - .\\File_com, line - ") + line; }

std::string ForwardSlashes(std::string path) {
  for (char& c : path)
    if (c == '\\')
      c = '/';
  return path;
}

std::string DateTimeText(const DateTime& value) {
  return std::string(value.CalendarDate::ToString().c_str()) + " " + value.TimeOfDay::ToString().c_str();
}

class FileObjectTest : public ::testing::Test {
 protected:
  test::TempFolder folder{"kfo"};
};

TEST_F(FileObjectTest, ForwardSlashesOpenTheSameFileAndFailuresKeepThePathAsWritten) {
  ASSERT_TRUE(test::WriteFile(folder / "data.bin", "hello"));
  const std::string slashed = ForwardSlashes(folder / "data.bin");
  FileObject file(slashed.c_str(), "rb");
  ASSERT_TRUE(file.IsOpen()) << file.GetText().c_str();
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_FALSE(file.IsError());
  EXPECT_STREQ(file.Text().c_str(), slashed.c_str());

  const std::string missing = ForwardSlashes(folder / "missing.bin");
  FileObject absent(missing.c_str(), "rb");
  EXPECT_FALSE(absent.IsOpen());
  EXPECT_EQ(absent.GetStatus(), 4);
  EXPECT_EQ(absent.GetErrno(), ENOENT);
  EXPECT_STREQ(absent.Text().c_str(), missing.c_str());
}

TEST_F(FileObjectTest, MissingFileIsCreatedWithoutAModeOnly) {
  const std::string path = folder / "new.bin";
  {
    FileObject readOnly(path.c_str(), "rb");
    EXPECT_FALSE(readOnly.IsOpen());
    EXPECT_EQ(readOnly.GetStatus(), 4);
    EXPECT_EQ(readOnly.GetErrno(), ENOENT);
    EXPECT_FALSE(test::Exists(path));
  }
  {
    FileObject created(path.c_str());
    ASSERT_TRUE(created.IsOpen());
    EXPECT_FALSE(created.IsError());
    EXPECT_EQ(created.Write("abc", 3), 3u);
  }
  EXPECT_EQ(test::ReadFile(path), "abc");
  // An existing file is opened for update, not emptied.
  FileObject existing(path.c_str());
  ASSERT_TRUE(existing.IsOpen());
  EXPECT_EQ(existing.Length(), 3);
}

TEST_F(FileObjectTest, ArmedObjectThrowsItsRecordAsXTOOFile) {
  const std::string path = folder / "missing.bin";
  try {
    FileObject file(path.c_str(), "rb", true);
    FAIL() << "no throw";
  } catch (const XTOOFile& thrown) {
    EXPECT_EQ(thrown.GetStatus(), 4);
    EXPECT_EQ(thrown.GetErrno(), ENOENT);
    EXPECT_STREQ(thrown.Text().c_str(), path.c_str());
  }
  FileObject closed(nullptr, nullptr, true);
  EXPECT_THROW(closed.Eof(), XTOOMsg);
}

TEST_F(FileObjectTest, ClosedObjectRecordsStatus117WithThePositionOfEachOperation) {
  struct Case {
    const char* name;
    const char* line;  // null: the text stays as it was
    std::function<void(FileObject&)> call;
  };
  char buffer[8];
  const Case cases[] = {
      {"Read", "164", [&](FileObject& f) { EXPECT_EQ(f.Read(buffer, sizeof buffer), 0u); }},
      {"Write", "194", [](FileObject& f) { EXPECT_EQ(f.Write("x", 1), 0u); }},
      {"Write 0", "194", [](FileObject& f) { EXPECT_EQ(f.Write("", 0), 0u); }},
      {"Length", nullptr, [](FileObject& f) { EXPECT_EQ(f.Length(), -1); }},
      {"Seek", "271", [](FileObject& f) { EXPECT_EQ(f.Seek(0, SEEK_SET), -1); }},
      {"CurPos", "298", [](FileObject& f) { EXPECT_EQ(f.CurPos(), -1); }},
      {"Eof", "315", [](FileObject& f) { EXPECT_TRUE(f.Eof()); }},
      {"Truncate", "354", [](FileObject& f) { EXPECT_FALSE(f.Truncate()); }},
      {"Flush", "380", [](FileObject& f) { EXPECT_FALSE(f.Flush()); }},
      {"ReadLine", "431", [&](FileObject& f) { EXPECT_EQ(f.ReadLine(buffer, sizeof buffer), nullptr); }},
  };
  const std::string path = folder / "closed.bin";
  for (const Case& c : cases) {
    FileObject file(path.c_str());
    ASSERT_TRUE(file.IsOpen());
    file.Close();
    file.Close();  // twice is harmless
    c.call(file);
    EXPECT_EQ(file.GetStatus(), 117) << c.name;
    EXPECT_EQ(file.GetErrno(), 0) << c.name;
    EXPECT_STREQ(file.Text().c_str(), c.line ? Position(c.line).c_str() : path.c_str()) << c.name;
  }
  FileObject never;
  EXPECT_FALSE(never.IsOpen());
  EXPECT_FALSE(never.IsError());
}

TEST_F(FileObjectTest, WriteOfNothingOnAnOpenObjectTouchesNothing) {
  FileObject file((folder / "w.bin").c_str());
  ASSERT_TRUE(file.IsOpen());
  file.SetText("earlier");
  file.SetStatus(6);
  EXPECT_EQ(file.Write("", 0), 0u);
  EXPECT_EQ(file.GetStatus(), 6);
  EXPECT_STREQ(file.Text().c_str(), "earlier");
  // A real write clears it.
  EXPECT_EQ(file.Write("ab", 2), 2u);
  EXPECT_FALSE(file.IsError());
}

TEST_F(FileObjectTest, ShortWriteRecordsStatus6) {
  ASSERT_TRUE(test::WriteFile(folder / "ro.bin", "abc"));
  FileObject file((folder / "ro.bin").c_str(), "rb");
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Write("xyz", 3), 0u);
  EXPECT_EQ(file.GetStatus(), 6);
  EXPECT_STREQ(file.Text().c_str(), Position("185").c_str());
}

TEST_F(FileObjectTest, CopiesShareOneStreamUntilTheLastGoes) {
  const std::string path = folder / "shared.bin";
  ASSERT_TRUE(test::WriteFile(path, "0123456789"));
  auto first = new FileObject(path.c_str(), "rb");
  first->SetStatus(5);
  FileObject second(*first);
  EXPECT_FALSE(second.IsError());  // the codes are not copied
  EXPECT_STREQ(second.Text().c_str(), path.c_str());
  EXPECT_EQ(second.Stream(), first->Stream());

  char buffer[4] = {};
  EXPECT_EQ(first->Read(buffer, 3), 3u);
  first->Close();
  EXPECT_FALSE(first->IsOpen());
  // One stream: the copy goes on where the other left off.
  EXPECT_EQ(second.Read(buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "345");
  delete first;
  EXPECT_EQ(second.Read(buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "678");

  // The runtime's open file keeps others from deleting it.
  EXPECT_FALSE(DeleteFileA(path.c_str()));

  FileObject third;
  third = second;
  third = third;  // self-assignment must not close the stream
  second.Close();
  EXPECT_TRUE(third.IsOpen());
  EXPECT_EQ(third.Read(buffer, 1), 1u);
  EXPECT_EQ(buffer[0], '9');
  third.Close();
  EXPECT_TRUE(DeleteFileA(path.c_str())) << GetLastError();
}

TEST_F(FileObjectTest, TruncateLengthAndPositions) {
  const std::string path = folder / "t.bin";
  FileObject file(path.c_str());
  ASSERT_TRUE(file.IsOpen());
  std::string hundred(100, 'x');
  EXPECT_EQ(file.Write(hundred.data(), hundred.size()), 100u);
  // Still in the stream's buffer, and counted.
  EXPECT_EQ(file.Length(), 100);
  EXPECT_EQ(file.CurPos(), 100);
  EXPECT_EQ(file.Seek(40, SEEK_SET), 0);
  EXPECT_EQ(file.CurPos(), 40);
  EXPECT_TRUE(file.Truncate());
  EXPECT_EQ(file.Length(), 40);
  EXPECT_FALSE(file.Eof());
  char buffer[8];
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
  EXPECT_TRUE(file.Eof());
  EXPECT_TRUE(file.Flush());
  file.Close();
  EXPECT_EQ(test::ReadFile(path), std::string(40, 'x'));
}

TEST_F(FileObjectTest, LengthCountsBufferedBytesButNotASeekPastTheEnd) {
  const std::string path = folder / "sparse.bin";
  ASSERT_TRUE(test::WriteFile(path, "0123456789"));
  FileObject file(path.c_str());
  ASSERT_TRUE(file.IsOpen());
  // A position past the end writes nothing: the file keeps its size.
  EXPECT_EQ(file.Seek(5, SEEK_END), 0);
  EXPECT_EQ(file.CurPos(), 15);
  EXPECT_EQ(file.Length(), 10);
  // Written there, the byte is still in the buffer but counts, and so does
  // the gap before it.
  EXPECT_EQ(file.Write("x", 1), 1u);
  EXPECT_EQ(file.Length(), 16);
  // Seeking back writes the buffer out; the length stays.
  EXPECT_EQ(file.Seek(0, SEEK_SET), 0);
  EXPECT_EQ(file.Length(), 16);
  EXPECT_EQ(file.Seek(4, SEEK_END), 0);
  EXPECT_EQ(file.Length(), 16);
  file.Close();
  EXPECT_EQ(test::ReadFile(path).size(), 16u);
}

TEST_F(FileObjectTest, ReadLine) {
  const std::string path = folder / "lines.txt";
  ASSERT_TRUE(test::WriteFile(path, "one\r\ntwo\n"));
  FileObject file(path.c_str(), "rb");
  char buffer[16];
  EXPECT_STREQ(file.ReadLine(buffer, sizeof buffer), "one\r\n");
  EXPECT_STREQ(file.ReadLine(buffer, 3), "tw");
  EXPECT_STREQ(file.ReadLine(buffer, sizeof buffer), "o\n");
  EXPECT_EQ(file.ReadLine(buffer, sizeof buffer), nullptr);
  EXPECT_FALSE(file.IsError());
  // No room even for the terminator: nothing is written.
  char guard = '#';
  EXPECT_EQ(file.ReadLine(&guard, 0), nullptr);
  EXPECT_EQ(guard, '#');
  EXPECT_FALSE(file.IsError());
}

TEST(DosDateTime, WordsOfASummerAfternoon) {
  uint16_t date = 0, time = 0;
  ASSERT_TRUE(MakeDosDateTime(DateTime(2003, 7, 15, 14, 31, 59, 0), &date, &time));
  EXPECT_EQ(date, 0x2EEF);
  EXPECT_EQ(time, 0x73FD);
  ASSERT_TRUE(MakeDosDateTime(DateTime(1980, 1, 1, 0, 0, 0, 0), &date, &time));
  EXPECT_EQ(date, 0x0021);
  EXPECT_EQ(time, 0x0000);
  ASSERT_TRUE(MakeDosDateTime(DateTime(2107, 12, 31, 23, 59, 59, 0), &date, &time));
  EXPECT_EQ(date, 0xFF9F);
  EXPECT_EQ(time, 0xBF7D);
  date = time = 0x1234;
  EXPECT_FALSE(MakeDosDateTime(DateTime(1979, 12, 31, 0, 0, 0, 0), &date, &time));
  EXPECT_FALSE(MakeDosDateTime(DateTime(2108, 1, 1, 0, 0, 0, 0), &date, &time));
  EXPECT_FALSE(MakeDosDateTime(DateTime(2003, 13, 1, 0, 0, 0, 0), &date, &time));
  EXPECT_FALSE(MakeDosDateTime(DateTime(2003, 7, 15, 24, 0, 0, 0), &date, &time));
  EXPECT_FALSE(MakeDosDateTime(DateTime(2003, 7, 15, 12, 0, -2, 0), &date, &time));
  EXPECT_EQ(date, 0x1234);
  EXPECT_EQ(time, 0x1234);
}

TEST_F(FileObjectTest, SetTimeDropsTheOddSecondAndKeepsAnEarlierError) {
  const std::string path = folder / "time.bin";
  FileObject file(path.c_str());
  ASSERT_TRUE(file.IsOpen());
  file.SetText("earlier");
  file.SetStatus(6);
  EXPECT_TRUE(file.SetTime(DateTime(2003, 7, 15, 14, 31, 59, 0)));
  EXPECT_EQ(file.GetStatus(), 6);
  EXPECT_STREQ(file.Text().c_str(), "earlier");

  const DateTime expected(2003, 7, 15, 14, 31, 58, 0);
  const DateTime seen = file.GetTime();
  EXPECT_FALSE(file.IsError());  // GetTime clears
  EXPECT_EQ(seen, expected) << DateTimeText(seen);
  file.Close();
  XTOOFile holder(false);
  const DateTime byPath = FileGetTime(path.c_str(), holder);
  EXPECT_EQ(byPath, expected) << DateTimeText(byPath);
}

TEST_F(FileObjectTest, SetTimeSurvivesWritesStillInTheBuffer) {
  const std::string path = folder / "buffered.bin";
  {
    FileObject file(path.c_str());
    ASSERT_EQ(file.Write("data", 4), 4u);
    EXPECT_TRUE(file.SetTime(DateTime(2004, 2, 29, 10, 20, 30, 0)));
  }
  XTOOFile holder(false);
  const DateTime seen = FileGetTime(path.c_str(), holder);
  EXPECT_EQ(seen, DateTime(2004, 2, 29, 10, 20, 30, 0)) << DateTimeText(seen);
  EXPECT_EQ(test::ReadFile(path), "data");

  // A stream in the middle of reading goes on where it was.
  ASSERT_TRUE(test::WriteFile(path, "0123456789"));
  FileObject reader(path.c_str());
  char buffer[4] = {};
  ASSERT_EQ(reader.Read(buffer, 3), 3u);
  EXPECT_TRUE(reader.SetTime(DateTime(2004, 2, 29, 10, 20, 30, 0)));
  ASSERT_EQ(reader.Read(buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "345");
}

TEST_F(FileObjectTest, SetTimeAtTheEndOfAFileKeepsTheEndOfFileIndicator) {
  const std::string path = folder / "eof.bin";
  ASSERT_TRUE(test::WriteFile(path, "abc"));
  FileObject file(path.c_str());
  char buffer[8];
  ASSERT_EQ(file.Read(buffer, sizeof buffer), 3u);
  ASSERT_TRUE(file.Eof());
  EXPECT_TRUE(file.SetTime(DateTime(2004, 2, 29, 10, 20, 30, 0)));
  EXPECT_TRUE(file.Eof());
  EXPECT_EQ(file.CurPos(), 3);
}

TEST_F(FileObjectTest, SetTimeOutsideTheDosRangeWritesNothing) {
  const std::string path = folder / "range.bin";
  FileObject file(path.c_str());
  ASSERT_TRUE(file.SetTime(DateTime(2003, 7, 15, 14, 31, 58, 0)));
  for (const DateTime& bad : {DateTime(1979, 6, 1, 0, 0, 0, 0), DateTime(2108, 1, 1, 0, 0, 0, 0),
                              DateTime(2003, 2, 0, 0, 0, 0, 0)}) {
    file.Clear();
    EXPECT_FALSE(file.SetTime(bad)) << DateTimeText(bad);
    EXPECT_EQ(file.GetStatus(), 122);
    EXPECT_STREQ(file.Text().c_str(), "file - .\\Win32\\File, line - 210");
    EXPECT_EQ(file.GetTime(), DateTime(2003, 7, 15, 14, 31, 58, 0));
  }
}

TEST_F(FileObjectTest, TimeOperationsOnAClosedObject) {
  FileObject file;
  file.SetText("kept");
  file.SetStatus(5);
  EXPECT_EQ(file.GetTime(), DateTime(0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(file.GetStatus(), 5);
  EXPECT_STREQ(file.Text().c_str(), "kept");
  EXPECT_FALSE(file.SetTime(DateTime(2003, 7, 15, 14, 31, 59, 0)));
  EXPECT_EQ(file.GetStatus(), 122);
  EXPECT_STREQ(file.Text().c_str(), "file - .\\Win32\\File, line - 210");
}

}  // namespace
