// SetupAction: what the setup dialog does when OK is pressed.
#ifndef KESTRIN_APP_SETUPACTION_H
#define KESTRIN_APP_SETUPACTION_H

#include <cstdint>

// Values of SetupDialog::SetupAction; each has its radio button.
const int32_t ActionInstall = 1;
const int32_t ActionUninstall = 2;
const int32_t ActionExit = 3;

#endif  // KESTRIN_APP_SETUPACTION_H
