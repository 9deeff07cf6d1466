# Uninstalling: what goes at once, what waits for the restart, and the two
# simulated restarts that finish the job.

# A system.ini with the driver loaded twice in [386Enh] (any case, any
# folder), beside lines that must stay: other drivers, a name that only ends
# like the driver's, the driver in another section, and a last line without
# its line end.
UNINSTALL_SYSTEM_INI=$'[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=*vmm\r\ndevice=C:\\KESTRIN\\KESTRIN.VXD\r\ndevice=C:\\WINDOWS\\SYSTEM\\OTHER.VXD\r\ndevice=XKESTRIN.VXD\r\nDevice=c:\\kestrin\\kestrin.vxd\r\n[386enh]\r\ndevice=KESTRIN.VXD\r\n[other]\r\ndevice=KESTRIN.VXD'
CLEANED_SYSTEM_INI=$'[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\ndevice=*vmm\r\ndevice=C:\\WINDOWS\\SYSTEM\\OTHER.VXD\r\ndevice=XKESTRIN.VXD\r\n[386enh]\r\ndevice=KESTRIN.VXD\r\n[other]\r\ndevice=KESTRIN.VXD\r\n'

# install_declining: the unattended install in $PRODUCT, restart declined.
install_declining() {
  start "\"$PRODUCT\\Installer.exe\" /install"
  expect_msgbox "Installer" "$QUESTION_AFTER_INSTALL" "6 7" question 7 --timeout 30
  expect_msgbox "Installer" "Do not forget to reboot you computer." "1" warning 1
  wait_exit --timeout 20
}

# expect_helper LIST: $PRODUCT\uninst.exe is the built helper with LIST (and
# its zero byte) written over its list area, every other byte unchanged.
expect_helper() {
  local image=$E2E_BIN/uninst.exe expected=$E2E_DIR/uninst.expected at
  at=$(grep -obUaP 'FileList\x00' "$image" | tail -n1 | cut -d: -f1)
  [ -n "$at" ] || fail "the built helper $image has no list area"
  cp "$image" "$expected"
  printf '%s\0' "$1" | dd of="$expected" bs=1 seek="$at" conv=notrunc status=none
  expect_same_file "$PRODUCT\\uninst.exe" "$expected"
}

# expect_subkeys_without KEY NAME: the key exists and has no subkey NAME
# (compared ignoring case, as the registry does).
expect_subkeys_without() {
  reg_query "$1" || fail "expected registry key $1" "the key" "no such key"
  ! printf '%s\n' "$REG_OUT" | grep -ix "$(printf '%s' "$1\\$2" | sed 's/^HKLM/HKEY_LOCAL_MACHINE/; s/^HKCU/HKEY_CURRENT_USER/; s/[][\.*^$/]/\\&/g')" >/dev/null ||
    fail "expected no registry key $1\\$2" "no such key" "the key"
}

# expect_uninstalled: the registry after an uninstall: the product's entries
# gone, the company's key and the drivers' list kept.
expect_uninstalled() {
  expect_no_reg "$UNINSTALL_KEY"
  expect_subkeys_without "$COMPANY_KEY" Kestrin
  expect_subkeys_without 'HKLM\System\CurrentControlSet\Services\VxD' KESTRIN
}

