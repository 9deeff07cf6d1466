// The product profile built in a real process: the compiled-in product, the
// saved language read from the current user's registry, and the folder and
// file name of a program copied into the prefix's C: drive.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ProductProfile.h"
#include "tests/support/WinTestSupport.h"

namespace {

const char kCompanyKeyPath[] = "SOFTWARE\\Quarnelworks";
const char kProductKeyPath[] = "SOFTWARE\\Quarnelworks\\Kestrin";

std::vector<std::string> Names(NameList& list) {
  std::vector<std::string> names;
  list.reset();
  while (const char* name = list.next())
    names.push_back(name);
  return names;
}

// Removes the product's per-user key, and the company key when that holds
// nothing else, so each case starts and ends without saved settings.
void RemoveSavedSettings() {
  RegDeleteKeyA(HKEY_CURRENT_USER, kProductKeyPath);
  HKEY company = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kCompanyKeyPath, 0, KEY_READ, &company) == ERROR_SUCCESS) {
    DWORD subKeys = 1;
    DWORD values = 1;
    RegQueryInfoKeyA(company, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(company);
    if (subKeys == 0 && values == 0)
      RegDeleteKeyA(HKEY_CURRENT_USER, kCompanyKeyPath);
  }
}

// The product's per-user key is fixed by the product, so it cannot be made
// unique; the tests of one prefix never run at once.
class SavedLanguageTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveSavedSettings(); }
  void TearDown() override { RemoveSavedSettings(); }

  void SaveLanguage(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kProductKeyPath, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const LONG written = RegSetValueExA(key, "Language", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, written);
  }
  void SaveLanguageText(const char* text) { SaveLanguage(REG_SZ, text, lstrlenA(text) + 1); }
};

}  // namespace

TEST(ProductProfile, CompiledInProduct) {
  ProductProfile profile;
  EXPECT_EQ(0, profile.productIndex);
  EXPECT_STREQ("Kestrin", profile.productName.c_str());
  EXPECT_STREQ("Quarnelworks", profile.companyKey.c_str());
  EXPECT_EQ((std::vector<std::string>{"Installer.exe", "Kestrin.vxd", "Kestrin.htm"}),
            Names(profile.fileList));
  EXPECT_EQ((std::vector<std::string>{"Kestrin.vxd"}), Names(profile.driverList));
  EXPECT_EQ(nullptr, profile.languageFonts[kLanguageEnglish]);
  EXPECT_EQ(nullptr, profile.languageFonts[kLanguageRussian]);
}

TEST_F(SavedLanguageTest, NoSavedSettingsIsEnglish) {
  ProductProfile profile;
  EXPECT_EQ(kLanguageEnglish, profile.languageIndex);
}

TEST_F(SavedLanguageTest, KeyWithoutLanguageValueIsEnglish) {
  SaveLanguageText("Russian");
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kProductKeyPath, 0, KEY_ALL_ACCESS, &key));
  RegDeleteValueA(key, "Language");
  RegCloseKey(key);
  ProductProfile profile;
  EXPECT_EQ(kLanguageEnglish, profile.languageIndex);
}

TEST_F(SavedLanguageTest, SavedNameInAnyCaseSelectsItsLanguage) {
  struct Case {
    const char* saved;
    int32_t language;
  };
  const Case cases[] = {
      {"Russian", kLanguageRussian},
      {"RUSSIAN", kLanguageRussian},
      {"russian", kLanguageRussian},
      {"English", kLanguageEnglish},
      {"Russ", kLanguageEnglish},
      // The word in Cyrillic letters, in Windows-1251 and in UTF-8.
      {"\xD0\xF3\xF1\xF1\xEA\xE8\xE9", kLanguageEnglish},
      {"\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9", kLanguageEnglish},
      {"", kLanguageEnglish},
  };
  for (const Case& c : cases) {
    SaveLanguageText(c.saved);
    ProductProfile profile;
    EXPECT_EQ(c.language, profile.languageIndex) << "saved \"" << c.saved << "\"";
  }
}

