#!/usr/bin/env bash
# Installs, as root on Debian 12, the packages a task needs and nothing that is
# already there. Usage: install-deps.sh example|test|bench
set -euo pipefail

build_packages=(g++ make cmake python3)
wizard_packages=(qt6-base-dev)
test_packages=(libgtest-dev g++-mingw-w64-x86-64-posix wine wine64 clang-14 libclang-rt-14-dev cppcheck)
bench_packages=(libxml2-utils time valgrind)

case "${1:-}" in
  example) wanted=("${build_packages[@]}" "${wizard_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${wizard_packages[@]}" "${test_packages[@]}") ;;
  bench) wanted=("${build_packages[@]}" "${bench_packages[@]}") ;;
  *) echo "usage: $0 example|test|bench" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
