# The helpers that scenarios are written with. Sourced by tests/e2e/run in the
# shell that runs one scenario; that shell has:
#   WINEPREFIX  the scenario's own prefix (a copy of the run's pristine one)
#   E2E_NAME    the scenario's name;  E2E_DIR  its folder (log, screenshot)
#   E2E_BIN     the build tree's bin folder (Installer.exe, automate.exe, ...)
#   E2E_SOURCE  tests/e2e
#
# Every helper either does what it says or calls fail, which records what was
# expected and what was seen and ends the scenario. Helpers that learn
# something set variables (WINDOW, DIALOG, MSGBOX_TEXT, ...) rather than print
# it: a failure inside $(...) would end only the subshell.
#
# Texts are compared in UTF-8, written the way automate.exe prints them: a line
# feed as \n, a carriage return as \r, a tab as \t; every other backslash is a
# literal backslash. Texts that the programs show are converted from the
# scenario's ANSI code page (see codepage) before they are compared.

E2E_LC=${E2E_LC:-en_US.UTF-8}
E2E_CP=${E2E_CP:-1252}
# Bound of one wine call that is not itself a wait of automate.exe.
E2E_WINE_LIMIT=${E2E_WINE_LIMIT:-60}
# The process that message boxes and windows are looked for in; set by start.
TARGET=()

log_step() { printf '%(%T)T  %s\n' -1 "$*"; }

# fail WHAT [EXPECTED SEEN]: ends the scenario with a message that the runner
# prints. With three arguments the message shows expected and seen side by
# side, each on its own line.
fail() {
  local msg=$1
  if [ $# -ge 3 ]; then
    msg+=$'\n'"  expected: $2"$'\n'"  seen:     $3"
  fi
  printf '%s\n' "$msg" >>"$E2E_DIR/failure.txt"
  printf 'FAILED: %s\n' "$msg" >&2
  exit 1
}

# codepage 1251|1252: the ANSI code page of every Wine program started from
# now on in this scenario (Wine takes it from the locale's name); the next
# request to automate.exe starts one in this code page.
codepage() {
  case $1 in
    1251) E2E_LC=ru_RU.CP1251 E2E_CP=1251 ;;
    1252) E2E_LC=en_US.UTF-8 E2E_CP=1252 ;;
    *) fail "codepage: unknown code page $1" ;;
  esac
}

# to_utf8 CP: converts standard input; bytes that the code page does not
# define are kept as they are, so that a wrong byte shows rather than vanishes.
to_utf8() {
  local in
  in=$(mktemp)
  cat >"$in"
  iconv -f "CP$1" -t UTF-8 "$in" 2>/dev/null || cat "$in"
  rm -f "$in"
}

# wine_run ARGS...: a Wine program in the scenario's locale, bounded.
wine_run() {
  timeout --kill-after=5 "$E2E_WINE_LIMIT" env LC_ALL="$E2E_LC" wine "$@"
}

# ---- windows ---------------------------------------------------------------

# nonascii TEXT: whether TEXT holds a byte above 127 (then it needs iconv;
# the test runs a Unix program as seldom as it can: on the emulated machine
# each costs a tenth of a second).
nonascii() {
  local LC_ALL=C
  [[ $1 == *[$'\x80'-$'\xff']* ]]
}

# automate ARGS...: a request to the scenario's automate.exe (hold_session);
# its output (UTF-8) is in AUTOMATE_OUT. A failed wait or action fails the
# scenario with automate's own account of what it expected and saw.
automate() {
  # Bytes, not characters: in a UTF-8 locale bash matches no pattern after a
  # line that is not UTF-8 (the code page's texts) has been read.
  local LC_ALL=C
  [ -n "${AUTOMATE_TO:-}" ] && [ "$AUTOMATE_LC" = "$E2E_LC" ] || hold_session
  local began=${EPOCHREALTIME/./} request= arg line out= msg= rc= n=0
  for arg; do
    case $arg in *[$'\t\n']*) fail "automate $1: an argument holds a tab or a line feed: $arg" ;; esac
    [ $((n++)) -eq 0 ] && request=$arg || request+=$'\t'$arg
  done
  printf '%s\n' "$request" >&"$AUTOMATE_TO"
  # automate.exe bounds its own waits; this bound only catches Wine hanging.
  while IFS= read -r -t "$E2E_WINE_LIMIT" line <&"$AUTOMATE_FROM"; do
    case $line in
      '#end '*) rc=${line#'#end '} && break ;;
      '#! '*) msg+=${msg:+$'\n'}${line#'#! '} ;;
      *) out+=${out:+$'\n'}$line ;;
    esac
  done
  if nonascii "$out$msg"; then
    out=$(printf '%s' "$out" | to_utf8 "$E2E_CP")
    msg=$(printf '%s' "$msg" | to_utf8 "$E2E_CP")
  fi
  AUTOMATE_OUT=$out
  printf '%(%T)T %5sms  automate %s\n' -1 $(((${EPOCHREALTIME/./} - began) / 1000)) "$*" >>"$E2E_DIR/automate.log"
  [ -z "$out" ] || printf '      %s\n' "${out//$'\n'/$'\n'      }" >>"$E2E_DIR/automate.log"
  [ -n "$rc" ] || fail "automate $1: no answer within ${E2E_WINE_LIMIT}s"
  [ "$rc" -eq 0 ] || fail "automate $1: ${msg:-ended with status $rc: $out}"
}

