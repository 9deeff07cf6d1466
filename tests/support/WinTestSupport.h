// Win32 helpers for tests that run under Wine: temporary folders, child
// processes with captured console output, the test program's own folder.
#ifndef KESTRIN_TESTS_SUPPORT_WINTESTSUPPORT_H
#define KESTRIN_TESTS_SUPPORT_WINTESTSUPPORT_H

#include <windows.h>

#include <functional>
#include <string>

namespace test {

// Folder of the running test program, without a trailing backslash. The
// programs of the build (uninst.exe, Installer.exe) lie beside it.
std::string ProgramDir();

// A fresh folder, removed with everything in it when the object goes.
class TempFolder {
 public:
  // Made below the system's temporary folder, or below parent when given;
  // the leaf name starts with prefix.
  explicit TempFolder(const std::string& prefix = "kt", const std::string& parent = "");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path; }
  // Path() + "\" + name
  std::string operator/(const std::string& name) const { return path + "\\" + name; }

 private:
  std::string path;
};

// Removes a folder tree; read-only files included. True when it is gone.
bool RemoveTree(const std::string& path);

struct ProcessResult {
  bool started = false;
  bool timedOut = false;
  DWORD exitCode = 0;
  std::string output;  // standard output and standard error, interleaved
};

// Runs a command line in a folder (empty: the current one) and waits at most
// timeoutMs; a program still running then is terminated.
ProcessResult RunProcess(const std::string& commandLine, const std::string& folder = "",
                         DWORD timeoutMs = 30000);

// The built deletion helper with the list written into its list area, as the
// setup program writes it. Fails the calling test when the helper is missing
// or has no area.
std::string HelperImageWithList(const std::string& list);

// Whether the system reports itself as Windows 95, 98 or Me (as a 32-bit
// prefix set to Windows 98 does): no access rights on registry keys, no
// MoveFileEx, WININIT.INI at start-up.
bool RunsOnWindows9x();

// Runs body on a second thread and waits for it to end. The programs are
// built with the win32 thread model, which has no std::thread.
void RunOnOtherThread(const std::function<void()>& body);

// What a dialog ends with when its watchdog fires.
constexpr INT_PTR kTimedOut = 0x7E57;

// Ends the dialog with kTimedOut when it is still up 15 seconds from now, so
// a message that never arrives fails the test instead of hanging it. For the
// dialog's own start (OnInitDialog or WM_INITDIALOG).
void StartDialogWatchdog(HWND dialog);

// For the SetUp of a fixture whose Russian texts come out as the expected
// bytes only under Windows-1251: unless that is the ANSI code page, skips the
// test, or fails it in the Russian run (KESTRIN_EXPECT_CP1251=1), where a
// wrong code page is a broken run. The caller returns when IsSkipped() or
// HasFatalFailure() says so.
void NeedRussianCodePage();

}  // namespace test

#endif  // KESTRIN_TESTS_SUPPORT_WINTESTSUPPORT_H
