// The built Installer.exe through its real windows (Wine under Xvfb): it is
// started as a child process in a product folder of its own, and its dialog
// and message boxes are read and answered from here. Every wait is bounded;
// a program still running at the end of a test is terminated. Restart
// questions are always answered No: Yes would restart the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tests/support/DriverDouble.h"
#include "tests/support/InstallationGuard.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/WinTestSupport.h"

namespace {

const DWORD kWaitMs = 15000;
// A program's start, which a busy machine can make slow.
const DWORD kStartMs = 30000;
// How long nothing must happen where nothing should.
const DWORD kQuietMs = 1500;
const DWORD kPollMs = 50;

using test::kDriverKey;
using test::kRunOnce;
using test::kUninstallEntry;
using test::kUserSettings;

// The text control of a message box, and of the About box's statics.
const int kStaticId = 0xFFFF;

const char kAboutCaption[] = "About KestrinInstaller";
const char kRestartAfterInstall[] =
    "In is need to reboot computer to finish of installation process.\nDo you wish to reboot it now?";
const char kRestartAfterUninstall[] =
    "In is need to reboot computer to finish of uninstallation process.\nDo you wish to reboot it now?";
const char kReminder[] = "Do not forget to reboot you computer.";
const char kNotActive[] = "Driver Kestrin.vxd is not active now.";
const char kCooling[] = "\nYour processor is cooling automatically.";

// The selector's second item as the template holds it (Windows-1251); read
// back through the ANSI functions it is the same bytes in any code page that
// defines them.
const char kRussianItem[] = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9";

// The Russian wording as Windows-1251 bytes, converted by a script from the
// catalogue's Cyrillic texts (not typed by hand).
const char kRussianCaption[] =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0/\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 "
    "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB Kestrin";
const char kRussianChooseAction[] = " \xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xE4\xE5\xE9\xF1\xF2\xE2\xE8\xE5 ";
const char kRussianInstall[] = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC";
const char kRussianUninstall[] = "\xD3\xE4\xE0\xEB\xE8\xF2\xFC";
const char kRussianExit[] = "\xC2\xFB\xE9\xF2\xE8";
const char kRussianChooseLanguage[] = "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xFF\xE7\xFB\xEA (Choose language)";
const char kRussianNotActive[] =
    "\xC4\xF0\xE0\xE9\xE2\xE5\xF0 Kestrin.vxd \xED\xE0\xF1\xF2\xEE\xFF\xF9\xE8\xE9 "
    "\xEC\xEE\xEC\xE5\xED\xF2 \xED\xE5 \xE0\xEA\xF2\xE8\xE2\xE5\xED.";
const char kRussianInstallerCaption[] =
    "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8";

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done())
      return true;
    if (GetTickCount() - start >= timeoutMs)
      return false;
    Sleep(kPollMs);
  }
}

// A window's text, asked of the window itself (across processes).
std::string Text(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  if (window == nullptr ||
      !SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                           kWaitMs, &length))
    return "(no text)";
  return std::string(text, length);
}

std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kWaitMs, &result))
    return -2;
  return static_cast<LRESULT>(result);
}

bool Checked(HWND dialog, int id) { return Ask(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }

// The selector's items in the ANSI code page. Asked for in UTF-16 and
// converted here: Wine hands an item to another process in UTF-16 even when
// the ANSI message asks for it.
std::vector<std::string> SelectorItems(HWND dialog) {
  HWND selector = GetDlgItem(dialog, IDC_LANGUAGE);
  std::vector<std::string> items;
  const LRESULT count = Ask(selector, CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t item[256] = {};
    DWORD_PTR length = 0;
    char text[512] = {};
    int bytes = 0;
    if (SendMessageTimeoutW(selector, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                            kWaitMs, &length) &&
        static_cast<LRESULT>(length) >= 0)
      bytes =
          WideCharToMultiByte(CP_ACP, 0, item, static_cast<int>(length), text, sizeof text, nullptr, nullptr);
    items.push_back(bytes > 0 ? std::string(text, bytes) : "(unreadable)");
  }
  return items;
}

void PostCommand(HWND dialog, int id, int code = BN_CLICKED, HWND control = nullptr) {
  ASSERT_TRUE(PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)));
}

