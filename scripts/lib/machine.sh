# The 32-bit test machine: an i386 Debian system with 32-bit Wine, run by
# qemu-system-i386, where the shipped 32-bit programs run in prefixes set to
# Windows 98 (95, Me). This machine's kernel runs no 32-bit programs (its
# IA-32 emulation is off) and its apt cannot take the i386 architecture, so
# the 32-bit system is a machine of its own, made once and cached outside the
# clone. Sourced by scripts/lib/common.sh.
#
# The machine sees the clone at the clone's own path (a 9p share), so every
# path of the build trees means the same file inside and outside. Its disk is
# never changed by a run: what a job writes that matters goes to the clone.

KESTRIN_MACHINE=${KESTRIN_MACHINE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrin/i386-machine}
# What the machine holds besides the base system: a kernel for it, Wine, an X
# server, ctest for the tests and cpio for the end-to-end runner's copies.
KESTRIN_MACHINE_PACKAGES=(linux-image-686 initramfs-tools wine wine32 xvfb xauth cmake cpio)
# The drivers its kernel needs before the root is mounted; the rest loads later.
KESTRIN_MACHINE_BOOT_MODULES=(virtio_pci virtio_blk ext4)
KESTRIN_MACHINE_MEMORY=3072

# The machine's first process: it mounts the clone and hands over to the
# clone's scripts/lib/machine-init, so that changes there need no new disk.
machine_first_process() {
  cat <<'EOF'
#!/bin/sh
PATH=/usr/sbin:/usr/bin:/sbin:/bin
mount -t proc proc /proc
for word in $(cat /proc/cmdline); do
  case $word in kestrin.clone=*) clone=${word#kestrin.clone=} ;; esac
done
modprobe 9pnet_virtio && modprobe 9p && mkdir -p "$clone" &&
  mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144,cache=loose clone "$clone" &&
  exec /bin/sh "$clone/scripts/lib/machine-init"
echo "machine: cannot mount the clone at $clone" >/dev/console
echo o >/proc/sysrq-trigger
sleep 30
EOF
}

# What a ready machine was made from; one made otherwise is made anew.
machine_stamp() {
  printf 'bookworm i386 %s | %s | %s\n' "${KESTRIN_MACHINE_PACKAGES[*]}" "${KESTRIN_MACHINE_BOOT_MODULES[*]}" \
    "$(machine_first_process | md5sum | cut -c1-32)"
}

machine_ready() {
  [ -f "$KESTRIN_MACHINE/ready" ] && [ "$(cat "$KESTRIN_MACHINE/ready")" = "$(machine_stamp)" ]
}

# The mirror of the host's own apt sources.
machine_mirror() {
  local uri
  uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null)
  [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $0 !~ /security/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
  printf '%s\n' "${uri:-http://deb.debian.org/debian}"
}

# Making the root runs its i386 programs here (debootstrap's second stage,
# apt). Where the kernel cannot, qemu-user runs them, registered with the
# kernel for i386 programs until the host restarts.
enable_i386_programs() {
  /usr/lib/arch-test/i386 >/dev/null 2>&1 && return 0
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  if [ ! -e "$binfmt/kestrin-i386" ]; then
    printf '%s' ':kestrin-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >"$binfmt/register" || return 1
  fi
  /usr/lib/arch-test/i386 >/dev/null 2>&1 || { echo "machine: i386 programs do not run here, not even through qemu-user" >&2; return 1; }
}

MACHINE_BOUND=()
# bind_system ROOT: the host's /proc, /sys, /dev and /dev/pts in ROOT, for
# apt there; unbind_system takes them away again, deepest first.
bind_system() {
  local d
  for d in proc sys dev dev/pts; do
    mount --bind "/$d" "$1/$d" || return 1
    MACHINE_BOUND=("$1/$d" "${MACHINE_BOUND[@]}")
  done
}

unbind_system() {
  local d
  for d in "${MACHINE_BOUND[@]}"; do umount "$d" 2>/dev/null || umount -l "$d"; done
  MACHINE_BOUND=()
}

# in_root SECONDS ROOT COMMAND...: a command of the root, run there, bounded.
in_root() {
  timeout --kill-after=30 "$1" chroot "$2" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive "${@:3}"
}

