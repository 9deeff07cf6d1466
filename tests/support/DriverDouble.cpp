// DriverDouble: the test stand-in for the product's running driver.
#include "tests/support/DriverDouble.h"

#include "tests/support/WinTestSupport.h"

namespace test {

namespace {

const char kServiceName[] = "KestrinTest";
const char kServiceKey[] = "System\\CurrentControlSet\\Services\\KestrinTest";
const char kDriverFile[] = "kestrin.sys";
const char kInstalledName[] = "KestrinTest.sys";
const DWORD kStopWaitMs = 10000;

bool WaitForState(SC_HANDLE service, DWORD wanted, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  SERVICE_STATUS status = {};
  while (QueryServiceStatus(service, &status)) {
    if (status.dwCurrentState == wanted)
      return true;
    if (GetTickCount() - start > timeoutMs)
      return false;
    Sleep(50);
  }
  return false;
}

void Stop(SC_HANDLE service) {
  SERVICE_STATUS status = {};
  if (ControlService(service, SERVICE_CONTROL_STOP, &status))
    WaitForState(service, SERVICE_STOPPED, kStopWaitMs);
}

}  // namespace

DriverDouble::DriverDouble() { Start(); }

void DriverDouble::Start() {
  char system[MAX_PATH];
  const UINT n = GetSystemDirectoryA(system, sizeof system);
  if (n == 0 || n >= sizeof system)
    return Fail("GetSystemDirectoryA");
  const std::string built = ProgramDir() + "\\" + kDriverFile;
  const std::string target = std::string(system, n) + "\\drivers\\" + kInstalledName;
  if (!CopyFileA(built.c_str(), target.c_str(), FALSE))
    return Fail("copying " + built + " to " + target);
  installedFile = target;

  manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (manager == nullptr)
    return Fail("OpenSCManagerA");
  service = CreateServiceA(manager, kServiceName, kServiceName, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                           SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, target.c_str(), nullptr, nullptr,
                           nullptr, nullptr, nullptr);
  if (service == nullptr && GetLastError() == ERROR_SERVICE_EXISTS) {
    // Left behind by a test program that did not end cleanly.
    service = OpenServiceA(manager, kServiceName, SERVICE_ALL_ACCESS);
    if (service != nullptr) {
      Stop(service);
      ChangeServiceConfigA(service, SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                           target.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
  }
  if (service == nullptr)
    return Fail("creating the service");
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, "VersionWord");
    RegDeleteValueA(key, "PendingMs");
    RegCloseKey(key);
  }
  if (!StartServiceA(service, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
    return Fail("starting the service");
  if (!WaitForState(service, SERVICE_RUNNING, kStopWaitMs))
    return Fail("waiting for the service to run");
}

DriverDouble::~DriverDouble() {
  if (service != nullptr) {
    Stop(service);
    DeleteService(service);
    CloseServiceHandle(service);
  }
  if (manager != nullptr)
    CloseServiceHandle(manager);
  if (!installedFile.empty())
    DeleteFileA(installedFile.c_str());
}

bool DriverDouble::SetVersionWord(DWORD word) { return SetSetting("VersionWord", word); }

bool DriverDouble::SetPendingMs(DWORD milliseconds) { return SetSetting("PendingMs", milliseconds); }

bool DriverDouble::SetSetting(const char* name, DWORD value) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return false;
  const LONG rc =
      RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

void DriverDouble::Fail(const std::string& what) {
  error = what + " failed (error " + std::to_string(GetLastError()) + ")";
}

DriverDouble* DriverSuite::driver = nullptr;

void DriverSuite::SetUpTestSuite() { driver = new DriverDouble; }

void DriverSuite::TearDownTestSuite() {
  delete driver;
  driver = nullptr;
}

void DriverSuite::SetUp() {
  ASSERT_TRUE(driver->Running()) << driver->Error();
  ASSERT_TRUE(driver->SetPendingMs(0));
  ASSERT_TRUE(driver->SetVersionWord(DriverDouble::kDefaultWord));
}

}  // namespace test