// Chooses item `index` in the selector as the user would: the selection
// changes, then the control tells its dialog.
void SelectLanguage(HWND dialog, int index) {
  HWND selector = GetDlgItem(dialog, IDC_LANGUAGE);
  ASSERT_EQ(index, Ask(selector, CB_SETCURSEL, index));
  PostCommand(dialog, IDC_LANGUAGE, CBN_SELCHANGE, selector);
}

bool IsMessageBoxWindow(HWND window) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  return std::string(className) == "#32770" && GetDlgItem(window, kStaticId) != nullptr &&
         GetDlgItem(window, IDC_LANGUAGE) == nullptr && Text(window) != kAboutCaption;
}

// One run of the program, from its start to its end.
class Installer {
 public:
  Installer(const std::string& commandLine, const std::string& folder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                             &process) != 0;
  }
  ~Installer() {
    if (!started)
      return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, kWaitMs);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;

  bool Started() const { return started; }

  // The program's visible top-level windows that pass `wanted`.
  std::vector<HWND> Windows(const std::function<bool(HWND)>& wanted) const {
    Search search{process.dwProcessId, &wanted, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND WaitForWindow(const std::function<bool(HWND)>& wanted, DWORD timeoutMs = kWaitMs) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          const std::vector<HWND> windows = Windows(wanted);
          found = windows.empty() ? nullptr : windows.front();
          return found != nullptr;
        },
        timeoutMs);
    return found;
  }

  HWND Dialog() const {
    HWND dialog = WaitForWindow([](HWND w) { return GetDlgItem(w, IDC_LANGUAGE) != nullptr; }, kStartMs);
    if (dialog == nullptr)
      ADD_FAILURE() << "no setup dialog; the program " << (Ended(0) ? "has ended" : "still runs") << " with "
                    << Windows([](HWND) { return true; }).size() << " visible windows";
    return dialog;
  }
  HWND WaitForMessageBox(DWORD timeoutMs = kWaitMs) const {
    return WaitForWindow(IsMessageBoxWindow, timeoutMs);
  }
  size_t MessageBoxCount() const { return Windows(IsMessageBoxWindow).size(); }

  bool Ended(DWORD timeoutMs = kWaitMs) const {
    return WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
  DWORD ThreadId() const { return process.dwThreadId; }

 private:
  struct Search {
    DWORD processId;
    const std::function<bool(HWND)>* wanted;
    std::vector<HWND> found;
  };

  static BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && (*search->wanted)(window))
      search->found.push_back(window);
    return TRUE;
  }

  bool started = false;
  PROCESS_INFORMATION process = {};
};

struct Box {
  std::string caption;
  std::string text;
};

// Reads the message box that is up, answers it with `button` and waits for
// it to go.
Box Answer(const Installer& installer, int button) {
  HWND box = installer.WaitForMessageBox();
  if (box == nullptr)
    return Box{"(no message box)", ""};
  Box seen{Text(box), Text(GetDlgItem(box, kStaticId))};
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  if (!WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }))
    seen.caption += " (did not close)";
  return seen;
}

class SetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA((test::ProgramDir() + "\\Installer.exe").c_str(), ProgramPath().c_str(), FALSE))
        << "Installer.exe is built beside the test program";
  }

  void AddProductFiles() {
    for (const char* name : {"Kestrin.vxd", "Kestrin.htm"})
      ASSERT_TRUE(test::WriteFile(product / name, std::string("product file ") + name)) << name;
  }

  std::string ProgramPath() const { return product / "Installer.exe"; }
  std::string Command(const std::string& switches = "") const {
    return "\"" + ProgramPath() + "\"" + (switches.empty() ? "" : " " + switches);
  }

  // Nothing of an install in the registry.
  static void ExpectNothingInstalled() {
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kUserSettings));
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
  }

  test::InstallationGuard installation;
  test::TempFolder product{"KestrinSetup"};
};

