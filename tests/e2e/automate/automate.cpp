// automate.exe: drives the windows of other programs in the same Wine prefix
// for the end-to-end runner. One action per call, or one per request line in
// serve mode; every wait is bounded and a failed wait says what it looked for
// and what it found instead.
//
// Output is one record per line, fields separated by a tab, texts last. Texts
// keep the bytes of the ANSI code page; a line feed shows as \n, a carriage
// return as \r, a tab as \t and any other control byte as \xHH. A backslash
// stands for itself, so a text reads like the quoted texts of the program's
// documents (and a path stays a path).
//
// Exit status: 0 done, 1 the expected thing did not happen (message on
// stderr), 2 wrong usage. In serve mode each reply ends with "#end STATUS",
// after the message of a failure on lines of their own that begin with "#! ".

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <io.h>

namespace {

// A target that does not answer a sent message within this time is taken as
// busy or hung; the caller is told instead of waiting for ever.
const UINT kSendTimeoutMs = 5000;
const DWORD kPollMs = 50;
const int kMessageBoxTextId = 0xFFFF;

const char kUsage[] =
    "usage: automate COMMAND ...\n"
    "  start [--dir DIR] COMMAND-LINE        start a program, print: pid N\n"
    "  list [TARGET] [--all]                  visible (--all: and hidden) top-level windows\n"
    "  processes [TARGET]                     running processes: process PID IMAGE\n"
    "  wait-window TARGET [--class C] [--caption T] [--caption-part T]\n"
    "              [--has-control ID] [--timeout S]\n"
    "                                         print: window HWND CLASS CAPTION\n"
    "  read HWND                              caption and every child control\n"
    "  click HWND ID                          BM_CLICK on a button\n"
    "  ok HWND | cancel HWND                  WM_COMMAND IDOK / IDCANCEL\n"
    "  command HWND ID                        WM_COMMAND ID (posted)\n"
    "  syscommand HWND CODE                   WM_SYSCOMMAND CODE (posted), e.g. 0xF060 Close\n"
    "  state HWND [--until enabled|disabled] [--timeout S]\n"
    "                                         whether the window takes input: state HWND STATE\n"
    "  select HWND ID INDEX                   CB_SETCURSEL + CBN_SELCHANGE\n"
    "  wait-msgbox TARGET [--timeout S] [--answer ID]\n"
    "                                         read (and answer) a message box\n"
    "  answer HWND ID                         answer a message box\n"
    "  no-msgbox TARGET [--timeout S]         no new message box shows within the time\n"
    "  wait-exit TARGET [--timeout S]         wait until the process has ended: exited PID CODE\n"
    "  serve                                  answer requests from standard input, one\n"
    "                                         a line, arguments separated by tabs (UTF-8);\n"
    "                                         keeps the Wine session alive; quit ends it\n"
    "  reg KEY [/v NAME | /s]                 the key as reg query lists it, or: absent\n"
    "  rect HWND                              the window's screen rectangle: rect L T R B\n"
    "  short-path PATH                        the 8.3 form of an existing path: short PATH\n"
    "  timed-start [--dir DIR] COMMAND-LINE [--msgbox] [window filter] [--timeout S]\n"
    "                                         start a program and time it until its first\n"
    "                                         window (or message box) shows: pid N, shown HWND MS\n"
    "TARGET is --pid N (Windows process id) or --image NAME (e.g. Installer.exe).\n"
    "Timeouts are in seconds (default 20).\n";

struct UsageError {
  std::string what;
};

[[noreturn]] void Usage(const std::string& what) { throw UsageError{what}; }

// A failure while serving ends the request, not the server.
struct Failure {
  std::string what;
};
bool gServing = false;

// Reports a failed expectation and ends the program with status 1.
[[noreturn]] void Fail(const std::string& what) {
  if (gServing)
    throw Failure{what};
  fflush(stdout);
  fprintf(stderr, "automate: %s\n", what.c_str());
  exit(1);
}

std::string Escape(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string HandleText(HWND hwnd) {
  char buf[32];
  snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
  return buf;
}

std::string Quote(const std::string& text) { return "\"" + Escape(text) + "\""; }

// An action that is still being handled after this time has most likely
// opened a modal box; the caller goes on and the next wait looks for it.
const UINT kActionTimeoutMs = 1000;

// A query to a busy target is asked again until this much time has passed in
// all: on an emulated machine a dialog may spend several seconds in its
// initialisation, and Wine takes a window that has not looked at its queue
// for five seconds as hung and aborts a send to it at once.
const DWORD kQueryPatienceMs = 30000;

// Sends with a bound; false when the target did not answer in time. A query
// is asked again while the window lives; an action is sent once, with the
// short bound, as it may have opened a modal box (GetLastError then says
// ERROR_TIMEOUT).
bool SendBoundedAs(bool wide, bool action, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                   DWORD_PTR* result) {
  const UINT timeoutMs = action ? kActionTimeoutMs : kSendTimeoutMs;
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD_PTR local = 0;
    const UINT flags = SMTO_ABORTIFHUNG | SMTO_NORMAL;
    LRESULT ok = wide ? SendMessageTimeoutW(hwnd, msg, wparam, lparam, flags, timeoutMs, &local)
                      : SendMessageTimeoutA(hwnd, msg, wparam, lparam, flags, timeoutMs, &local);
    if (result)
      *result = local;
    if (ok != 0)
      return true;
    if (action || !IsWindow(hwnd) || GetTickCount() - start >= kQueryPatienceMs)
      return false;
    Sleep(kPollMs);
  }
}

bool SendBounded(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, DWORD_PTR* result) {
  return SendBoundedAs(false, false, hwnd, msg, wparam, lparam, result);
}

bool SendAction(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, DWORD_PTR* result) {
  return SendBoundedAs(false, true, hwnd, msg, wparam, lparam, result);
}

// Texts are fetched as UTF-16 and converted here: Wine hands CB_GETLBTEXT of
// a foreign combo box to an ANSI caller unconverted. The conversion gives the
// bytes of this process's ANSI code page, which the runner sets to the one of
// the program under test.
std::string Narrow(const std::wstring& text) {
  if (text.empty())
    return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text, UINT codePage = CP_ACP) {
  if (text.empty())
    return std::wstring();
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0)
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

bool SendBoundedW(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, DWORD_PTR* result) {
  return SendBoundedAs(true, false, hwnd, msg, wparam, lparam, result);
}

// WM_GETTEXT crosses the process boundary (the window manager copies the
// text); GetWindowText would read only the stored caption of a foreign
// window, which a combo box does not keep. A window that closes meanwhile
// (a wait looks at windows that come and go) has no text.
std::string WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendBoundedW(hwnd, WM_GETTEXTLENGTH, 0, 0, &length)) {
    if (!IsWindow(hwnd))
      return std::string();
    Fail("no answer to WM_GETTEXTLENGTH from " + HandleText(hwnd));
  }
  std::vector<wchar_t> buf(length + 2);
  DWORD_PTR got = 0;
  if (!SendBoundedW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), &got)) {
    if (!IsWindow(hwnd))
      return std::string();
    Fail("no answer to WM_GETTEXT from " + HandleText(hwnd));
  }
  return Narrow(std::wstring(buf.data(), got < buf.size() ? got : buf.size() - 1));
}

