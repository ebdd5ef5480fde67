#!/usr/bin/env bash
# How much of the converter the fuzz inputs reach: builds the fuzz target with
# clang's source-based coverage in build-fuzz/coverage, runs every input of
# build-fuzz/fuzz-corpus and build-fuzz/fuzz-seeds once (run scripts/fuzz.sh
# first), and prints the line, branch and function coverage of converter/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz/coverage
inputs=("$root/build-fuzz/fuzz-corpus" "$root/build-fuzz/fuzz-seeds")
for folder in "${inputs[@]}"; do
  if [ ! -d "$folder" ]; then
    echo "fuzz-coverage.sh: $folder is missing; run scripts/fuzz.sh first" >&2
    exit 1
  fi
done

source "$root/scripts/helpers.sh"
suffix=$(clang_suffix)
CXX=clang++$suffix cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DPROJBRIDGE_BUILD_WIZARD=OFF -DPROJBRIDGE_BUILD_FUZZER=ON \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping"
cmake --build "$build" --target projbridge_fuzz -j"$(nproc)"

make_scratch_folder
rm -f "$build"/*.profraw
TMPDIR=$scratch LLVM_PROFILE_FILE="$build/fuzz-%p.profraw" "$build/fuzz/projbridge_fuzz" -runs=0 "${inputs[@]}"
"llvm-profdata$suffix" merge -sparse "$build"/*.profraw -o "$build/fuzz.profdata"
"llvm-cov$suffix" report "$build/fuzz/projbridge_fuzz" -instr-profile="$build/fuzz.profdata" "$root/converter"
