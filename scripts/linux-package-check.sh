#!/usr/bin/env bash
# Checks a Debian package of Projbridge without installing it: its files, its
# Depends, Debian's package checker, and that its converter, unpacked, converts
# the bundled example exactly as a converter built from the tree does.
# Usage: linux-package-check.sh PACKAGE.deb BUILT_PROJBRIDGECLI
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
package=$(realpath "$1")
reference=$(realpath "$2")

fail() { echo "linux-package-check.sh: $package: $*" >&2; exit 1; }

listing=$(dpkg-deb -c "$package")
for file in usr/bin/ProjbridgeCli usr/bin/Projbridge usr/share/applications/projbridge.desktop \
  usr/share/man/man1/ProjbridgeCli.1.gz usr/share/doc/projbridge/copyright; do
  grep -q " \./$file\$" <<<"$listing" || fail "no /$file"
done

# Qt's Widgets and what every C++ program needs, nothing else: another library
# would be one that a user's apt-get install pulls in for no use.
depends=$(dpkg-deb -f "$package" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks libqt6widgets6: $depends"
unexpected=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' |
  grep -Ev '^(libc6|libgcc-s1|libstdc\+\+6|libqt6(core|gui|widgets)6)$' || true)
[ -z "$unexpected" ] || fail "Depends holds $unexpected"

lintian --fail-on error "$package" || fail "lintian reports errors"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$package" "$scratch/root"
# One destination path for both runs: the project file names its own folders.
convert() {
  rm -rf "$scratch/out"
  mkdir "$scratch/out"
  "$1" "$root/examples/dsp-filter/dsp-filter.dpj" "$scratch/out" "" >/dev/null || fail "$1 failed on the example"
}
convert "$reference"
mv "$scratch/out" "$scratch/expected"
convert "$scratch/root/usr/bin/ProjbridgeCli"
diff -r "$scratch/expected" "$scratch/out" >&2 || fail "its ProjbridgeCli converts the example differently"
echo "$package: files, Depends, lintian and the example's conversion are right"
