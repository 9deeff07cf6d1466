// SetupDialog: the setup program's one window. The user (or the command
// line) chooses install, uninstall or exit and a language; OK hands the
// action to the installation engine.
#ifndef KESTRIN_APP_SETUPDIALOG_H
#define KESTRIN_APP_SETUPDIALOG_H

#include <windows.h>

#include <cstdint>

#include "app/ProductProfile.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class SetupDialog : public CDialog {
 public:
  // Builds the profile (which reads the saved language) and loads the icon;
  // no window exists yet.
  SetupDialog();
  ~SetupDialog() override;

  // Makes `index` the language and labels the caption, the group boxes and
  // the radio buttons in it, then rebuilds the driver status line (asking
  // the driver afresh).
  void ApplyLanguage(int32_t index);

  int32_t SetupAction;         // ActionInstall, ActionUninstall or ActionExit
  ProductProfile profile;      // the product and the language state
  CComboBox languageSelector;  // item index = language index
  CStatic statusLine;          // the driver status
  HICON icon;                  // the application icon, shared, not destroyed

 protected:
  CMessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* exchange) override;
  // Adds About to the system menu, reads the command line, labels the
  // dialog and checks the action's radio button, which gets the focus
  // (hence false). An action switch posts OK to the dialog.
  BOOL OnInitDialog() override;
  // Runs the chosen action; the dialog ends when it finished and stays open
  // when it stopped early (the engine has then shown why). Exit ends at once.
  void OnOK() override;

 private:
  LRESULT OnSysCommand(WPARAM command, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnInstallClicked(WPARAM, LPARAM);
  LRESULT OnUninstallClicked(WPARAM, LPARAM);
  LRESULT OnExitClicked(WPARAM, LPARAM);
  LRESULT OnLanguageChanged(WPARAM, LPARAM);

  void AddAboutToSystemMenu();

  // True while an action runs: the engine's message boxes have no owner, so
  // the dialog stays usable under them and could start a second run.
  bool actionRunning = false;
};

#endif  // KESTRIN_APP_SETUPDIALOG_H
