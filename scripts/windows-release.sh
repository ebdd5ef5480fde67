#!/usr/bin/env bash
# Builds the Windows downloads of the converter and the wizard for 64-bit
# Windows, each program with its runtime and Qt linked in: the zip
# Projbridge-<version>-win64.zip and the installer
# Projbridge-<version>-win64-setup.exe, both of the same files: the programs,
# a short text on their usage, the licence and the third-party notices.
# The first run builds Qt for Windows (scripts/windows-qt.sh), which takes long.
# Usage: windows-release.sh [OUTPUT_FOLDER]   (default: the release build folder)
# Prints the paths of the zip and the installer, one a line, on standard
# output, the build's progress on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win64-release
output=$(mkdir -p "${1:-$build}" && cd "${1:-$build}" && pwd)
triple=x86_64-w64-mingw32

bash "$root/scripts/install-deps.sh" windows-release >&2
source "$root/scripts/helpers.sh"
version=$(project_version "$root")
name=Projbridge-$version-win64

qt=$(bash "$root/scripts/windows-qt.sh")
cmake -S "$root" -B "$build" -C "$qt" -DCMAKE_BUILD_TYPE=Release -DPROJBRIDGE_BUILD_WIZARD=ON \
  -DPROJBRIDGE_BUILD_TESTS=OFF -DPROJBRIDGE_BUILD_PACKAGE=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >&2
cmake --build "$build" -j"$(nproc)" >&2

for program in ProjbridgeCli Projbridge; do
  # Only DLLs of Windows itself: a missing one would end the program silently.
  foreign=$("$triple-objdump" -p "$build/converter/$program.exe" | sed -n 's/^\s*DLL Name: //p' \
    | grep -Ei '^(lib|qt)' || true)
  [ -z "$foreign" ] || { echo "$program.exe needs $foreign" >&2; exit 1; }
done

rm -f "$build/$name.zip" "$build/$name-setup.exe"
(cd "$build" && cpack >&2)
for download in "$name.zip" "$name-setup.exe"; do
  [ "$output" = "$build" ] || cp "$build/$download" "$output/$download"
  echo "$output/$download"
done
