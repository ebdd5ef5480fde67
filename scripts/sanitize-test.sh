#!/usr/bin/env bash
# Builds the converter and its whole unit and end-to-end suite with
# AddressSanitizer (LeakSanitizer included) and UndefinedBehaviorSanitizer in
# build-asan, and runs every test. A finding aborts the program that made it,
# so its test fails even where the expected exit status is 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-asan
jobs=${PROJBRIDGE_JOBS:-$(nproc)}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DPROJBRIDGE_BUILD_WIZARD=OFF -DPROJBRIDGE_SANITIZE=ON
cmake --build "$build" -j"$jobs"
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
ctest --test-dir "$build" --output-on-failure -j"$jobs"
