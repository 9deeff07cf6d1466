// SetupDialog: start-up, labelling, routing and the OK button.
#include "app/SetupDialog.h"

#include "app/AboutDialog.h"
#include "app/CommandLine.h"
#include "app/SetupAction.h"
#include "resources/ResourceIds.h"
#include "tools/Format.h"

static_assert(RT_DIALOG_INIT == kDialogInitResourceType,
              "the resource script must use the framework's dialog-init resource type");
static_assert((IDM_ABOUTBOX & 0xFFF0) == IDM_ABOUTBOX && IDM_ABOUTBOX < 0xF000,
              "a system command of our own: low four bits clear, below the system's range");

namespace {

// Room for the About item's label.
const int kMenuLabelSize = 256;

// Mask of a system command without the four bits the system keeps for itself.
const WPARAM kSystemCommandMask = 0xFFF0;

// Raised for the lifetime of the object.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag(flag) { flag = true; }
  ~RunningFlag() { flag = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag;
};

int RadioButtonOf(int32_t action) {
  switch (action) {
    case ActionInstall:
      return IDC_INSTALL;
    case ActionUninstall:
      return IDC_UNINSTALL;
    default:
      return IDC_EXIT;
  }
}

}  // namespace

SetupDialog::SetupDialog()
    : CDialog(IDD_SETUP_DIALOG),
      SetupAction(ActionExit),
      icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

SetupDialog::~SetupDialog() = default;

CMessageMap SetupDialog::GetMessageMap() const {
  // OK and Cancel are left to the framework: OnOK, and OnCancel ending the
  // dialog.
  static const CMessageMapEntry entries[] = {
      {WM_SYSCOMMAND, 0, 0, MessageHandler(&SetupDialog::OnSysCommand)},
      {WM_PAINT, 0, 0, MessageHandler(&SetupDialog::OnPaint)},
      {WM_QUERYDRAGICON, 0, 0, MessageHandler(&SetupDialog::OnQueryDragIcon)},
      {WM_COMMAND, IDC_INSTALL, BN_CLICKED, MessageHandler(&SetupDialog::OnInstallClicked)},
      {WM_COMMAND, IDC_UNINSTALL, BN_CLICKED, MessageHandler(&SetupDialog::OnUninstallClicked)},
      {WM_COMMAND, IDC_EXIT, BN_CLICKED, MessageHandler(&SetupDialog::OnExitClicked)},
      {WM_COMMAND, IDC_LANGUAGE, CBN_SELCHANGE, MessageHandler(&SetupDialog::OnLanguageChanged)},
  };
  return MakeMessageMap(entries);
}

void SetupDialog::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  DDX_Control(exchange, IDC_LANGUAGE, languageSelector);
  DDX_Control(exchange, IDC_DRIVER_STATUS, statusLine);
}

BOOL SetupDialog::OnInitDialog() {
  CDialog::OnInitDialog();

  AddAboutToSystemMenu();
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  profile.CreateLanguageFonts(GetDlgItem(IDC_ACTION_GROUP));

  const char* commandLine = GetCommandLineA();
  profile.languageIndex = LanguageFromCommandLine(commandLine, profile.languageIndex);
  languageSelector.SetCurSel(profile.languageIndex);
  ApplyLanguage(profile.languageIndex);

  SetupAction = ActionFromCommandLine(commandLine);
  const int radio = RadioButtonOf(SetupAction);
  CheckRadioButton(IDC_INSTALL, IDC_EXIT, radio);
  bool gaveFocus = false;
  if (HWND button = GetDlgItem(radio)) {
    ::SetFocus(button);
    gaveFocus = true;
  }

  // Queued, so OK runs from the modal loop once the dialog is up and shown,
  // as if the user had pressed it.
  if (SetupAction < ActionExit)
    PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return gaveFocus ? FALSE : TRUE;
}

void SetupDialog::AddAboutToSystemMenu() {
  HMENU menu = GetSystemMenu(FALSE);
  if (menu == nullptr)
    return;
  // The label is the same in both languages: taken whole, not through the
  // catalogue's language split.
  char label[kMenuLabelSize] = {};
  if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUT_MENU_ITEM, label, sizeof label) > 0) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, label);
  }
  // The dialog has a fixed size.
  const UINT fixedSize[] = {SC_MAXIMIZE, SC_SIZE};
  for (UINT command : fixedSize) {
    EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
    RemoveMenu(menu, command, MF_BYCOMMAND);
  }
}

void SetupDialog::ApplyLanguage(int32_t index) {
  profile.languageIndex = index;

  SharedString caption;
  FormatText(caption, profile.LoadMessage(IDS_DIALOG_CAPTION).c_str(), profile.productName.c_str());
  profile.ShowText(GetSafeHwnd(), caption.c_str());

  profile.ShowMessage(GetDlgItem(IDC_ACTION_GROUP), IDS_CHOOSE_ACTION);
  profile.ShowMessage(GetDlgItem(IDC_INSTALL), IDS_INSTALL);
  profile.ShowMessage(GetDlgItem(IDC_UNINSTALL), IDS_UNINSTALL);
  profile.ShowMessage(GetDlgItem(IDC_EXIT), IDS_EXIT);
  profile.ShowMessage(GetDlgItem(IDC_LANGUAGE_GROUP), IDS_CHOOSE_LANGUAGE);

  // Without a font of the language: the status line keeps the dialog's.
  statusLine.SetWindowText(profile.DescribeDriverStatus().c_str());
}

void SetupDialog::OnOK() {
  // The engine's message boxes have no owner, so the dialog stays usable
  // under them: an OK then would start the action a second time inside the
  // first, or (with Exit checked meanwhile) close the dialog under it.
  if (actionRunning)
    return;
  if (SetupAction != ActionInstall && SetupAction != ActionUninstall) {
    CDialog::OnOK();
    return;
  }
  RunningFlag running(actionRunning);
  if (profile.PerformSetup(SetupAction == ActionInstall ? 1 : 0) != 0)
    CDialog::OnOK();
}

LRESULT SetupDialog::OnSysCommand(WPARAM command, LPARAM) {
  if ((command & kSystemCommandMask) == IDM_ABOUTBOX) {
    AboutDialog about(this);
    about.DoModal();
  } else {
    Default();
  }
  return 0;
}

LRESULT SetupDialog::OnPaint(WPARAM, LPARAM) {
  if (!IsIconic()) {
    Default();
    return 0;
  }
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(GetSafeHwnd(), &paint);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(&client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon);
  EndPaint(GetSafeHwnd(), &paint);
  return 0;
}

LRESULT SetupDialog::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon); }

LRESULT SetupDialog::OnInstallClicked(WPARAM, LPARAM) {
  SetupAction = ActionInstall;
  return 0;
}

LRESULT SetupDialog::OnUninstallClicked(WPARAM, LPARAM) {
  SetupAction = ActionUninstall;
  return 0;
}

LRESULT SetupDialog::OnExitClicked(WPARAM, LPARAM) {
  SetupAction = ActionExit;
  return 0;
}

LRESULT SetupDialog::OnLanguageChanged(WPARAM, LPARAM) {
  ApplyLanguage(languageSelector.GetCurSel());
  return 0;
}