// One item of a combo box; empty when it cannot be read.
std::string ComboItem(HWND combo, WPARAM index) {
  DWORD_PTR length = 0;
  if (!SendBoundedW(combo, CB_GETLBTEXTLEN, index, 0, &length) || static_cast<LRESULT>(length) < 0)
    return std::string();
  std::vector<wchar_t> buf(length + 2);
  DWORD_PTR got = 0;
  if (!SendBoundedW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buf.data()), &got) ||
      static_cast<LRESULT>(got) < 0)
    return std::string();
  return Narrow(std::wstring(buf.data(), got < buf.size() ? got : buf.size() - 1));
}

std::string ClassOf(HWND hwnd) {
  char buf[256] = "";
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

std::string Lower(std::string text) {
  if (!text.empty())
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Seconds(double s) {
  char buf[32];
  snprintf(buf, sizeof buf, "%.1f s", s);
  return buf;
}

double ParseSeconds(const char* text) {
  char* end = nullptr;
  double s = strtod(text, &end);
  if (!end || *end || s < 0)
    Usage(std::string("not a number of seconds: ") + text);
  return s;
}

long ParseNumber(const char* text, const char* what) {
  char* end = nullptr;
  long n = strtol(text, &end, 0);
  if (!*text || *end)
    Usage(std::string("not a number for ") + what + ": " + text);
  return n;
}

HWND ParseHandle(const char* text) {
  char* end = nullptr;
  unsigned long long h = strtoull(text, &end, 0);
  if (!*text || *end || !h)
    Usage(std::string("not a window handle: ") + text);
  HWND hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(h));
  if (!IsWindow(hwnd))
    Fail(std::string("no window ") + text + " (it has been closed)");
  return hwnd;
}

// Milliseconds left until a deadline taken from GetTickCount.
class Deadline {
 public:
  explicit Deadline(double seconds) : start_(GetTickCount()), span_(static_cast<DWORD>(seconds * 1000)) {}
  bool Passed() const { return GetTickCount() - start_ >= span_; }
  DWORD Left() const {
    DWORD used = GetTickCount() - start_;
    return used >= span_ ? 0 : span_ - used;
  }

 private:
  DWORD start_;
  DWORD span_;
};

// Which process a command looks at.
struct Target {
  DWORD pid = 0;
  std::string image;  // lower case, without folder

  bool Given() const { return pid || !image.empty(); }
  std::string Describe() const { return pid ? "process " + std::to_string(pid) : "process " + image; }
};

struct ProcessInfo {
  DWORD pid;
  std::string image;
};

std::vector<ProcessInfo> Processes() {
  std::vector<ProcessInfo> list;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE)
    return list;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snap, &entry); more; more = Process32Next(snap, &entry))
    list.push_back({entry.th32ProcessID, BaseName(entry.szExeFile)});
  CloseHandle(snap);
  return list;
}

std::string ImageOf(DWORD pid) {
  for (const ProcessInfo& p : Processes())
    if (p.pid == pid)
      return p.image;
  return "?";
}

// Processes that the target names and that are running now.
std::vector<DWORD> RunningTargets(const Target& target) {
  std::vector<DWORD> pids;
  for (const ProcessInfo& p : Processes())
    if (target.pid ? p.pid == target.pid : Lower(p.image) == target.image)
      pids.push_back(p.pid);
  return pids;
}

struct Found {
  HWND hwnd;
  DWORD pid;
};

// Set by "list --all": hidden windows are listed too.
bool listHidden = false;

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  if (listHidden || IsWindowVisible(hwnd)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    reinterpret_cast<std::vector<Found>*>(param)->push_back({hwnd, pid});
  }
  return TRUE;
}

std::vector<Found> VisibleWindows(const Target& target) {
  std::vector<Found> all;
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&all));
  std::vector<Found> mine;
  std::vector<DWORD> pids;
  if (!target.pid && !target.image.empty())
    pids = RunningTargets(target);
  for (const Found& f : all) {
    bool ok = target.pid             ? f.pid == target.pid
              : target.image.empty() ? true
                                     : std::find(pids.begin(), pids.end(), f.pid) != pids.end();
    if (ok)
      mine.push_back(f);
  }
  return mine;
}

