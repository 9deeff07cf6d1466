// The deletion helper as the system runs it at start-up: a copy of the built
// uninst.exe with a list written into it, run in a temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <cstring>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WinTestSupport.h"
#include "tools/AsciiCase.h"

namespace {

const char kBanner[] = "___ Uninstaller ___\n";

// The console is written in text mode: each "\n" the helper prints reaches
// the pipe as CR LF.
std::string FromTextMode(const std::string& output) {
  std::string text;
  for (std::size_t i = 0; i < output.size(); ++i)
    if (!(output[i] == '\r' && i + 1 < output.size() && output[i + 1] == '\n'))
      text += output[i];
  return text;
}

// Writes the helper with `list` into `folder` and runs it from there.
test::ProcessResult RunHelper(const std::string& folder, const std::string& list,
                              const std::string& arguments = "") {
  const std::string helper = folder + "\\uninst.exe";
  EXPECT_TRUE(test::WriteFile(helper, test::HelperImageWithList(list)));
  std::string commandLine = "\"" + helper + "\"";
  if (!arguments.empty())
    commandLine += " " + arguments;
  auto result = test::RunProcess(commandLine, folder, 60000);
  EXPECT_TRUE(result.started) << commandLine;
  EXPECT_FALSE(result.timedOut) << commandLine;
  result.output = FromTextMode(result.output);
  return result;
}

void MakeFiles(const std::string& folder, const std::vector<std::string>& names) {
  for (const auto& name : names)
    ASSERT_TRUE(test::WriteFile(folder + "\\" + name, "product file " + name)) << name;
}

std::string Strerror(int code) { return std::strerror(code); }

class HelperTest : public ::testing::Test {
 protected:
  test::TempFolder work{"uninst"};
  const std::string helperFolder = work / "helper";
  void SetUp() override { ASSERT_TRUE(CreateDirectoryA(helperFolder.c_str(), nullptr)); }
};

TEST_F(HelperTest, DeletesTheListedFilesAndTheEmptiedFolder) {
  // Also a folder whose path is longer than 80 characters.
  for (const std::string& leaf : {std::string("Kestrin"), std::string(90, 'k')}) {
    const std::string product = work / leaf;
    ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
    MakeFiles(product, {"KESTRIN.VXD", "KESTRIN.HTM"});

    // A final line feed changes nothing.
    const auto result = RunHelper(helperFolder, product + "\nKESTRIN.VXD\nKESTRIN.HTM\n");
    EXPECT_EQ(result.exitCode, 0u);
    const std::string expected = std::string(kBanner) + "The current directory is: " + product +
                                 "\nDeleting file KESTRIN.VXD... Ok.\nDeleting file KESTRIN.HTM... Ok.\n";
    EXPECT_EQ(result.output.substr(0, expected.size()), expected) << result.output;
    EXPECT_FALSE(test::Exists(product)) << product;
    // The running helper cannot delete itself; the folder is not its own.
    EXPECT_NE(result.output.find("Can not delete file "), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("Can not delete directory"), std::string::npos) << result.output;
  }
}

TEST_F(HelperTest, AMissingFileIsReportedOnceWithoutRetries) {
  const std::string product = work / "Kestrin";
  // The same run without the missing file first: a retry would add its three
  // seconds to whatever the helper's start costs on a busy machine.
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  MakeFiles(product, {"B.HTM"});
  DWORD start = GetTickCount();
  RunHelper(helperFolder, product + "\nB.HTM");
  const DWORD withoutMissing = GetTickCount() - start;
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  MakeFiles(product, {"B.HTM"});
  start = GetTickCount();
  const auto result = RunHelper(helperFolder, product + "\nGONE.VXD\nB.HTM");
  const DWORD elapsed = GetTickCount() - start;
  const std::string expected =
      "Deleting file GONE.VXD... error: " + Strerror(ENOENT) + "Deleting file B.HTM... Ok.\n";
  EXPECT_NE(result.output.find(expected), std::string::npos) << result.output;
  EXPECT_LT(elapsed, withoutMissing + 2000u) << "a missing file must not be retried";
  EXPECT_FALSE(test::Exists(product));
}

TEST_F(HelperTest, ALockedFileIsRetriedForThreeSecondsThenReported) {
  const std::string product = work / "Kestrin";
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  MakeFiles(product, {"LOCKED.VXD", "NEXT.HTM"});
  HANDLE held = CreateFileA((product + "\\LOCKED.VXD").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const DWORD start = GetTickCount();
  const auto result = RunHelper(helperFolder, product + "\nLOCKED.VXD\nNEXT.HTM");
  const DWORD elapsed = GetTickCount() - start;
  CloseHandle(held);

  const std::string expected =
      "Deleting file LOCKED.VXD... error: " + Strerror(EACCES) + "Deleting file NEXT.HTM... Ok.\n";
  EXPECT_NE(result.output.find(expected), std::string::npos) << result.output;
  EXPECT_GE(elapsed, 2900u);
  EXPECT_LT(elapsed, 20000u);
  EXPECT_TRUE(test::Exists(product + "\\LOCKED.VXD"));
  EXPECT_FALSE(test::Exists(product + "\\NEXT.HTM"));
  // The folder still holds the locked file.
  EXPECT_NE(result.output.find("Can not delete directory " + product + ": "), std::string::npos)
      << result.output;
  EXPECT_EQ(result.exitCode, 0u);
}

TEST_F(HelperTest, AnyArgumentOnlyExplains) {
  const std::string product = work / "Kestrin";
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  MakeFiles(product, {"KESTRIN.VXD"});
  const auto result = RunHelper(helperFolder, product + "\nKESTRIN.VXD", "/?");
  EXPECT_EQ(result.output, std::string(kBanner) +
                               "This temporary file developed for deleting files while uninstall process\n");
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(test::Exists(product + "\\KESTRIN.VXD"));
}

TEST_F(HelperTest, AFolderThatCannotBeEnteredStopsWithOne) {
  const std::string missing = work / "NoSuchFolder";
  const auto result = RunHelper(helperFolder, missing + "\nKESTRIN.VXD");
  EXPECT_EQ(result.output,
            std::string(kBanner) + "Can not change directory to " + missing + ": " + Strerror(ENOENT));
  EXPECT_EQ(result.exitCode, 1u);
}

TEST_F(HelperTest, ThePristineImageStopsWithOne) {
  const std::string helper = helperFolder + "\\uninst.exe";
  ASSERT_TRUE(CopyFileA((test::ProgramDir() + "\\uninst.exe").c_str(), helper.c_str(), FALSE));
  auto result = test::RunProcess("\"" + helper + "\"", helperFolder);
  result.output = FromTextMode(result.output);
  EXPECT_EQ(result.exitCode, 1u) << result.output;
  EXPECT_EQ(result.output.rfind(std::string(kBanner) + "Can not change directory to FileList: ", 0), 0u)
      << result.output;
}

// The pending removals the system carries out at the next start.
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPending[] = "PendingFileRenameOperations";

std::vector<std::string> PendingRemovals() {
  std::vector<std::string> entries;
  const auto value = test::ReadValue(HKEY_LOCAL_MACHINE, kSessionManager, kPending);
  // Pairs of source and target; a removal has an empty target.
  for (const char* p = value.data.c_str(); p < value.data.c_str() + value.data.size();
       p += std::strlen(p) + 1)
    if (*p)
      entries.push_back(p);
  return entries;
}

void ClearPendingRemovals() { test::DeleteValue(HKEY_LOCAL_MACHINE, kSessionManager, kPending); }

std::string Lower(std::string s) {
  for (auto& c : s)
    c = AsciiLower(c);
  return s;
}

std::string WininitPath() {
  char windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(windows, sizeof windows);
  return std::string(windows, n) + "\\WININIT.INI";
}

std::string ShortPath(const std::string& path) {
  char shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  return n > 0 && n < sizeof shortPath ? shortPath : path;
}

// Makes the helper see the given Windows version (Wine's per-program
// setting), so that each system's road is taken whatever this prefix is.
class SystemSeenByTheHelper {
 public:
  explicit SystemSeenByTheHelper(const char* version) {
    test::WriteString(HKEY_CURRENT_USER, kKey, "Version", version);
  }
  ~SystemSeenByTheHelper() { test::DeleteTree(HKEY_CURRENT_USER, kKey); }

 private:
  static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\uninst.exe";
};

TEST_F(HelperTest, InsideTheFolderItLeavesItselfAndTheFolderToTheNextStart) {
  const std::string product = work / "Kestrin";
  ASSERT_TRUE(CreateDirectoryA(product.c_str(), nullptr));
  // The helper starts a WININIT.INI of its own; the prefix's is put back.
  const std::string wininit = WininitPath();
  const bool hadWininit = test::Exists(wininit);
  const std::string wininitBefore = test::ReadFile(wininit);
  DeleteFileA(wininit.c_str());
  const std::string self = product + "\\uninst.exe";

  // Windows NT and later remove the helper, then the folder; Windows 9x's
  // WININIT.EXE removes the helper by its short name and never a folder.
  for (const char* version : {"winxp", "win98"}) {
    SCOPED_TRACE(version);
    const bool windows9x = std::string(version) == "win98";
    MakeFiles(product, {"KESTRIN.VXD"});
    ClearPendingRemovals();
    SystemSeenByTheHelper system(version);

    const auto result = RunHelper(product, product + "\nKESTRIN.VXD");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_NE(result.output.find("Can not delete file " + self + ": "), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("Can not delete directory " + product + ": "), std::string::npos)
        << result.output;

    const auto pending = PendingRemovals();
    const std::string wininitAfter = test::ReadFile(wininit);
    ClearPendingRemovals();
    DeleteFileA(wininit.c_str());
    const std::string helper = ShortPath(self);
    DeleteFileA(self.c_str());

    if (windows9x) {
      EXPECT_EQ(pending.size(), 0u) << "pending: " << ::testing::PrintToString(pending);
      EXPECT_EQ(wininitAfter, "[rename]\r\nNUL=" + helper + "\r\n");
      continue;
    }
    EXPECT_EQ(wininitAfter, "");
    std::vector<std::string> sources;
    for (const auto& entry : pending)
      sources.push_back(Lower(entry));
    ASSERT_EQ(sources.size(), 2u) << "pending: " << ::testing::PrintToString(pending);
    EXPECT_EQ(sources[0].substr(sources[0].size() - self.size()), Lower(self));
    EXPECT_EQ(sources[1].substr(sources[1].size() - product.size()), Lower(product));
  }
  if (hadWininit)
    test::WriteFile(wininit, wininitBefore);
}

TEST_F(HelperTest, AtADriveRootItLeavesOnlyItselfToTheNextStart) {
  // The helper lies in the root it lists, as the setup program would place it
  // for a product installed at a drive root.
  const std::string root = "C:\\";
  const std::string file = "KTEST" + std::to_string(GetCurrentProcessId()) + ".TXT";
  ASSERT_TRUE(test::WriteFile(root + file, "product file"));
  ClearPendingRemovals();
  // Where folders could be removed at the next start too.
  SystemSeenByTheHelper system("winxp");

  const auto result = RunHelper("C:", "C:\\\n" + file);
  const std::string helper = root + "uninst.exe";
  EXPECT_NE(result.output.find("The current directory is: C:\\\n"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("Deleting file " + file + "... Ok.\n"), std::string::npos) << result.output;
  // The trailing backslash is gone, so the root reads back as "C:".
  EXPECT_NE(result.output.find("Can not delete directory C:: "), std::string::npos) << result.output;

  const auto pending = PendingRemovals();
  ClearPendingRemovals();
  DeleteFileA(helper.c_str());
  ASSERT_EQ(pending.size(), 1u) << "pending: " << ::testing::PrintToString(pending);
  EXPECT_EQ(Lower(pending[0]).substr(pending[0].size() - helper.size()), Lower(helper));
}

}  // namespace
