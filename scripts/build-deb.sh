#!/usr/bin/env bash
# Builds the Debian package in one command, from a clean clone:
#
#   scripts/build-deb.sh      ->  build-deb/rivizuzi_<version>_<arch>.deb
#
# Installs what is missing (the build's packages, dpkg-dev, file, lintian),
# builds in build-deb/ afresh (no tests, no benchmarks) with Debian's hardening flags
# (dpkg-buildflags), makes the package with CPack (dependencies computed by
# dpkg-shlibdeps) and checks it with lintian: an error fails the build,
# warnings are listed.
set -euo pipefail
cd "$(dirname "$0")/.."
RIVIZUZI_PACKAGING_TOOLS=1 ./scripts/install-deps.sh

# Every hardening feature, immediate binding included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
rm -rf build-deb
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DRIVIZUZI_TESTS=OFF -DRIVIZUZI_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB >/dev/null)

deb=$(ls build-deb/rivizuzi_*.deb)
echo "== lintian $deb =="
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "built $deb"