TEST_F(SavedLanguageTest, ValueThatIsNotATextIsEnglish) {
  SaveLanguage(REG_BINARY, "Russian", 8);
  {
    ProductProfile profile;
    EXPECT_EQ(kLanguageEnglish, profile.languageIndex) << "binary value spelling Russian";
  }
  const DWORD number = 1;
  SaveLanguage(REG_DWORD, &number, sizeof number);
  ProductProfile profile;
  EXPECT_EQ(kLanguageEnglish, profile.languageIndex) << "number value";
}

TEST_F(SavedLanguageTest, TextFillingTheWholeBufferIsEnglish) {
  // "Russian" and then no terminator within the 1024 bytes the profile
  // reads. (Windows 9x stores a terminator after them: too long to read.)
  std::string filled(1024, 'x');
  filled.replace(0, 7, "Russian");
  SaveLanguage(REG_SZ, filled.data(), static_cast<DWORD>(filled.size()));
  {
    ProductProfile profile;
    EXPECT_EQ(kLanguageEnglish, profile.languageIndex) << "1024-byte text";
  }
  // Longer than the buffer: the read fails and leaves English.
  filled.assign(4000, 'x');
  filled.replace(0, 7, "Russian");
  SaveLanguage(REG_SZ, filled.data(), static_cast<DWORD>(filled.size()));
  {
    ProductProfile profile;
    EXPECT_EQ(kLanguageEnglish, profile.languageIndex) << "4000-byte text";
  }
  // A zero byte within: Windows 9x keeps a text only up to its first zero,
  // so there the value is the word itself; elsewhere it is 4000 bytes that
  // do not fit.
  filled.replace(0, 8, std::string("Russian\0", 8));
  SaveLanguage(REG_SZ, filled.data(), static_cast<DWORD>(filled.size()));
  ProductProfile profile;
  EXPECT_EQ(test::RunsOnWindows9x() ? kLanguageRussian : kLanguageEnglish, profile.languageIndex)
      << "\"Russian\" and a zero in 4000 bytes";
}

// Run only as a child in a copy of this program: prints the split of its
// own module path for the parent to check.
TEST(ProfileChild, DISABLED_PrintModulePathSplit) {
  ProductProfile profile;
  std::printf("folder=[%s]\nfile=[%s]\n", profile.programFolder.c_str(), profile.programFileName.c_str());
}

namespace {

// Copies this test program to `copyPath`, runs the child case there and
// returns what it printed.
std::string RunCopyAndReadSplit(const std::string& copyPath) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  EXPECT_TRUE(CopyFileA(self, copyPath.c_str(), FALSE)) << "copy to " << copyPath << ": " << GetLastError();
  const test::ProcessResult run = test::RunProcess(
      "\"" + copyPath +
          "\" --gtest_also_run_disabled_tests --gtest_filter=ProfileChild.DISABLED_PrintModulePathSplit",
      "", 60000);
  DeleteFileA(copyPath.c_str());
  std::string output = run.output;
  // The child's console output has CR LF line ends.
  output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
  EXPECT_TRUE(run.started);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(0u, run.exitCode) << output;
  return output;
}

}  // namespace

TEST(ProductProfile, ModulePathSplitOfAProgramInAFolder) {
  test::TempFolder setup("KestrinSetup", "C:\\");
  const std::string output = RunCopyAndReadSplit(setup / "Installer.exe");
  EXPECT_NE(std::string::npos, output.find("folder=[" + setup.Path() + "]\n")) << output;
  EXPECT_NE(std::string::npos, output.find("file=[Installer.exe]\n")) << output;
}

TEST(ProductProfile, ModulePathSplitOfAProgramInADriveRoot) {
  const std::string copyPath = "C:\\KestrinProfileRoot" + std::to_string(GetCurrentProcessId()) + ".exe";
  const std::string output = RunCopyAndReadSplit(copyPath);
  EXPECT_NE(std::string::npos, output.find("folder=[C:]\n")) << output;
  EXPECT_NE(std::string::npos,
            output.find("file=[KestrinProfileRoot" + std::to_string(GetCurrentProcessId()) + ".exe]\n"))
      << output;
}
