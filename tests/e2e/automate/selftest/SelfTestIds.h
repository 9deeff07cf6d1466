// Control ids of the self-test dialog; the runner's self-test scenario uses
// the same numbers.
#ifndef KESTRIN_TESTS_E2E_AUTOMATE_SELFTEST_SELFTESTIDS_H
#define KESTRIN_TESTS_E2E_AUTOMATE_SELFTEST_SELFTESTIDS_H

#define IDD_SELFTEST       200
#define IDC_FIRST          1000
#define IDC_SECOND         1001
#define IDC_THIRD          1002
#define IDC_STATUS         1003
#define IDC_ACTION_GROUP   1004
#define IDC_LANGUAGE       1005
#define IDC_LANGUAGE_GROUP 1006
#define IDC_COMMAND_LINE   1007
#define IDC_ASK            1010
#define IDC_FAIL           1011

#endif  // KESTRIN_TESTS_E2E_AUTOMATE_SELFTEST_SELFTESTIDS_H
