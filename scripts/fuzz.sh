#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs
# each for SECONDS seconds, one after the other.
#
#   scripts/fuzz.sh SECONDS [TARGET...]     e.g. scripts/fuzz.sh 3600
#
# TARGET is a name like reader (default: every target in tests/fuzz).
# The corpus grows in build-fuzz/corpus/<target> from run to run; the seeds
# in tests/fuzz/<target>/ are only read. An input that crashes or breaks an
# invariant is saved as build-fuzz/artifacts/<target>-crash-*; replay it
# with build-fuzz/fuzz_<target> FILE. Exits non-zero when any target failed.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]] || [ "$1" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIVIZUZI_WERROR=ON \
  -DRIVIZUZI_FUZZ=ON -DRIVIZUZI_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target rivizuzi_fuzzers

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

mkdir -p "$build/artifacts"
failed=()
summary=()
for name in "${targets[@]}"; do
  binary="$build/fuzz_$name"
  if [ ! -x "$binary" ]; then
    echo "no fuzz target named $name" >&2
    exit 2
  fi
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  log="$build/artifacts/$name.log"
  # Spell files need room for lines longer than the reader's line buffer.
  extra=()
  [ "$name" = reader ] && extra+=(-max_len=16384)
  echo "== fuzz_$name for ${seconds}s =="
  status=0
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name-" "${extra[@]}" "$corpus" "tests/fuzz/$name" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 || true)
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    summary+=("fuzz_$name: FAILED after ${runs:-?} runs ($cov) - see $log")
    grep -E 'invariant failed|ERROR|runtime error|SUMMARY' "$log" | head -5 >&2 || true
  else
    summary+=("fuzz_$name: ok, ${runs:-?} runs in ${seconds}s, $cov, corpus $(ls "$corpus" | wc -l) inputs")
  fi
done

echo "== fuzz summary =="
printf '%s\n' "${summary[@]}"
[ ${#failed[@]} -eq 0 ]
