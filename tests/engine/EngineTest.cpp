// Install and uninstall on the real registry and files of the test prefix,
// with the message boxes and the restart recorded instead of shown.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "app/ProductProfile.h"
#include "engine/DeferredDeletion.h"
#include "tests/support/RecordedSystemCalls.h"
#include "tests/support/InstallationGuard.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WinTestSupport.h"
#include "uninst/ListArea.h"

namespace {

const char kCompanyKey[] = "SOFTWARE\\Quarnelworks";
using test::kDriverKey;
using test::kRunOnce;
using test::kUninstallEntry;
using test::kUserSettings;

const char kInstallQuestion[] =
    "In is need to reboot computer to finish of installation process.\nDo you wish to reboot it now?";
const char kUninstallQuestion[] =
    "In is need to reboot computer to finish of uninstallation process.\nDo you wish to reboot it now?";
const char kReminder[] = "Do not forget to reboot you computer.";

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return (n == 0 || n >= sizeof buffer) ? path : std::string(buffer);
}

// The lists are fixed by the product; some cases need other ones.
void Rebuild(NameList& list, const char* text) {
  list.~NameList();
  new (&list) NameList(text);
}

// The list written into a helper file, read at the offset where the built
// helper has its area; the rest of the image must be the built helper's.
std::string ListInHelper(const std::string& helperPath) {
  const std::string pristine = test::ReadFile(test::ProgramDir() + "\\uninst.exe");
  const std::string written = test::ReadFile(helperPath);
  const long at = ListArea::Find(reinterpret_cast<const unsigned char*>(pristine.data()), pristine.size());
  if (at < 0)
    return "(no list area in the built helper)";
  if (written.size() != pristine.size())
    return "(written helper is " + std::to_string(written.size()) + " bytes, not " +
           std::to_string(pristine.size()) + ")";
  const std::size_t areaEnd = static_cast<std::size_t>(at) + ListArea::kSize;
  if (written.compare(0, at, pristine, 0, at) != 0 ||
      written.compare(areaEnd, std::string::npos, pristine, areaEnd) != 0)
    return "(written helper differs outside its list area)";
  return std::string(written.c_str() + at);
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorded::Clear();
    UseFolder(product.Path());
  }

  void UseFolder(const std::string& folder) {
    profile.programFolder = folder.c_str();
    profile.programFileName = "Installer.exe";
    for (const char* name : {"Installer.exe", "Kestrin.vxd", "Kestrin.htm"})
      ASSERT_TRUE(test::WriteFile(folder + "\\" + name, std::string("product file ") + name)) << name;
  }

  std::string Path(const char* name) const {
    return std::string(profile.programFolder.c_str()) + "\\" + name;
  }

  test::InstallationGuard installation;
  test::TempFolder product{"Kestrin"};
  ProductProfile profile;
};