std::string WindowLine(HWND hwnd) {
  return "window\t" + HandleText(hwnd) + "\t" + ClassOf(hwnd) + "\t" + Escape(WindowText(hwnd));
}

// What a failed wait saw: the target's visible windows, or that it is gone.
std::string Seen(const Target& target) {
  if (RunningTargets(target).empty())
    return "no such process is running";
  std::vector<Found> windows = VisibleWindows(target);
  if (windows.empty())
    return "the process is running but shows no visible window";
  std::string seen = "its visible windows:";
  for (const Found& f : windows)
    seen +=
        "\n  " + HandleText(f.hwnd) + " class " + ClassOf(f.hwnd) + " caption " + Quote(WindowText(f.hwnd));
  return seen;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> list;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    list.push_back(child);
  return list;
}

HWND Control(HWND dialog, int id) {
  for (HWND child : Children(dialog))
    if (GetDlgCtrlID(child) == id)
      return child;
  return nullptr;
}

bool IsMessageBox(HWND hwnd) {
  HWND text = Control(hwnd, kMessageBoxTextId);
  return ClassOf(hwnd) == "#32770" && text && ClassOf(text) == "Static";
}

struct WindowFilter {
  std::string cls;
  std::string caption;
  bool exactCaption = false;
  bool captionGiven = false;
  int hasControl = -1;
  bool messageBoxOnly = false;
  bool noMessageBox = false;
};

bool Accept(const WindowFilter& filter, HWND hwnd) {
  if (!filter.cls.empty() && ClassOf(hwnd) != filter.cls)
    return false;
  if (filter.captionGiven) {
    std::string caption = WindowText(hwnd);
    if (filter.exactCaption ? caption != filter.caption : caption.find(filter.caption) == std::string::npos)
      return false;
  }
  if (filter.hasControl >= 0 && !Control(hwnd, filter.hasControl))
    return false;
  if (filter.messageBoxOnly && !IsMessageBox(hwnd))
    return false;
  if (filter.noMessageBox && IsMessageBox(hwnd))
    return false;
  return true;
}

std::string DescribeFilter(const WindowFilter& filter) {
  std::string d = "a visible window";
  if (filter.messageBoxOnly)
    d = "a message box";
  if (!filter.cls.empty())
    d += " of class " + filter.cls;
  if (filter.captionGiven)
    d += (filter.exactCaption ? " with caption " : " with a caption containing ") + Quote(filter.caption);
  if (filter.hasControl >= 0)
    d += " with a control of id " + std::to_string(filter.hasControl);
  return d;
}

HWND WaitForWindow(const Target& target, const WindowFilter& filter, double seconds) {
  Deadline deadline(seconds);
  for (;;) {
    for (const Found& f : VisibleWindows(target))
      if (Accept(filter, f.hwnd))
        return f.hwnd;
    if (deadline.Passed())
      break;
    // A process named by its id will not come back; one named by its image
    // may still be about to start.
    if (target.pid && RunningTargets(target).empty())
      break;
    Sleep(kPollMs);
  }
  Fail("expected " + DescribeFilter(filter) + " of " + target.Describe() + " within " + Seconds(seconds) +
       "; saw: " + Seen(target));
}

// Options shared by the commands that look for a process.
struct Options {
  Target target;
  WindowFilter filter;
  double timeout = -1;  // not given: the command's default
  int answer = -1;
  std::string dir;
  std::string until;
  std::vector<std::string> rest;
};

Options ParseOptions(int argc, char** argv, int first) {
  Options o;
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc)
        Usage(a + " needs a value");
      return argv[++i];
    };
    if (a == "--pid") {
      o.target.pid = static_cast<DWORD>(ParseNumber(value(), "--pid"));
    } else if (a == "--image") {
      o.target.image = Lower(BaseName(value()));
    } else if (a == "--class") {
      o.filter.cls = value();
    } else if (a == "--caption") {
      o.filter.caption = value();
      o.filter.captionGiven = o.filter.exactCaption = true;
    } else if (a == "--caption-part") {
      o.filter.caption = value();
      o.filter.captionGiven = true;
      o.filter.exactCaption = false;
    } else if (a == "--has-control") {
      o.filter.hasControl = static_cast<int>(ParseNumber(value(), "--has-control"));
    } else if (a == "--timeout") {
      o.timeout = ParseSeconds(value());
    } else if (a == "--answer") {
      o.answer = static_cast<int>(ParseNumber(value(), "--answer"));
    } else if (a == "--msgbox") {
      o.filter.messageBoxOnly = true;
    } else if (a == "--all") {
      listHidden = true;
    } else if (a == "--dir") {
      o.dir = value();
    } else if (a == "--until") {
      o.until = value();
      if (o.until != "enabled" && o.until != "disabled")
        Usage("--until takes enabled or disabled, not " + o.until);
    } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      Usage("unknown option " + a);
    } else {
      o.rest.push_back(a);
    }
  }
  return o;
}

void RequireTarget(const Options& o, const char* command) {
  if (!o.target.Given())
    Usage(std::string(command) + " needs --pid N or --image NAME");
}

void RequireArgs(const Options& o, size_t n, const char* command) {
  if (o.rest.size() != n)
    Usage(std::string(command) + " takes " + std::to_string(n) + " argument(s)");
}

// ---- commands --------------------------------------------------------------

// Starts the command line of the command's first argument, in --dir when
// given; fails the command when the program cannot be started.
PROCESS_INFORMATION StartProgram(const Options& o) {
  std::vector<char> line(o.rest[0].begin(), o.rest[0].end());
  line.push_back('\0');
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      o.dir.empty() ? nullptr : o.dir.c_str(), &si, &pi))
    Fail("could not start " + Quote(o.rest[0]) + ": error " + std::to_string(GetLastError()));
  return pi;
}

