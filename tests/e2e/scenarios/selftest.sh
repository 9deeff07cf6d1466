# The runner's own self-test: automate.exe against a dialog of ours, so that a
# failing product scenario can be told apart from a broken tool. Every action
# the product scenarios use is here, with its effect checked from outside.

scenario selftest_dialog automate_selftest.exe
selftest_dialog() {
  codepage 1251
  mkdir -p "$(unix_path 'C:\Self Test')"
  cp "$E2E_BIN/automate_selftest.exe" "$(unix_path 'C:\Self Test')/"

  # The command line arrives as given, quotes and blanks included.
  start '"C:\Self Test\automate_selftest.exe" /first "a b"'
  wait_window --has-control 1003 --timeout 30
  read_dialog "$WINDOW"
  expect_caption "Automation self-test"
  expect_control 1003 'Language: English\nSecond line'
  expect_control 1007 '"C:\Self Test\automate_selftest.exe" /first "a b"'
  expect_control 1004 ' Action '
  expect_control 1 OK
  expect_checked 1002
  expect_unchecked 1000 1001
  expect_combo 1005 0 English Русский

  # A radio click moves the check and reaches the dialog's handler (OK
  # records it below).
  click "$WINDOW" 1000
  read_dialog "$WINDOW"
  expect_checked 1000
  expect_unchecked 1001 1002

  # The selection notifies the dialog, which re-labels itself; the Russian
  # texts come through the 1251 code page.
  select_item "$WINDOW" 1005 1
  read_dialog "$WINDOW"
  expect_caption "Проверка автоматизации"
  expect_control 1003 'Язык: русский\nВторая строка'
  expect_combo 1005 1 English Русский

  # Message boxes in order, each read whole (the icon too) and answered.
  click "$WINDOW" 1010
  expect_msgbox "Самопроверка" 'Первая строка\nВторая строка?' "6 7" question 7
  expect_msgbox "Самопроверка" "You answered no." "1" warning 1
  expect_msgbox "Самопроверка" "Recorded." "1" none 1
  click "$WINDOW" 1011
  expect_msgbox "Self-test" "Something failed." "1" error 1
  # The dialog takes a click again at once after a box closes.
  click "$WINDOW" 1010
  expect_msgbox "Самопроверка" 'Первая строка\nВторая строка?' "6 7" question 6
  expect_msgbox "Самопроверка" "You answered yes." "1" information 1
  expect_msgbox "Самопроверка" "Recorded." "1" none 1

  # Back in the dialog; OK records the choices and ends the program.
  read_dialog "$WINDOW"
  expect_checked 1000
  press_ok "$WINDOW"
  # The dialog's result is the program's exit code: IDOK.
  wait_exit --code 1 --timeout 20
  expect_reg 'HKCU\Software\KestrinSelfTest' Action REG_DWORD 0x1
  expect_reg 'HKCU\Software\KestrinSelfTest' Answer REG_SZ yes
  expect_reg 'HKCU\Software\KestrinSelfTest' Language REG_SZ Русский
  expect_no_reg 'HKCU\Software\KestrinSelfTest' Missing
  expect_no_reg 'HKCU\Software\KestrinSelfTest\Missing'
  expect_file 'C:\SELF TEST\result.txt' $'action=1\nanswer=yes\n'
  expect_no_file 'C:\Self Test\missing.txt'

  # Cancel ends a second run without recording anything.
  rm "$(unix_path 'C:\Self Test\result.txt')"
  start '"C:\Self Test\automate_selftest.exe"'
  wait_window --has-control 1003 --timeout 30
  press_cancel "$WINDOW"
  wait_exit --code 2 --timeout 20
  expect_no_file 'C:\Self Test\result.txt'

  # A restart with the session held runs the RunOnce entries at once, and
  # only then.
  wine_run reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v SelfTest /t REG_SZ \
    /d 'cmd /c echo ran>C:\ranonce.txt' /f >/dev/null
  start '"C:\Self Test\automate_selftest.exe"'
  wait_window --has-control 1003 --timeout 30
  press_cancel "$WINDOW"
  wait_exit --code 2 --timeout 20
  expect_no_file 'C:\ranonce.txt'
  restart
  expect_file 'C:\ranonce.txt'
  expect_no_reg 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' SelfTest
}