TEST_F(EngineTest, InstallWritesTheEntriesAndAsksForTheRestart) {
  test::WriteString(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin", "C:\\OLD\\UNINST.EXE");
  recorded::answers = {IDYES};

  EXPECT_EQ(profile.PerformSetup(1), 1);

  const std::string folder = product.Path();
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayName"), "Kestrin");
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString"),
            "\"" + folder + "\\Installer.exe\" /uninstall");
  EXPECT_EQ(test::ReadString(HKEY_CURRENT_USER, kUserSettings, "Path"), folder);
  EXPECT_EQ(test::ReadString(HKEY_CURRENT_USER, kUserSettings, "Language"), "English");
  const auto staticVxd = test::ReadValue(HKEY_LOCAL_MACHINE, kDriverKey, "StaticVxD");
  EXPECT_EQ(staticVxd.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(staticVxd.data, ShortPath(folder + "\\Kestrin.vxd") + std::string(1, '\0'));
  const auto start = test::ReadValue(HKEY_LOCAL_MACHINE, kDriverKey, "Start");
  EXPECT_EQ(start.type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(start.data, std::string(1, '\0'));
  EXPECT_FALSE(test::ReadValue(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin").exists)
      << "pending deletion not cancelled";

  ASSERT_EQ(recorded::messageBoxes.size(), 1u);
  EXPECT_EQ(recorded::messageBoxes[0].text, kInstallQuestion);
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Installer");
  EXPECT_EQ(recorded::messageBoxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  ASSERT_EQ(recorded::restarts.size(), 1u);
  EXPECT_EQ(recorded::restarts[0].flags, static_cast<unsigned>(EWX_REBOOT));
  EXPECT_EQ(recorded::restarts[0].reason, 0u);
}

TEST_F(EngineTest, DecliningTheRestartLeavesAReminder) {
  EXPECT_EQ(profile.PerformSetup(1), 1);
  ASSERT_EQ(recorded::messageBoxes.size(), 2u);
  EXPECT_EQ(recorded::messageBoxes[1].text, kReminder);
  EXPECT_EQ(recorded::messageBoxes[1].caption, "Installer");
  EXPECT_EQ(recorded::messageBoxes[1].style, static_cast<unsigned>(MB_ICONWARNING));
  EXPECT_TRUE(recorded::restarts.empty());
}

TEST_F(EngineTest, TheReminderSpeaksTheLanguageChosenWhileTheQuestionWasOpen) {
  // The question has no owner: the dialog's language selector stays usable.
  recorded::whileNextBoxIsOpen = [this] { profile.languageIndex = 1; };
  EXPECT_EQ(profile.PerformSetup(1), 1);
  ASSERT_EQ(recorded::messageBoxes.size(), 2u);
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Installer");
  EXPECT_EQ(recorded::messageBoxes[1].caption, profile.LoadMessage(117).c_str());
  EXPECT_EQ(recorded::messageBoxes[1].text, profile.LoadMessage(120).c_str());
  EXPECT_NE(recorded::messageBoxes[1].text, kReminder);
}

TEST_F(EngineTest, AFolderAtADriveRootGetsOneBackslash) {
  UseFolder("C:");
  EXPECT_EQ(profile.PerformSetup(1), 1);
  EXPECT_EQ(test::ReadString(HKEY_CURRENT_USER, kUserSettings, "Path"), "C:");
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString"),
            "\"C:\\Installer.exe\" /uninstall");
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kDriverKey, "StaticVxD"), ShortPath("C:\\Kestrin.vxd"));
  for (const char* name : {"Installer.exe", "Kestrin.vxd", "Kestrin.htm"})
    DeleteFileA((std::string("C:\\") + name).c_str());
}

TEST_F(EngineTest, MissingFilesAreNamedAndNothingIsWritten) {
  ASSERT_TRUE(DeleteFileA(Path("Kestrin.htm").c_str()));
  EXPECT_EQ(profile.PerformSetup(1), 0);
  ASSERT_EQ(recorded::messageBoxes.size(), 1u);
  EXPECT_EQ(recorded::messageBoxes[0].text, "File is not found:\nKestrin.htm");
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Files existing checking");
  EXPECT_EQ(recorded::messageBoxes[0].style, static_cast<unsigned>(MB_ICONERROR));

  recorded::Clear();
  ASSERT_TRUE(DeleteFileA(Path("Kestrin.vxd").c_str()));
  EXPECT_EQ(profile.PerformSetup(1), 0);
  ASSERT_EQ(recorded::messageBoxes.size(), 1u);
  EXPECT_EQ(recorded::messageBoxes[0].text, "Files are not found:\nKestrin.vxd\nKestrin.htm");

  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kUserSettings));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
}

TEST_F(EngineTest, ARejectedDriverDoesNotStopTheInstallButNoDriverEndsWithoutTheQuestion) {
  Rebuild(profile.driverList, "Kestrin.sys");
  EXPECT_EQ(profile.PerformSetup(1), 1);
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
  ASSERT_EQ(recorded::messageBoxes.size(), 2u) << "the restart is still offered";
  EXPECT_EQ(recorded::messageBoxes[0].text, kInstallQuestion);

  recorded::Clear();
  Rebuild(profile.driverList, "");
  EXPECT_EQ(profile.PerformSetup(1), 1);
  EXPECT_TRUE(recorded::messageBoxes.empty());
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayName"), "Kestrin");
}

TEST_F(EngineTest, UninstallRemovesEntriesAndFilesAndKeepsTheCompanyKey) {
  ASSERT_EQ(profile.PerformSetup(1), 1);
  test::WriteString(HKEY_CURRENT_USER, std::string(kCompanyKey) + "\\OtherProduct", "Path", "C:\\Other");
  SetFileAttributesA(Path("Kestrin.htm").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  recorded::Clear();

  EXPECT_EQ(profile.PerformSetup(0), 1);

  EXPECT_TRUE(recorded::messageBoxes.empty()) << "nothing deferred: no helper, no question";
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kUserSettings));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, std::string(kCompanyKey) + "\\OtherProduct"));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
  for (const char* name : {"Installer.exe", "Kestrin.vxd", "Kestrin.htm", "uninst.exe"})
    EXPECT_FALSE(test::Exists(Path(name))) << name;
  test::DeleteTree(HKEY_CURRENT_USER, std::string(kCompanyKey) + "\\OtherProduct");

  // A second uninstall finds nothing and says nothing.
  EXPECT_EQ(profile.PerformSetup(0), 1);
  EXPECT_TRUE(recorded::messageBoxes.empty());
}