TEST_F(SetupDialogTest, OpensInEnglishWithExitCheckedAndCancelEndsIt) {
  Installer installer(Command(), product.Path());
  ASSERT_TRUE(installer.Started());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);

  EXPECT_EQ("Add/Remove programm Kestrin", Text(dialog));
  EXPECT_EQ(" Choose action ", ItemText(dialog, IDC_ACTION_GROUP));
  EXPECT_EQ("Install", ItemText(dialog, IDC_INSTALL));
  EXPECT_EQ("Uninstall", ItemText(dialog, IDC_UNINSTALL));
  EXPECT_EQ("Exit", ItemText(dialog, IDC_EXIT));
  EXPECT_EQ("Choose language", ItemText(dialog, IDC_LANGUAGE_GROUP));
  EXPECT_EQ(kNotActive, ItemText(dialog, IDC_DRIVER_STATUS));
  EXPECT_EQ("OK", ItemText(dialog, IDOK));
  EXPECT_EQ("Cancel", ItemText(dialog, IDCANCEL));
  EXPECT_EQ((std::vector<std::string>{"English", kRussianItem}), SelectorItems(dialog));
  EXPECT_EQ(0, Ask(GetDlgItem(dialog, IDC_LANGUAGE), CB_GETCURSEL));

  EXPECT_FALSE(Checked(dialog, IDC_INSTALL));
  EXPECT_FALSE(Checked(dialog, IDC_UNINSTALL));
  EXPECT_TRUE(Checked(dialog, IDC_EXIT));
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  ASSERT_TRUE(GetGUIThreadInfo(installer.ThreadId(), &thread));
  EXPECT_EQ(GetDlgItem(dialog, IDC_EXIT), thread.hwndFocus) << "the checked action has the focus";

  // One icon for the title bar, the task list and dragging.
  const LRESULT icon = Ask(dialog, WM_QUERYDRAGICON);
  EXPECT_NE(0, icon);
  EXPECT_EQ(icon, Ask(dialog, WM_GETICON, ICON_BIG));
  EXPECT_EQ(icon, Ask(dialog, WM_GETICON, ICON_SMALL));

  // The radio buttons are one group: checking one clears the others.
  ASSERT_TRUE(PostMessageA(GetDlgItem(dialog, IDC_UNINSTALL), BM_CLICK, 0, 0));
  EXPECT_TRUE(WaitUntil([&] { return Checked(dialog, IDC_UNINSTALL); }));
  EXPECT_FALSE(Checked(dialog, IDC_EXIT));

  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(installer.Ended());
  EXPECT_EQ(0u, installer.ExitCode());
  EXPECT_EQ(0u, installer.MessageBoxCount());
  ExpectNothingInstalled();
}

TEST_F(SetupDialogTest, ExitWithOkClosesDoingNothing) {
  AddProductFiles();
  Installer installer(Command(), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(Checked(dialog, IDC_EXIT));

  PostCommand(dialog, IDOK);
  ASSERT_TRUE(installer.Ended());
  ExpectNothingInstalled();
  for (const char* name : {"Installer.exe", "Kestrin.vxd", "Kestrin.htm"})
    EXPECT_TRUE(test::Exists(product / name)) << name;
}

TEST_F(SetupDialogTest, AboutBoxFromTheSystemMenuIsModal) {
  Installer installer(Command(), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);

  // The low four bits of a system command are the system's own.
  ASSERT_TRUE(PostMessageA(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0));
  HWND about = installer.WaitForWindow([](HWND w) { return Text(w) == kAboutCaption; });
  ASSERT_NE(nullptr, about);
  EXPECT_FALSE(IsWindowEnabled(dialog)) << "the setup dialog waits for the About box";
  EXPECT_EQ("OK", ItemText(about, IDOK));

  PostCommand(about, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));

  // Other system commands get the system's handling: Close ends the dialog.
  ASSERT_TRUE(PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0));
  EXPECT_TRUE(installer.Ended());
}

