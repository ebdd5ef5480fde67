#!/usr/bin/env bash
# Builds ProjbridgeCli in Release, times it against the disk's own cost (cat of the
# project plus cp -r of the tree it wrote) and xmllint on
# generated projects of 1,000 to 100,000 source files, and writes the table to
# bench/results.md.
#
#   bench/run.sh [--quick] [--rounds N] [--instructions] [--compdb-up-to FILES]
#
# --quick leaves out the 100,000-file projects; --instructions adds the
# instruction counts of ProjbridgeCli and xmllint under callgrind, which other
# load on the machine does not disturb (ten minutes more on two cores).
# BENCH_BUILD_DIR chooses the build folder (default: build-bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build-bench}

bash "$root/scripts/install-deps.sh" bench

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPROJBRIDGE_BUILD_WIZARD=OFF >/dev/null
cmake --build "$build" --target ProjbridgeCli -j"$(nproc)" >/dev/null

python3 "$root/bench/measure.py" "$build/converter/ProjbridgeCli" "$root/bench/results.md" "$@"
