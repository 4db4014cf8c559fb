#!/usr/bin/env bash
# Proves the README's two commands and the Debian package on a bare Debian
# 12: builds a minimal Debian 12 root (apt and git, nothing else), copies the
# committed tree into it and runs, inside it, ./test.sh and then ./run.sh
# offscreen until the viewer has been up for a while on the generated sample.
# Then it builds the .deb there (scripts/build-deb.sh) and installs it with
# apt-get into a second bare root made from the same base, where nothing the
# build installed can help: the exporter and the installed viewer must run.
#
#   scripts/check-fresh-machine.sh            run as root (mmdebstrap, chroot, mounts)
#
# Environment:
#   RIVIZUZI_FRESH_STEPS   which steps to run: "test run deb" (default), or some of them
#   RIVIZUZI_KEEP_BASE=0   build the base root anew instead of reusing the cached one
#
# Only the bare base root is cached between runs (/var/tmp/rivizuzi-base-*.tar), and
# the downloaded .deb files (/var/tmp/rivizuzi-apt-archives) so that a run does not
# fetch the same packages again; every package is installed afresh each time.
# Nothing of the project is kept. Mounts and the root directories are removed
# on every exit, failed or not.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

steps=${RIVIZUZI_FRESH_STEPS:-test run deb}
mirror=http://deb.debian.org/debian
base_tar=/var/tmp/rivizuzi-base-bookworm-apt.tar
apt_cache=/var/tmp/rivizuzi-apt-archives
log_dir=$(mktemp -d /var/tmp/rivizuzi-fresh-logs.XXXXXX)

say() { printf '== fresh machine: %s ==\n' "$*"; }
fail() {
  printf 'fresh machine check FAILED: %s\n' "$1" >&2
  if [ -n "${2:-}" ] && [ -f "$2" ]; then
    printf -- '--- last lines of %s ---\n' "$2" >&2
    tail -n 60 "$2" >&2
  fi
  exit 1
}

if [ "$(id -u)" != 0 ]; then
  echo "scripts/check-fresh-machine.sh needs root (mmdebstrap, chroot, mount)" >&2
  exit 2
fi

if ! command -v mmdebstrap >/dev/null; then
  say "installing mmdebstrap"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends mmdebstrap >/dev/null
fi

# The base root: Debian 12 with apt and git only, as a new user's machine.
# Rebuilt when older than a week so that it follows the point releases.
if [ "${RIVIZUZI_KEEP_BASE:-1}" = 0 ] || [ ! -f "$base_tar" ] ||
  [ -n "$(find "$base_tar" -mtime +7 2>/dev/null)" ]; then
  say "building the base root with mmdebstrap"
  mmdebstrap --variant=apt --format=tar --include=git bookworm "$base_tar.tmp" \
    "deb $mirror bookworm main" \
    "deb $mirror bookworm-updates main" \
    "deb http://deb.debian.org/debian-security bookworm-security main" \
    >"$log_dir/mmdebstrap.log" 2>&1 || fail "mmdebstrap" "$log_dir/mmdebstrap.log"
  mv "$base_tar.tmp" "$base_tar"
fi

roots=()   # every root made, for the clean-up
mounted=()
root=      # the root the commands below work in

