#include "tests/support/WinTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/support/TestFiles.h"
#include "uninst/ListArea.h"

namespace test {

std::string ProgramDir() {
  char path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n < sizeof path ? n : 0);
  return s.substr(0, s.find_last_of('\\'));
}

TempFolder::TempFolder(const std::string& prefix, const std::string& parent) {
  std::string base = parent;
  if (base.empty()) {
    char temp[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof temp, temp);
    base.assign(temp, n);
  }
  if (!base.empty() && base.back() == '\\')
    base.pop_back();
  static unsigned serial = 0;
  for (;;) {
    path = base + "\\" + prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    if (CreateDirectoryA(path.c_str(), nullptr))
      break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot make folder " << path << " (error " << GetLastError() << ")";
      break;
    }
  }
}

TempFolder::~TempFolder() { RemoveTree(path); }

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..")
        continue;
      const std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

ProcessResult RunProcess(const std::string& commandLine, const std::string& folder, DWORD timeoutMs) {
  ProcessResult result;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
    return result;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  result.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &si, &pi) != 0;
  CloseHandle(writeEnd);
  if (!result.started) {
    CloseHandle(readEnd);
    return result;
  }

  // Read while the child runs so that a full pipe cannot block it.
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD available = 0;
    if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char chunk[4096];
      DWORD got = 0;
      if (::ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
        result.output.append(chunk, got);
      continue;
    }
    if (WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0)
      break;
    if (GetTickCount() - start > timeoutMs) {
      result.timedOut = true;
      TerminateProcess(pi.hProcess, 255);
      WaitForSingleObject(pi.hProcess, 5000);
      break;
    }
  }
  char chunk[4096];
  DWORD got = 0;
  while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &got, nullptr) && got > 0 &&
         ::ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
    result.output.append(chunk, got);
  GetExitCodeProcess(pi.hProcess, &result.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(readEnd);
  return result;
}

std::string HelperImageWithList(const std::string& list) {
  const std::string helper = ProgramDir() + "\\uninst.exe";
  std::string image = ReadFile(helper);
  EXPECT_FALSE(image.empty()) << "cannot read " << helper;
  auto* bytes = reinterpret_cast<unsigned char*>(&image[0]);
  EXPECT_TRUE(ListArea::Patch(bytes, image.size(), list.c_str())) << "no list area in " << helper;
  return image;
}

namespace {

const UINT_PTR kWatchdogTimer = 0x7E57;
const UINT kWatchdogMs = 15000;

void CALLBACK Watchdog(HWND window, UINT, UINT_PTR, DWORD) { ::EndDialog(window, kTimedOut); }

}  // namespace

bool RunsOnWindows9x() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

void RunOnOtherThread(const std::function<void()>& body) {
  struct Start {
    static DWORD WINAPI Run(void* body) {
      (*static_cast<const std::function<void()>*>(body))();
      return 0;
    }
  };
  HANDLE thread = CreateThread(nullptr, 0, Start::Run, const_cast<std::function<void()>*>(&body), 0, nullptr);
  ASSERT_NE(thread, nullptr) << "CreateThread failed (error " << GetLastError() << ")";
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

void StartDialogWatchdog(HWND dialog) { SetTimer(dialog, kWatchdogTimer, kWatchdogMs, Watchdog); }

void NeedRussianCodePage() {
  const char* flag = std::getenv("KESTRIN_EXPECT_CP1251");
  if (GetACP() != 1251) {
    if (flag != nullptr && flag[0] == '1')
      FAIL() << "the ANSI code page is " << GetACP() << ", not 1251";
    GTEST_SKIP() << "needs Windows-1251 as the ANSI code page";
  }
}

}  // namespace test
