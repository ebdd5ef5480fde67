#!/usr/bin/env bash
# Installs what is missing, builds both programs and converts the bundled
# example project into out/dsp-filter/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/install-deps.sh" example

cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build-release" -j"$(nproc)" --target ProjbridgeCli Projbridge

destination="$root/out/dsp-filter"
# The converter writes into an existing folder; a fresh one keeps runs apart.
rm -rf "$destination"
mkdir -p "$destination"
"$root/build-release/converter/ProjbridgeCli" \
  "$root/examples/dsp-filter/dsp-filter.dpj" "$destination" ""

echo
echo "Converted project: $destination/dsp-filter.prj"
echo "Folder tree and personality files:"
(cd "$destination" && find . | sort | sed 's|^\./||' | sed '/^\.$/d')
echo
echo "The wizard: $root/build-release/converter/Projbridge"
