#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

bash "$root/scripts/install-deps.sh" test

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

# The Debian package, built in Release, and its converter against this build's.
package=$(bash "$root/scripts/linux-release.sh")
bash "$root/scripts/linux-package-check.sh" "$package" "$root/build/converter/ProjbridgeCli"

# The converter and the wizard for Windows, cross-built, with the same tests
# under Wine; then the Windows downloads, and the installer under Wine.
bash "$root/scripts/windows-test.sh" "$root/build-win64"
installer=$(bash "$root/scripts/windows-release.sh" | grep -- '-setup\.exe$')
bash "$root/scripts/windows-installer-check.sh" "$installer" "$root/build/converter/ProjbridgeCli"

# A bounded fuzzing run, then the converter's suite again under
# AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer.
bash "$root/scripts/fuzz.sh"
bash "$root/scripts/sanitize-test.sh"
