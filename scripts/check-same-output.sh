#!/usr/bin/env bash
# Checks that two builds of the exporter write the same bytes: every mode
# (default, --level, --search, --stacking, --diff) on the generated sample,
# on a modified copy of it and on hostile files, comparing standard output,
# standard error and exit status of REF_EXPORTER and NEW_EXPORTER.
#
#   scripts/check-same-output.sh REF_EXPORTER NEW_EXPORTER
#
# The sample comes from rivizuzi-gen-spells beside NEW_EXPORTER (or $GEN).
# The hostile files are those of the loading benchmark (50 MB of overlong
# lines, one line of 50 MB, 50 MB of binary bytes, 100,000 short lines) and
# a small file of edge cases. Needs about 1 GB of room under $TMPDIR.
# Exit status 0 when every run matches, 1 otherwise.
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 REF_EXPORTER NEW_EXPORTER" >&2
  exit 2
fi
ref=$(realpath "$1")
new=$(realpath "$2")
gen=${GEN:-$(dirname "$new")/rivizuzi-gen-spells}
for program in "$ref" "$new" "$gen"; do
  [[ -x $program ]] || { echo "$0: $program is not an executable" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/rivizuzi-same-output.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# ---- Files ------------------------------------------------------------------

"$gen" --output sample.txt

# The comparison benchmark's pair: every 50th line removed, every 10th (from
# the second) with its duration and first slot's base changed, and one new
# spell per 50 lines added at the end.
awk 'BEGIN { FS = "\\^"; OFS = "^" }
     { lines[NR - 1] = $0 }
     END {
       for (i = 0; i < NR; ++i) {
         if (i % 50 == 0) continue
         $0 = lines[i]
         if (i % 10 == 1) { $18 = $18 + 10; $21 = $21 + 7 }
         print
       }
       for (i = 0; i < int(NR / 50); ++i) {
         $0 = lines[i]
         $1 = 900000 + i; $2 = "Added spell " i
         print
       }
     }' sample.txt > modified.txt

# 4000 sample lines, each stretched in its last column to about 13 kB.
awk 'BEGIN { z = "z"; while (length(z) < 13108) z = z z }
     { print $0 substr(z, 1, 13107 - length($0)) }' sample.txt > long-lines.txt
{ printf '1^'; head -c $((50 << 20)) /dev/zero | tr '\0' 'q'; printf '\n2^After\n'; } > one-line.txt
python3 -c 'import random, sys; random.seed(7); sys.stdout.buffer.write(random.randbytes(50 << 20))' > garbage.txt
awk 'BEGIN { for (i = 0; i < 100000; ++i) print i "^Spell " i }' > short-lines.txt

# Edge cases: CRLF line ends, Latin-1 and UTF-8 names, a NUL byte, an
# overlong column, numbers beyond the int range, an empty line, duplicate
# ids, links and procs to other lines, instant spells, the location
# effects in the last slots, and a line with fewer columns.
head -n 40 sample.txt | sed 's/$/\r/' > edge.txt
awk 'BEGIN { FS = "\\^"; OFS = "^" }
     NR <= 30 {
       if (NR % 3 == 0) $2 = $2 "\xe9\xe8"
       if (NR % 3 == 1) $2 = $2 " \xc3\xa9"
       if (NR % 4 == 0) $18 = 0
       if (NR % 5 == 0) { $1 = 7; $151 = 7 }
       if (NR % 6 == 0) { $97 = 85; $31 = 7; $98 = 139; $32 = -7 }
       if (NR % 7 == 0) { $96 = 83; $97 = 88; $98 = 104; $4 = "" }
       if (NR % 8 == 0) { $22 = "-99999999999"; $46 = "99999999999"; $72 = "-2147483648" }
       if (NR % 9 == 0) { $3 = $3 $3 $3 $3 $3 $3 $3 $3 "x"; while (length($3) < 400) $3 = $3 "-" $3 }
       print
     }' sample.txt >> edge.txt
printf '\n12^Half a line^x^\n13^Nul\0byte^\n' >> edge.txt

files=(sample.txt modified.txt edge.txt long-lines.txt one-line.txt garbage.txt short-lines.txt)

# ---- Runs -------------------------------------------------------------------

runs=0
failures=0

# Runs both exporters with the same arguments and compares what they wrote.
check() {
  local status_ref=0 status_new=0
  "$ref" "$@" > ref.out 2> ref.err || status_ref=$?
  "$new" "$@" > new.out 2> new.err || status_new=$?
  runs=$((runs + 1))
  if [[ $status_ref -ne $status_new ]] || ! cmp -s ref.out new.out || ! cmp -s ref.err new.err; then
    failures=$((failures + 1))
    echo "DIFFERS: $* (status $status_ref / $status_new)"
    cmp ref.out new.out || true
    cmp ref.err new.err || true
  fi
}

for file in "${files[@]}"; do
  check "$file"
  for level in 1 30 65; do check --level "$level" "$file"; done
  check --search "" "$file"
  for class in 1 4096 16384; do check --search "" --class "$class" "$file"; done
  for text in a "of the" ZZZ; do check --search "$text" "$file"; done
  for effect in 0 11 85; do check --search "" --effect "$effect" "$file"; done
  check --search e --class 8192 --effect 0 "$file"
  for index in -1 0 1 2 17 39 44 1234 3998 3999 4000; do check --stacking "$index" "$file"; done
  check --stacking 5 --level 40 "$file"
  check --stacking 39 --level 1 "$file"
done

# Comparisons: the benchmark's pair both ways, with and without a level, and
# every other file against the sample.
check --diff sample.txt modified.txt
check --diff modified.txt sample.txt
for level in 1 40 65; do check --diff sample.txt modified.txt --level "$level"; done
for file in "${files[@]:2}"; do
  check --diff sample.txt "$file"
  check --diff "$file" sample.txt --level 20
done
check --diff missing.txt sample.txt
check --diff sample.txt missing.txt

echo "$runs runs, $failures differ"
[[ $failures -eq 0 ]]