int Start(const Options& o) {
  RequireArgs(o, 1, "start");
  const PROCESS_INFORMATION pi = StartProgram(o);
  // Once the program takes input its windows can be looked for.
  WaitForInputIdle(pi.hProcess, static_cast<DWORD>(o.timeout * 1000));
  printf("pid\t%lu\n", static_cast<unsigned long>(pi.dwProcessId));
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}

int List(const Options& o) {
  for (const Found& f : VisibleWindows(o.target))
    printf("%s\t%lu\t%s%s\n", WindowLine(f.hwnd).c_str(), static_cast<unsigned long>(f.pid),
           ImageOf(f.pid).c_str(), IsWindowVisible(f.hwnd) ? "" : "\thidden");
  return 0;
}

// One line per running process the target names (all without a target):
//   process PID IMAGE
int ListProcesses(const Options& o) {
  for (const ProcessInfo& p : Processes())
    if (!o.target.Given() || (o.target.pid ? p.pid == o.target.pid : Lower(p.image) == o.target.image))
      printf("process\t%lu\t%s\n", static_cast<unsigned long>(p.pid), p.image.c_str());
  return 0;
}

int WaitWindow(const Options& o) {
  RequireTarget(o, "wait-window");
  RequireArgs(o, 0, "wait-window");
  HWND hwnd = WaitForWindow(o.target, o.filter, o.timeout);
  printf("%s\n", WindowLine(hwnd).c_str());
  return 0;
}

bool IsCheckable(HWND button) {
  LONG type = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_3STATE ||
         type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

// One line per child in z-order (the template order for a dialog):
//   control ID CLASS STATE TEXT
// STATE: checked/unchecked for check boxes and radio buttons, sel=N for a
// combo box (followed by one "item ID INDEX TEXT" line per item), else "-".
// A hidden or disabled control adds ",hidden" / ",disabled" to STATE.
void PrintControls(HWND dialog) {
  for (HWND child : Children(dialog)) {
    int id = GetDlgCtrlID(child);
    std::string cls = ClassOf(child);
    std::string state = "-";
    std::vector<std::string> items;
    if (cls == "Button" && IsCheckable(child)) {
      DWORD_PTR check = 0;
      if (!SendBounded(child, BM_GETCHECK, 0, 0, &check))
        Fail("no answer to BM_GETCHECK from control " + std::to_string(id));
      state = check == BST_CHECKED ? "checked" : check == BST_INDETERMINATE ? "indeterminate" : "unchecked";
    } else if (cls == "ComboBox") {
      DWORD_PTR sel = 0, count = 0;
      if (!SendBounded(child, CB_GETCURSEL, 0, 0, &sel) || !SendBounded(child, CB_GETCOUNT, 0, 0, &count))
        Fail("no answer from combo box " + std::to_string(id));
      state = "sel=" + std::to_string(static_cast<int>(static_cast<LRESULT>(sel)));
      for (LRESULT i = 0; i < static_cast<LRESULT>(count); ++i)
        items.push_back(ComboItem(child, i));
    }
    if (!IsWindowVisible(child))
      state += ",hidden";
    if (!IsWindowEnabled(child))
      state += ",disabled";
    printf("control\t%d\t%s\t%s\t%s\n", id, cls.c_str(), state.c_str(), Escape(WindowText(child)).c_str());
    for (size_t i = 0; i < items.size(); ++i)
      printf("item\t%d\t%u\t%s\n", id, static_cast<unsigned>(i), Escape(items[i]).c_str());
  }
}

int Read(const Options& o) {
  RequireArgs(o, 1, "read");
  HWND hwnd = ParseHandle(o.rest[0].c_str());
  printf("%s\n", WindowLine(hwnd).c_str());
  PrintControls(hwnd);
  return 0;
}

HWND RequireControl(HWND dialog, int id, const char* cls) {
  HWND control = Control(dialog, id);
  if (!control)
    Fail("expected a control of id " + std::to_string(id) + " in window " + HandleText(dialog) +
         "; it has none");
  if (cls && ClassOf(control) != cls)
    Fail("expected control " + std::to_string(id) + " to be a " + cls + "; it is a " + ClassOf(control));
  return control;
}

// Wine drops a sent message that times out before the target has taken it,
// so a short send to a program still busy (e.g. taking a closed message box
// off the screen) would be lost. A message with the long bound first makes
// sure the program is taking messages again.
void WaitUntilResponsive(HWND hwnd) {
  if (!SendBounded(hwnd, WM_NULL, 0, 0, nullptr))
    Fail("the program of window " + HandleText(hwnd) + " takes no messages (error " +
         std::to_string(GetLastError()) + ")");
}

int Click(const Options& o) {
  RequireArgs(o, 2, "click");
  HWND dialog = ParseHandle(o.rest[0].c_str());
  int id = static_cast<int>(ParseNumber(o.rest[1].c_str(), "control id"));
  HWND button = RequireControl(dialog, id, "Button");
  if (!IsWindowEnabled(button))
    Fail("control " + std::to_string(id) + " is disabled");
  WaitUntilResponsive(button);
  // Sent, so that the click has been handled when this returns. A click that
  // opens a modal box does not return until the box closes: that is not an
  // error, the next wait looks for the box.
  if (!SendAction(button, BM_CLICK, 0, 0, nullptr)) {
    if (GetLastError() == ERROR_TIMEOUT) {
      printf("clicked\t%d\tstill handled\n", id);
      return 0;
    }
    Fail("BM_CLICK on control " + std::to_string(id) + " failed: error " + std::to_string(GetLastError()));
  }
  printf("clicked\t%d\n", id);
  return 0;
}

// Posted, not sent: the handler of OK may show message boxes and would keep a
// sender waiting until they are answered.
int PostCommand(HWND hwnd, int id) {
  if (!PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0))
    Fail("could not post WM_COMMAND " + std::to_string(id) + " to " + HandleText(hwnd) + ": error " +
         std::to_string(GetLastError()));
  printf("posted\t%d\n", id);
  return 0;
}

