#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headlessly: once in a
# release build (warnings as errors, the configuration users and packagers
# build first) and once under AddressSanitizer + UndefinedBehaviorSanitizer,
# then each fuzz target for a short bounded run.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
started=$SECONDS

echo "== build (release, warnings as errors) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIVIZUZI_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
echo "== format check =="
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror
else
  find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs -r clang-format --dry-run --Werror
fi
echo "== includes point one way, no include circles =="
./scripts/check-includes.sh
echo "== tests =="
./scripts/test-ratio.sh
ctest --test-dir build --output-on-failure -j"$jobs" -LE long
echo "== desktop entry and AppStream metadata, also as installed together =="
desktop-file-validate packaging/io.github.rivizuzi.Rivizuzi.desktop
appstreamcli validate --no-net build/packaging/io.github.rivizuzi.Rivizuzi.metainfo.xml
rm -rf build/installed
DESTDIR="$PWD/build/installed" cmake --install build --prefix /usr >/dev/null
appstreamcli validate-tree --no-net build/installed

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRIVIZUZI_SANITIZE=ON -DRIVIZUZI_BENCH=OFF \
  -DRIVIZUZI_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
echo "== tests under the sanitizers =="
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE long

echo "== fuzz targets (clang release, libFuzzer with the sanitizers), a short bounded run each =="
./scripts/fuzz.sh "${RIVIZUZI_FUZZ_SECONDS:-30}"

echo "== test.sh passed in $((SECONDS - started)) s =="