TEST_F(SetupDialogTest, FailedInstallKeepsTheDialogOpenWithInstallChecked) {
  // Only the setup program itself lies in the folder.
  Installer installer(Command(), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(PostMessageA(GetDlgItem(dialog, IDC_INSTALL), BM_CLICK, 0, 0));
  ASSERT_TRUE(WaitUntil([&] { return Checked(dialog, IDC_INSTALL); }));

  PostCommand(dialog, IDOK);
  ASSERT_NE(nullptr, installer.WaitForMessageBox());
  // A second OK while the engine's message box is up must not start the
  // install again inside the first.
  PostCommand(dialog, IDOK);
  EXPECT_FALSE(WaitUntil([&] { return installer.MessageBoxCount() > 1; }, kQuietMs));

  const Box box = Answer(installer, IDOK);
  EXPECT_EQ("Files existing checking", box.caption);
  EXPECT_EQ("Files are not found:\nKestrin.vxd\nKestrin.htm", box.text);
  EXPECT_FALSE(installer.Ended(kQuietMs)) << "the dialog must stay open";
  EXPECT_EQ(nullptr, installer.WaitForMessageBox(kQuietMs)) << "the ignored OK came back";
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(Checked(dialog, IDC_INSTALL));
  EXPECT_FALSE(Checked(dialog, IDC_EXIT));
  ExpectNothingInstalled();

  // OK again tries again.
  PostCommand(dialog, IDOK);
  EXPECT_EQ("Files existing checking", Answer(installer, IDOK).caption);
  EXPECT_FALSE(installer.Ended(kQuietMs));

  PostCommand(dialog, IDCANCEL);
  EXPECT_TRUE(installer.Ended());
}

TEST_F(SetupDialogTest, InstallSwitchRunsAtOnceAndTheRegisteredCommandUninstalls) {
  AddProductFiles();
  {
    Installer installer(Command("/install"), product.Path());
    HWND dialog = installer.Dialog();
    ASSERT_NE(nullptr, dialog);
    const Box question = Answer(installer, IDNO);
    EXPECT_EQ("Installer", question.caption);
    EXPECT_EQ(kRestartAfterInstall, question.text);
    EXPECT_TRUE(Checked(dialog, IDC_INSTALL));
    const Box reminder = Answer(installer, IDOK);
    EXPECT_EQ(kReminder, reminder.text);
    ASSERT_TRUE(installer.Ended()) << "a finished install closes the dialog";
  }
  const std::string uninstall = test::ReadString(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString");
  ASSERT_EQ("\"", uninstall.substr(0, 1)) << uninstall;
  ASSERT_NE(std::string::npos, uninstall.find("\\Installer.exe\" /uninstall")) << uninstall;
  EXPECT_EQ("English", test::ReadString(HKEY_CURRENT_USER, kUserSettings, "Language"));
  EXPECT_TRUE(test::KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));

  // The removable-programs list starts exactly this command.
  {
    Installer installer(uninstall, product.Path());
    HWND dialog = installer.Dialog();
    ASSERT_NE(nullptr, dialog);
    // The running program cannot delete itself: a restart must finish.
    const Box question = Answer(installer, IDNO);
    EXPECT_EQ("Uninstaller", question.caption);
    EXPECT_EQ(kRestartAfterUninstall, question.text);
    EXPECT_TRUE(Checked(dialog, IDC_UNINSTALL));
    EXPECT_EQ(kReminder, Answer(installer, IDOK).text);
    ASSERT_TRUE(installer.Ended());
  }
  ExpectNothingInstalled();
  EXPECT_FALSE(test::Exists(product / "Kestrin.vxd"));
  EXPECT_FALSE(test::Exists(product / "Kestrin.htm"));
}

TEST_F(SetupDialogTest, ActionSwitchAfterALanguageSwitchRunsNothing) {
  AddProductFiles();
  Installer installer(Command("/lang=ru /install"), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(1, Ask(GetDlgItem(dialog, IDC_LANGUAGE), CB_GETCURSEL)) << "Russian chosen";
  EXPECT_TRUE(Checked(dialog, IDC_EXIT));
  EXPECT_EQ(nullptr, installer.WaitForMessageBox(kQuietMs));
  EXPECT_FALSE(installer.Ended(0));
  PostCommand(dialog, IDCANCEL);
  ASSERT_TRUE(installer.Ended());
  ExpectNothingInstalled();
}

TEST_F(SetupDialogTest, StatusLineAsksTheDriverAtEveryLanguageChange) {
  test::DriverDouble driver;
  ASSERT_TRUE(driver.Running()) << driver.Error();
  ASSERT_TRUE(driver.SetVersionWord(0x00650007));

  Installer installer(Command(), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(std::string("Driver Kestrin.vxd version 1.01 Build 7 is active now.") + kCooling,
            ItemText(dialog, IDC_DRIVER_STATUS));

  ASSERT_TRUE(driver.SetVersionWord(0x00660001));
  SelectLanguage(dialog, 0);
  const std::string updated =
      std::string("Driver Kestrin.vxd version 1.02 Build 1 is active now.") + kCooling;
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog, IDC_DRIVER_STATUS) == updated; }))
      << ItemText(dialog, IDC_DRIVER_STATUS);

  PostCommand(dialog, IDCANCEL);
  EXPECT_TRUE(installer.Ended());
}

