// RegisterStaticDriver on Wine: real keys under HKLM's static-driver list,
// real driver files with Wine's short names, and the prefix's own
// "system.ini" (saved before each test and put back after it).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "driver/StaticDriverRegistrar.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WinTestSupport.h"

namespace {

const std::string kListKey = "System\\CurrentControlSet\\Services\\VxD";

std::string WindowsFolder() {
  char folder[MAX_PATH + 1] = {};
  GetWindowsDirectoryA(folder, sizeof folder);
  std::string text = folder;
  if (text.empty() || text.back() != '\\')
    text += '\\';
  return text;
}

std::string ShortPath(const std::string& path) {
  char buffer[1024] = {};
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : std::string();
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
std::string KeyNameOf(const std::string& shortPath) {
  const std::string name = FileNameOf(shortPath);
  return name.substr(0, name.size() - 4);
}

// One file of the Windows folder as it was: present or not, and its bytes.
struct SavedFile {
  std::string path;
  bool existed = false;
  std::string bytes;

  explicit SavedFile(const std::string& filePath) : path(filePath) {
    existed = test::Exists(path);
    if (existed)
      bytes = test::ReadFile(path);
  }
  void Restore() const {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (existed)
      EXPECT_TRUE(test::WriteFile(path, bytes)) << "could not put back " << path;
    else
      DeleteFileA(path.c_str());
  }
};

class StaticDriverTest : public ::testing::Test {
 protected:
  const std::string windows = WindowsFolder();
  const std::string ini = windows + "system.ini";
  const std::string next = windows + "system.$$$";
  const std::string backup = windows + "system.bak";
  std::vector<SavedFile> saved{SavedFile(ini), SavedFile(next), SavedFile(backup)};
  const bool listExisted = test::KeyExists(HKEY_LOCAL_MACHINE, kListKey);
  test::TempFolder folder{"drv"};
  std::vector<std::string> driverKeys;  // removed at the end

  void SetUp() override {
    // Start each test from a known state: no new copy, no backup.
    DeleteFileA(next.c_str());
    DeleteFileA(backup.c_str());
  }

  void TearDown() override {
    for (const auto& file : saved)
      file.Restore();
    for (const auto& key : driverKeys)
      test::DeleteTree(HKEY_LOCAL_MACHINE, kListKey + "\\" + key);
    if (!listExisted)
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, kListKey.c_str());  // only when left empty
  }

  // A driver file in the temporary folder; its key is cleaned up at the end.
  std::string MakeDriver(const std::string& name) {
    const std::string path = folder / name;
    EXPECT_TRUE(test::WriteFile(path, "driver image")) << path;
    const std::string shortPath = ShortPath(path);
    if (!shortPath.empty() && FileNameOf(shortPath).size() > 4) {
      driverKeys.push_back(KeyNameOf(shortPath));
      test::DeleteTree(HKEY_LOCAL_MACHINE, kListKey + "\\" + KeyNameOf(shortPath));
    }
    return path;
  }

  std::string DriverKey(const std::string& path) const {
    return kListKey + "\\" + KeyNameOf(ShortPath(path));
  }
  void WriteIni(const std::string& text) { ASSERT_TRUE(test::WriteFile(ini, text)); }
  std::string Ini() const { return test::ReadFile(ini); }
};

std::string Sz(const std::string& text) { return std::string(text.c_str(), text.size() + 1); }

// --- Registration -------------------------------------------------------------------------

TEST_F(StaticDriverTest, RegistersTheShortPathAndAZeroStartByte) {
  const std::string path = MakeDriver("kestrin.VXD");
  const std::string before = test::ReadFile(ini);
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 1));

  const std::string shortPath = ShortPath(path);
  EXPECT_EQ("kestrin.VXD", FileNameOf(shortPath));  // an 8.3 name keeps its case
  const std::string key = kListKey + "\\kestrin";
  ASSERT_TRUE(test::KeyExists(HKEY_LOCAL_MACHINE, key));
  const auto staticVxd = test::ReadValue(HKEY_LOCAL_MACHINE, key, "StaticVxD");
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), staticVxd.type);
  EXPECT_EQ(Sz(shortPath), staticVxd.data);  // terminator included in the stored length
  const auto start = test::ReadValue(HKEY_LOCAL_MACHINE, key, "Start");
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), start.type);
  EXPECT_EQ(std::string(1, '\0'), start.data);
  // "system.ini" is not touched on this road.
  EXPECT_EQ(before, test::ReadFile(ini));
  EXPECT_FALSE(test::Exists(next));
  EXPECT_FALSE(test::Exists(backup));
}

