#!/usr/bin/env bash
# Builds Projbridge-<version>-win64.zip: the converter and the wizard for 64-bit
# Windows, each with its runtime and Qt linked in, and a short text on their usage.
# The first run builds Qt for Windows (scripts/windows-qt.sh), which takes long.
# Usage: windows-release.sh [OUTPUT_FOLDER]   (default: the release build folder)
# Prints the path of the archive.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win64-release
output=$(mkdir -p "${1:-$build}" && cd "${1:-$build}" && pwd)
triple=x86_64-w64-mingw32

source "$root/scripts/helpers.sh"
version=$(project_version "$root")
name=Projbridge-$version-win64

qt=$(bash "$root/scripts/windows-qt.sh")
cmake -S "$root" -B "$build" -C "$qt" -DCMAKE_BUILD_TYPE=Release -DPROJBRIDGE_BUILD_WIZARD=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build" --target ProjbridgeCli Projbridge -j"$(nproc)"

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/$name"
for program in ProjbridgeCli Projbridge; do
  "$triple-strip" -o "$staging/$name/$program.exe" "$build/converter/$program.exe"
  # Only DLLs of Windows itself: a missing one would end the program silently.
  foreign=$("$triple-objdump" -p "$staging/$name/$program.exe" | sed -n 's/^\s*DLL Name: //p' \
    | grep -Ei '^(lib|qt)' || true)
  [ -z "$foreign" ] || { echo "$program.exe needs $foreign" >&2; exit 1; }
done
sed 's/$/\r/' "$root/packaging/USAGE.txt" > "$staging/$name/USAGE.txt"

# The converter must start on its own.
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
