#!/usr/bin/env bash
# Cross-builds ProjbridgeCli, the wizard and their tests for 64-bit Windows with
# mingw-w64 and runs them all under Wine, in a throwaway prefix inside the build
# folder. The wizard needs a Qt for Windows, which takes long to build: it is
# built and tested only when scripts/windows-qt.sh has built that Qt before.
# Usage: windows-test.sh [BUILD_FOLDER]   (default: build-win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-win64}
jobs=$(nproc)

if qt=$(bash "$root/scripts/windows-qt.sh" --cached); then
  wizard=(-C "$qt" -DPROJBRIDGE_BUILD_WIZARD=ON)
else
  echo "No Qt for Windows built yet (bash scripts/windows-qt.sh): the Windows wizard is not tested."
  wizard=(-DPROJBRIDGE_BUILD_WIZARD=OFF)
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug "${wizard[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build" -j"$jobs"
# Now and then Wine fails to start a test program, which then exits at once with
# no output at all; a test that fails is run once more, so that only a failure
# that repeats fails the suite.
ctest --test-dir "$build" --output-on-failure -j"$jobs" --repeat until-pass:2