# field N LINE: the Nth tab-separated field of LINE's first line (texts are
# last and hold no tab).
field() {
  local rest=${2%%$'\n'*} i
  for ((i = 1; i < $1; i++)); do
    [[ $rest == *$'\t'* ]] || return 0
    rest=${rest#*$'\t'}
  done
  printf '%s' "${rest%%$'\t'*}"
}

# start COMMAND-LINE [--dir WINDOWS-FOLDER]: starts a program with exactly
# this command line (quote its path when it has blanks). Sets PID and makes
# the new process the TARGET of the waits that follow.
start() {
  local line=$1
  shift
  automate start "$line" "$@"
  PID=$(field 2 "$AUTOMATE_OUT")
  TARGET=(--pid "$PID")
  log_step "started $line (pid $PID)"
}

# target --pid N | --image NAME: the process the waits look at.
target() { TARGET=("$@"); }

need_target() {
  [ ${#TARGET[@]} -gt 0 ] || fail "no target process: call start or target first"
}

# wait_window [--class C] [--caption T] [--caption-part T] [--has-control ID]
#             [--timeout S]: the target's visible window (not a message box).
# Sets WINDOW, WINDOW_CLASS, WINDOW_CAPTION.
wait_window() {
  need_target
  automate wait-window "${TARGET[@]}" "$@"
  WINDOW=$(field 2 "$AUTOMATE_OUT")
  WINDOW_CLASS=$(field 3 "$AUTOMATE_OUT")
  WINDOW_CAPTION=$(field 4 "$AUTOMATE_OUT")
}

# read_dialog HWND: sets DIALOG (automate's listing) and CAPTION.
read_dialog() {
  automate read "$1"
  DIALOG=$AUTOMATE_OUT
  CAPTION=$(field 4 "${DIALOG%%$'\n'*}")
}

# The line of control ID in DIALOG; fails when there is none.
control_line() {
  local line LC_ALL=C
  while IFS= read -r line; do
    [[ $line == "control"$'\t'"$1"$'\t'* ]] && break
    line=
  done <<<"$DIALOG"
  [ -n "$line" ] || fail "expected a control $1 in the dialog" "control $1" "$(printf '%s\n' "$DIALOG" | cut -f2,3 | tr '\t\n' ' ;')"
  CONTROL_LINE=$line
}

# control_text ID: sets CONTROL_TEXT and CONTROL_STATE from DIALOG.
control_text() {
  control_line "$1"
  CONTROL_STATE=$(field 4 "$CONTROL_LINE")
  CONTROL_TEXT=$(field 5 "$CONTROL_LINE")
}

expect_caption() {
  [ "$CAPTION" = "$1" ] || fail "wrong dialog caption" "\"$1\"" "\"$CAPTION\""
}

expect_control() {
  control_text "$1"
  [ "$CONTROL_TEXT" = "$2" ] || fail "wrong text of control $1" "\"$2\"" "\"$CONTROL_TEXT\""
}

# expect_checked ID...: these buttons are checked; expect_unchecked likewise.
expect_checked() { expect_button_state checked "should be checked" "$@"; }

expect_unchecked() { expect_button_state unchecked "should not be checked" "$@"; }

# expect_button_state STATE WHAT ID...: each button's state is STATE; else
# the failure says "control ID WHAT".
expect_button_state() {
  local state=$1 what=$2 id
  shift 2
  for id; do
    control_text "$id"
    [ "${CONTROL_STATE%%,*}" = "$state" ] || fail "control $id $what" "$state" "$CONTROL_STATE"
  done
}

# expect_combo ID SELECTED ITEM...: the selected index and every item.
expect_combo() {
  local id=$1 sel=$2
  shift 2
  control_text "$id"
  [ "${CONTROL_STATE%%,*}" = "sel=$sel" ] || fail "wrong selection in combo box $id" "sel=$sel" "$CONTROL_STATE"
  local want seen
  want=$(printf '%s\n' "$@")
  seen=$(printf '%s\n' "$DIALOG" | awk -F'\t' -v id="$id" '$1 == "item" && $2 == id { print $4 }')
  [ "$seen" = "$want" ] || fail "wrong items in combo box $id" "$(printf '%s' "$want" | tr '\n' '|')" "$(printf '%s' "$seen" | tr '\n' '|')"
}

click() { automate click "$1" "$2"; }
select_item() { automate select "$1" "$2" "$3"; }
press_ok() { automate ok "$1"; }
press_cancel() { automate cancel "$1"; }
# system_command HWND CODE: as the window's system menu would (0xF060 Close).
system_command() { automate syscommand "$1" "$2"; }

# expect_state HWND enabled|disabled: the window comes to take input, or to
# refuse it while a modal box it owns is open (bounded wait).
expect_state() { automate state "$1" --until "$2" --timeout 10; }

# wait_msgbox [--timeout S]: the target's next message box. Sets MSGBOX,
# MSGBOX_CAPTION, MSGBOX_TEXT, MSGBOX_BUTTONS ("6 7": IDYES IDNO) and
# MSGBOX_ICON (none, error, warning, question, information or other).
wait_msgbox() {
  need_target
  automate wait-msgbox "${TARGET[@]}" "$@"
  local line key value
  MSGBOX= MSGBOX_CAPTION= MSGBOX_TEXT= MSGBOX_BUTTONS= MSGBOX_ICON=
  while IFS= read -r line; do
    key=${line%%$'\t'*}
    value=${line#*$'\t'}
    case $key in
      msgbox) MSGBOX=$value ;;
      caption) MSGBOX_CAPTION=$value ;;
      text) MSGBOX_TEXT=$value ;;
      buttons) MSGBOX_BUTTONS=$value ;;
      icon) MSGBOX_ICON=$value ;;
    esac
  done <<<"$AUTOMATE_OUT"
}

