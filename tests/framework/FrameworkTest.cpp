// The dialog framework through real windows (Wine under Xvfb): modal dialogs
// on the test program's own templates, data exchange, routing, the
// application object. Every dialog carries a watchdog timer, so a message
// that never arrives ends the dialog with test::kTimedOut instead of hanging.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "tests/framework/FrameworkTestIds.h"
#include "tests/support/WinTestSupport.h"

namespace {

const UINT kAboutCommand = 0x0010;

// A dialog that records what reaches it. `script` runs at the end of
// OnInitDialog and drives the dialog, mostly by posting messages to it.
class ProbeDialog : public CDialog {
 public:
  explicit ProbeDialog(UINT templateId = IDD_PROBE) : CDialog(templateId) {}

  std::function<void(ProbeDialog&)> script;
  std::function<void()> onFirstClick;

  int initCalls = 0;
  int okCalls = 0;
  std::vector<BOOL> exchanges;  // the direction of each data exchange
  bool comboBoundAtInit = false;
  bool statusBoundAtInit = false;
  std::vector<std::string> comboItems;
  int firstClicks = 0;
  int secondClicks = 0;
  std::vector<int> selections;  // the selection seen at each CBN_SELCHANGE
  std::vector<WPARAM> systemCommands;
  int aboutCommands = 0;
  UINT checkedAtOk = 0;
  HWND window = nullptr;
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);

  CComboBox choice;
  CStatic status;

  using CDialog::GetSystemMenu;

 protected:
  CMessageMap GetMessageMap() const override {
    static const CMessageMapEntry entries[] = {
        {WM_COMMAND, IDC_FIRST_RADIO, BN_CLICKED, MessageHandler(&ProbeDialog::OnFirst)},
        {WM_COMMAND, IDC_SECOND_RADIO, BN_CLICKED, MessageHandler(&ProbeDialog::OnSecond)},
        {WM_COMMAND, IDC_CHOICE, CBN_SELCHANGE, MessageHandler(&ProbeDialog::OnChoice)},
        {WM_SYSCOMMAND, 0, 0, MessageHandler(&ProbeDialog::OnSysCommand)},
        {WM_QUERYDRAGICON, 0, 0, MessageHandler(&ProbeDialog::OnQueryDragIcon)},
    };
    return MakeMessageMap(entries);
  }

  void DoDataExchange(CDataExchange* exchange) override {
    exchanges.push_back(exchange->saveAndValidate);
    DDX_Control(exchange, IDC_CHOICE, choice);
    DDX_Control(exchange, IDC_STATUS, status);
  }

  BOOL OnInitDialog() override {
    ++initCalls;
    CDialog::OnInitDialog();
    window = GetSafeHwnd();
    test::StartDialogWatchdog(window);
    comboBoundAtInit = choice.GetSafeHwnd() != nullptr && choice.GetSafeHwnd() == GetDlgItem(IDC_CHOICE);
    statusBoundAtInit = status.GetSafeHwnd() != nullptr && status.GetSafeHwnd() == GetDlgItem(IDC_STATUS);
    for (int i = 0; i < choice.GetCount(); ++i) {
      std::string item(choice.GetLBTextLen(i) + 1, '\0');
      item.resize(choice.GetLBText(i, &item[0]));
      comboItems.push_back(item);
    }
    if (script)
      script(*this);
    return TRUE;
  }

  void OnOK() override {
    ++okCalls;
    checkedAtOk = IsDlgButtonChecked(GetSafeHwnd(), IDC_SECOND_RADIO);
    CDialog::OnOK();
  }

 private:
  LRESULT OnFirst(WPARAM, LPARAM) {
    ++firstClicks;
    if (onFirstClick)
      onFirstClick();
    return 0;
  }
  LRESULT OnSecond(WPARAM, LPARAM) {
    ++secondClicks;
    return 0;
  }
  LRESULT OnChoice(WPARAM, LPARAM) {
    selections.push_back(choice.GetCurSel());
    return 0;
  }
  LRESULT OnSysCommand(WPARAM id, LPARAM) {
    systemCommands.push_back(id);
    if ((id & 0xFFF0) == kAboutCommand)
      ++aboutCommands;
    else
      Default();
    return 0;
  }
  LRESULT OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon); }
};

