#!/usr/bin/env bash
# Installs what is missing, builds, generates the sample spell file and opens
# the viewer on it. The viewer keeps its settings (rivizuzi.cfg) and dumps in
# its working folder, work/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target rivizuzi rivizuzi-gen-spells

mkdir -p work
if [ ! -f work/spells_us.txt ]; then
  ./build/rivizuzi-gen-spells --output work/spells_us.txt
fi
if [ ! -f work/rivizuzi.cfg ]; then
  printf '%s\n65 0 120 240\n' "$PWD/work/spells_us.txt" > work/rivizuzi.cfg
fi
cd work
exec ../build/rivizuzi "$@"
