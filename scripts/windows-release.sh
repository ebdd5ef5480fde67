#!/usr/bin/env bash
# Builds ProjbridgeCli-<version>-win64.zip: the program for 64-bit Windows, with
# its runtime linked in, and a short text on its usage.
# Usage: windows-release.sh [OUTPUT_FOLDER]   (default: the release build folder)
# Prints the path of the archive.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win64-release
output=$(mkdir -p "${1:-$build}" && cd "${1:-$build}" && pwd)
triple=x86_64-w64-mingw32

version=$(sed -n 's/^project(Projbridge VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in $root/CMakeLists.txt" >&2; exit 1; }
name=ProjbridgeCli-$version-win64

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DPROJBRIDGE_BUILD_WIZARD=OFF
cmake --build "$build" --target ProjbridgeCli -j"$(nproc)"

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/$name"
"$triple-strip" -o "$staging/$name/ProjbridgeCli.exe" "$build/converter/ProjbridgeCli.exe"
sed 's/$/\r/' "$root/packaging/USAGE.txt" > "$staging/$name/USAGE.txt"

# The program must start on its own: a missing DLL would end it silently.
prefix=$staging/wineprefix
usage=$("$root/cmake/wine-run.sh" "$prefix" "$staging/$name/ProjbridgeCli.exe" | tr -d '\r')
"$root/cmake/wine-run.sh" "$prefix" --stop
case "$usage" in
  "Usage: ProjbridgeCli "*) ;;
  *) echo "ProjbridgeCli.exe did not start under Wine" >&2; exit 1 ;;
esac

rm -f "$output/$name.zip"
(cd "$staging" && cmake -E tar cf "$output/$name.zip" --format=zip "$name")
echo "$output/$name.zip"
