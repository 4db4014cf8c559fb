#!/usr/bin/env bash
# Proves the README's two commands on a bare Debian 12: builds a minimal
# Debian 12 root (apt and git, nothing else), copies the committed tree into
# it and runs, inside it, ./test.sh and then ./run.sh offscreen until the
# viewer has been up for a while on the generated sample.
#
#   scripts/check-fresh-machine.sh            run as root (mmdebstrap, chroot, mounts)
#
# Environment:
#   RIVIZUZI_FRESH_STEPS   which steps to run: "test run" (default), or one of them
#   RIVIZUZI_KEEP_BASE=0   build the base root anew instead of reusing the cached one
#
# Only the bare base root is cached between runs (/var/tmp/rivizuzi-base-*.tar), and
# the downloaded .deb files (/var/tmp/rivizuzi-apt-archives) so that a run does not
# fetch the same packages again; every package is installed afresh each time.
# Nothing of the project is kept. Mounts and the root directory are removed on
# every exit, failed or not.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

steps=${RIVIZUZI_FRESH_STEPS:-test run}
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

root=$(mktemp -d /var/tmp/rivizuzi-fresh-root.XXXXXX)
mounted=()

cleanup() {
  local status=$?
  set +e
  # Kill whatever still runs inside the root (the viewer of the run step).
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    link=$(readlink "/proc/$pid/root" 2>/dev/null) || continue
    [ "$link" = "$root" ] && kill -9 "$pid" 2>/dev/null
  done
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"
  done
  # Never remove the root while anything is still mounted inside it: a bound
  # /dev would take the host's devices with it.
  if grep -q " $root/" /proc/mounts; then
    echo "fresh machine: mounts left under $root, not removing it" >&2
    status=1
  else
    rm -rf --one-file-system "$root"
  fi
  rm -rf "$log_dir"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "unpacking the base root into $root"
tar -xf "$base_tar" -C "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

mount_into() {  # mount_into TARGET mount-arguments...
  local target=$root$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}
mount_into /proc -t proc proc
mount_into /dev --bind /dev
[ -d /dev/pts ] && mount_into /dev/pts --bind /dev/pts
mount_into /dev/shm -t tmpfs -o mode=1777 tmpfs
mount_into /sys --bind /sys
mkdir -p "$apt_cache"
mount_into /var/cache/apt/archives --bind "$apt_cache"

say "copying the committed tree (git archive HEAD)"
mkdir -p "$root/src/rivizuzi"
git -C "$repo" archive HEAD | tar -x -C "$root/src/rivizuzi"

# A clean environment, as a login shell on the new machine would have.
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI="${CI:-}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    RIVIZUZI_FUZZ_SECONDS="${RIVIZUZI_FUZZ_SECONDS:-}" \
    bash -c "cd /src/rivizuzi && $1"
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

if [[ " $steps " == *" run "* ]]; then
  say "./run.sh (offscreen)"
  start=$SECONDS
  in_root 'QT_QPA_PLATFORM=offscreen exec ./run.sh' >"$log_dir/run.log" 2>&1 &
  run_pid=$!
  cfg=$root/src/rivizuzi/work/rivizuzi.cfg
  viewer=$root/src/rivizuzi/build/rivizuzi
  # Install and build may take a while on a root that skipped the test step.
  deadline=$((SECONDS + 1800))
  until [ -f "$cfg" ] && [ -x "$viewer" ] && viewer_running; do
    kill -0 "$run_pid" 2>/dev/null || fail "./run.sh ended before the viewer started" "$log_dir/run.log"
    [ $SECONDS -lt $deadline ] || fail "./run.sh did not start the viewer in time" "$log_dir/run.log"
    sleep 2
  done
  sleep 10
  viewer_running || fail "the viewer ended within 10 s of starting" "$log_dir/run.log"
  grep -q 'spells_us.txt' "$cfg" || fail "work/rivizuzi.cfg does not name the sample" "$cfg"
  [ -s "$root/src/rivizuzi/work/spells_us.txt" ] || fail "no sample spell file" "$log_dir/run.log"
  say "./run.sh brought the viewer up on the sample in $((SECONDS - start)) s"
fi

say "passed"
