// The path helpers on Wine: real files in a temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <string>

#include "tests/support/TestFiles.h"
#include "tests/support/WinTestSupport.h"
#include "tools/Win32/File/PathHelpers.h"

namespace {

std::string Slashed(std::string path) {
  for (char& c : path)
    if (c == '\\')
      c = '/';
  return path;
}

class PathHelpersTest : public ::testing::Test {
 protected:
  test::TempFolder folder{"paths"};
  XTOOFile holder{false};

  std::string Make(const std::string& name, const std::string& bytes = "content") {
    const std::string path = folder / name;
    EXPECT_TRUE(test::WriteFile(path, bytes)) << path;
    return path;
  }
  // A holder that already carries an error, to see that each call clears it.
  void Dirty() {
    holder.SetText("earlier");
    holder.SetStatusAndErrno(64, 99);
  }
};

// --- FileExists ------------------------------------------------------------------------

TEST_F(PathHelpersTest, FileExistsWithEitherSlash) {
  const std::string path = Make("present.txt");
  EXPECT_TRUE(FileExists(path.c_str()));
  EXPECT_TRUE(FileExists(Slashed(path).c_str()));
  EXPECT_FALSE(FileExists((folder / "absent.txt").c_str()));
  EXPECT_FALSE(FileExists(Slashed(folder / "absent.txt").c_str()));
}

TEST_F(PathHelpersTest, AFolderCountsAsExisting) {
  EXPECT_TRUE(FileExists(folder.Path().c_str()));
  EXPECT_TRUE(FileExists(Slashed(folder.Path()).c_str()));
}

TEST_F(PathHelpersTest, TheCallersTextIsNotChanged) {
  const std::string path = Slashed(Make("kept.txt"));
  std::string copy = path;
  EXPECT_TRUE(FileExists(&copy[0]));
  EXPECT_EQ(path, copy);
}

// --- RemoveFile --------------------------------------------------------------------------

TEST_F(PathHelpersTest, RemoveFileDeletesAndClearsTheHolder) {
  const std::string path = Make("doomed.txt");
  Dirty();
  EXPECT_EQ(0, RemoveFile(Slashed(path).c_str(), holder));
  EXPECT_FALSE(holder.IsError());
  EXPECT_EQ(0, holder.GetStatus());
  EXPECT_FALSE(test::Exists(path));
}

TEST_F(PathHelpersTest, RemovingAMissingFileRecords43WithTheRuntimeErrno) {
  const std::string path = Slashed(folder / "missing.txt");
  EXPECT_EQ(ENOENT, RemoveFile(path.c_str(), holder));
  EXPECT_TRUE(holder.IsError());
  EXPECT_EQ(43, holder.GetStatus());
  EXPECT_EQ(ENOENT, holder.GetErrno());
  EXPECT_EQ(path, holder.Text().c_str());  // as the caller wrote it
}

TEST_F(PathHelpersTest, RemoveFileLeavesAReadOnlyFile) {
  const std::string path = Make("readonly.txt");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(0, RemoveFile(path.c_str(), holder));
  EXPECT_EQ(43, holder.GetStatus());
  EXPECT_EQ(EACCES, holder.GetErrno());
  EXPECT_TRUE(test::Exists(path));
}

// --- RemoveFileForced ---------------------------------------------------------------------

TEST_F(PathHelpersTest, RemoveFileForcedRemovesReadOnlyHiddenAndSystemFiles) {
  const DWORD kinds[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
  int n = 0;
  for (DWORD attributes : kinds) {
    const std::string path = Make("forced" + std::to_string(++n) + ".txt");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes));
    Dirty();
    EXPECT_EQ(0, RemoveFileForced(Slashed(path).c_str(), holder)) << attributes;
    EXPECT_FALSE(holder.IsError()) << attributes;
    EXPECT_FALSE(test::Exists(path)) << attributes;
  }
}

TEST_F(PathHelpersTest, RemoveFileForcedOfAMissingFileKeepsOnlyTheRemovalsFailure) {
  const std::string path = folder / "missing.txt";
  EXPECT_EQ(ENOENT, RemoveFileForced(path.c_str(), holder));
  EXPECT_EQ(43, holder.GetStatus());  // not 41 from the attribute step
  EXPECT_EQ(ENOENT, holder.GetErrno());
  EXPECT_EQ(path, holder.Text().c_str());
}

// --- FileMove -------------------------------------------------------------------------------

TEST_F(PathHelpersTest, FileMoveRenames) {
  const std::string source = Make("from.txt", "moved bytes"), target = folder / "to.txt";
  Dirty();
  EXPECT_TRUE(FileMove(source.c_str(), target.c_str(), holder));
  EXPECT_FALSE(holder.IsError());
  EXPECT_FALSE(test::Exists(source));
  EXPECT_EQ("moved bytes", test::ReadFile(target));
}

TEST_F(PathHelpersTest, FileMoveOntoAnExistingTargetFailsWith124AndTheSource) {
  const std::string source = Make("from.txt", "source"), target = Make("to.txt", "target");
  EXPECT_FALSE(FileMove(source.c_str(), target.c_str(), holder));
  EXPECT_TRUE(holder.IsError());
  EXPECT_EQ(124, holder.GetStatus());
  EXPECT_EQ(0, holder.GetErrno());
  EXPECT_EQ(source, holder.Text().c_str());
  EXPECT_EQ("source", test::ReadFile(source));
  EXPECT_EQ("target", test::ReadFile(target));
}

TEST_F(PathHelpersTest, FileMoveOfAMissingSourceFails) {
  const std::string source = folder / "none.txt";
  EXPECT_FALSE(FileMove(source.c_str(), (folder / "to.txt").c_str(), holder));
  EXPECT_EQ(124, holder.GetStatus());
  EXPECT_EQ(source, holder.Text().c_str());
}

// --- FileSetAttributes -----------------------------------------------------------------------

TEST_F(PathHelpersTest, FileSetAttributesSetsTheWord) {
  const std::string path = Make("attributes.txt");
  Dirty();
  EXPECT_TRUE(FileSetAttributes(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, holder));
  EXPECT_FALSE(holder.IsError());
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(FileSetAttributes(path.c_str(), kAttributeArchiveOnly, holder));
  EXPECT_EQ(0u, GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(PathHelpersTest, FileSetAttributesOfAMissingFileFailsWith41) {
  const std::string path = folder / "missing.txt";
  EXPECT_FALSE(FileSetAttributes(path.c_str(), kAttributeArchiveOnly, holder));
  EXPECT_EQ(41, holder.GetStatus());
  EXPECT_EQ(0, holder.GetErrno());
  EXPECT_EQ(path, holder.Text().c_str());
}

// --- An armed holder throws at the recording step ------------------------------------------

TEST_F(PathHelpersTest, AnArmedHolderThrowsItsCopy) {
  XTOOFile armed(true);
  const std::string path = folder / "missing.txt";
  try {
    RemoveFile(path.c_str(), armed);
    FAIL() << "nothing thrown";
  } catch (const XTOOFile& thrown) {
    EXPECT_EQ(43, thrown.GetStatus());
    EXPECT_EQ(ENOENT, thrown.GetErrno());
    EXPECT_EQ(path, thrown.Text().c_str());
  }
  EXPECT_THROW(FileMove(path.c_str(), (folder / "x").c_str(), armed), XTOOFile);
}

}  // namespace
