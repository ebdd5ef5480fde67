#!/usr/bin/env bash
# Checks the Windows installer under Wine, in a fresh prefix, as a user would
# meet it: a silent installation; its converter converts the bundled example
# to the same bytes as a converter built from the tree; the Start-menu shortcut
# starts the wizard in its settings folder; the uninstall entry is there; a
# silent uninstallation removes the program, shortcut and entry and keeps the
# wizard's settings.
# Usage: windows-installer-check.sh INSTALLER.exe BUILT_PROJBRIDGECLI
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
installer=$(realpath "$1")
reference=$(realpath "$2")

fail() { echo "windows-installer-check.sh: $installer: $*" >&2; exit 1; }

# On disk: a Wine prefix is too large for the memory file system.
scratch=$(mktemp -d)
prefix=$scratch/prefix
trap '"$root/cmake/wine-run.sh" "$prefix" --stop; rm -rf "$scratch"' EXIT
wine() { "$root/cmake/wine-run.sh" "$prefix" "$@"; }
# A folder of the user's, by its environment variable, as a Windows path.
user_folder() { wine cmd /c echo "%$1%" | tr -d '\r'; }
host_path() { wine winepath -u "$1" | tr -d '\r'; }
windows_path() { wine winepath -w "$1" | tr -d '\r'; }

wine "$installer" /S || fail "the silent installation failed"

local_data=$(user_folder LOCALAPPDATA)
installed=$(host_path "$local_data\\Programs\\Projbridge")
settings=$(host_path "$local_data\\Projbridge")
start_menu=$(host_path "$(user_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Projbridge")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Projbridge'

for file in bin/ProjbridgeCli.exe bin/Projbridge.exe LICENSE.txt NOTICE.txt THIRD-PARTY-NOTICES.txt \
  Uninstall.exe; do
  [ -f "$installed/$file" ] || fail "installed no $file in $installed"
done

# One destination path for both runs, in the prefix whose registry both read:
# the project file names its own folders.
example=$root/examples/dsp-filter/dsp-filter.dpj
mkdir "$scratch/out"
WINEPREFIX=$prefix "$reference" "$example" "$scratch/out" "" >/dev/null ||
  fail "$reference failed on the example"
[ -f "$scratch/out/dsp-filter.prj" ] || fail "$reference wrote no project for the example"
mv "$scratch/out" "$scratch/expected"
mkdir "$scratch/out"
wine "$installed/bin/ProjbridgeCli.exe" "$(windows_path "$example")" "$(windows_path "$scratch/out")" "" \
  >/dev/null || fail "the installed ProjbridgeCli.exe failed on the example"
diff -r "$scratch/expected" "$scratch/out" >&2 ||
  fail "the installed ProjbridgeCli.exe converts the example differently"

# A link holds its target as a plain string, its working folder as UTF-16,
# each string led by its length.
shortcut=$start_menu/Projbridge.lnk
[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
link_has() {
  strings -e "$1" "$shortcut" | want=$2 awk 'BEGIN { want = tolower(ENVIRON["want"]) }
    { line = tolower($0) } substr(line, length(line) - length(want) + 1) == want { found = 1 }
    END { exit !found }'
}
link_has s "$local_data\\Programs\\Projbridge\\bin\\Projbridge.exe" ||
  fail "the shortcut does not start the installed Projbridge.exe"
link_has l "$local_data\\Projbridge" || fail "the shortcut does not start the wizard in its settings folder"
[ -d "$settings" ] || fail "no settings folder $settings"

wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | grep -qi 'Uninstall.exe' ||
  fail "no uninstall entry $uninstall_key"

# What the wizard writes in its working folder after a run.
printf 'Settings of a user\r\n' > "$settings/settings.txt"

# The uninstaller runs on from a copy of itself and returns at once.
wine "$installed/Uninstall.exe" /S || fail "the silent uninstallation failed"
for _ in $(seq 120); do
  [ -e "$installed" ] || [ -e "$start_menu" ] || break
  sleep 0.5
done
[ ! -e "$installed" ] || fail "the uninstallation left $(find "$installed" | head -5)"
[ ! -e "$start_menu" ] || fail "the uninstallation left $start_menu"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstallation left $uninstall_key"
[ "$(cat "$settings/settings.txt")" = $'Settings of a user\r' ] ||
  fail "the uninstallation did not keep $settings/settings.txt"
echo "$installer: installation, converter, shortcut, uninstall entry and uninstallation are right"
