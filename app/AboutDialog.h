// AboutDialog: the About box the setup dialog opens from its system menu.
#ifndef KESTRIN_APP_ABOUTDIALOG_H
#define KESTRIN_APP_ABOUTDIALOG_H

#include "framework/Dialog.h"

// A plain dialog on template IDD_ABOUTBOX: its OK and close box end it.
class AboutDialog : public CDialog {
 public:
  // `parent` is disabled while the box is shown.
  explicit AboutDialog(CWnd* parent = nullptr);
};

#endif  // KESTRIN_APP_ABOUTDIALOG_H
