// The list area as the setup program searches and fills it, and the helper's
// walk over it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "uninst/FileListWalk.h"
#include "uninst/ListArea.h"
#include "uninst/WininitText.h"

namespace {

// An image of `size` bytes with "FileList" and zeros at `at`.
std::vector<unsigned char> ImageWithMarkerAt(std::size_t size, std::size_t at) {
  std::vector<unsigned char> image(size, 0xCC);
  const char marker[] = "FileList";
  for (std::size_t i = 0; i < 9 && at + i < size; ++i)
    image[at + i] = static_cast<unsigned char>(marker[i]);
  return image;
}

std::vector<std::string> Walk(const std::string& area) {
  FileListWalk walk(area.data(), area.size());
  std::vector<std::string> lines;
  while (const char* line = walk.Next())
    lines.push_back(line);
  return lines;
}

TEST(ListAreaFind, SearchesBackwardFromHundredBeforeTheEnd) {
  EXPECT_EQ(ListArea::Find(ImageWithMarkerAt(10000, 5000).data(), 10000), 5000);
  EXPECT_EQ(ListArea::Find(ImageWithMarkerAt(10000, 9900).data(), 10000), 9900);
  // Less than 100 bytes before the end: never looked at.
  EXPECT_EQ(ListArea::Find(ImageWithMarkerAt(10000, 9901).data(), 10000), -1);
  // Offset 0 is never tested.
  EXPECT_EQ(ListArea::Find(ImageWithMarkerAt(10000, 0).data(), 10000), -1);
  EXPECT_EQ(ListArea::Find(ImageWithMarkerAt(10000, 1).data(), 10000), 1);
  EXPECT_EQ(ListArea::Find(nullptr, 0), -1);
  EXPECT_EQ(ListArea::Find(ImageWithMarkerAt(100, 1).data(), 100), -1);
}

TEST(ListAreaFind, NeedsTheZeroNinthByteAndTakesTheLastMarker) {
  auto image = ImageWithMarkerAt(10000, 3000);
  const char later[] = "FileLists";
  std::copy(later, later + 9, image.begin() + 6000);  // no zero after the marker
  EXPECT_EQ(ListArea::Find(image.data(), image.size()), 3000);
  const char last[] = "FileList";
  std::copy(last, last + 9, image.begin() + 7000);
  EXPECT_EQ(ListArea::Find(image.data(), image.size()), 7000);
}

TEST(ListAreaPatch, WritesTheListWithItsZeroOnlyWhenItFits) {
  auto image = ImageWithMarkerAt(20000, 1000);
  const std::string list = "C:\\KESTRIN\nINSTAL~1.EXE";
  ASSERT_TRUE(ListArea::Patch(image.data(), image.size(), list.c_str()));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(image.data()) + 1000), list);
  EXPECT_EQ(image[999], 0xCC);

  auto full = ImageWithMarkerAt(20000, 1000);
  EXPECT_TRUE(ListArea::Patch(full.data(), full.size(), std::string(4095, 'x').c_str()));
  auto over = ImageWithMarkerAt(20000, 1000);
  EXPECT_FALSE(ListArea::Patch(over.data(), over.size(), std::string(4096, 'x').c_str()));
  EXPECT_EQ(over, ImageWithMarkerAt(20000, 1000));

  // A marker 200 bytes before the end: a long list would run past the image.
  auto nearEnd = ImageWithMarkerAt(5000, 4800);
  EXPECT_FALSE(ListArea::Patch(nearEnd.data(), nearEnd.size(), std::string(300, 'x').c_str()));
  EXPECT_EQ(nearEnd, ImageWithMarkerAt(5000, 4800));
  EXPECT_TRUE(ListArea::Patch(nearEnd.data(), nearEnd.size(), std::string(199, 'x').c_str()));

  auto none = std::vector<unsigned char>(5000, 0);
  EXPECT_FALSE(ListArea::Patch(none.data(), none.size(), "x"));
}

TEST(FileListWalk, SplitsLinesAndIgnoresAFinalLineFeed) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Walk(std::string("C:\\P\na.exe\nb.htm\0\0", 18)), (Lines{"C:\\P", "a.exe", "b.htm"}));
  EXPECT_EQ(Walk(std::string("C:\\P\na.exe\nb.htm\n\0", 18)), (Lines{"C:\\P", "a.exe", "b.htm"}));
  EXPECT_EQ(Walk(std::string("C:\\P\n\nb\0", 8)), (Lines{"C:\\P", "", "b"}));
  EXPECT_EQ(Walk(std::string("FileList\0\0\0\0", 12)), (Lines{"FileList"}));
  EXPECT_EQ(Walk(std::string(4, '\0')), (Lines{""}));
}

TEST(FileListWalk, NeverReadsPastAnAreaWithoutZero) {
  // Sanitizers catch an overread; the last line ends with the area.
  const std::string area = "C:\\P\n" + std::string(4091, 'x');
  ASSERT_EQ(area.size(), 4096u);
  const auto lines = Walk(area);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], std::string(4091, 'x'));
}

std::string AddRemoval(const std::string& ini, const std::string& path) {
  char* text = AddWininitRemoval(ini.c_str(), path.c_str());
  std::string result = text ? text : "(null)";
  std::free(text);
  return result;
}

TEST(WininitRemoval, AppendsToTheRenameSection) {
  EXPECT_EQ(AddRemoval("", "C:\\K\\UNINST.EXE"), "[rename]\r\nNUL=C:\\K\\UNINST.EXE\r\n");
  EXPECT_EQ(AddRemoval("[Rename]\r\nNUL=C:\\A\r\n", "C:\\K"), "[Rename]\r\nNUL=C:\\A\r\nNUL=C:\\K\r\n");
  EXPECT_EQ(AddRemoval("[rename]\r\nNUL=C:\\A\r\n[other]\r\nx=1", "C:\\K"),
            "[rename]\r\nNUL=C:\\A\r\nNUL=C:\\K\r\n[other]\r\nx=1\r\n");
  EXPECT_EQ(AddRemoval("[other]\r\nx=1\r\n", "C:\\K"), "[other]\r\nx=1\r\n[rename]\r\nNUL=C:\\K\r\n");
  // Two removals keep their order: the file before its folder.
  EXPECT_EQ(AddRemoval(AddRemoval("", "C:\\K\\U.EXE"), "C:\\K"),
            "[rename]\r\nNUL=C:\\K\\U.EXE\r\nNUL=C:\\K\r\n");
}

}  // namespace