void PostCommand(CWnd& dialog, int id, int code = BN_CLICKED, HWND control = nullptr) {
  ASSERT_TRUE(dialog.PostMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)));
}

TEST(DialogTest, PostedOkReachesOnOkAndEndsWithIdok) {
  ProbeDialog dialog;
  dialog.script = [](ProbeDialog& d) { PostCommand(d, IDOK); };

  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(1, dialog.initCalls);
  EXPECT_EQ(1, dialog.okCalls);
  EXPECT_TRUE(dialog.comboBoundAtInit);
  EXPECT_TRUE(dialog.statusBoundAtInit);
  // Into the controls at the start, out of them on OK.
  EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE}), dialog.exchanges);
  EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
  EXPECT_FALSE(IsWindow(dialog.window));
}

TEST(DialogTest, CancelCloseBoxAndSystemCloseEndWithIdcancel) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
  } const cases[] = {
      {"Cancel button", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
      {"close box", WM_CLOSE, 0},
      {"system menu Close (left to the system)", WM_SYSCOMMAND, SC_CLOSE},
  };
  for (const auto& c : cases) {
    ProbeDialog dialog;
    dialog.script = [&c](ProbeDialog& d) { ASSERT_TRUE(d.PostMessage(c.message, c.wParam, 0)); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal()) << c.name;
    EXPECT_EQ(0, dialog.okCalls) << c.name;
    EXPECT_EQ((std::vector<BOOL>{FALSE}), dialog.exchanges) << c.name;
  }
}

TEST(DialogTest, TemplateItemsFillTheComboBeforeOnInitDialog) {
  ProbeDialog dialog;
  dialog.script = [](ProbeDialog& d) { PostCommand(d, IDOK); };
  ASSERT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Gamma"}), dialog.comboItems);
}

TEST(DialogTest, ClicksAndSelectionChangesReachTheirHandlers) {
  ProbeDialog dialog;
  dialog.script = [](ProbeDialog& d) {
    // A click on the real control; the control tells its dialog.
    ASSERT_TRUE(PostMessageA(d.GetDlgItem(IDC_SECOND_RADIO), BM_CLICK, 0, 0));
    EXPECT_EQ(1, d.choice.SetCurSel(1));
    PostCommand(d, IDC_CHOICE, CBN_SELCHANGE, d.choice.GetSafeHwnd());
    // The same id with another code is not routed to the click handler.
    PostCommand(d, IDC_FIRST_RADIO, BN_DOUBLECLICKED);
    PostCommand(d, IDOK);
  };

  ASSERT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(0, dialog.firstClicks);
  EXPECT_EQ(1, dialog.secondClicks);
  EXPECT_EQ(UINT{BST_CHECKED}, dialog.checkedAtOk);
  EXPECT_EQ((std::vector<int>{1}), dialog.selections);
}

TEST(DialogTest, SystemMenuIconAndDragIcon) {
  ProbeDialog dialog;
  LRESULT dragIcon = 0;
  HICON replacedFirst = nullptr, replacedSecond = nullptr;
  UINT firstChecked = 0, secondChecked = 0;
  dialog.script = [&](ProbeDialog& d) {
    HMENU menu = d.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, menu);
    ASSERT_TRUE(AppendMenuA(menu, MF_STRING, kAboutCommand, "About..."));
    replacedFirst = d.SetIcon(d.icon, TRUE);
    replacedSecond = d.SetIcon(d.icon, TRUE);
    dragIcon = d.SendMessage(WM_QUERYDRAGICON);
    d.CheckRadioButton(IDC_FIRST_RADIO, IDC_SECOND_RADIO, IDC_FIRST_RADIO);
    firstChecked = IsDlgButtonChecked(d.GetSafeHwnd(), IDC_FIRST_RADIO);
    d.CheckRadioButton(IDC_FIRST_RADIO, IDC_SECOND_RADIO, IDC_SECOND_RADIO);
    secondChecked = IsDlgButtonChecked(d.GetSafeHwnd(), IDC_SECOND_RADIO) +
                    IsDlgButtonChecked(d.GetSafeHwnd(), IDC_FIRST_RADIO);
    // The low four bits of a system command are the system's own.
    ASSERT_TRUE(d.PostMessage(WM_SYSCOMMAND, kAboutCommand | 0x3, 0));
    PostCommand(d, IDOK);
  };

  ASSERT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.icon), dragIcon);
  EXPECT_EQ(nullptr, replacedFirst);
  EXPECT_EQ(dialog.icon, replacedSecond);
  EXPECT_EQ(UINT{BST_CHECKED}, firstChecked);
  EXPECT_EQ(UINT{BST_CHECKED}, secondChecked) << "exactly one of the two checked";
  EXPECT_EQ(1, dialog.aboutCommands);
}

