#!/usr/bin/env bash
# Installs, on Debian 12, the packages a task needs and nothing that is already
# there: as root, or through sudo for any other user.
# Usage: install-deps.sh example|test|bench|windows-wizard|windows-release|package
#   example          build both programs and convert the example (scripts/example.sh)
#   test             what every test suite needs, the Windows builds, fuzzing and the packages among them
#   bench            build the converter and run bench/run.sh
#   windows-wizard   build the Windows Qt and the Windows wizard (scripts/windows-qt.sh)
#   windows-release  build the Windows zip and installer (scripts/windows-release.sh)
#   package          build and check the Debian package (scripts/linux-release.sh)
set -euo pipefail

build_packages=(g++ make cmake python3)
wizard_packages=(qt6-base-dev)
# The distribution's clang and its runtime libraries, libFuzzer among them.
test_packages=(libgtest-dev fonts-dejavu-core g++-mingw-w64-x86-64-posix wine wine64 clang libclang-rt-dev cppcheck)
bench_packages=(libxml2-utils time valgrind)
# Qt for Windows from Debian's source package, built with the host's Qt tools.
windows_wizard_packages=(qt6-base-dev-tools fonts-dejavu-core g++-mingw-w64-x86-64-posix wine wine64 ninja-build dpkg-dev xz-utils)
# The Debian package: dpkg-shlibdeps and dpkg-buildflags, file (with which
# CPack finds the programs to give dpkg-shlibdeps), the icon's conversion from
# XPM and the package's checker.
package_packages=(dpkg-dev file netpbm lintian)
# The Windows installer, by CPack's NSIS generator.
windows_release_packages=(nsis)

case "${1:-}" in
  example) wanted=("${build_packages[@]}" "${wizard_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${wizard_packages[@]}" "${test_packages[@]}" "${package_packages[@]}"
    "${windows_wizard_packages[@]}" "${windows_release_packages[@]}") ;;
  bench) wanted=("${build_packages[@]}" "${bench_packages[@]}") ;;
  windows-wizard) wanted=("${build_packages[@]}" "${wizard_packages[@]}" "${windows_wizard_packages[@]}") ;;
  windows-release) wanted=("${build_packages[@]}" "${wizard_packages[@]}" "${windows_wizard_packages[@]}"
    "${windows_release_packages[@]}") ;;
  package) wanted=("${build_packages[@]}" "${wizard_packages[@]}" "${package_packages[@]}") ;;
  *) echo "usage: $0 example|test|bench|windows-wizard|windows-release|package" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
# The Qt for Windows is built from the source package of the host's Qt, which
# needs the archive's source entries.
wants_sources=false
if [ "$1" = windows-wizard ] && ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Package:'; then
  wants_sources=true
fi
[ "${#missing[@]}" -gt 0 ] || $wants_sources || exit 0

# env carries the setting past sudo, which drops the caller's environment.
if [ "$(id -u)" -eq 0 ]; then
  as_root=(env)
elif command -v sudo >/dev/null; then
  as_root=(sudo env)
  echo "Not root: installing through sudo"
else
  echo "install-deps.sh: these packages are missing: ${missing[*]}" >&2
  ! $wants_sources || echo "install-deps.sh: and the archive's deb-src entries are missing." >&2
  echo "Installing them needs root, and sudo is not there: run this script as root, or install them." >&2
  exit 1
fi

if $wants_sources; then
  echo "Adding the archive's source entries: /etc/apt/sources.list.d/debian-src.sources"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
    "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
fi
[ "${#missing[@]}" -eq 0 ] || echo "Installing: ${missing[*]}"
if ! { "${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
  { [ "${#missing[@]}" -eq 0 ] ||
    "${as_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; }; then
  echo "install-deps.sh: could not install ${missing[*]}; install them as root and run this again." >&2
  exit 1
fi