TEST_F(StaticDriverTest, ASecondRegistrationOverwritesTheValues) {
  const std::string path = MakeDriver("kestrin.vxd");
  const std::string key = DriverKey(path);
  ASSERT_TRUE(test::WriteString(HKEY_LOCAL_MACHINE, key, "StaticVxD", "C:\\OLD\\PLACE.VXD"));
  ASSERT_TRUE(
      test::WriteValue(HKEY_LOCAL_MACHINE, key, "Start", REG_DWORD, std::string("\x01\x00\x00\x00", 4)));
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 1));
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 1));
  EXPECT_EQ(Sz(ShortPath(path)), test::ReadValue(HKEY_LOCAL_MACHINE, key, "StaticVxD").data);
  const auto start = test::ReadValue(HKEY_LOCAL_MACHINE, key, "Start");
  EXPECT_EQ(static_cast<DWORD>(REG_BINARY), start.type);
  EXPECT_EQ(std::string(1, '\0'), start.data);
}

TEST_F(StaticDriverTest, ALongFileNameRegistersUnderItsShortName) {
  const std::string path = MakeDriver("Kestrin Cooling Driver.vxd");
  const std::string shortPath = ShortPath(path);
  ASSERT_FALSE(shortPath.empty());
  ASSERT_NE(std::string::npos, shortPath.find('~')) << shortPath;  // Wine made a short name
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 1));
  const std::string key = kListKey + "\\" + KeyNameOf(shortPath);
  EXPECT_EQ(Sz(shortPath), test::ReadValue(HKEY_LOCAL_MACHINE, key, "StaticVxD").data);
}

TEST_F(StaticDriverTest, ADotThreeEightSixDriverIsAccepted) {
  const std::string path = MakeDriver("kt.386");
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 1));
  EXPECT_TRUE(test::KeyExists(HKEY_LOCAL_MACHINE, kListKey + "\\kt"));
}

TEST_F(StaticDriverTest, OtherExtensionsAreRejected) {
  for (const char* name : {"kt.sys", "kt.vx", "kt.VX_", "kt.vx1"}) {
    const std::string path = MakeDriver(name);
    EXPECT_EQ(0, RegisterStaticDriver(path.c_str(), 1)) << name;
    EXPECT_EQ(0, RegisterStaticDriver(path.c_str(), 0)) << name;
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kListKey + "\\kt")) << name;
  }
  EXPECT_FALSE(test::Exists(next));
}

TEST_F(StaticDriverTest, AMissingDriverFileIsRejectedOnRegistration) {
  EXPECT_EQ(0, RegisterStaticDriver((folder / "absent.vxd").c_str(), 1));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kListKey + "\\absent"));
}

TEST_F(StaticDriverTest, AThirteenCharacterNameIsRejected) {
  // Wine gives an existing long-named file a 12-character short name, so a
  // 13-character name reaches the check only when the conversion fails: on
  // the un-registration road of a file that is gone.
  const std::string before = test::ReadFile(ini);
  for (const char* name : {"ABCDEFGHI.VXD", "ABCDEFGHIJ.386"}) {
    const std::string path = folder / name;
    EXPECT_EQ(0, RegisterStaticDriver(path.c_str(), 0)) << name;
    EXPECT_EQ(0, RegisterStaticDriver(path.c_str(), 1)) << name;
  }
  EXPECT_EQ(before, test::ReadFile(ini));
  EXPECT_FALSE(test::Exists(next));
  EXPECT_FALSE(test::Exists(backup));
}

TEST_F(StaticDriverTest, ShortPathsAreRejected) {
  EXPECT_EQ(0, RegisterStaticDriver(".vxd", 0));
  EXPECT_EQ(0, RegisterStaticDriver("", 0));
  EXPECT_EQ(0, RegisterStaticDriver(nullptr, 0));
}

// --- Un-registration ------------------------------------------------------------------------

TEST_F(StaticDriverTest, UnregistrationDeletesTheKeyAndTheDriverLines) {
  const std::string path = MakeDriver("kestrin.vxd");
  ASSERT_EQ(1, RegisterStaticDriver(path.c_str(), 1));
  ASSERT_TRUE(test::WriteString(HKEY_LOCAL_MACHINE, DriverKey(path) + "\\below", "v", "x"));
  const std::string original =
      "[boot]\r\nshell=Explorer.exe\r\ndevice=C:\\WINDOWS\\SYSTEM\\KESTRIN.VXD\r\n"
      "[386Enh]\r\n"
      "device=*vmm\r\n"
      "device=C:\\WINDOWS\\SYSTEM\\KESTRIN.VXD\r\n"
      "  keep me = as I am  \r\n"
      "device=XKESTRIN.VXD\r\n"
      "Device=C:\\WIN\\kestrin.vxd\r\n"
      "[386enh]\r\ndevice=KESTRIN.VXD\r\n"
      "[386Enh] \r\ndevice=KESTRIN.VXD\r\n"
      "[drivers]\r\ndevice=KESTRIN.VXD\r\n";
  WriteIni(original);
  ASSERT_TRUE(test::WriteFile(backup, "an earlier backup"));

  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));

  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, DriverKey(path)));
  EXPECT_EQ(
      "[boot]\r\nshell=Explorer.exe\r\ndevice=C:\\WINDOWS\\SYSTEM\\KESTRIN.VXD\r\n"
      "[386Enh]\r\n"
      "device=*vmm\r\n"
      "  keep me = as I am  \r\n"
      "device=XKESTRIN.VXD\r\n"
      "[386enh]\r\ndevice=KESTRIN.VXD\r\n"
      "[386Enh] \r\ndevice=KESTRIN.VXD\r\n"
      "[drivers]\r\ndevice=KESTRIN.VXD\r\n",
      Ini());
  EXPECT_EQ(original, test::ReadFile(backup));  // byte for byte; the earlier backup is gone
  EXPECT_FALSE(test::Exists(next));
}

