# Shared by the scripts: packages, build trees, the X display for Wine.
# Sourced, not run.

KESTRIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Everything the build and the tests need, from Debian's packages. The i386
# architecture is never added: 32-bit Wine runs in a test machine of its own
# (scripts/lib/machine.sh), made with debootstrap and run by qemu.
KESTRIN_PACKAGES=(
  cmake ninja-build
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine wine64 xvfb xauth x11-apps imagemagick
  googletest libbenchmark-dev clang libclang-rt-14-dev
  clang-format debootstrap arch-test qemu-user-static qemu-system-x86
)

log() { printf '\n== %s\n' "$*"; }

source "$KESTRIN_ROOT/scripts/lib/wine.sh"
source "$KESTRIN_ROOT/scripts/lib/machine.sh"
source "$KESTRIN_ROOT/scripts/lib/runtime.sh"

# ensure_packages [PACKAGE...]: installs those of the packages (by default
# KESTRIN_PACKAGES) that are missing.
ensure_packages() {
  local missing=() wanted=("$@")
  [ ${#wanted[@]} -gt 0 ] || wanted=("${KESTRIN_PACKAGES[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  local aptlog
  aptlog=$(mktemp)
  if ! { $sudo apt-get update -qq && $sudo apt-get install -y -qq "${missing[@]}"; } >"$aptlog" 2>&1; then
    cat "$aptlog"
    rm -f "$aptlog"
    echo "apt-get could not install: ${missing[*]}" >&2
    return 1
  fi
  rm -f "$aptlog"
}

# make_once DIR WHAT STAMP MAKE: DIR, made once per machine and reused while
# DIR/ready holds what the function STAMP prints; otherwise the function MAKE
# makes it in DIR.new (its output in DIR.new.log, shown in part when it fails,
# kept for a look). One run makes it at a time; another waits and reuses it.
make_once() {
  local dir=$1 what=$2 stamp=$3 make=$4 new=$1.new lock rc=0
  [ -f "$dir/ready" ] && [ "$(cat "$dir/ready")" = "$("$stamp")" ] && return 0
  mkdir -p "$(dirname "$dir")"
  exec {lock}>"$dir.lock"
  if ! flock -w 3600 "$lock"; then
    echo "$what: another run is making $dir" >&2
    exec {lock}>&-
    return 1
  fi
  if ! { [ -f "$dir/ready" ] && [ "$(cat "$dir/ready")" = "$("$stamp")" ]; }; then
    log "Making $what in $dir (once; it is reused)"
    rm -rf "$new" "$dir"
    mkdir -p "$new"
    "$make" "$new" >"$new.log" 2>&1 || rc=$?
    if [ $rc -eq 0 ]; then
      rm -f "$new.log"
      "$stamp" >"$new/ready"
      mv "$new" "$dir"
    else
      tail -n 30 "$new.log" >&2
      echo "$what: could not make it (status $rc); the log is $new.log" >&2
    fi
  fi
  exec {lock}>&-
  return $rc
}

# configure_tree NAME: build/win64, build/win32 or build/native.
configure_tree() {
  local name=$1 dir="$KESTRIN_ROOT/build/$1" args=()
  case $name in
    win64)  args=(-DCMAKE_TOOLCHAIN_FILE="$KESTRIN_ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake") ;;
    win32)  args=(-DCMAKE_TOOLCHAIN_FILE="$KESTRIN_ROOT/cmake/toolchain-i686-w64-mingw32.cmake"
              -DKESTRIN_RUNTIME="$KESTRIN_RUNTIME/lib") ;;
    native) args=(-DKESTRIN_NATIVE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    bench)  args=(-DKESTRIN_NATIVE=ON -DKESTRIN_SANITIZE=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  esac
  mkdir -p "$KESTRIN_ROOT/build"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$KESTRIN_ROOT" -B "$dir" -G Ninja -DKESTRIN_WERROR=ON "${args[@]}" >"$dir.configure.log" 2>&1 ||
      { cat "$dir.configure.log"; return 1; }
  fi
}

