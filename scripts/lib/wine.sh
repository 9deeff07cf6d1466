# Wine prefixes as the tests, the demo and the benchmarks use them. Sourced
# by scripts/lib/common.sh (and by cmake/wine-prefix).

export WINEDEBUG=${WINEDEBUG:--all}
# Keeps Wine from asking for its Mono and Gecko add-ons.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# make_wine_prefix PREFIX [VERSION [LOG]]: a fresh prefix in PREFIX (about
# ten seconds; what Wine says goes to LOG), reporting the Windows VERSION when
# one is given (winecfg -v: win95, win98, winme, winxp, ...). Fails when Wine
# could not make it. With KESTRIN_WINE_TEMPLATE set, the prefix is a copy of
# a template prefix made there once (Wine's own version, our settings), set
# to VERSION afterwards: a run that makes several prefixes pays once for
# Wine's set-up, which takes minutes in the emulated test machine.
make_wine_prefix() {
  local prefix=$1 version=${2:-} log=${3:-/dev/null} rc=0
  if [ -n "${KESTRIN_WINE_TEMPLATE:-}" ]; then
    wine_template "$log" || return 1
    rm -rf "$prefix"
    mkdir -p "$prefix"
    copy_wine_prefix "$KESTRIN_WINE_TEMPLATE" "$prefix" && rm -f "$prefix/.kestrin-template" || return 1
    export WINEPREFIX=$prefix
    if [ -n "$version" ]; then
      timeout --kill-after=10 120 wine winecfg -v "$version" >>"$log" 2>&1 || rc=$?
      timeout 60 wineserver -w || timeout 20 wineserver -k
    fi
    unset WINEPREFIX
    [ $rc -eq 0 ] || { echo "Wine could not set the prefix $prefix to $version (status $rc)" >&2; return 1; }
    return 0
  fi
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  export WINEPREFIX=$prefix
  timeout --kill-after=10 180 wineboot -i >>"$log" 2>&1 || rc=$?
  # There is no window manager on our X displays. Wine then waits up to two
  # seconds for each closing window to be withdrawn, during which the program
  # takes no messages; windows Wine draws itself close at once.
  if [ $rc -eq 0 ]; then
    timeout --kill-after=10 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$log" 2>&1 || rc=$?
  fi
  # Debian's Wine 8 looks for its own fonts in "<data dir>\../fonts", a
  # path it never resolves, so Marlett, the font of the caption buttons, is
  # missing and Close shows as an "r". Wine also loads the prefix's Fonts
  # folder.
  if [ $rc -eq 0 ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" || rc=$?
  fi
  if [ $rc -eq 0 ] && [ -n "$version" ]; then
    timeout --kill-after=10 120 wine winecfg -v "$version" >>"$log" 2>&1 || rc=$?
  fi
  timeout 60 wineserver -w || timeout 20 wineserver -k
  unset WINEPREFIX
  [ $rc -eq 0 ] && [ -f "$prefix/system.reg" ] || { echo "Wine could not make the prefix $prefix (status $rc)" >&2; return 1; }
}

# copy_wine_prefix FROM TO: a copy of a prefix no Wine process uses. The
# system folders' programs and libraries, most of a prefix, are never written
# by a test: they are shared by hard links where both sides are on one mount
# (the test machine's disk has room for few whole prefixes), copied where
# not; everything else is copied.
copy_wine_prefix() {
  local from=$1 to=$2 d
  mkdir -p "$to"
  (cd "$from" && find . -path ./drive_c/windows/system32 -prune -o -path ./drive_c/windows/syswow64 -prune -o -print0 |
    cpio -0 -pdm --quiet "$to") 2>/dev/null || cp -a "$from/." "$to/" || return 1
  for d in drive_c/windows/system32 drive_c/windows/syswow64; do
    if [ -d "$from/$d" ] && [ ! -e "$to/$d" ]; then
      cp -al "$from/$d" "$to/$d" 2>/dev/null || { rm -rf "${to:?}/$d" && cp -a "$from/$d" "$to/$d"; } || return 1
    fi
  done
}

# wine_template [LOG]: the template of KESTRIN_WINE_TEMPLATE, made once, also
# when several programs ask for it at the same moment.
wine_template() {
  local template=$KESTRIN_WINE_TEMPLATE
  [ -f "$template/.kestrin-template" ] && return 0
  mkdir -p "$(dirname "$template")"
  (
    flock -w 600 9 || { echo "wine: the template $template is still being made" >&2; exit 1; }
    [ -f "$template/.kestrin-template" ] && exit 0
    KESTRIN_WINE_TEMPLATE='' make_wine_prefix "$template" "" "${1:-/dev/null}" && : >"$template/.kestrin-template"
  ) 9>"$template.lock"
}

# stop_wine PREFIX: ends the Wine processes of a prefix we made.
stop_wine() {
  [ -f "$1/system.reg" ] && WINEPREFIX=$1 timeout 20 wineserver -k 2>/dev/null
  return 0
}