TEST_F(StaticDriverTest, TheRewrittenFileHasCrLfLineEnds) {
  const std::string path = MakeDriver("kestrin.vxd");
  const std::string original = "[386Enh]\ndevice=kestrin.vxd\nnetwork=yes\r\r\n\nlast line";
  WriteIni(original);
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));
  EXPECT_EQ("[386Enh]\r\nnetwork=yes\r\n\r\nlast line\r\n", Ini());
  EXPECT_EQ(original, test::ReadFile(backup));
}

TEST_F(StaticDriverTest, NoDriverLineMeansNoChangeAndNoBackup) {
  const std::string path = MakeDriver("kestrin.vxd");
  const std::string original = "[386Enh]\ndevice=OTHER.VXD\n[boot]\ndevice=kestrin.vxd\n";
  WriteIni(original);
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));  // no key either: ignored
  EXPECT_EQ(original, Ini());
  EXPECT_FALSE(test::Exists(backup));
  EXPECT_FALSE(test::Exists(next));  // made and deleted again
}

TEST_F(StaticDriverTest, ALineLongerThanTheReadBufferReachesTheNewFileWhole) {
  const std::string path = MakeDriver("kestrin.vxd");
  // Read in 1,021-character pieces, its second piece alone would look like
  // a line loading the driver.
  const std::string tricky = std::string(1021, 'p') + "device=C:\\KESTRIN.VXD";
  const std::string huge = "note=" + std::string(5000, 'h');
  WriteIni("[386Enh]\r\n" + tricky + "\r\n" + huge + "\r\ndevice=kestrin.vxd\r\n");
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));
  EXPECT_EQ("[386Enh]\r\n" + tricky + "\r\n" + huge + "\r\n", Ini());
}

TEST_F(StaticDriverTest, AMissingSystemIniIsLeftMissing) {
  const std::string path = MakeDriver("kestrin.vxd");
  ASSERT_TRUE(DeleteFileA(ini.c_str()) || !test::Exists(ini));
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));
  EXPECT_FALSE(test::Exists(ini));
  EXPECT_FALSE(test::Exists(next));
  EXPECT_FALSE(test::Exists(backup));
}

TEST_F(StaticDriverTest, AGoneDriverFileIsStillUnregisteredByItsPath) {
  // The short-path conversion fails for a file that is gone: the path is
  // used as given.
  const std::string path = folder / "KT.VXD";
  driverKeys.push_back("KT");
  ASSERT_TRUE(test::WriteString(HKEY_LOCAL_MACHINE, kListKey + "\\KT", "StaticVxD", path));
  WriteIni("[386Enh]\r\ndevice=" + path + "\r\n");
  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kListKey + "\\KT"));
  EXPECT_EQ("[386Enh]\r\n", Ini());
}

TEST_F(StaticDriverTest, WhenTheNewFileCannotBecomeSystemIniTheOldOneIsPutBack) {
  const std::string path = MakeDriver("kestrin.vxd");
  const std::string original = "[386Enh]\r\ndevice=kestrin.vxd\r\nkeep=1\r\n";
  WriteIni(original);
  ASSERT_TRUE(test::WriteFile(backup, "an earlier backup"));
  // Hold "system.$$$" open without delete sharing: it can be written
  // (truncated and filled) but not renamed.
  HANDLE held = CreateFileA(next.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);

  EXPECT_EQ(1, RegisterStaticDriver(path.c_str(), 0));
  CloseHandle(held);

  EXPECT_EQ(original, Ini());  // "system.ini" is still there, as it was
  EXPECT_FALSE(test::Exists(backup));
  EXPECT_EQ("[386Enh]\r\nkeep=1\r\n", test::ReadFile(next));  // the new copy stays behind
}

}  // namespace
