// AboutDialog: the About box on its template.
#include "app/AboutDialog.h"

#include "resources/ResourceIds.h"

AboutDialog::AboutDialog(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}