int Command(const Options& o, int fixedId) {
  RequireArgs(o, fixedId ? 1 : 2, fixedId == IDOK ? "ok" : fixedId == IDCANCEL ? "cancel" : "command");
  HWND hwnd = ParseHandle(o.rest[0].c_str());
  int id = fixedId ? fixedId : static_cast<int>(ParseNumber(o.rest[1].c_str(), "command id"));
  return PostCommand(hwnd, id);
}

int SysCommand(const Options& o) {
  RequireArgs(o, 2, "syscommand");
  HWND hwnd = ParseHandle(o.rest[0].c_str());
  const long code = ParseNumber(o.rest[1].c_str(), "system command");
  if (!PostMessageA(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(code), 0))
    Fail("could not post WM_SYSCOMMAND " + o.rest[1] + " to " + HandleText(hwnd) + ": error " +
         std::to_string(GetLastError()));
  printf("posted\tsyscommand\t%s\n", o.rest[1].c_str());
  return 0;
}

// Whether a window takes input: a window that owns a modal box is disabled
// until the box closes. With --until, waits (bounded) for that state.
int State(const Options& o) {
  RequireArgs(o, 1, "state");
  HWND hwnd = ParseHandle(o.rest[0].c_str());
  auto state = [hwnd] { return std::string(IsWindowEnabled(hwnd) ? "enabled" : "disabled"); };
  Deadline deadline(o.timeout);
  while (!o.until.empty() && state() != o.until) {
    if (deadline.Passed() || !IsWindow(hwnd))
      Fail("expected window " + HandleText(hwnd) + " to be " + o.until + " within " + Seconds(o.timeout) +
           "; it is " + (IsWindow(hwnd) ? state() : "closed"));
    Sleep(kPollMs);
  }
  printf("state\t%s\t%s\n", HandleText(hwnd).c_str(), state().c_str());
  return 0;
}

int Select(const Options& o) {
  RequireArgs(o, 3, "select");
  HWND dialog = ParseHandle(o.rest[0].c_str());
  int id = static_cast<int>(ParseNumber(o.rest[1].c_str(), "control id"));
  long index = ParseNumber(o.rest[2].c_str(), "item index");
  HWND combo = RequireControl(dialog, id, "ComboBox");
  WaitUntilResponsive(combo);
  DWORD_PTR count = 0;
  if (!SendBounded(combo, CB_GETCOUNT, 0, 0, &count))
    Fail("no answer to CB_GETCOUNT from control " + std::to_string(id));
  if (index < 0 || index >= static_cast<long>(count))
    Fail("expected item " + std::to_string(index) + " in combo box " + std::to_string(id) + "; it has " +
         std::to_string(static_cast<long>(count)) + " item(s)");
  DWORD_PTR result = 0;
  if (!SendBounded(combo, CB_SETCURSEL, index, 0, &result) || static_cast<LRESULT>(result) != index)
    Fail("CB_SETCURSEL " + std::to_string(index) + " on control " + std::to_string(id) +
         " did not select it");
  // CB_SETCURSEL does not notify; the owner learns of the change only from
  // this, as it would from the user's choice.
  DWORD_PTR ignored = 0;
  if (!SendAction(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                  reinterpret_cast<LPARAM>(combo), &ignored)) {
    if (GetLastError() != ERROR_TIMEOUT)
      Fail("CBN_SELCHANGE to " + HandleText(dialog) + " failed: error " + std::to_string(GetLastError()));
    printf("selected\t%d\t%ld\tstill handled\n", id, index);
    return 0;
  }
  printf("selected\t%d\t%ld\n", id, index);
  return 0;
}