TEST(InstallerFileTest, PropertiesNameTheProductAndItsVersion) {
  const std::string program = test::ProgramDir() + "\\Installer.exe";
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &unused);
  ASSERT_NE(0u, size);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));
  auto value = [&](const char* name) {
    char* text = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
        text == nullptr)
      return std::string("(missing)");
    return std::string(text);
  };
  EXPECT_EQ("Kestrin", value("ProductName"));
  EXPECT_EQ("1.01", value("ProductVersion"));
  EXPECT_EQ("1.01", value("FileVersion"));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(DWORD{MAKELONG(1, 1)}, fixed->dwFileVersionMS) << "1.01 as 1.1";
}

// Run with Windows-1251 as the ANSI code page (the _ru test): only there do
// the Russian texts come out as these bytes. Skipped elsewhere.
class SetupDialogRussian : public SetupDialogTest {
 protected:
  void SetUp() override {
    test::NeedRussianCodePage();
    if (IsSkipped() || HasFatalFailure())
      return;
    SetupDialogTest::SetUp();
  }
};

TEST_F(SetupDialogRussian, SelectorRelabelsTheDialogAndBack) {
  Installer installer(Command(), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);
  ASSERT_EQ("Add/Remove programm Kestrin", Text(dialog));

  SelectLanguage(dialog, 1);
  ASSERT_TRUE(WaitUntil([&] { return Text(dialog) == kRussianCaption; })) << Text(dialog);
  EXPECT_EQ(kRussianChooseAction, ItemText(dialog, IDC_ACTION_GROUP));
  EXPECT_EQ(kRussianInstall, ItemText(dialog, IDC_INSTALL));
  EXPECT_EQ(kRussianUninstall, ItemText(dialog, IDC_UNINSTALL));
  EXPECT_EQ(kRussianExit, ItemText(dialog, IDC_EXIT));
  EXPECT_EQ(kRussianChooseLanguage, ItemText(dialog, IDC_LANGUAGE_GROUP));
  EXPECT_EQ(kRussianNotActive, ItemText(dialog, IDC_DRIVER_STATUS));
  EXPECT_EQ("OK", ItemText(dialog, IDOK));
  EXPECT_EQ("Cancel", ItemText(dialog, IDCANCEL));
  EXPECT_EQ((std::vector<std::string>{"English", kRussianItem}), SelectorItems(dialog));
  EXPECT_TRUE(Checked(dialog, IDC_EXIT));

  SelectLanguage(dialog, 0);
  ASSERT_TRUE(WaitUntil([&] { return Text(dialog) == "Add/Remove programm Kestrin"; })) << Text(dialog);
  EXPECT_EQ(" Choose action ", ItemText(dialog, IDC_ACTION_GROUP));
  EXPECT_EQ("Install", ItemText(dialog, IDC_INSTALL));
  EXPECT_EQ("Choose language", ItemText(dialog, IDC_LANGUAGE_GROUP));
  EXPECT_EQ(kNotActive, ItemText(dialog, IDC_DRIVER_STATUS));

  PostCommand(dialog, IDCANCEL);
  EXPECT_TRUE(installer.Ended());
}

TEST_F(SetupDialogRussian, InstallWithRussianSwitchSpeaksRussianAndSavesIt) {
  AddProductFiles();
  Installer installer(Command("/install /lang=ru"), product.Path());
  HWND dialog = installer.Dialog();
  ASSERT_NE(nullptr, dialog);
  const Box question = Answer(installer, IDNO);
  EXPECT_EQ(kRussianInstallerCaption, question.caption);
  EXPECT_EQ(kRussianCaption, Text(dialog));
  Answer(installer, IDOK);
  ASSERT_TRUE(installer.Ended());
  EXPECT_EQ("Russian", test::ReadString(HKEY_CURRENT_USER, kUserSettings, "Language"));
}

}  // namespace
