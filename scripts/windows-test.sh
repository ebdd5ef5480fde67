#!/usr/bin/env bash
# Cross-builds ProjbridgeCli and its tests for 64-bit Windows with mingw-w64 and
# runs them all under Wine, in a throwaway prefix inside the build folder.
# Usage: windows-test.sh [BUILD_FOLDER]   (default: build-win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win64}
jobs=$(nproc)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DPROJBRIDGE_BUILD_WIZARD=OFF
cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure -j"$jobs"