// The pixels of a screen area, top row first.
std::vector<COLORREF> Pixels(HDC source, int x, int y, int width, int height) {
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      pixels.push_back(GetPixel(memory, col, row));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

// The picture of a system icon drawn on the given background.
std::vector<COLORREF> IconPixels(LPCSTR which, COLORREF background, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all = {0, 0, width, height};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  DrawIconEx(memory, 0, 0, LoadIconA(nullptr, which), 0, 0, 0, nullptr, DI_NORMAL);
  std::vector<COLORREF> pixels = Pixels(memory, 0, 0, width, height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Which icon a message box shows. Icon handles belong to the process that
// loaded them (another process cannot read them), so the picture on the
// screen is compared with each system icon as this process draws it.
std::string IconKind(HWND iconControl) {
  RECT r;
  GetWindowRect(iconControl, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0 || width > 256 || height > 256)
    return "other";
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> shown = Pixels(screen, r.left, r.top, width, height);
  ReleaseDC(nullptr, screen);
  const struct {
    LPCSTR id;
    const char* name;
  } kinds[] = {{IDI_HAND, "error"},
               {IDI_EXCLAMATION, "warning"},
               {IDI_QUESTION, "question"},
               {IDI_ASTERISK, "information"}};
  std::string best = "other";
  size_t fewest = shown.size() / 20 + 1;  // at most 5% of the pixels may differ
  for (const auto& kind : kinds) {
    std::vector<COLORREF> drawn = IconPixels(kind.id, shown[0], width, height);
    size_t differ = 0;
    for (size_t i = 0; i < shown.size(); ++i)
      differ += shown[i] != drawn[i];
    if (differ < fewest) {
      fewest = differ;
      best = kind.name;
    }
  }
  return best;
}

// A message box: caption, text, buttons (ids of the visible push buttons) and
// its icon: none, error, warning, question, information, or other.
//   msgbox HWND
//   caption TEXT
//   text TEXT
//   buttons ID ID ...
//   icon KIND
void PrintMessageBox(HWND box) {
  std::string text = WindowText(RequireControl(box, kMessageBoxTextId, "Static"));
  std::string buttons;
  std::string icon = "none";
  for (HWND child : Children(box)) {
    if (!IsWindowVisible(child))
      continue;
    std::string cls = ClassOf(child);
    if (cls == "Button") {
      if (!buttons.empty())
        buttons += " ";
      buttons += std::to_string(GetDlgCtrlID(child));
    } else if (cls == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      DWORD_PTR handle = 0;
      if (SendBounded(child, STM_GETICON, 0, 0, &handle) && handle) {
        // The box may not be painted yet, or another window may still be
        // drawn over it, when the machine is busy (the emulated one above
        // all): the picture is read again after the box is brought up and
        // painted, for up to ten seconds.
        const DWORD start = GetTickCount();
        for (;;) {
          icon = IconKind(child);
          if (icon != "other" || GetTickCount() - start > 10000)
            break;
          SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
          RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
          Sleep(100);
        }
      }
    }
  }
  printf("msgbox\t%s\n", HandleText(box).c_str());
  printf("caption\t%s\n", Escape(WindowText(box)).c_str());
  printf("text\t%s\n", Escape(text).c_str());
  printf("buttons\t%s\n", buttons.c_str());
  printf("icon\t%s\n", icon.c_str());
}

std::vector<int> ButtonIds(HWND box) {
  std::vector<int> ids;
  for (HWND child : Children(box))
    if (IsWindowVisible(child) && ClassOf(child) == "Button")
      ids.push_back(GetDlgCtrlID(child));
  return ids;
}

int AnswerBox(HWND box, int id) {
  std::vector<int> ids = ButtonIds(box);
  if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
    std::string have;
    for (int i : ids)
      have += " " + std::to_string(i);
    Fail("expected the message box to have a button " + std::to_string(id) + "; its buttons are" +
         (have.empty() ? std::string(" none") : have));
  }
  if (!PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Control(box, id))))
    Fail("could not answer the message box: error " + std::to_string(GetLastError()));
  // The box is gone once the answer has been taken; a box that stays means the
  // answer was not taken, and the next step would wait on the wrong window.
  // Waiting until it is destroyed, not only hidden, also waits out the time
  // Wine's X11 driver spends taking a window off the screen, during which the
  // program takes no messages.
  Deadline deadline(10);
  while (IsWindow(box)) {
    if (deadline.Passed())
      Fail("the message box " + HandleText(box) + " did not close after answer " + std::to_string(id));
    Sleep(kPollMs);
  }
  printf("answered\t%d\n", id);
  return 0;
}

int WaitMessageBox(const Options& o) {
  RequireTarget(o, "wait-msgbox");
  RequireArgs(o, 0, "wait-msgbox");
  WindowFilter filter = o.filter;
  filter.messageBoxOnly = true;
  HWND box = WaitForWindow(o.target, filter, o.timeout);
  PrintMessageBox(box);
  if (o.answer >= 0)
    return AnswerBox(box, o.answer);
  return 0;
}

int Answer(const Options& o) {
  RequireArgs(o, 2, "answer");
  HWND box = ParseHandle(o.rest[0].c_str());
  if (!IsMessageBox(box))
    Fail("expected a message box at " + HandleText(box) + "; it is a " + ClassOf(box) + " " +
         Quote(WindowText(box)));
  return AnswerBox(box, static_cast<int>(ParseNumber(o.rest[1].c_str(), "button id")));
}

// For "nothing more happens": the message boxes already open are no news,
// one that opens within the time fails the command.
int NoMessageBox(const Options& o) {
  RequireTarget(o, "no-msgbox");
  RequireArgs(o, 0, "no-msgbox");
  std::vector<HWND> known;
  for (const Found& f : VisibleWindows(o.target))
    if (IsMessageBox(f.hwnd))
      known.push_back(f.hwnd);
  Deadline deadline(o.timeout);
  do {
    for (const Found& f : VisibleWindows(o.target))
      if (IsMessageBox(f.hwnd) && std::find(known.begin(), known.end(), f.hwnd) == known.end()) {
        PrintMessageBox(f.hwnd);
        Fail("expected no new message box of " + o.target.Describe() + " within " + Seconds(o.timeout) +
             "; saw " + Quote(WindowText(f.hwnd)) + ": " +
             Quote(WindowText(Control(f.hwnd, kMessageBoxTextId))));
      }
    Sleep(kPollMs);
  } while (!deadline.Passed());
  printf("no-msgbox\t%s\n", Seconds(o.timeout).c_str());
  return 0;
}

int WaitExit(const Options& o) {
  RequireTarget(o, "wait-exit");
  RequireArgs(o, 0, "wait-exit");
  Deadline deadline(o.timeout);
  if (o.target.pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, o.target.pid);
    if (process) {
      DWORD wait = WaitForSingleObject(process, deadline.Left());
      DWORD code = 0;
      GetExitCodeProcess(process, &code);
      CloseHandle(process);
      if (wait != WAIT_OBJECT_0)
        Fail("expected " + o.target.Describe() + " to end within " + Seconds(o.timeout) +
             "; it is still running; " + Seen(o.target));
      printf("exited\t%lu\t%lu\n", static_cast<unsigned long>(o.target.pid),
             static_cast<unsigned long>(code));
      return 0;
    }
  }
  while (!RunningTargets(o.target).empty()) {
    if (deadline.Passed())
      Fail("expected " + o.target.Describe() + " to end within " + Seconds(o.timeout) +
           "; it is still running; " + Seen(o.target));
    Sleep(kPollMs);
  }
  printf("exited\t%s\n", o.target.pid ? std::to_string(o.target.pid).c_str() : o.target.image.c_str());
  return 0;
}

