# The 486 runtime: the parts of GCC's and mingw-w64's runtime that the
# shipped 32-bit programs link (start-up objects, libgcc, libgcc_eh,
# libsupc++, libmingw32, libmingwex, libmsvcrt, libmoldname), built from
# Debian's own sources of the very versions installed, with the options
# Debian built them with except the processor: i486 instead of i686. Debian's
# copies are compiled for the Pentium Pro (CMOV, FCOMI, long NOPs), which the
# Pentiums, K6s, Cyrixes and 486s our users cool do not have. Made once per
# machine (about ten minutes) and cached outside the clone; made anew when
# this recipe, its patches or the installed compilers change. Sourced by
# scripts/lib/common.sh.
#
# The compiler itself is not built: the installed cross compiler compiles
# the runtime's sources, told -march=i486, which is what a compiler configured
# --with-arch=i486 passes itself. GCC's tree is configured as Debian's compiler
# was (its own "gcc -v" says how), and only what libgcc and libstdc++ take from
# it is made: the target headers and libgcc.mvars. The libraries are then made
# by their own configure scripts and makefiles, asked for just the archives we
# link. The recipe's patches (runtime/*.patch) are the only changes to the
# sources: Windows 9x has only failing stubs of the wide-character functions
# that the runtime calls.

KESTRIN_RUNTIME=${KESTRIN_RUNTIME:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrin/i486-runtime}
KESTRIN_RUNTIME_RECIPE=${BASH_SOURCE[0]}
KESTRIN_RUNTIME_PATCHES=$(dirname "${BASH_SOURCE[0]}")/runtime
KESTRIN_RUNTIME_TARGET=i686-w64-mingw32
KESTRIN_RUNTIME_CPU=i486
# What the archives are made with, besides the cross compilers: the libraries
# GCC's configure insists on, and the tools that unpack Debian's sources.
KESTRIN_RUNTIME_PACKAGES=(libgmp-dev libmpfr-dev libmpc-dev dpkg-dev patch xz-utils bzip2 make)
# What the programs link, in $KESTRIN_RUNTIME/lib.
KESTRIN_RUNTIME_FILES=(crt2.o crtbegin.o crtend.o libgcc.a libgcc_eh.a libsupc++.a
  libmingw32.a libmingwex.a libmoldname.a libmsvcrt.a)

runtime_compiler_version() { dpkg-query -W -f='${Version}' "gcc-mingw-w64-${KESTRIN_RUNTIME_TARGET%%-*}-win32"; }
runtime_crt_version() { dpkg-query -W -f='${Version}' "mingw-w64-${KESTRIN_RUNTIME_TARGET%%-*}-dev"; }
# The compilers' version is that of the gcc-N-source they were built from,
# then "+" and the mingw packaging's own (12.2.0-14+deb12u1+25.2+b1).
runtime_gcc_source_version() { runtime_compiler_version | sed -E 's/\+[0-9.]+(\+b[0-9]+)?$//'; }

# What a ready runtime was made from; one made otherwise is made anew.
runtime_stamp() {
  printf '%s %s | %s | %s\n' "$KESTRIN_RUNTIME_TARGET" "$KESTRIN_RUNTIME_CPU" \
    "$(runtime_compiler_version) $(runtime_crt_version)" \
    "$(cat "$KESTRIN_RUNTIME_RECIPE" "$KESTRIN_RUNTIME_PATCHES"/*.patch | md5sum | cut -c1-32)"
}

runtime_ready() {
  [ -f "$KESTRIN_RUNTIME/ready" ] && [ "$(cat "$KESTRIN_RUNTIME/ready")" = "$(runtime_stamp)" ]
}

# runtime_step SECONDS WHAT COMMAND...: one bounded step of the recipe, its
# time said in the log.
runtime_step() {
  local limit=$1 what=$2 start=$SECONDS
  shift 2
  echo "== $what"
  timeout --kill-after=30 "$limit" "$@" || { echo "runtime: $what failed (status $?)"; return 1; }
  echo "== $what: $((SECONDS - start)) s"
  [ -z "${RUNTIME_STEPS:-}" ] || echo "$what: $((SECONDS - start)) s" >>"$RUNTIME_STEPS"
}

