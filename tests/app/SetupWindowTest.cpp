// The setup dialog run in the test program itself, where its system menu,
// fonts and focus can be inspected (none can be read from another process).
// The engine's message boxes are recorded, never shown. What the user sees of
// the built program is driven in the end-to-end scenarios.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "app/SetupAction.h"
#include "app/SetupDialog.h"
#include "resources/ResourceIds.h"
#include "tests/support/RecordedSystemCalls.h"
#include "tests/support/WinTestSupport.h"

namespace {

// Runs `inspect` right after the dialog's own start, then cancels it.
class InspectedDialog : public SetupDialog {
 public:
  std::function<void(InspectedDialog&)> inspect;
  BOOL initResult = -1;

 protected:
  BOOL OnInitDialog() override {
    initResult = SetupDialog::OnInitDialog();
    test::StartDialogWatchdog(GetSafeHwnd());
    if (inspect)
      inspect(*this);
    PostMessage(WM_COMMAND, IDCANCEL, 0);
    return initResult;
  }
};

BYTE CharSetOf(HWND window) {
  LOGFONTA font = {};
  HFONT handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (handle == nullptr || GetObjectA(handle, sizeof font, &font) == 0)
    return 0xFF;
  return font.lfCharSet;
}

TEST(SetupWindowTest, SystemMenuEndsWithAboutAndCannotSize) {
  InspectedDialog dialog;
  dialog.inspect = [](InspectedDialog& d) {
    HMENU menu = GetSystemMenu(d.GetSafeHwnd(), FALSE);
    ASSERT_NE(nullptr, menu);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(UINT{MF_SEPARATOR}, GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(UINT{IDM_ABOUTBOX}, GetMenuItemID(menu, count - 1));
    char label[128] = {};
    GetMenuStringA(menu, count - 1, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ("&About KestrinInstaller...", label);
    EXPECT_EQ(UINT(-1), GetMenuState(menu, SC_SIZE, MF_BYCOMMAND)) << "Size is removed";
    EXPECT_EQ(UINT(-1), GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND)) << "Maximize is removed";
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_EQ(FALSE, dialog.initResult) << "the dialog placed the focus itself";
}

TEST(SetupWindowTest, StartsWithTheCheckedActionFocusedAndOneIconEverywhere) {
  InspectedDialog dialog;
  dialog.inspect = [](InspectedDialog& d) {
    HWND window = d.GetSafeHwnd();
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(window, IDC_EXIT), BM_GETCHECK, 0, 0));
    EXPECT_EQ(GetDlgItem(window, IDC_EXIT), GetFocus());
    // The title bar, the task list and dragging show the same icon.
    const LRESULT icon = SendMessageA(window, WM_QUERYDRAGICON, 0, 0);
    EXPECT_NE(0, icon);
    EXPECT_EQ(icon, SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(icon, SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST(SetupWindowTest, LabelsTakeTheLanguagesFontAndTheStatusLineKeepsTheDialogs) {
  InspectedDialog dialog;
  dialog.inspect = [](InspectedDialog& d) {
    HWND window = d.GetSafeHwnd();
    HFONT templateFont = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(window, IDOK), WM_GETFONT, 0, 0));
    const int labelled[] = {IDC_ACTION_GROUP, IDC_INSTALL, IDC_UNINSTALL, IDC_EXIT, IDC_LANGUAGE_GROUP};
    for (int32_t language : {kLanguageRussian, kLanguageEnglish}) {
      const BYTE charSet = language == kLanguageRussian ? RUSSIAN_CHARSET : ANSI_CHARSET;
      d.ApplyLanguage(language);
      for (int id : labelled)
        EXPECT_EQ(charSet, CharSetOf(GetDlgItem(window, id)))
            << "control " << id << ", language " << language;
      EXPECT_EQ(templateFont, reinterpret_cast<HFONT>(
                                  SendMessageA(GetDlgItem(window, IDC_DRIVER_STATUS), WM_GETFONT, 0, 0)))
          << "language " << language;
    }
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST(SetupWindowTest, OkWhileAnActionShowsItsMessageIsIgnored) {
  // An empty folder: the install stops at its missing-files message, and
  // while that box is open the user checks Exit and presses OK.
  test::TempFolder empty{"KestrinEmpty"};
  recorded::Clear();
  InspectedDialog dialog;
  dialog.inspect = [&empty](InspectedDialog& d) {
    d.profile.programFolder = empty.Path().c_str();
    recorded::whileNextBoxIsOpen = [&d] {
      d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED), 0);
      d.SendMessage(WM_COMMAND, IDOK, 0);
    };
    d.SetupAction = ActionInstall;
    d.SendMessage(WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal()) << "the dialog must stay open under the failed install";
  ASSERT_EQ(1u, recorded::messageBoxes.size());
  EXPECT_EQ("Files existing checking", recorded::messageBoxes[0].caption);
  recorded::Clear();
}

}  // namespace