TEST(DialogTest, StaticTextAndComboOperations) {
  ProbeDialog dialog;
  std::string shown;
  int added = -1, selected = -2;
  dialog.script = [&](ProbeDialog& d) {
    EXPECT_TRUE(d.status.SetWindowText("Driver is not active"));
    char text[64] = {};
    d.status.GetWindowText(text, sizeof text);
    shown = text;
    added = d.choice.AddString("Delta");
    EXPECT_EQ(CB_ERR, d.choice.SetCurSel(10));
    d.choice.SetCurSel(3);
    selected = d.choice.GetCurSel();
    PostCommand(d, IDOK);
  };
  ASSERT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ("Driver is not active", shown);
  EXPECT_EQ(3, added);
  EXPECT_EQ(3, selected);
}

TEST(DialogTest, ExceptionFromAHandlerLeavesDoModalAfterTheWindowHasGone) {
  ProbeDialog dialog;
  dialog.onFirstClick = [] { throw std::runtime_error("handler failed"); };
  dialog.script = [](ProbeDialog& d) { PostCommand(d, IDC_FIRST_RADIO); };
  EXPECT_THROW(dialog.DoModal(), std::runtime_error);
  EXPECT_FALSE(IsWindow(dialog.window));

  // The object can run again afterwards.
  dialog.onFirstClick = nullptr;
  dialog.script = [](ProbeDialog& d) { PostCommand(d, IDOK); };
  EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST(DialogTest, PlainDialogAndMissingTemplate) {
  // A dialog with no handlers of its own: OK ends it through the framework.
  struct Plain : CDialog {
    Plain() : CDialog(IDD_PLAIN) {}
    BOOL OnInitDialog() override {
      CDialog::OnInitDialog();
      test::StartDialogWatchdog(GetSafeHwnd());
      PostMessage(WM_COMMAND, IDOK, 0);
      return TRUE;
    }
  } plain;
  EXPECT_EQ(IDOK, plain.DoModal());

  CDialog missing(IDD_MISSING);
  EXPECT_EQ(-1, missing.DoModal());
}

class ProbeApp : public CWinApp {
 public:
  explicit ProbeApp(BOOL result) : result(result) {}
  BOOL InitInstance() override {
    ++calls;
    seenInstance = instanceHandle;
    if (result)
      PostQuitMessage(7);
    return result;
  }
  BOOL result;
  int calls = 0;
  HINSTANCE seenInstance = nullptr;
};

TEST(WinAppTest, RunApplicationCallsTheCurrentApplication) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  {
    ProbeApp app(FALSE);
    EXPECT_EQ(&app, CWinApp::Current());
    EXPECT_EQ(0, RunApplication(module));
    EXPECT_EQ(1, app.calls);
    EXPECT_EQ(module, app.seenInstance);
  }
  {
    ProbeApp app(TRUE);
    EXPECT_EQ(7, RunApplication(module)) << "the loop's WM_QUIT code";
  }
  EXPECT_EQ(nullptr, CWinApp::Current());
  EXPECT_EQ(1, RunApplication(module));
}

TEST(WinAppTest, WinMainOfAProgramRunsItsApplication) {
  const auto result = test::RunProcess("\"" + test::ProgramDir() + "\\framework_entry_probe.exe\"");
  ASSERT_TRUE(result.started);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(0u, result.exitCode);
  EXPECT_EQ("InitInstance of the probe\n", result.output);
}

}  // namespace