answer() { automate answer "$1" "$2"; }

# expect_no_msgbox SECONDS: the target opens no new message box meanwhile.
expect_no_msgbox() {
  need_target
  automate no-msgbox "${TARGET[@]}" --timeout "$1"
}

# expect_msgbox CAPTION TEXT BUTTONS ICON ANSWER [--timeout S]: waits for the
# target's next message box, checks it whole, then answers it with the button
# ANSWER. ICON as in wait_msgbox: MB_ICONERROR shows error, MB_ICONWARNING
# warning, MB_ICONQUESTION question, a plain MB_OK none. A box that differs is
# left open for the screenshot.
expect_msgbox() {
  local caption=$1 text=$2 buttons=$3 icon=$4 reply=$5
  shift 5
  wait_msgbox "$@"
  check_msgbox "$caption" "$text" "$buttons" "$icon"
  answer "$MSGBOX" "$reply"
  log_step "message box \"$MSGBOX_CAPTION\": \"$MSGBOX_TEXT\" answered $reply"
}

# check_msgbox CAPTION TEXT BUTTONS ICON: the box that wait_msgbox found, as
# in expect_msgbox, left open (to look at the system while it asks).
check_msgbox() {
  local caption=$1 text=$2 buttons=$3 icon=$4
  [ "$MSGBOX_CAPTION" = "$caption" ] || fail "wrong message box caption (text \"$MSGBOX_TEXT\")" "\"$caption\"" "\"$MSGBOX_CAPTION\""
  [ "$MSGBOX_TEXT" = "$text" ] || fail "wrong message box text (caption \"$MSGBOX_CAPTION\")" "\"$text\"" "\"$MSGBOX_TEXT\""
  [ "$MSGBOX_BUTTONS" = "$buttons" ] || fail "wrong message box buttons (text \"$MSGBOX_TEXT\")" "$buttons" "$MSGBOX_BUTTONS"
  [ "$MSGBOX_ICON" = "$icon" ] || fail "wrong message box icon (text \"$MSGBOX_TEXT\")" "icon $icon" "icon $MSGBOX_ICON"
}

