// The driver status line against the driver double, in English and (run
// again under Windows-1251) in Russian.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

#include "app/ProductProfile.h"
#include "tests/support/DriverDouble.h"
#include "tests/support/WinTestSupport.h"

namespace {

const char kCooling[] = "\nYour processor is cooling automatically.";

// The Russian wording as Windows-1251 bytes, converted by a script from the
// catalogue's Cyrillic texts (not typed by hand).
const char kRussianActive101[] =
    "\xC4\xF0\xE0\xE9\xE2\xE5\xF0 Kestrin.vxd \xE2\xE5\xF0\xF1\xE8\xE8 1.01 \xE1\xE8\xEB\xE4 7 "
    "\xE2 \xED\xE0\xF1\xF2\xEE\xFF\xF9\xE8\xE9 \xEC\xEE\xEC\xE5\xED\xF2 \xE0\xEA\xF2\xE8\xE2\xE5\xED."
    "\n\xC2\xE0\xF8 \xEF\xF0\xEE\xF6\xE5\xF1\xF1\xEE\xF0 \xE0\xE2\xF2\xEE\xEC\xE0\xF2\xE8\xF7\xE5\xF1"
    "\xEA\xE8 \xEE\xF5\xEB\xE0\xE6\xE4\xE0\xE5\xF2\xF1\xFF.";
const char kRussianActive000[] =
    "\xC4\xF0\xE0\xE9\xE2\xE5\xF0 Kestrin.vxd \xE2\xE5\xF0\xF1\xE8\xE8 0.00 \xE1\xE8\xEB\xE4 0 "
    "\xE2 \xED\xE0\xF1\xF2\xEE\xFF\xF9\xE8\xE9 \xEC\xEE\xEC\xE5\xED\xF2 \xE0\xEA\xF2\xE8\xE2\xE5\xED.";
const char kRussianNotActive[] =
    "\xC4\xF0\xE0\xE9\xE2\xE5\xF0 Kestrel.vxd \xED\xE0\xF1\xF2\xEE\xFF\xF9\xE8\xE9 "
    "\xEC\xEE\xEC\xE5\xED\xF2 \xED\xE5 \xE0\xEA\xF2\xE8\xE2\xE5\xED.";

// The profile's lists are fixed by the product; some cases need others.
void Rebuild(NameList& list, const char* text) {
  list.~NameList();
  new (&list) NameList(text);
}

// One loaded driver for the whole suite (see test::DriverSuite).
class DriverStatusTest : public test::DriverSuite {
 protected:
  std::string Status() { return profile.DescribeDriverStatus().c_str(); }

  ProductProfile profile;
};

TEST_F(DriverStatusTest, VersionWordsInEnglish) {
  struct Case {
    DWORD word;
    const char* status;
  } const cases[] = {
      {0x00650007, "Driver Kestrin.vxd version 1.01 Build 7 is active now."},
      {0x0066002A, "Driver Kestrin.vxd version 1.02 Build 42 is active now."},
      // Unsigned throughout: no negative major or build.
      {0xFFFFFFFF, "Driver Kestrin.vxd version 655.35 Build 65535 is active now."},
      {0x00008000, "Driver Kestrin.vxd version 0.00 Build 32768 is active now."},
  };
  profile.languageIndex = kLanguageEnglish;
  for (const auto& c : cases) {
    ASSERT_TRUE(driver->SetVersionWord(c.word));
    EXPECT_EQ(std::string(c.status) + kCooling, Status()) << std::hex << c.word;
  }
}

TEST_F(DriverStatusTest, WordZeroHasNoCoolingSentence) {
  ASSERT_TRUE(driver->SetVersionWord(0));
  EXPECT_EQ("Driver Kestrin.vxd version 0.00 Build 0 is active now.", Status());
}

TEST_F(DriverStatusTest, SecondProductNeverCools) {
  profile.productIndex = 1;
  EXPECT_EQ("Driver Kestrin.vxd version 1.01 Build 7 is active now.", Status());
  // Its own driver is not running here.
  Rebuild(profile.driverList, "Tarvelin.vxd");
  EXPECT_EQ("Driver Tarvelin.vxd is not active now.", Status());
}

TEST_F(DriverStatusTest, DeviceNameIsTheBaseNameInCapitals) {
  struct Case {
    const char* drivers;
    const char* status;  // the cooling sentence follows when the driver answers
    bool answers;
  } const cases[] = {
      {"Kestrin", "Driver Kestrin version 1.01 Build 7 is active now.", true},
      {"kestrin.vxd.old", "Driver kestrin.vxd.old version 1.01 Build 7 is active now.", true},
      {"KeStRiN.VxD", "Driver KeStRiN.VxD version 1.01 Build 7 is active now.", true},
      {"Kestrel.vxd", "Driver Kestrel.vxd is not active now.", false},
      {"Kestrin2.vxd", "Driver Kestrin2.vxd is not active now.", false},
      // Only the first driver is reported.
      {"Kestrel.vxd\nKestrin.vxd", "Driver Kestrel.vxd is not active now.", false},
  };
  for (const auto& c : cases) {
    Rebuild(profile.driverList, c.drivers);
    EXPECT_EQ(std::string(c.status) + (c.answers ? kCooling : ""), Status()) << c.drivers;
  }
}

TEST_F(DriverStatusTest, NoDriverGivesAnEmptyLine) {
  Rebuild(profile.driverList, "");
  const SharedString status = profile.DescribeDriverStatus();
  EXPECT_EQ(0, status.Length());
}

TEST_F(DriverStatusTest, WaitsForADriverThatAnswersLate) {
  ASSERT_TRUE(driver->SetVersionWord(0x00660003));
  ASSERT_TRUE(driver->SetPendingMs(300));
  EXPECT_EQ(std::string("Driver Kestrin.vxd version 1.02 Build 3 is active now.") + kCooling, Status());
}

// Run with Windows-1251 as the ANSI code page (the _ru test); elsewhere the
// Russian texts cannot come out as these bytes, and the case is skipped.
class DriverStatusRussian : public DriverStatusTest {
 protected:
  void SetUp() override {
    test::NeedRussianCodePage();
    if (IsSkipped() || HasFatalFailure())
      return;
    DriverStatusTest::SetUp();
    profile.languageIndex = kLanguageRussian;
  }
};

TEST_F(DriverStatusRussian, ActiveNotActiveAndWordZero) {
  EXPECT_EQ(kRussianActive101, Status());
  ASSERT_TRUE(driver->SetVersionWord(0));
  EXPECT_EQ(kRussianActive000, Status());
  Rebuild(profile.driverList, "Kestrel.vxd");
  EXPECT_EQ(kRussianNotActive, Status());
}

}  // namespace
