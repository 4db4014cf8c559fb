#!/usr/bin/env bash
# Mutation check of the test suite: applies each deliberate fault of a list
# (default scripts/mutants.txt), rebuilds the test programs and runs them; a
# mutant is killed when some test fails (or hangs), and survives when every
# test still passes. Prints one line per mutant and the score.
#
#   scripts/mutate.sh [LIST]
#
# RIVIZUZI_MUTATE_FILTER limits the run to some tests (a GoogleTest filter,
# e.g. 'Reader*:Settings*'), to see which mutants those tests kill on their
# own. RIVIZUZI_MUTATE_NAMES=1 also lists the tests that fail for each mutant.
#
# The source tree is restored after every mutant, also when interrupted.
# Builds in build-mutate/ (RIVIZUZI_MUTATE_BUILD changes that).
set -euo pipefail
cd "$(dirname "$0")/.."
list=${1:-scripts/mutants.txt}
build=${RIVIZUZI_MUTATE_BUILD:-build-mutate}
export QT_QPA_PLATFORM=offscreen

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 -DRIVIZUZI_BENCH=OFF >/dev/null
build_tests() { cmake --build "$build" -j"$(nproc)" --target rivizuzi_core_tests rivizuzi_ui_tests >/dev/null 2>&1; }
# Long runs (the soak) add nothing per mutant.
filter=${RIVIZUZI_MUTATE_FILTER:-*}
failures=$(mktemp)
run_tests() {
  local status=0
  : >"$failures"
  timeout 600 "$build/rivizuzi_core_tests" --gtest_brief=1 --gtest_filter="$filter" >>"$failures" 2>&1 || status=1
  if [ "$status" = 0 ] || [ -n "${RIVIZUZI_MUTATE_NAMES:-}" ]; then
    (cd "$build" && timeout 600 ./rivizuzi_ui_tests --gtest_brief=1 --gtest_filter="$filter:-Soak*") >>"$failures" 2>&1 ||
      status=1
  fi
  return "$status"
}
failed_names() { grep -o '^\[  FAILED  \] [A-Za-z0-9_/.]*' "$failures" | sed 's/.*\] //' | sort -u | tr '\n' ' '; }

build_tests || { echo "the unmutated tree does not build" >&2; exit 1; }
run_tests || { echo "the unmutated tree fails its tests" >&2; exit 1; }

backup=""
target=""
restore() {
  if [ -n "$backup" ]; then
    cp "$backup" "$target"
    rm -f "$backup"
    backup=""
  fi
}
trap 'restore; rm -f "$failures"' EXIT
trap 'exit 130' INT TERM

killed=0
survived=0
skipped=0
n=0
while IFS=$'\t' read -r file text replacement; do
  [[ -z "$file" || "$file" == \#* ]] && continue
  n=$((n + 1))
  if ! grep -qF -- "$text" "$file"; then
    echo "mutant $n: SKIPPED (text not found) $file: $text"
    skipped=$((skipped + 1))
    continue
  fi
  target=$file
  backup=$(mktemp)
  cp "$file" "$backup"
  TEXT=$text REPLACEMENT=$replacement perl -0pi -e 's/\Q$ENV{TEXT}\E/$ENV{REPLACEMENT}/' "$file"
  if ! build_tests; then
    verdict="SKIPPED (does not build)"
    skipped=$((skipped + 1))
  elif run_tests; then
    verdict="SURVIVED"
    survived=$((survived + 1))
  else
    verdict="killed"
    killed=$((killed + 1))
  fi
  restore
  echo "mutant $n: $verdict  $file: $text  ->  $replacement"
  if [ -n "${RIVIZUZI_MUTATE_NAMES:-}" ] && [ "$verdict" = killed ]; then echo "  failed: $(failed_names)"; fi
done <"$list"
build_tests || true

echo "mutation score: $killed of $((killed + survived)) killed, $survived survived, $skipped skipped"