int Rect(const Options& o) {
  RequireArgs(o, 1, "rect");
  HWND hwnd = ParseHandle(o.rest[0].c_str());
  RECT r;
  if (!GetWindowRect(hwnd, &r))
    Fail("GetWindowRect of " + HandleText(hwnd) + " failed: error " + std::to_string(GetLastError()));
  printf("rect\t%ld\t%ld\t%ld\t%ld\n", r.left, r.top, r.right, r.bottom);
  return 0;
}

// The form the programs under test get for a path, so that expectations of
// 8.3 names come from the same source as the programs' own.
int ShortPath(const Options& o) {
  RequireArgs(o, 1, "short-path");
  char buf[MAX_PATH * 4];
  DWORD n = GetShortPathNameA(o.rest[0].c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf)
    Fail("no short path for " + Quote(o.rest[0]) + ": error " + std::to_string(GetLastError()));
  printf("short\t%s\n", Escape(buf).c_str());
  return 0;
}

// For the benchmark: the time from the start of a program to its first
// window, measured here so that no Wine start of a tool counts. The windows
// are looked at every 2 ms; the process handle (not a process list, which
// costs Wine far more) tells whether the program is still there.
int TimedStart(const Options& o) {
  RequireArgs(o, 1, "timed-start");
  LARGE_INTEGER frequency, began, shown;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&began);
  const PROCESS_INFORMATION pi = StartProgram(o);
  CloseHandle(pi.hThread);
  printf("pid\t%lu\n", static_cast<unsigned long>(pi.dwProcessId));
  fflush(stdout);
  Target target;
  target.pid = pi.dwProcessId;
  WindowFilter filter = o.filter;
  filter.noMessageBox = !filter.messageBoxOnly;
  Deadline deadline(o.timeout);
  HWND found = nullptr;
  while (!found) {
    for (const Found& f : VisibleWindows(target))
      if (Accept(filter, f.hwnd)) {
        found = f.hwnd;
        break;
      }
    if (found)
      break;
    if (deadline.Passed() || WaitForSingleObject(pi.hProcess, 2) == WAIT_OBJECT_0) {
      CloseHandle(pi.hProcess);
      Fail("expected " + DescribeFilter(filter) + " of " + target.Describe() + " within " +
           Seconds(o.timeout) + "; saw: " + Seen(target));
    }
  }
  QueryPerformanceCounter(&shown);
  CloseHandle(pi.hProcess);
  printf("shown\t%s\t%.1f\n", HandleText(found).c_str(),
         1000.0 * static_cast<double>(shown.QuadPart - began.QuadPart) /
             static_cast<double>(frequency.QuadPart));
  return 0;
}

// One value as `reg query` lists it: "    NAME    TYPE    DATA", a DWORD as
// 0x..., binary data as hex digits, a multi-string with \0 between strings.
void PrintValue(const std::wstring& name, DWORD type, std::vector<BYTE> data) {
  std::string text;
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    data.resize(data.size() / sizeof(wchar_t) * sizeof(wchar_t));
    std::wstring all(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    while (!all.empty() && all.back() == L'\0')
      all.pop_back();
    for (size_t at; (at = all.find(L'\0')) != std::wstring::npos;)
      all.replace(at, 1, L"\\0");
    text = Narrow(all);
  } else if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    char buf[16];
    snprintf(buf, sizeof buf, "0x%lx",
             static_cast<unsigned long>(*reinterpret_cast<const DWORD*>(data.data())));
    text = buf;
  } else {
    for (BYTE b : data) {
      char hex[3];
      snprintf(hex, sizeof hex, "%02X", b);
      text += hex;
    }
  }
  static const char* const kTypes[] = {"REG_NONE",   "REG_SZ",      "REG_EXPAND_SZ",
                                       "REG_BINARY", "REG_DWORD",   "REG_DWORD_BIG_ENDIAN",
                                       "REG_LINK",   "REG_MULTI_SZ"};
  const std::string typeName =
      type < sizeof kTypes / sizeof *kTypes ? kTypes[type] : "REG_" + std::to_string(type);
  printf("    %s    %s    %s\n", name.empty() ? "(Default)" : Narrow(name).c_str(), typeName.c_str(),
         text.c_str());
}

// A key's values, then its subkeys: by name, or (recurse) each listed whole.
void PrintKey(HKEY key, const std::string& path, bool recurse) {
  DWORD maxSubkey = 0, maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxSubkey, nullptr, nullptr, &maxName, &maxData,
                   nullptr, nullptr);
  printf("%s\n", path.c_str());
  std::vector<wchar_t> name(std::max(maxName, maxSubkey) + 2);
  for (DWORD i = 0;; ++i) {
    std::vector<BYTE> data(maxData + 2);
    DWORD nameSize = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
    if (RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
      break;
    data.resize(size);
    PrintValue(std::wstring(name.data(), nameSize), type, data);
  }
  printf("\n");
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    const std::wstring subName(name.data(), nameSize);
    const std::string subPath = path + "\\" + Narrow(subName);
    HKEY sub;
    if (!recurse) {
      printf("%s\n", subPath.c_str());
    } else if (RegOpenKeyExW(key, subName.c_str(), 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      PrintKey(sub, subPath, true);
      RegCloseKey(sub);
    }
  }
}

