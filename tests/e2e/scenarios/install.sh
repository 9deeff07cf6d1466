# Installing: the unattended install in both languages, and an install that
# finds product files missing.

# A system.ini that loads other drivers: an install must leave it alone.
SEEDED_SYSTEM_INI=$'[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=*vmm\r\ndevice=C:\\WINDOWS\\SYSTEM\\OTHER.VXD\r\n'

scenario install_english_restart_declined Installer.exe
install_english_restart_declined() {
  write_file "$SYSTEM_INI" "$SEEDED_SYSTEM_INI"
  start '"C:\Kestrin\Installer.exe" /install'
  # The install runs from the dialog's own loop: the dialog is up, in
  # English, with Install checked, while it asks.
  wait_window --has-control 1003 --timeout 30
  wait_msgbox --timeout 30
  check_msgbox "Installer" "$QUESTION_AFTER_INSTALL" "6 7" question
  read_dialog "$WINDOW"
  expect_caption "Add/Remove programm Kestrin"
  expect_checked 1000
  expect_unchecked 1001 1002
  # Everything is written before the question.
  expect_installed English
  answer "$MSGBOX" 7
  expect_msgbox "Installer" "Do not forget to reboot you computer." "1" warning 1
  wait_exit --timeout 20
  expect_installed English
  # The install copies nothing and writes no file: the folder and system.ini
  # are as they were.
  expect_product_files Installer.exe Kestrin.htm Kestrin.vxd
  expect_file "$SYSTEM_INI" "$SEEDED_SYSTEM_INI"
  expect_no_file 'C:\windows\system.bak'
  # The company key holds the product's key and nothing else.
  reg_query "$COMPANY_KEY" /s
  local keys
  keys=$(printf '%s\n' "$REG_OUT" | grep '^HKEY' | grep -vx 'HKEY_CURRENT_USER\\SOFTWARE\\Quarnelworks' | tr '\n' ' ')
  [ "$keys" = 'HKEY_CURRENT_USER\SOFTWARE\Quarnelworks\Kestrin ' ] || fail "unexpected keys under $COMPANY_KEY" "only its Kestrin key" "$keys"
}

scenario install_russian Installer.exe
install_russian() {
  codepage 1251
  start '"C:\Kestrin\Installer.exe" /install /lang=ru'
  wait_window --has-control 1003 --timeout 30
  read_dialog "$WINDOW"
  expect_caption "Установка/Удаление программы Kestrin"
  expect_combo 1005 1 English Русский
  expect_msgbox "Программа установки" 'Для завершения процесса установки программы требуется перезагрузить компьютер.\nПерезагрузить его сейчас?' "6 7" question 7 --timeout 30
  expect_msgbox "Программа установки" "Не забудьте перезагрузить компьютер." "1" warning 1
  wait_exit --timeout 20
  expect_installed Russian
}

# A failed install leaves the dialog waiting with Install checked; OK tries
# again, and the message always names exactly the files still missing.
scenario install_missing_files Installer.exe
install_missing_files() {
  local aside
  aside=$E2E_DIR/aside
  mkdir -p "$aside"
  mv "$PRODUCT_DIR/Kestrin.vxd" "$PRODUCT_DIR/Kestrin.htm" "$aside/"
  start '"C:\Kestrin\Installer.exe" /install'
  expect_msgbox "Files existing checking" 'Files are not found:\nKestrin.vxd\nKestrin.htm' "1" error 1 --timeout 30
  wait_window --has-control 1003
  read_dialog "$WINDOW"
  expect_checked 1000
  expect_unchecked 1001 1002
  expect_nothing_installed
  expect_no_reg "$COMPANY_KEY"

  mv "$aside/Kestrin.vxd" "$PRODUCT_DIR/"
  press_ok "$WINDOW"
  expect_msgbox "Files existing checking" 'File is not found:\nKestrin.htm' "1" error 1
  read_dialog "$WINDOW"
  expect_checked 1000
  expect_nothing_installed

  mv "$aside/Kestrin.htm" "$PRODUCT_DIR/"
  rmdir "$aside"
  press_ok "$WINDOW"
  expect_msgbox "Installer" "$QUESTION_AFTER_INSTALL" "6 7" question 7
  expect_msgbox "Installer" "Do not forget to reboot you computer." "1" warning 1
  wait_exit --timeout 20
  expect_installed English
}