# build_tree NAME: configures and builds it; the 32-bit programs link the
# 486 runtime, which is made first when it is missing.
build_tree() {
  if [ "$1" = win32 ]; then ensure_runtime || return 1; fi
  configure_tree "$1" && cmake --build "$KESTRIN_ROOT/build/$1" -j"$(nproc)"
}

# One X server for everything that opens a window; DISPLAY is exported.
start_xvfb() {
  if [ -n "${KESTRIN_XVFB_PID:-}" ]; then return 0; fi
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    KESTRIN_XVFB_PID=$!
    for _ in $(seq 1 100); do
      # The pid stays unexported: a child that sources this file must not
      # stop an X server it did not start. The display is ours only when the
      # server that holds its lock is the one started here: two runs that
      # choose the same free display at the same moment start two servers,
      # of which one gets it and the other ends.
      if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$KESTRIN_XVFB_PID" ] &&
        kill -0 "$KESTRIN_XVFB_PID" 2>/dev/null; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$KESTRIN_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    # Not there: most likely the display is another X server's that this
    # machine's files do not show. It only moves the search on.
    kill "$KESTRIN_XVFB_PID" 2>/dev/null || true
    wait "$KESTRIN_XVFB_PID" 2>/dev/null || true
    unset KESTRIN_XVFB_PID
  done
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -n "${KESTRIN_XVFB_PID:-}" ]; then
    kill "$KESTRIN_XVFB_PID" 2>/dev/null || true
    wait "$KESTRIN_XVFB_PID" 2>/dev/null || true
    unset KESTRIN_XVFB_PID
  fi
}

# mark_run: every process this run starts, at any depth, carries
# KESTRIN_RUN in its environment, so that what it left behind can be found.
mark_run() {
  export KESTRIN_RUN=${KESTRIN_RUN:-${0##*/}-$$-$RANDOM}
}

# leftover_processes: the X servers, Wine servers and programs and test
# machines of this run that are still running, one "pid name" a line, after
# giving them ten seconds to end (a Wine server ends a moment after its last
# program).
leftover_processes() {
  local pid name found
  for _ in $(seq 1 20); do
    found=()
    for pid in $(grep -lsz "^KESTRIN_RUN=$KESTRIN_RUN\$" /proc/[0-9]*/environ | cut -d/ -f3); do
      name=$(cat "/proc/$pid/comm" 2>/dev/null) || continue
      case $name in
        Xvfb | wineserver | wine* | *.exe | qemu-system-*) found+=("$pid $name") ;;
      esac
    done
    [ ${#found[@]} -gt 0 ] || return 0
    sleep 0.5
  done
  printf '%s\n' "${found[@]}"
}

# check_no_leftovers: fails, naming them, when the run left such processes
# running; they are ended.
check_no_leftovers() {
  local left
  left=$(leftover_processes)
  [ -z "$left" ] && return 0
  echo "${0##*/}: these processes of the run were left running (now ended):" >&2
  printf '%s\n' "$left" | sed 's/^/   /' >&2
  local pids
  pids=$(printf '%s\n' "$left" | cut -d' ' -f1)
  # Asked first, so that an X server removes its lock and socket.
  kill $pids 2>/dev/null || true
  sleep 2
  kill -9 $pids 2>/dev/null || true
  return 1
}

# Ends the Wine servers of the prefixes below build/ (ours only): the unit
# tests', their template's, the demo's, the end-to-end benchmark's, and the
# end-to-end runner's (its pristine prefix and one per scenario, in build/e2e
# or in a tree's own e2e folders).
stop_wine_prefixes() {
  local p
  for p in "$KESTRIN_ROOT"/build/*/wineprefix "$KESTRIN_ROOT"/build/wine-template/prefix \
    "$KESTRIN_ROOT"/build/demo/*/prefix "$KESTRIN_ROOT"/build/bench-e2e/*/prefix \
    "$KESTRIN_ROOT"/build/e2e/*/prefix "$KESTRIN_ROOT"/build/e2e/pristine \
    "$KESTRIN_ROOT"/build/*/e2e*/*/prefix "$KESTRIN_ROOT"/build/*/e2e*/pristine; do
    stop_wine "$p"
  done
}