# expect_deletion_scheduled: uninst.exe in $PRODUCT holds the folder and the
# running Installer.exe, by their short names, and RunOnce starts it by its
# short path.
expect_deletion_scheduled() {
  local folder installer
  short_path "$PRODUCT"
  folder=$SHORT_PATH
  short_path "$PRODUCT\\Installer.exe"
  installer=${SHORT_PATH##*\\}
  expect_helper "$folder"$'\n'"$installer"
  short_path "$PRODUCT\\uninst.exe"
  expect_reg "$RUNONCE_KEY" Kestrin REG_SZ "$SHORT_PATH"
}

scenario uninstall_and_restarts Installer.exe
uninstall_and_restarts() {
  write_file "$SYSTEM_INI" "$UNINSTALL_SYSTEM_INI"
  install_declining
  expect_installed English
  expect_file "$SYSTEM_INI" "$UNINSTALL_SYSTEM_INI"

  # A user's uninstall: the dialog, Uninstall, OK.
  start '"C:\Kestrin\Installer.exe"'
  wait_window --has-control 1003 --timeout 30
  click "$WINDOW" 1001
  press_ok "$WINDOW"
  wait_msgbox
  check_msgbox "Uninstaller" "$QUESTION_AFTER_UNINSTALL" "6 7" question
  # All is done before the question.
  expect_uninstalled
  expect_file "$SYSTEM_INI" "$CLEANED_SYSTEM_INI"
  expect_file 'C:\windows\system.bak' "$UNINSTALL_SYSTEM_INI"
  expect_no_file 'C:\windows\system.$$$'
  expect_product_files Installer.exe uninst.exe
  expect_deletion_scheduled
  answer "$MSGBOX" 7
  expect_msgbox "Uninstaller" "Do not forget to reboot you computer." "1" warning 1
  wait_exit --timeout 20
  expect_product_files Installer.exe uninst.exe

  # The first restart runs the helper: Installer.exe goes; the running helper
  # cannot delete itself or the folder that holds it, and leaves both to the
  # next restart.
  short_path 'C:\Kestrin\Installer.exe'
  local installer=${SHORT_PATH##*\\}
  restart
  expect_no_reg "$RUNONCE_KEY" Kestrin
  expect_product_files uninst.exe
  local said
  said="___ Uninstaller ___
The current directory is: C:\Kestrin
Deleting file $installer... Ok.
Can not delete file C:\Kestrin\uninst.exe: Permission deniedCan not delete directory C:\Kestrin: Directory not empty"
  [ "$RESTART_OUTPUT" = "$said" ] || fail "wrong output of the helper at the restart" "$said" "$RESTART_OUTPUT"
  expect_pending_removal

  # The second leaves nothing of the product (on Windows 9x, its emptied
  # folder); the rest of the system stays.
  restart
  expect_product_removed
  expect_file "$SYSTEM_INI" "$CLEANED_SYSTEM_INI"
  expect_file 'C:\windows\system.bak' "$UNINSTALL_SYSTEM_INI"
  expect_uninstalled
}

# An install run after an uninstall, before the restart, takes back the
# deferred deletion: the restart then leaves the product where it is.
scenario reinstall_before_restart Installer.exe
reinstall_before_restart() {
  install_declining
  start '"C:\Kestrin\Installer.exe" /uninstall'
  expect_msgbox "Uninstaller" "$QUESTION_AFTER_UNINSTALL" "6 7" question 7 --timeout 30
  expect_msgbox "Uninstaller" "Do not forget to reboot you computer." "1" warning 1
  wait_exit --timeout 20
  expect_deletion_scheduled

  # The user puts the files back and installs again.
  cp "$E2E_SOURCE/product/Kestrin.vxd" "$E2E_SOURCE/product/Kestrin.htm" "$PRODUCT_DIR/"
  install_declining
  expect_installed English
  restart
  expect_installed English
  # The helper stays, unscheduled, beside the product.
  expect_product_files Installer.exe Kestrin.htm Kestrin.vxd uninst.exe
}

# A folder whose path has blanks, a read-only product file, and the
# registered uninstall command run as it stands.
scenario uninstall_command_in_folder_with_blanks Installer.exe
uninstall_command_in_folder_with_blanks() {
  rm -rf "$PRODUCT_DIR"
  product_folder 'C:\Program Files\Kestrin Cooler'
  wine_run attrib +r "$PRODUCT\\Kestrin.htm" >/dev/null 2>&1
  # (Wine keeps the attribute as the Unix write permission.)
  [ -z "$(find "$PRODUCT_DIR/Kestrin.htm" -perm /222)" ] ||
    fail "could not make Kestrin.htm read-only" "-r--r--r--" "$(stat -c %A "$PRODUCT_DIR/Kestrin.htm")"
  install_declining
  # The long path where a user reads it, the short one where the system
  # loads the driver.
  expect_installed English
  expect_reg "$UNINSTALL_KEY" UninstallString REG_SZ '"C:\Program Files\Kestrin Cooler\Installer.exe" /uninstall'
  reg_value "$VXD_KEY" StaticVxD
  case $REG_DATA in
    *' '* | 'C:\Program Files'*) fail "StaticVxD should be the short path" "C:\\PROGRA~1\\...\\Kestrin.vxd" "$REG_DATA" ;;
  esac

  # The command starts the uninstall at once, without a click.
  reg_value "$UNINSTALL_KEY" UninstallString
  start "$REG_DATA"
  wait_msgbox --timeout 30
  check_msgbox "Uninstaller" "$QUESTION_AFTER_UNINSTALL" "6 7" question
  wait_window --has-control 1003
  read_dialog "$WINDOW"
  expect_checked 1001
  expect_uninstalled
  expect_product_files Installer.exe uninst.exe
  expect_deletion_scheduled
  reg_value "$RUNONCE_KEY" Kestrin
  case $REG_DATA in
    *' '*) fail "the RunOnce command should be a short path without blanks" "C:\\PROGRA~1\\...\\uninst.exe" "$REG_DATA" ;;
  esac
  answer "$MSGBOX" 7
  expect_msgbox "Uninstaller" "Do not forget to reboot you computer." "1" warning 1
  wait_exit --timeout 20

  restart
  expect_product_files uninst.exe
  restart
  expect_product_removed
  expect_folder 'C:\Program Files'
}
