#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the viewer need.
# Idempotent: does nothing when everything is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-tools-dev libqt6uitools6 libqt6opengl6-dev qt6-qpa-plugins libgl1-mesa-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  clang clang-format libclang-rt-14-dev
  fonts-dejavu-core
  desktop-file-utils appstream
  # tests read shared Markdown and HTML back with real parsers and check reports with tidy
  cmark-gfm libcmark-gfm-dev libcmark-gfm-extensions-dev tidy libxml2-dev
  # scripts/check-includes.sh
  python3
)
# scripts/build-deb.sh: the package's dependencies (dpkg-shlibdeps reads the
# programs through file) and its check.
if [ "${RIVIZUZI_PACKAGING_TOOLS:-0}" = 1 ]; then
  packages+=(dpkg-dev file lintian)
fi
if [ "${RIVIZUZI_SCREENSHOT_TOOLS:-0}" = 1 ]; then
  packages+=(xvfb xdotool imagemagick openbox)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
