// DriverDouble: the test stand-in for the product's running driver (the
// kernel driver built as bin/kestrin.sys), loaded while a test needs it.
#ifndef KESTRIN_TESTS_SUPPORT_DRIVERDOUBLE_H
#define KESTRIN_TESTS_SUPPORT_DRIVERDOUBLE_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace test {

// Installs the driver beside the test program as the demand-start kernel
// service "KestrinTest" and starts it; it then serves the device \\.\KESTRIN
// until the object goes, when the service is stopped and deleted again.
//
// Wine stops services when the last process of the prefix ends, so the test
// program itself must hold the object while it talks to the device.
class DriverDouble {
 public:
  // The word the driver answers when no other is set: 1.01 build 7.
  static constexpr DWORD kDefaultWord = 0x00650007;

  DriverDouble();
  ~DriverDouble();
  DriverDouble(const DriverDouble&) = delete;
  DriverDouble& operator=(const DriverDouble&) = delete;

  // True when the driver runs; else Error() says what failed.
  bool Running() const { return error.empty(); }
  const std::string& Error() const { return error; }

  // The word of the next version replies (the driver reads it per request).
  bool SetVersionWord(DWORD word);
  // When not 0, the driver leaves each request pending and completes it that
  // many milliseconds later.
  bool SetPendingMs(DWORD milliseconds);

 private:
  void Start();
  bool SetSetting(const char* name, DWORD value);
  void Fail(const std::string& what);

  SC_HANDLE manager = nullptr;
  SC_HANDLE service = nullptr;
  std::string installedFile;
  std::string error;
};

// Fixture of a suite that talks to the driver: one driver for the whole
// suite, since loading takes a moment and the driver reads its settings
// afresh at every request. Each test starts with the default word and no
// delay.
class DriverSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  static DriverDouble* driver;
};

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_DRIVERDOUBLE_H
