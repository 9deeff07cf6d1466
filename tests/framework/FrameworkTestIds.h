// Resource and control ids of the framework tests' own dialog templates.
#ifndef KESTRIN_TESTS_FRAMEWORK_FRAMEWORKTESTIDS_H
#define KESTRIN_TESTS_FRAMEWORK_FRAMEWORKTESTIDS_H

#define IDD_PROBE   200
#define IDD_PLAIN   201
#define IDD_MISSING 299

#define IDC_FIRST_RADIO  301
#define IDC_SECOND_RADIO 302
#define IDC_CHOICE       303
#define IDC_STATUS       304

#endif  // KESTRIN_TESTS_FRAMEWORK_FRAMEWORKTESTIDS_H