# wait_until SECONDS WHAT COMMAND...: polls the shell command until it
# succeeds; fails saying WHAT did not happen within the time. For effects
# that come from outside the target (e.g. programs the system starts).
wait_until() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$(($(date +%s%N) + seconds * 1000000000))
  until "$@" 2>/dev/null; do
    [ "$(date +%s%N)" -lt $deadline ] || fail "expected $what within ${seconds}s" "$what" "not yet"
    sleep 0.2
  done
}

# wait_exit [--code N] [--timeout S]: the target process has ended; one that
# start started, with exit code N (default 0: a crash is no clean end).
wait_exit() {
  need_target
  local want=0
  if [ "${1:-}" = --code ]; then
    want=$2
    shift 2
  fi
  automate wait-exit "${TARGET[@]}" "$@"
  local code
  code=$(field 3 "$AUTOMATE_OUT")
  [ -z "$code" ] || [ "$code" = "$want" ] || fail "process ${TARGET[1]} ended with another exit code" "exit code $want" "exit code $code"
}

# ---- registry --------------------------------------------------------------

# reg_query KEY [/v NAME | /s]: sets REG_OUT to the listing, as reg query
# prints it; returns 1 when the key (or the value) does not exist.
reg_query() {
  automate reg "$@"
  REG_OUT=$AUTOMATE_OUT
  [ "$REG_OUT" != absent ]
}

# reg_value KEY NAME: sets REG_TYPE and REG_DATA; returns 1 when the value (or
# its key) does not exist.
reg_value() {
  REG_TYPE= REG_DATA=
  reg_query "$1" /v "$2" || return 1
  value_in_listing "$REG_OUT" "$2"
}