TEST_F(EngineTest, AFileInUseIsLeftToTheHelperAtTheNextStart) {
  ASSERT_EQ(profile.PerformSetup(1), 1);
  recorded::Clear();
  // As the running setup program is: open, without delete sharing.
  HANDLE held = CreateFileA(Path("Installer.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  EXPECT_EQ(profile.PerformSetup(0), 1);

  const std::string helper = Path("uninst.exe");
  const std::string list = ShortPath(product.Path()) + "\n" + FileNameOf(ShortPath(Path("Installer.exe")));
  EXPECT_EQ(ListInHelper(helper), list);
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin"), ShortPath(helper));
  EXPECT_FALSE(test::Exists(Path("Kestrin.vxd")));
  ASSERT_EQ(recorded::messageBoxes.size(), 2u);
  EXPECT_EQ(recorded::messageBoxes[0].text, kUninstallQuestion);
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Uninstaller");
  EXPECT_EQ(recorded::messageBoxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(recorded::messageBoxes[1].text, kReminder);
  EXPECT_EQ(recorded::messageBoxes[1].caption, "Uninstaller");

  // A second uninstall before the restart writes both afresh.
  ASSERT_TRUE(test::WriteFile(helper, "stale"));
  SetFileAttributesA(helper.c_str(), FILE_ATTRIBUTE_READONLY);
  test::WriteString(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin", "stale");
  EXPECT_EQ(profile.PerformSetup(0), 1);
  EXPECT_EQ(ListInHelper(helper), list);
  EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin"), ShortPath(helper));

  // Installing again before the restart cancels the deletion.
  ASSERT_TRUE(test::WriteFile(Path("Kestrin.vxd"), "driver"));
  ASSERT_TRUE(test::WriteFile(Path("Kestrin.htm"), "page"));
  EXPECT_EQ(profile.PerformSetup(1), 1);
  EXPECT_FALSE(test::ReadValue(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin").exists);

  // The helper the engine wrote does its work once the file is free.
  CloseHandle(held);
  const std::string shortName = FileNameOf(ShortPath(Path("Installer.exe")));
  const auto run = test::RunProcess("\"" + helper + "\"", product.Path(), 60000);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("Deleting file " + shortName + "... Ok."), std::string::npos) << run.output;
  EXPECT_FALSE(test::Exists(Path("Installer.exe")));
}

class DeferredDeletionTest : public EngineTest {
 protected:
  // A list of exactly `length` characters: the folder, then names.
  std::string ListOfLength(std::size_t length) {
    std::string list = product.Path();
    int n = 0;
    for (; list.size() + 13 < length; ++n)
      list += "\nF" + std::string(7 - std::to_string(n).size(), '0') + std::to_string(n) + ".TXT";
    list += "\n" + std::string(length - list.size() - 1, 'X');
    return list;
  }
};

TEST_F(DeferredDeletionTest, TheListMustFitTheHelpersArea) {
  const std::string fits = ListOfLength(4095);
  ASSERT_EQ(fits.size(), 4095u);
  EXPECT_EQ(ScheduleDeferredDeletion(profile, fits.c_str()), 1);
  EXPECT_EQ(ListInHelper(Path("uninst.exe")), fits);

  recorded::Clear();
  DeleteFileA(Path("uninst.exe").c_str());
  const std::string tooLong = ListOfLength(4096);
  EXPECT_EQ(ScheduleDeferredDeletion(profile, tooLong.c_str()), 0);
  ASSERT_EQ(recorded::messageBoxes.size(), 1u);
  EXPECT_EQ(recorded::messageBoxes[0].text,
            "Too long list of files for deleting:\n" + tooLong.substr(tooLong.find('\n') + 1));
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Uninstaller");
  EXPECT_EQ(recorded::messageBoxes[0].style, static_cast<unsigned>(MB_ICONERROR));
  EXPECT_FALSE(test::Exists(Path("uninst.exe")));
}

TEST_F(DeferredDeletionTest, AnImageWithoutRoomForTheListIsWrittenUnchanged) {
  // No marker at all; and a marker 110 bytes before the end, where this
  // list with its zero byte would run past the image.
  const std::string list = product.Path() + "\n" + std::string(120, 'F');
  std::string noMarker(8192, 'x');
  std::string nearEnd(8192, 'x');
  nearEnd.replace(nearEnd.size() - 110, 9, std::string("FileList\0", 9));
  for (const std::string& image : {noMarker, nearEnd}) {
    recorded::Clear();
    EXPECT_EQ(WriteHelperAndAskRestart(profile, list.c_str(), image.data(), image.size()), 1);
    EXPECT_TRUE(test::ReadFile(Path("uninst.exe")) == image) << "the image was changed";
    EXPECT_EQ(test::ReadString(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin"), ShortPath(Path("uninst.exe")));
    ASSERT_EQ(recorded::messageBoxes.size(), 2u);
    EXPECT_EQ(recorded::messageBoxes[0].text, kUninstallQuestion);
  }
}

TEST_F(DeferredDeletionTest, AHelperThatCannotBeWrittenIsReportedWithoutTheQuestion) {
  ASSERT_TRUE(CreateDirectoryA(Path("uninst.exe").c_str(), nullptr));
  EXPECT_EQ(ScheduleDeferredDeletion(profile, (product.Path() + "\nKESTRIN.VXD").c_str()), 1);
  ASSERT_EQ(recorded::messageBoxes.size(), 1u);
  EXPECT_EQ(recorded::messageBoxes[0].text, "Can not create file\n" + Path("uninst.exe"));
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Uninstaller");
  EXPECT_EQ(recorded::messageBoxes[0].style, static_cast<unsigned>(MB_ICONERROR));
  EXPECT_FALSE(test::ReadValue(HKEY_LOCAL_MACHINE, kRunOnce, "Kestrin").exists);
}

TEST_F(DeferredDeletionTest, AMissingRunOnceKeyIsShownThenTheQuestionFollows) {
  test::DeleteTree(HKEY_LOCAL_MACHINE, kRunOnce);
  EXPECT_EQ(ScheduleDeferredDeletion(profile, (product.Path() + "\nKESTRIN.VXD").c_str()), 1);
  test::WriteString(HKEY_LOCAL_MACHINE, kRunOnce, "KestrinProbe", "");
  test::DeleteValue(HKEY_LOCAL_MACHINE, kRunOnce, "KestrinProbe");

  ASSERT_EQ(recorded::messageBoxes.size(), 3u);
  const std::string opening = std::string("OpenRegError ") + kRunOnce + " 2 Error code=2 (";
  EXPECT_EQ(recorded::messageBoxes[0].text.substr(0, opening.size()), opening)
      << recorded::messageBoxes[0].text;
  EXPECT_EQ(recorded::messageBoxes[0].caption, "Uninstaller");
  EXPECT_EQ(recorded::messageBoxes[0].style, static_cast<unsigned>(MB_OK));
  EXPECT_EQ(recorded::messageBoxes[1].text, kUninstallQuestion);
  EXPECT_TRUE(test::Exists(Path("uninst.exe"))) << "the helper stays, unscheduled";
}

// Run by the engine_test_russian test, under code page 1251.
TEST_F(EngineTest, RussianCaptionsAndQuestions) {
  const char* locale = std::getenv("LC_ALL");
  if (GetACP() != 1251 && !(locale && std::strstr(locale, "1251")))
    GTEST_SKIP() << "needs code page 1251 (LC_ALL=ru_RU.CP1251)";
  ASSERT_EQ(GetACP(), 1251u);
  profile.languageIndex = 1;
  EXPECT_EQ(profile.PerformSetup(1), 1);
  ASSERT_EQ(recorded::messageBoxes.size(), 2u);
  EXPECT_EQ(recorded::messageBoxes[0].caption,
            "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8");
  EXPECT_EQ(recorded::messageBoxes[0].text,
            "\xC4\xEB\xFF \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xFF \xEF\xF0\xEE\xF6\xE5\xF1\xF1\xE0 "
            "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
            "\xF2\xF0\xE5\xE1\xF3\xE5\xF2\xF1\xFF \xEF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
            "\xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0.\n\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
            "\xE5\xE3\xEE \xF1\xE5\xE9\xF7\xE0\xF1?");
  EXPECT_EQ(recorded::messageBoxes[1].text,
            "\xCD\xE5 \xE7\xE0\xE1\xF3\xE4\xFC\xF2\xE5 \xEF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC "
            "\xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0.");
  EXPECT_EQ(test::ReadString(HKEY_CURRENT_USER, kUserSettings, "Language"), "Russian");

  recorded::Clear();
  ASSERT_TRUE(DeleteFileA(Path("Kestrin.htm").c_str()));
  EXPECT_EQ(profile.PerformSetup(1), 0);
  ASSERT_EQ(recorded::messageBoxes.size(), 1u);
  EXPECT_EQ(recorded::messageBoxes[0].text,
            "\xCE\xF2\xF1\xF3\xF2\xF1\xF2\xE2\xF3\xE5\xF2 \xF4\xE0\xE9\xEB:\nKestrin.htm");
  EXPECT_EQ(recorded::messageBoxes[0].caption,
            "\xCF\xF0\xEE\xE2\xE5\xF0\xEA\xE0 \xED\xE0\xEB\xE8\xF7\xE8\xFF \xF4\xE0\xE9\xEB\xEE\xE2");
}

}  // namespace