# make_machine DIR: the root, its kernel and its disk image in DIR (about a
# quarter of an hour). Every step is bounded.
make_machine() {
  local dir=$1 root=$1/root
  timeout --kill-after=30 1800 debootstrap --arch=i386 --variant=minbase bookworm "$root" "$(machine_mirror)" || return 1
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # A small initramfs with just the drivers the root's disk needs.
  mkdir -p "$root/etc/initramfs-tools/conf.d"
  printf 'MODULES=list\nCOMPRESS=gzip\n' >"$root/etc/initramfs-tools/conf.d/kestrin"
  printf '%s\n' "${KESTRIN_MACHINE_BOOT_MODULES[@]}" >>"$root/etc/initramfs-tools/modules"
  bind_system "$root" || return 1
  in_root 600 "$root" apt-get update -qq &&
    in_root 3600 "$root" apt-get install -y -qq --no-install-recommends "${KESTRIN_MACHINE_PACKAGES[@]}" &&
    in_root 600 "$root" apt-get clean
  local rc=$?
  unbind_system
  [ $rc -eq 0 ] || return $rc
  machine_first_process >"$root/sbin/kestrin-machine-init"
  chmod 755 "$root/sbin/kestrin-machine-init"
  cp -L "$root/vmlinuz" "$dir/vmlinuz" && cp -L "$root/initrd.img" "$dir/initrd.img" || return 1
  # The disk: the root and room for what the tests write on it, sparse.
  local size
  size=$(du -sm "$root" | cut -f1)
  timeout 600 mke2fs -q -t ext4 -d "$root" -E root_owner=0:0 "$dir/disk.img" "$((size + 2048))M" || return 1
  rm -rf "$root"
}

# make_machine_unmounting DIR: make_machine with i386 programs enabled, in a
# shell of its own, whose exit unmounts what it mounted even when a step fails
# or a signal ends it: the caller's own EXIT trap stays as it was.
make_machine_unmounting() {
  (enable_i386_programs && trap 'unbind_system' EXIT && make_machine "$1")
}

# ensure_test_machine: makes the machine when it is missing and reuses it
# otherwise (about ten minutes; the log of a failed attempt is kept).
ensure_test_machine() {
  make_once "$KESTRIN_MACHINE" "the 32-bit test machine" machine_stamp make_machine_unmounting
}

# machine_run [--timeout S] SCRIPT: boots the machine, runs the bash SCRIPT
# there in the clone's folder with an X server on DISPLAY, and switches it
# off; what the script prints comes here as it runs. Returns its status.
machine_run() {
  local limit=3600
  if [ "$1" = --timeout ]; then limit=$2; shift 2; fi
  machine_ready || { echo "machine: none in $KESTRIN_MACHINE (scripts/test makes it)" >&2; return 1; }
  local jobs=$KESTRIN_ROOT/build/machine job
  mkdir -p "$jobs"
  job=$(mktemp "$jobs/job.XXXXXX")
  cat >"$job" <<EOF
export HOME=/root LANG=C.UTF-8
cd '$KESTRIN_ROOT' || exit 1
Xvfb :7 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
for _ in \$(seq 1 100); do [ -e /tmp/.X11-unix/X7 ] && break; sleep 0.1; done
export DISPLAY=:7
$1
EOF
  rm -f "$job.status"
  timeout --kill-after=30 "$limit" qemu-system-i386 -machine pc -m "$KESTRIN_MACHINE_MEMORY" -smp 2 \
    -accel tcg,thread=multi -display none -vga none -nic none -serial stdio -no-reboot \
    -kernel "$KESTRIN_MACHINE/vmlinuz" -initrd "$KESTRIN_MACHINE/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 quiet loglevel=1 init=/sbin/kestrin-machine-init kestrin.clone=$KESTRIN_ROOT kestrin.job=$job" \
    -drive "file=$KESTRIN_MACHINE/disk.img,if=virtio,format=raw,snapshot=on" \
    -virtfs "local,path=$KESTRIN_ROOT,mount_tag=clone,security_model=none" </dev/null |
    sed -u -e 's/\r$//' -e '/^\[ *[0-9.]*\] \(sysrq\|reboot\): /d'
  local rc=${PIPESTATUS[0]} status
  status=$(cat "$job.status" 2>/dev/null)
  rm -f "$job" "$job.status"
  if [ -z "$status" ]; then
    [ "$rc" -eq 124 ] && echo "machine: the job did not end within ${limit}s" >&2
    echo "machine: the job left no status (qemu status $rc)" >&2
    return 1
  fi
  return "$status"
}
