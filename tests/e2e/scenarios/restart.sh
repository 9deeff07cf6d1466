# The restart answered Yes. Under Wine, ExitWindowsEx(EWX_REBOOT) returns
# TRUE, ends no process and restarts at once: the RunOnce entries run right
# away, while the session goes on. So Yes is followed through to its effects.

# probe_ran: the probe entry of RunOnce has run.
probe_ran() { [ -f "$(unix_path 'C:\probe.txt')" ]; }
# helper_ran: the deletion helper has taken the files it was given.
helper_ran() { [ "$(ls -A "$PRODUCT_DIR")" = uninst.exe ]; }

scenario restart_accepted Installer.exe
restart_accepted() {
  # An entry that a restart would run, and the install leaves alone.
  wine_run reg add "$RUNONCE_KEY" /v Probe /t REG_SZ /d 'cmd /c echo ran>C:\probe.txt' /f >/dev/null 2>&1
  start '"C:\Kestrin\Installer.exe" /install'
  expect_msgbox "Installer" "$QUESTION_AFTER_INSTALL" "6 7" question 6 --timeout 30
  # No reminder after Yes: the program ends by itself.
  wait_exit --timeout 20
  expect_installed English
  wait_until 20 "the RunOnce entries run at once" probe_ran
  expect_no_reg "$RUNONCE_KEY" Probe
  processes --pid "$E2E_IDLE_PID"
  [ -n "$PROCESSES" ] || fail "the restart should leave the session's processes alone" "process $E2E_IDLE_PID running" "it has ended"

  # Yes after an uninstall runs the helper at once: it deletes the setup
  # program, which has ended by then, and leaves itself and the folder to
  # the next restart.
  start '"C:\Kestrin\Installer.exe" /uninstall'
  expect_msgbox "Uninstaller" "$QUESTION_AFTER_UNINSTALL" "6 7" question 6 --timeout 30
  wait_exit --timeout 20
  wait_until 20 "the helper to delete Installer.exe" helper_ran
  expect_no_reg "$RUNONCE_KEY" Kestrin
  expect_no_reg "$UNINSTALL_KEY"
  expect_pending_removal
  restart
  expect_product_removed
}