# runtime_sources WORK: GCC's sources (the gcc-N-source package's tarball) in
# WORK/gcc and mingw-w64's (Debian's source package, its patches applied) in
# WORK/mingw-w64, each with the recipe's patches. The source package comes
# through a sources list of our own for the host's mirror: the machine's apt
# is not changed.
runtime_sources() {
  local work=$1 gccver major codename apt
  gccver=$(runtime_gcc_source_version)
  major=${gccver%%.*}
  if [ "$(dpkg-query -W -f='${Version}' "gcc-$major-source" 2>/dev/null)" != "$gccver" ]; then
    timeout 600 apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive timeout 1200 apt-get install -y -qq "gcc-$major-source=$gccver" || return 1
  fi
  mkdir -p "$work/gcc"
  # Only what the C and C++ runtime is made from: no other languages, no
  # test suites but the makefiles configure wants.
  timeout 600 tar -xf /usr/src/gcc-"$major"/gcc-*-dfsg.tar.xz -C "$work/gcc" --strip-components=1 \
    --exclude='gcc/testsuite' --exclude='gcc/ada' --exclude='gcc/d' --exclude='gcc/fortran' --exclude='gcc/go' \
    --exclude='gcc/m2' --exclude='gcc/po' --exclude='libada' --exclude='libgo' --exclude='libphobos' \
    --exclude='libgfortran' --exclude='libsanitizer' --exclude='gnattools' --exclude='gotools' || return 1
  patch -d "$work/gcc" -p1 <"$KESTRIN_RUNTIME_PATCHES/gcc-semaphores-ansi.patch" || return 1

  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  apt=$work/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$work/src"
  : >"$apt/none.list"
  printf 'Types: deb-src\nURIs: %s\nSuites: %s %s-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "$(machine_mirror)" "$codename" "$codename" >"$apt/parts/sources.sources"
  local options=(-o Dir::Etc::SourceList="$apt/none.list" -o Dir::Etc::SourceParts="$apt/parts"
    -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
  timeout 600 apt-get "${options[@]}" -qq update || return 1
  (cd "$work/src" && timeout 1200 apt-get "${options[@]}" -qq source --download-only "mingw-w64=$(runtime_crt_version)") ||
    return 1
  timeout 600 dpkg-source -x "$work"/src/mingw-w64_*.dsc "$work/mingw-w64" || return 1
  patch -d "$work/mingw-w64" -p1 <"$KESTRIN_RUNTIME_PATCHES/mingw-w64-msvcrt-handle-ansi.patch"
}

# runtime_gcc_configure_options: Debian's configure options, as its compiler
# reports them, for a GCC that builds only the C and C++ runtime for the 486.
runtime_gcc_configure_options() {
  local line
  line=$("$KESTRIN_RUNTIME_TARGET-gcc-win32" -v 2>&1 | sed -n 's/^Configured with: [^ ]*configure //p')
  eval "set -- $line"
  local option
  for option; do
    case $option in
      --enable-languages=*) echo --enable-languages=c,c++ ;;
      --with-arch=*) ;;
      *) printf '%s\n' "$option" ;;
    esac
  done
  echo --with-arch=$KESTRIN_RUNTIME_CPU
  echo --disable-bootstrap
}

# runtime_gcc WORK OUT: libgcc, libgcc_eh, crtbegin.o, crtend.o and libsupc++
# in OUT.
runtime_gcc() {
  local work=$1 out=$2 build=$1/gcc-build cc cxx
  local -a options
  mapfile -t options < <(runtime_gcc_configure_options)
  cc="$KESTRIN_RUNTIME_TARGET-gcc-win32 -march=$KESTRIN_RUNTIME_CPU"
  cxx="$KESTRIN_RUNTIME_TARGET-g++-win32 -march=$KESTRIN_RUNTIME_CPU"
  # The target libraries' makefiles would build the compiler first: it is
  # installed already, so those goals count as made (-o).
  local made=(-o maybe-all-gcc -o all-gcc -o maybe-all-target-libgcc -o all-target-libgcc
    -o maybe-all-lto-plugin -o all-lto-plugin)
  local targets=(CC_FOR_TARGET="$cc" GCC_FOR_TARGET="$cc" CXX_FOR_TARGET="$cxx -nostdinc++"
    RAW_CXX_FOR_TARGET="$cc -shared-libgcc -nostdinc++")
  local target=$build/$KESTRIN_RUNTIME_TARGET
  mkdir -p "$build"
  (cd "$build" && runtime_step 600 "GCC: configure" "$work/gcc/configure" "${options[@]}") &&
    runtime_step 900 "GCC: configure the compiler" make -C "$build" -j"$(nproc)" "${made[@]}" configure-gcc &&
    runtime_step 900 "GCC: the build machine's libiberty" make -C "$build" -j"$(nproc)" all-build-libiberty &&
    runtime_step 900 "GCC: the target headers" make -C "$build/gcc" -j"$(nproc)" \
      tconfig.h tm.h options.h insn-constants.h insn-modes.h insn-flags.h || return 1
  # libgcc takes the compiler's flags from libgcc.mvars, which the compiler's
  # makefile writes once the driver is built. Debian's compiler was built with
  # the target's headers, so its libgcc is not inhibit_libc (its __eprintf
  # calls fprintf); this tree has no such header folder of its own.
  runtime_step 60 "GCC: libgcc.mvars" make -C "$build/gcc" -o xgcc -o specs libgcc.mvars INHIBIT_LIBC_CFLAGS= &&
    runtime_step 600 "libgcc: configure" make -C "$build" "${made[@]}" "${targets[@]}" configure-target-libgcc &&
    runtime_step 900 "libgcc: build" make -C "$target/libgcc" -j"$(nproc)" libgcc.a libgcc_eh.a crtbegin.o crtend.o &&
    runtime_step 900 "libstdc++: configure" make -C "$build" "${made[@]}" "${targets[@]}" configure-target-libstdc++-v3 &&
    runtime_step 600 "libstdc++: headers" make -C "$target/libstdc++-v3/include" -j"$(nproc)" &&
    runtime_step 900 "libsupc++: build" make -C "$target/libstdc++-v3/libsupc++" -j"$(nproc)" || return 1
  cp "$target"/libgcc/{libgcc.a,libgcc_eh.a,crtbegin.o,crtend.o} "$target/libstdc++-v3/libsupc++/.libs/libsupc++.a" "$out/"
}

