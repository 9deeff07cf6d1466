# The dialog as a user meets it without switches: its texts in both
# languages, the driver's status line, and Exit.

# expect_english_dialog STATUS / expect_russian_dialog STATUS: every text of
# the dialog read in DIALOG. OK, Cancel and the selector's items never change.
expect_english_dialog() {
  expect_caption "Add/Remove programm Kestrin"
  expect_control 1003 "$1"
  expect_control 1004 " Choose action "
  expect_control 1000 Install
  expect_control 1001 Uninstall
  expect_control 1002 Exit
  expect_control 1006 "Choose language"
  expect_control 1 OK
  expect_control 2 Cancel
  expect_combo 1005 0 English Русский
}

expect_russian_dialog() {
  expect_caption "Установка/Удаление программы Kestrin"
  expect_control 1003 "$1"
  expect_control 1004 " Выберите действие "
  expect_control 1000 Установить
  expect_control 1001 Удалить
  expect_control 1002 Выйти
  expect_control 1006 "Выберите язык (Choose language)"
  expect_control 1 OK
  expect_control 2 Cancel
  expect_combo 1005 1 English Русский
}

scenario dialog_languages_exit Installer.exe
dialog_languages_exit() {
  codepage 1251
  start '"C:\Kestrin\Installer.exe"'
  wait_window --has-control 1003 --timeout 30
  read_dialog "$WINDOW"
  expect_english_dialog "Driver Kestrin.vxd is not active now."
  expect_checked 1002
  expect_unchecked 1000 1001

  # The selector re-labels everything and rebuilds the status line; the
  # chosen action stays.
  select_item "$WINDOW" 1005 1
  read_dialog "$WINDOW"
  expect_russian_dialog "Драйвер Kestrin.vxd настоящий момент не активен."
  expect_checked 1002
  select_item "$WINDOW" 1005 0
  read_dialog "$WINDOW"
  expect_english_dialog "Driver Kestrin.vxd is not active now."

  # The radio buttons set the action that OK carries out: Install, then
  # Uninstall, then Exit again, and OK with Exit does nothing at all.
  click "$WINDOW" 1000
  click "$WINDOW" 1001
  read_dialog "$WINDOW"
  expect_checked 1001
  expect_unchecked 1000 1002
  click "$WINDOW" 1002
  read_dialog "$WINDOW"
  expect_checked 1002
  expect_unchecked 1000 1001
  press_ok "$WINDOW"
  wait_exit --timeout 20
  expect_nothing_installed
  expect_no_reg "$COMPANY_KEY"
  expect_product_files Installer.exe Kestrin.htm Kestrin.vxd

  # A language switch ends the command line's part the program reads: the
  # action switch after it runs nothing. The About box from the system menu
  # (its low four bits are the system's own) holds the dialog until it is
  # closed, and Close from the system menu ends the program.
  start '"C:\Kestrin\Installer.exe" /lang=ru /install'
  wait_window --has-control 1003 --timeout 30
  local dialog=$WINDOW
  read_dialog "$dialog"
  expect_russian_dialog "Драйвер Kestrin.vxd настоящий момент не активен."
  expect_checked 1002
  expect_no_msgbox 1.5
  system_command "$dialog" 0x13
  wait_window --caption "About KestrinInstaller"
  read_dialog "$WINDOW"
  expect_control 1 OK
  expect_state "$dialog" disabled
  press_ok "$WINDOW"
  expect_state "$dialog" enabled
  system_command "$dialog" 0xF060
  wait_exit --timeout 20
  expect_nothing_installed

  # The language an install saved is the one the next start shows.
  wine_run reg add "$USER_KEY" /v Language /t REG_SZ /d Russian /f >/dev/null 2>&1
  start '"C:\Kestrin\Installer.exe"'
  wait_window --has-control 1003 --timeout 30
  read_dialog "$WINDOW"
  expect_russian_dialog "Драйвер Kestrin.vxd настоящий момент не активен."
  # Cancel ends it doing nothing.
  press_cancel "$WINDOW"
  wait_exit --timeout 20
  expect_no_reg "$UNINSTALL_KEY"
  expect_no_reg "$VXD_KEY"
}

scenario dialog_driver_active Installer.exe
dialog_driver_active() {
  codepage 1251
  load_driver_double
  start '"C:\Kestrin\Installer.exe"'
  wait_window --has-control 1003 --timeout 30
  read_dialog "$WINDOW"
  expect_english_dialog 'Driver Kestrin.vxd version 1.01 Build 7 is active now.\nYour processor is cooling automatically.'
  select_item "$WINDOW" 1005 1
  read_dialog "$WINDOW"
  expect_russian_dialog 'Драйвер Kestrin.vxd версии 1.01 билд 7 в настоящий момент активен.\nВаш процессор автоматически охлаждается.'

  # Each change of language asks the driver afresh: a driver that answers 0
  # is active at version 0.00 and says nothing of cooling.
  wine_run reg add 'HKLM\System\CurrentControlSet\Services\KestrinTest' /v VersionWord /t REG_DWORD /d 0 /f >/dev/null 2>&1
  select_item "$WINDOW" 1005 0
  read_dialog "$WINDOW"
  expect_english_dialog "Driver Kestrin.vxd version 0.00 Build 0 is active now."
  press_cancel "$WINDOW"
  wait_exit --timeout 20
}