cleanup() {
  local status=$?
  set +e
  local r proc link i
  # Kill whatever still runs inside a root (the viewers of the run and deb steps).
  for r in "${roots[@]}"; do
    for proc in /proc/[0-9]*; do
      link=$(readlink "$proc/root" 2>/dev/null) || continue
      [ "$link" = "$r" ] && kill -9 "${proc#/proc/}" 2>/dev/null
    done
  done
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"
  done
  # Never remove a root while anything is still mounted inside it: a bound
  # /dev would take the host's devices with it.
  for r in "${roots[@]}"; do
    if grep -q " $r/" /proc/mounts; then
      echo "fresh machine: mounts left under $r, not removing it" >&2
      status=1
    else
      rm -rf --one-file-system "$r"
    fi
  done
  rm -rf "$log_dir"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_into() {  # mount_into TARGET mount-arguments...
  local target=$root$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}

# Unpacks the base root into a new directory, mounts what programs expect
# into it and makes it the root that the commands below work in.
new_root() {
  root=$(mktemp -d /var/tmp/rivizuzi-fresh-root.XXXXXX)
  roots+=("$root")
  say "unpacking the base root into $root"
  tar -xf "$base_tar" -C "$root"
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  mount_into /proc -t proc proc
  mount_into /dev --bind /dev
  [ -d /dev/pts ] && mount_into /dev/pts --bind /dev/pts
  mount_into /dev/shm -t tmpfs -o mode=1777 tmpfs
  mount_into /sys --bind /sys
  mkdir -p "$apt_cache"
  mount_into /var/cache/apt/archives --bind "$apt_cache"
}

new_root

say "copying the committed tree (git archive HEAD)"
mkdir -p "$root/src/rivizuzi"
git -C "$repo" archive HEAD | tar -x -C "$root/src/rivizuzi"

# A clean environment, as a login shell on the new machine would have.
in_root() {  # in_root COMMAND [FOLDER], FOLDER being the project's by default
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    RIVIZUZI_FUZZ_SECONDS="${RIVIZUZI_FUZZ_SECONDS:-}" \
    bash -c "cd ${2:-/src/rivizuzi} && $1"
}

if [[ " $steps " == *" test "* ]]; then
  say "./test.sh"
  start=$SECONDS
  in_root ./test.sh 2>&1 | tee "$log_dir/test.log" || fail "./test.sh" "$log_dir/test.log"
  say "./test.sh passed in $((SECONDS - start)) s"
fi

# True while a process named rivizuzi runs inside the root.
viewer_running() {
  local pid
  for pid in $(pgrep -x rivizuzi); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && return 0
  done
  return 1
}

# Waits until the viewer that PID starts runs inside the root (and the
# command READY, if given, succeeds), then checks that it is still up 10 s
# later; fails with LOG's last lines otherwise.
expect_viewer_up() {  # PID LOG TIMEOUT WHAT [READY...]
  local pid=$1 log=$2 deadline=$((SECONDS + $3)) what=$4
  shift 4
  until viewer_running && "${@:-true}"; do
    kill -0 "$pid" 2>/dev/null || fail "$what ended before the viewer started" "$log"
    [ $SECONDS -lt $deadline ] || fail "$what did not start the viewer in time" "$log"
    sleep 2
  done
  sleep 10
  viewer_running || fail "the viewer of $what ended within 10 s of starting" "$log"
}

if [[ " $steps " == *" run "* ]]; then
  say "./run.sh (offscreen)"
  start=$SECONDS
  in_root 'QT_QPA_PLATFORM=offscreen exec ./run.sh' >"$log_dir/run.log" 2>&1 &
  run_pid=$!
  cfg=$root/src/rivizuzi/work/rivizuzi.cfg
  viewer=$root/src/rivizuzi/build/rivizuzi
  run_ready() { [ -f "$cfg" ] && [ -x "$viewer" ]; }
  # Install and build may take a while on a root that skipped the test step.
  expect_viewer_up "$run_pid" "$log_dir/run.log" 1800 ./run.sh run_ready
  grep -q 'spells_us.txt' "$cfg" || fail "work/rivizuzi.cfg does not name the sample" "$cfg"
  [ -s "$root/src/rivizuzi/work/spells_us.txt" ] || fail "no sample spell file" "$log_dir/run.log"
  say "./run.sh brought the viewer up on the sample in $((SECONDS - start)) s"
fi

if [[ " $steps " == *" deb "* ]]; then
  say "scripts/build-deb.sh"
  start=$SECONDS
  # Builds on what test.sh installed when it ran, from nothing when not.
  in_root 'scripts/build-deb.sh && build-deb/rivizuzi-gen-spells --output build-deb/spells_us.txt' \
    >"$log_dir/deb.log" 2>&1 || fail "scripts/build-deb.sh" "$log_dir/deb.log"
  sed -n '/^== lintian/,$p' "$log_dir/deb.log"
  cp "$root"/src/rivizuzi/build-deb/rivizuzi_*.deb "$root/src/rivizuzi/build-deb/spells_us.txt" "$log_dir/"
  deb=$(basename "$log_dir"/rivizuzi_*.deb)
  version=$(dpkg-deb -f "$log_dir/$deb" Version)
  say "built $deb in $((SECONDS - start)) s"

  new_root
  start=$SECONDS
  cp "$log_dir/$deb" "$log_dir/spells_us.txt" "$root/tmp/"
  say "apt-get install ./$deb in a second bare root"
  in_root "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./$deb" /tmp \
    >"$log_dir/install.log" 2>&1 || fail "apt-get install ./$deb" "$log_dir/install.log"

  answer=$(in_root 'rivizuzi-export --version' /tmp 2>&1) || fail "rivizuzi-export --version: $answer"
  [ "$answer" = "rivizuzi-export $version" ] || fail "rivizuzi-export --version says '$answer', not $version"
  in_root 'rivizuzi-export spells_us.txt > export.jsonl' /tmp 2>"$log_dir/export.log" ||
    fail "rivizuzi-export on the sample" "$log_dir/export.log"
  lines=$(wc -l <"$root/tmp/export.jsonl")
  [ "$lines" = "$(wc -l <"$root/tmp/spells_us.txt")" ] || fail "rivizuzi-export printed $lines lines"

  # The installed viewer from an empty folder: up to its loaded main window
  # and out again, from a terminal and as the desktop entry starts it.
  in_root 'mkdir empty && cd empty && QT_QPA_PLATFORM=offscreen rivizuzi --quit-when-ready /tmp/spells_us.txt' \
    /tmp >"$log_dir/viewer.log" 2>&1 || fail "rivizuzi --quit-when-ready FILE" "$log_dir/viewer.log"
  grep -qx /tmp/spells_us.txt "$root/tmp/empty/rivizuzi.cfg" ||
    fail "the viewer's settings do not name the sample" "$root/tmp/empty/rivizuzi.cfg"
  in_root 'QT_QPA_PLATFORM=offscreen rivizuzi --user-folder --quit-when-ready /tmp/spells_us.txt' /tmp \
    >"$log_dir/viewer.log" 2>&1 || fail "rivizuzi --user-folder FILE" "$log_dir/viewer.log"
  [ -f "$root/root/.local/share/rivizuzi/rivizuzi.cfg" ] || fail "no settings in ~/.local/share/rivizuzi"

  # And as a user starts it: it shows the disclaimer and waits (the clean-up
  # ends it).
  in_root 'mkdir empty2 && cd empty2 && QT_QPA_PLATFORM=offscreen exec rivizuzi /tmp/spells_us.txt' /tmp \
    >"$log_dir/viewer.log" 2>&1 &
  expect_viewer_up $! "$log_dir/viewer.log" 60 "the installed rivizuzi FILE"
  say "the package installed and both programs ran in $((SECONDS - start)) s"
fi

say "passed"
