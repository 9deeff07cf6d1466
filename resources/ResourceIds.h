/* ResourceIds: identifiers of the setup program's resources (its string
   table, dialogs, icon and helper image), shared by Installer.rc and the
   code. Plain macros only: the resource compiler reads this file too. */
#ifndef KESTRIN_RESOURCES_RESOURCEIDS_H
#define KESTRIN_RESOURCES_RESOURCEIDS_H

/* String table. Each message but 101 holds the English and the Russian
   wording, separated by the byte 0x01. */
#define IDS_ABOUT_MENU_ITEM        101 /* one segment: the same in both languages */
#define IDS_CHOOSE_ACTION          104
#define IDS_DIALOG_CAPTION         105 /* %s: product name */
#define IDS_INSTALL                106
#define IDS_UNINSTALL              107
#define IDS_EXIT                   108
#define IDS_CHOOSE_LANGUAGE        109
#define IDS_DRIVER_ACTIVE          110 /* %s driver, %d.%02d version, %d build */
#define IDS_DRIVER_NOT_ACTIVE      111 /* %s driver */
#define IDS_COOLING_AUTOMATICALLY  112
#define IDS_FILES_CHECK_CAPTION    113
#define IDS_FILE_NOT_FOUND         114
#define IDS_FILES_NOT_FOUND        115
#define IDS_REGISTRY_ERROR_CAPTION 116
#define IDS_INSTALLER_CAPTION      117
#define IDS_UNINSTALLER_CAPTION    118
#define IDS_REBOOT_AFTER_INSTALL   119
#define IDS_REMEMBER_TO_REBOOT     120
#define IDS_DELETE_LIST_TOO_LONG   121
#define IDS_REBOOT_AFTER_UNINSTALL 122
#define IDS_CANNOT_CREATE_FILE     123

/* Dialog templates and the application icon. */
#define IDD_ABOUTBOX     100
#define IDD_SETUP_DIALOG 102
#define IDR_MAINFRAME    128

/* Controls of the setup dialog. The three radio buttons must stay in this
   order: the dialog checks them as a range. */
#define IDC_INSTALL        1000
#define IDC_UNINSTALL      1001
#define IDC_EXIT           1002
#define IDC_DRIVER_STATUS  1003
#define IDC_ACTION_GROUP   1004
#define IDC_LANGUAGE       1005
#define IDC_LANGUAGE_GROUP 1006

/* Controls the code never addresses (the About box's texts and icon). */
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* The About item the setup dialog adds to its system menu. System commands
   keep their low four bits for the system, so it must be a multiple of 16. */
#define IDM_ABOUTBOX 0x0010

/* Resource type of a dialog's initial control items (the framework's
   kDialogInitResourceType), and the message each record sends. */
#define RT_DIALOG_INIT           240
#define DIALOG_INIT_CB_ADDSTRING 0x0143

/* The deletion helper uninst.exe, carried as RT_RCDATA and written into the
   product folder on uninstall with its list filled in. */
#define IDR_HELPER_IMAGE 133

#endif /* KESTRIN_RESOURCES_RESOURCEIDS_H */