# value_in_listing LISTING NAME: REG_TYPE and REG_DATA of a value in what
# reg query printed; returns 1 when it is not there.
value_in_listing() {
  REG_TYPE= REG_DATA=
  local line
  line=$(printf '%s\n' "$1" | grep -m1 "^    $(printf '%s' "$2" | sed 's/[][\.*^$/]/\\&/g')    REG_") || return 1
  line=${line#"    $2    "}
  REG_TYPE=${line%%"    "*}
  REG_DATA=${line#"$REG_TYPE    "}
  [ "$REG_DATA" = "$line" ] && REG_DATA=
  return 0
}

# expect_reg KEY NAME TYPE DATA: the value exists with this type and data
# (DATA as reg query prints it: 0x1 for a REG_DWORD of 1).
expect_reg() {
  reg_value "$1" "$2" || fail "expected registry value $1\\$2" "$3 \"$4\"" "no such value"
  [ "$REG_TYPE $REG_DATA" = "$3 $4" ] || fail "wrong registry value $1\\$2" "$3 \"$4\"" "$REG_TYPE \"$REG_DATA\""
}

# expect_values KEY NAME TYPE DATA [NAME TYPE DATA]...: several values of one
# key, as expect_reg, read with one query.
expect_values() {
  local key=$1 listing
  shift
  reg_query "$key" || fail "expected registry key $key" "the key" "no such key"
  listing=$REG_OUT
  while [ $# -ge 3 ]; do
    value_in_listing "$listing" "$1" || fail "expected registry value $key\\$1" "$2 \"$3\"" "no such value"
    [ "$REG_TYPE $REG_DATA" = "$2 $3" ] || fail "wrong registry value $key\\$1" "$2 \"$3\"" "$REG_TYPE \"$REG_DATA\""
    shift 3
  done
}

# expect_no_reg KEY [NAME]: the value (or, without NAME, the key) is absent.
expect_no_reg() {
  if [ $# -ge 2 ]; then
    reg_value "$1" "$2" && fail "expected no registry value $1\\$2" "no such value" "$REG_TYPE \"$REG_DATA\""
  else
    reg_query "$1" && fail "expected no registry key $1" "no such key" "$(printf '%s' "$REG_OUT" | tr '\n' ' ')"
  fi
  return 0
}

expect_reg_key() {
  reg_query "$1" || fail "expected registry key $1" "the key" "no such key"
}

# ---- files -----------------------------------------------------------------

# unix_path 'C:\Some\Path': the file in the scenario's prefix. Wine's files
# are case-insensitive: each existing part is found whatever its case; parts
# that do not exist are kept as written.
unix_path() {
  local win=$1 drive rest dir part match
  drive=${win%%:*}
  rest=${win#*:}
  case ${drive,,} in
    c) dir=$WINEPREFIX/drive_c ;;
    *) dir=$(readlink -f "$WINEPREFIX/dosdevices/${drive,,}:") ;;
  esac
  local IFS='\'
  for part in $rest; do
    [ -z "$part" ] && continue
    if [ -e "$dir/$part" ]; then
      dir=$dir/$part
    else
      match=$(find "$dir" -mindepth 1 -maxdepth 1 -iname "$part" -print -quit 2>/dev/null)
      dir=${match:-$dir/$part}
    fi
  done
  printf '%s\n' "$dir"
}

# expect_file 'C:\...' [CONTENT]: the file exists (with exactly these bytes;
# CONTENT is taken literally, write $'...' for line ends).
expect_file() {
  local f
  f=$(unix_path "$1")
  [ -f "$f" ] || fail "expected file $1" "the file" "$( [ -e "$f" ] && echo "not a file" || echo "no such file")"
  if [ $# -ge 2 ]; then
    local seen
    seen=$(cat "$f"; printf x)
    seen=${seen%x}
    [ "$seen" = "$2" ] || fail "wrong content of $1" "$(printf '%q' "$2")" "$(printf '%q' "$seen")"
  fi
  return 0
}

# expect_same_file 'C:\...' LOCAL-FILE: byte for byte the same.
expect_same_file() {
  local f
  f=$(unix_path "$1")
  [ -f "$f" ] || fail "expected file $1" "a copy of $2" "no such file"
  cmp -s "$f" "$2" || fail "$1 differs from $2" "$(stat -c %s "$2") bytes" "$(stat -c %s "$f") bytes, first difference: $(cmp "$f" "$2" 2>&1 | head -n1)"
}

# windows9x: whether the scenario's prefix reports Windows 95, 98 or Me
# (tests/e2e/run --windows), whose start removes the files named in
# WININIT.INI and never a folder.
windows9x() {
  case ${E2E_WINDOWS:-} in win95 | win98 | winme) return 0 ;; esac
  return 1
}

# expect_pending_removal: the helper waits to be deleted at the next restart,
# and after it the product folder: in PendingFileRenameOperations, or on
# Windows 9x the helper alone, by its short path, in WININIT.INI.
expect_pending_removal() {
  local pending='HKLM\System\CurrentControlSet\Control\Session Manager'
  if windows9x; then
    short_path "$PRODUCT\\uninst.exe"
    expect_file 'C:\windows\WININIT.INI' "[rename]"$'\r\n'"NUL=$SHORT_PATH"$'\r\n'
    expect_no_reg "$pending" PendingFileRenameOperations
    return
  fi
  reg_value "$pending" PendingFileRenameOperations ||
    fail "expected the helper and the folder scheduled for deletion" "PendingFileRenameOperations" "no such value"
  case $REG_DATA in
    *"$PRODUCT\\uninst.exe"*"$PRODUCT"*) ;;
    *) fail "expected the helper and then the folder scheduled for deletion" "$PRODUCT\\uninst.exe, then $PRODUCT" "$REG_DATA" ;;
  esac
}

# expect_product_removed: after the restart that carries out the pending
# removal, nothing of the product folder is left; on Windows 9x the folder
# itself stays, empty, and WININIT.INI has become WININIT.BAK.
expect_product_removed() {
  if windows9x; then
    expect_folder "$PRODUCT"
    expect_product_files
    expect_no_file 'C:\windows\WININIT.INI'
    expect_file 'C:\windows\WININIT.BAK'
    return
  fi
  expect_no_file "$PRODUCT"
}

expect_no_file() {
  local f
  f=$(unix_path "$1")
  [ ! -e "$f" ] || fail "expected no $1" "nothing" "$( [ -d "$f" ] && echo "a folder holding: $(ls -A "$f" | tr '\n' ' ')" || echo "a file of $(stat -c %s "$f") bytes")"
}

expect_folder() {
  local f
  f=$(unix_path "$1")
  [ -d "$f" ] || fail "expected folder $1" "the folder" "no such folder"
}

# write_file 'C:\...' CONTENT: makes the folders and the file.
write_file() {
  local f
  f=$(unix_path "$1")
  mkdir -p "$(dirname "$f")"
  printf '%s' "$2" >"$f"
}

# The Windows folder's system.ini (written with CR LF by the caller's text).
SYSTEM_INI='C:\windows\system.ini'

# ---- the product and the session -------------------------------------------

# hold_session: starts the scenario's automate.exe, which answers the
# requests of automate for the rest of the scenario (one Wine start pays for
# them all) and holds one Wine session meanwhile. Wine runs the RunOnce
# entries whenever a session starts: this way only the scenario's own restart
# runs them. A new one (for another code page) starts before the old one
# ends, so the session goes on. Sets E2E_IDLE_PID (its Windows process id)
# and SESSION_PID (the Unix one); wineserver -k of the prefix ends it.
hold_session() {
  local old_to=${AUTOMATE_TO:-} old_from=${AUTOMATE_FROM:-} old_pid=${SESSION_PID:-} to from first line
  AUTOMATE_SERVERS=$((${AUTOMATE_SERVERS:-0} + 1))
  # Not in E2E_DIR: the test machine's share of the clone cannot hold pipes.
  local pipe=${TMPDIR:-/tmp}/kestrin-automate.$BASHPID.$AUTOMATE_SERVERS
  rm -f "$pipe.in" "$pipe.out"
  mkfifo "$pipe.in" "$pipe.out" || fail "could not make the pipes $pipe.in and $pipe.out"
  # Opened for reading and writing, neither open waits for the other side.
  exec {to}<>"$pipe.in" {from}<>"$pipe.out"
  LC_ALL="$E2E_LC" wine "$E2E_BIN/automate.exe" serve <"$pipe.in" >"$pipe.out" 2>>"$E2E_DIR/wine.log" &
  SESSION_PID=$!
  AUTOMATE_TO=$to AUTOMATE_FROM=$from AUTOMATE_LC=$E2E_LC
  IFS= read -r -t 60 first <&"$from" && [ "${first%%$'\t'*}" = serving ] &&
    IFS= read -r -t 10 line <&"$from" || fail "automate.exe did not start serving within 60 s"
  E2E_IDLE_PID=${first#*$'\t'}
  rm -f "$pipe.in" "$pipe.out"
  [ -n "$old_to" ] || return 0
  if [ -n "$old_pid" ] && kill -0 "$old_pid" 2>/dev/null; then
    printf 'quit\n' >&"$old_to"
    IFS= read -r -t 10 line <&"$old_from" || true
    wait "$old_pid" 2>/dev/null || true
  fi
  exec {old_to}>&- {old_from}<&-
}

# product_folder 'C:\Folder': lays out the product as a user receives it:
# Installer.exe, the stand-in Kestrin.vxd and Kestrin.htm. Sets PRODUCT (the
# Windows path) and PRODUCT_DIR (the Unix one).
product_folder() {
  PRODUCT=$1
  PRODUCT_DIR=$(unix_path "$1")
  mkdir -p "$PRODUCT_DIR"
  cp "$E2E_BIN/Installer.exe" "$PRODUCT_DIR/Installer.exe"
  cp "$E2E_SOURCE/product/Kestrin.vxd" "$E2E_SOURCE/product/Kestrin.htm" "$PRODUCT_DIR/"
}

# processes [--pid N | --image NAME]: sets PROCESSES, one "PID IMAGE" a line.
processes() {
  automate processes "$@"
  PROCESSES=$(printf '%s\n' "$AUTOMATE_OUT" | cut -f2,3 | tr '\t' ' ')
}

# restart: the simulated system restart. Wine carries out the pending file
# operations and runs the RunOnce entries (and deletes them) before it
# returns; what those programs print is in RESTART_OUTPUT (carriage returns
# removed). The session's idle process must outlive it: a session that ended
# would run the RunOnce entries again on its own at the next Wine start.
restart() {
  E2E_RESTARTS=$((${E2E_RESTARTS:-0} + 1))
  local out=$E2E_DIR/restart-$E2E_RESTARTS.log
  log_step "restart (wineboot -r), output in ${out##*/}"
  timeout --kill-after=10 120 env LC_ALL="$E2E_LC" wineboot -r >"$out" 2>>"$E2E_DIR/wine.log" ||
    fail "wineboot -r did not finish within 120 s (status $?)"
  RESTART_OUTPUT=$(tr -d '\r' <"$out" | to_utf8 "$E2E_CP")
  processes --pid "$E2E_IDLE_PID"
  [ -n "$PROCESSES" ] || fail "the session ended during the restart" "the idle process $E2E_IDLE_PID running" "it has ended"
}

# ---- the product's registry entries and files ---------------------------------

UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrin'
COMPANY_KEY='HKCU\SOFTWARE\Quarnelworks'
USER_KEY='HKCU\SOFTWARE\Quarnelworks\Kestrin'
VXD_KEY='HKLM\System\CurrentControlSet\Services\VxD\KESTRIN'
RUNONCE_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'

# The restart questions, as automate.exe prints them.
QUESTION_AFTER_INSTALL='In is need to reboot computer to finish of installation process.\nDo you wish to reboot it now?'
QUESTION_AFTER_UNINSTALL='In is need to reboot computer to finish of uninstallation process.\nDo you wish to reboot it now?'

# short_path 'C:\Long Folder\File': the 8.3 form that the programs get for
# an existing path (GetShortPathNameA); sets SHORT_PATH.
short_path() {
  automate short-path "$1"
  SHORT_PATH=$(field 2 "$AUTOMATE_OUT")
}

# window_rect HWND: sets RECT_LEFT, RECT_TOP, RECT_WIDTH, RECT_HEIGHT (screen
# pixels; the test display has no window manager, so they are the X ones).
window_rect() {
  automate rect "$1"
  RECT_LEFT=$(field 2 "$AUTOMATE_OUT")
  RECT_TOP=$(field 3 "$AUTOMATE_OUT")
  RECT_WIDTH=$(($(field 4 "$AUTOMATE_OUT") - RECT_LEFT))
  RECT_HEIGHT=$(($(field 5 "$AUTOMATE_OUT") - RECT_TOP))
}

# expect_installed LANGUAGE: every entry that an install in $PRODUCT writes,
# value by value, and no deferred deletion left scheduled.
expect_installed() {
  expect_values "$UNINSTALL_KEY" DisplayName REG_SZ Kestrin \
    UninstallString REG_SZ "\"$PRODUCT\\Installer.exe\" /uninstall"
  expect_values "$USER_KEY" Path REG_SZ "$PRODUCT" Language REG_SZ "$1"
  short_path "$PRODUCT\\Kestrin.vxd"
  expect_values "$VXD_KEY" StaticVxD REG_SZ "$SHORT_PATH" Start REG_BINARY 00
  expect_no_reg "$RUNONCE_KEY" Kestrin
}

# expect_nothing_installed: none of the product's entries exist.
expect_nothing_installed() {
  expect_no_reg "$UNINSTALL_KEY"
  expect_no_reg "$USER_KEY"
  expect_no_reg "$VXD_KEY"
  expect_no_reg "$RUNONCE_KEY" Kestrin
}

# expect_product_files NAME...: the product folder holds exactly these files.
expect_product_files() {
  local want seen
  want=$(printf '%s\n' "$@" | sort)
  seen=$(ls -A "$PRODUCT_DIR" 2>/dev/null | sort)
  [ "$seen" = "$want" ] || fail "wrong files in $PRODUCT" "$(printf '%s' "$want" | tr '\n' ' ')" "$(printf '%s' "$seen" | tr '\n' ' ')"
}

# load_driver_double [VERSION-WORD]: the kernel driver double kestrin.sys
# running as the service KestrinTest, answering the version query with the
# word (default 0x00650007, 1.01 build 7). The session's idle process keeps
# it running: Wine stops services when a session ends.
load_driver_double() {
  cp "$E2E_BIN/kestrin.sys" "$(unix_path 'C:\windows\system32\drivers')/kestrintest.sys"
  wine_run sc create KestrinTest type= kernel start= demand binPath= 'C:\windows\system32\drivers\kestrintest.sys' >>"$E2E_DIR/wine.log" 2>&1 ||
    fail "sc create KestrinTest failed"
  if [ $# -ge 1 ]; then
    wine_run reg add 'HKLM\System\CurrentControlSet\Services\KestrinTest' /v VersionWord /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
      fail "could not set the driver double's version word"
  fi
  wine_run sc start KestrinTest >>"$E2E_DIR/wine.log" 2>&1 || fail "sc start KestrinTest failed"
}
