// The install and uninstall procedures behind ProductProfile::PerformSetup.
#ifndef KESTRIN_ENGINE_SETUPPROCEDURES_H
#define KESTRIN_ENGINE_SETUPPROCEDURES_H

class ProductProfile;

// Both return 1 when the procedure ran to its end (also when the user
// declined the restart) and 0 when it stopped on a failure it has reported
// in a message box. Nothing is rolled back: each step keeps its effect when
// a later one fails.
int InstallProduct(ProductProfile& profile);
int UninstallProduct(ProductProfile& profile);

#endif  // KESTRIN_ENGINE_SETUPPROCEDURES_H
