#!/usr/bin/env bash
# Builds projbridge_<version>_amd64.deb: both programs, their manual pages, the
# desktop entry with its icon and the documentation, for Debian 12. Its Depends
# are the libraries the programs link, found by dpkg-shlibdeps.
# Usage: linux-release.sh [OUTPUT_FOLDER]   (default: the release build folder)
# Prints the path of the package on standard output, the build's progress on
# standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-linux-release
output=$(mkdir -p "${1:-$build}" && cd "${1:-$build}" && pwd)

bash "$root/scripts/install-deps.sh" package >&2
source "$root/scripts/helpers.sh"
version=$(project_version "$root")

# The changelog's and manual pages' date is the commit's, so that a package
# built twice from one commit is the same.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi

# Debian's hardening flags, as a package built by Debian's own tools gets them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(cd "$root" && dpkg-buildflags --get CPPFLAGS) $(cd "$root" && dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPROJBRIDGE_BUILD_WIZARD=ON \
  -DPROJBRIDGE_BUILD_TESTS=OFF -DPROJBRIDGE_BUILD_PACKAGE=ON \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >&2
cmake --build "$build" -j"$(nproc)" >&2

package=projbridge_${version}_amd64.deb
rm -f "$build/$package"
(cd "$build" && cpack -G DEB >&2)
[ "$output" = "$build" ] || cp "$build/$package" "$output/$package"
echo "$output/$package"
