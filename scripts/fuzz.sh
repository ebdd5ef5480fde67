#!/usr/bin/env bash
# Fuzzes the converter with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer: builds the fuzz target with clang in build-fuzz,
# seeds it with every project file of the end-to-end cases, of the real
# projects' folder if the build has one (PROJBRIDGE_CORPUS_DIR) and of
# fuzz/seeds, and runs it for a bounded
# time. Any finding (crash, leak, undefined behaviour, hang, runaway memory, a
# write beside the destination, output out of shape) fails the script and
# leaves its input in build-fuzz/fuzz-findings.
#
#   scripts/fuzz.sh                              two minutes, as CI runs it
#   scripts/fuzz.sh 3600                         an hour, for a longer local run
#   PROJBRIDGE_FUZZ_SECONDS=3600 scripts/fuzz.sh the same
#
# Inputs that reach new code are kept in build-fuzz/fuzz-corpus, so local runs
# go on where the last one stopped; scripts/fuzz-coverage.sh then shows how much
# of the converter they reach. A finding is replayed with
#   build-fuzz/fuzz/projbridge_fuzz build-fuzz/fuzz-findings/crash-...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${PROJBRIDGE_FUZZ_SECONDS:-120}}
build=$root/build-fuzz
# A single input that takes longer than this is a hang.
input_timeout_seconds=10
rss_limit_mb=2048

source "$root/scripts/helpers.sh"
suffix=$(clang_suffix)
CXX=clang++$suffix cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPROJBRIDGE_BUILD_WIZARD=OFF -DPROJBRIDGE_BUILD_FUZZER=ON
cmake --build "$build" --target projbridge_fuzz -j"$(nproc)"

seeds=$build/fuzz-seeds
corpus=$build/fuzz-corpus
findings=$build/fuzz-findings
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$findings"
# The fuzz target's own seeds hold the elements that no case and no real
# project has.
seed_folders=("$root/fuzz/seeds" "$root/tests/cases")
corpus_dir=$(sed -n 's/^PROJBRIDGE_CORPUS_DIR:PATH=//p' "$build/CMakeCache.txt")
if [ -n "$corpus_dir" ] && [ -d "$corpus_dir" ]; then
  seed_folders+=("$corpus_dir")
fi
count=0
while IFS= read -r -d '' project; do
  count=$((count + 1))
  cp "$project" "$seeds/$count-$(basename "$project")"
done < <(find "${seed_folders[@]}" -name '*.dpj' -type f -print0 | sort -z)
echo "fuzz.sh: $count seed project files, $seconds seconds"

# The conversions write below a temporary folder of this run only.
make_scratch_folder
TMPDIR=$scratch ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$build/fuzz/projbridge_fuzz" -dict="$root/fuzz/project.dict" -max_total_time="$seconds" \
  -timeout="$input_timeout_seconds" -rss_limit_mb="$rss_limit_mb" -artifact_prefix="$findings/" \
  -print_final_stats=1 "$corpus" "$seeds"
