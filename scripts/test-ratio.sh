#!/usr/bin/env bash
# Prints the size of the test suite against the code it tests: C++ lines of
# tests/ against those of src/, tools/ and bench/. The aim is a quarter to a
# third; past that, tests restate the code instead of catching its faults.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | wc -l; }
tests=$(count tests)
code=$(count src tools bench)
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", t / c }')
echo "test suite: $tests lines of tests against $code lines of code (ratio $ratio; aim 0.25 to 0.33)"
if awk -v r="$ratio" 'BEGIN { exit !(r > 0.33) }'; then
  echo "note: the tests have grown past a third of the code; fold new cases into the existing tables"
fi