// The registry as `reg query KEY [/v NAME | /s]` lists it, so that the
// scripts read both alike; "absent" when the key or the value does not exist.
int Reg(const Options& o) {
  const bool oneValue = o.rest.size() == 3 && o.rest[1] == "/v";
  const bool recurse = o.rest.size() == 2 && o.rest[1] == "/s";
  if (!(o.rest.size() == 1 || oneValue || recurse))
    Usage("reg takes KEY [/v NAME | /s]");
  static const struct {
    const char* shortName;
    const char* longName;
    HKEY key;
  } kRoots[] = {{"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                {"HKU", "HKEY_USERS", HKEY_USERS}};
  const std::string& path = o.rest[0];
  const size_t slash = path.find('\\');
  const std::string rootName = path.substr(0, slash);
  const std::string subName = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  const auto* root = std::find_if(std::begin(kRoots), std::end(kRoots), [&](const auto& r) {
    return lstrcmpiA(rootName.c_str(), r.shortName) == 0 || lstrcmpiA(rootName.c_str(), r.longName) == 0;
  });
  if (root == std::end(kRoots))
    Usage("reg: unknown root key " + rootName);
  const std::string fullPath = std::string(root->longName) + (subName.empty() ? "" : "\\" + subName);
  HKEY key;
  if (RegOpenKeyExW(root->key, Widen(subName).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    printf("absent\n");
    return 0;
  }
  if (oneValue) {
    const std::wstring valueName = Widen(o.rest[2]);
    DWORD type = 0, size = 0;
    std::vector<BYTE> data;
    LONG rc = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
      data.resize(size + 2);
      size = static_cast<DWORD>(data.size());
      rc = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, data.data(), &size);
      data.resize(size);
    }
    if (rc == ERROR_SUCCESS) {
      printf("%s\n", fullPath.c_str());
      PrintValue(valueName, type, data);
    } else {
      printf("absent\n");
    }
  } else {
    PrintKey(key, fullPath, recurse);
  }
  RegCloseKey(key);
  return 0;
}

// The parts of a text between separators (one part for a text without any).
std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  for (size_t at = 0;;) {
    const size_t next = text.find(separator, at);
    parts.push_back(text.substr(at, next - at));
    if (next == std::string::npos)
      return parts;
    at = next + 1;
  }
}

int Run(int argc, char** argv);

// One Wine start for a whole scenario: on an emulated machine starting a Wine
// program costs seconds, a request here milliseconds. Requests arrive in
// UTF-8 and are handed on in the ANSI code page, as a command line would be.
int Serve() {
  gServing = true;
  _setmode(_fileno(stdin), _O_BINARY);
  printf("serving\t%lu\n#end 0\n", static_cast<unsigned long>(GetCurrentProcessId()));
  fflush(stdout);
  std::string line;
  char chunk[1024];
  for (;;) {
    line.clear();
    while (fgets(chunk, sizeof chunk, stdin)) {
      line += chunk;
      if (!line.empty() && line.back() == '\n')
        break;
    }
    if (line.empty())
      return 0;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
      line.pop_back();
    if (line == "quit") {
      printf("#end 0\n");
      fflush(stdout);
      return 0;
    }
    std::vector<std::string> args = Split(Narrow(Widen(line, CP_UTF8)), '\t');
    args.insert(args.begin(), "automate");
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(&a[0]);
    argv.push_back(nullptr);
    int status = 0;
    std::string failure;
    try {
      status = Run(static_cast<int>(args.size()), argv.data());
    } catch (const Failure& f) {
      status = 1;
      failure = f.what;
    } catch (const UsageError& e) {
      status = 2;
      failure = e.what;
    }
    if (!failure.empty())
      for (const std::string& part : Split(failure, '\n'))
        printf("#! %s\n", part.c_str());
    printf("#end %d\n", status);
    fflush(stdout);
  }
}

int Run(int argc, char** argv) {
  if (argc < 2)
    Usage("no command");
  std::string command = argv[1];
  Options o = ParseOptions(argc, argv, 2);
  if (o.timeout < 0)
    o.timeout = 20;
  if (command == "start")
    return Start(o);
  if (command == "list")
    return List(o);
  if (command == "processes")
    return ListProcesses(o);
  if (command == "wait-window") {
    o.filter.noMessageBox = o.filter.hasControl != kMessageBoxTextId;
    return WaitWindow(o);
  }
  if (command == "read")
    return Read(o);
  if (command == "click")
    return Click(o);
  if (command == "ok")
    return Command(o, IDOK);
  if (command == "cancel")
    return Command(o, IDCANCEL);
  if (command == "command")
    return Command(o, 0);
  if (command == "syscommand")
    return SysCommand(o);
  if (command == "state")
    return State(o);
  if (command == "select")
    return Select(o);
  if (command == "wait-msgbox")
    return WaitMessageBox(o);
  if (command == "answer")
    return Answer(o);
  if (command == "no-msgbox")
    return NoMessageBox(o);
  if (command == "wait-exit")
    return WaitExit(o);
  if (command == "serve") {
    if (gServing)
      Usage("serve is not a request");
    return Serve();
  }
  if (command == "reg")
    return Reg(o);
  if (command == "rect")
    return Rect(o);
  if (command == "short-path")
    return ShortPath(o);
  if (command == "timed-start")
    return TimedStart(o);
  Usage("unknown command " + command);
}

}  // namespace

int main(int argc, char** argv) {
  // The runner reads lines; no carriage returns from the text mode.
  _setmode(_fileno(stdout), _O_BINARY);
  try {
    return Run(argc, argv);
  } catch (const UsageError& e) {
    fprintf(stderr, "automate: %s\n%s", e.what.c_str(), kUsage);
    return 2;
  }
}
