#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headlessly: once in a
# plain build and once under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== build (release with debug info) =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== format check =="
git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror
echo "== tests =="
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRIVIZUZI_SANITIZE=ON -DRIVIZUZI_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
echo "== tests under the sanitizers =="
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzz targets (clang, libFuzzer with the sanitizers), a short bounded run each =="
./scripts/fuzz.sh "${RIVIZUZI_FUZZ_SECONDS:-15}"