# runtime_crt WORK OUT: crt2.o, libmingw32, libmingwex, libmoldname and
# libmsvcrt in OUT, configured as Debian's rules configure the CRT for one
# target (its build flags less the hardening it turns off for the targets).
runtime_crt() {
  # The CRT's makefile puts the 32-bit target's archives in lib32.
  local work=$1 out=$2 build=$1/crt-build lib=lib32
  # The start-up objects' rules do not make their folder (the archives' do).
  mkdir -p "$build/$lib"
  (cd "$build" && runtime_step 600 "CRT: configure" "$work/mingw-w64/mingw-w64-crt/configure" \
    --host="$KESTRIN_RUNTIME_TARGET" --target="$KESTRIN_RUNTIME_TARGET" --prefix="/usr/$KESTRIN_RUNTIME_TARGET" \
    --disable-lib64 --enable-lib32 \
    CC="$KESTRIN_RUNTIME_TARGET-gcc-win32 -march=$KESTRIN_RUNTIME_CPU" CFLAGS="-g -O2" \
    CPPFLAGS="-Wno-expansion-to-defined") &&
    runtime_step 900 "CRT: build" make -C "$build" -j"$(nproc)" \
      $lib/crt2.o $lib/libmingw32.a $lib/libmingwex.a $lib/libmoldname.a $lib/libmsvcrt.a || return 1
  cp "$build/$lib"/{crt2.o,libmingw32.a,libmingwex.a,libmoldname.a,libmsvcrt.a} "$out/"
}

# make_runtime DIR: the runtime in DIR/lib; the sources and builds go to
# DIR/work and are removed when all went well.
make_runtime() {
  local dir=$1 work=$1/work
  mkdir -p "$work" "$dir/lib"
  RUNTIME_STEPS=$dir/steps
  local start=$SECONDS
  echo "== sources"
  runtime_sources "$work" || { echo "runtime: the sources could not be had"; return 1; }
  echo "== sources: $((SECONDS - start)) s"
  echo "sources: $((SECONDS - start)) s" >>"$RUNTIME_STEPS"
  runtime_gcc "$work" "$dir/lib" && runtime_crt "$work" "$dir/lib" || return 1
  local file
  for file in "${KESTRIN_RUNTIME_FILES[@]}"; do
    [ -s "$dir/lib/$file" ] || { echo "runtime: $file was not made"; return 1; }
  done
  rm -rf "$work"
}

# ensure_runtime: makes the runtime when it is missing or was made from
# another recipe, and reuses it otherwise. One run makes it at a time.
ensure_runtime() {
  runtime_ready && return 0
  ensure_packages "${KESTRIN_RUNTIME_PACKAGES[@]}" || return 1
  local start=$SECONDS
  make_once "$KESTRIN_RUNTIME" "the 486 runtime" runtime_stamp make_runtime || return 1
  if [ -f "$KESTRIN_RUNTIME/steps" ] && [ $((SECONDS - start)) -gt 5 ]; then
    sed 's/^/   /' "$KESTRIN_RUNTIME/steps"
    echo "   made in $((SECONDS - start)) s"
  fi
}
