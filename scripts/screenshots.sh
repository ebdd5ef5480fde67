#!/usr/bin/env bash
# Takes the README's screenshots of the wizard in an X window under Xvfb, filling
# every page with mouse and keyboard as a user does, and the last page before and
# after converting the bundled example. With --windows, the first three pages of
# the Windows build under Wine, in a throwaway prefix.
#   scripts/screenshots.sh [--windows] [BUILD_FOLDER] [OUTPUT_FOLDER]
# Needs Xvfb, xdotool, xwd and ImageMagick (apt-get install xvfb xdotool x11-apps imagemagick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
windows=false
if [ "${1:-}" = --windows ]; then
  windows=true
  shift
fi
out=$(mkdir -p "${2:-$root/docs/screenshots}" && cd "${2:-$root/docs/screenshots}" && pwd)
if $windows; then
  build=$(cd "${1:-$root/build-win64}" && pwd)
  wizard="$build/converter/Projbridge.exe"
  converter="$build/converter/ProjbridgeCli.exe"
  prefix=$(mktemp -d)
  export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  demo=$prefix/drive_c/demo
  typed_demo='C:\demo'
  shot_prefix=windows-
else
  build=$(cd "${1:-$root/build}" && pwd)
  wizard="$build/converter/Projbridge"
  converter="$build/converter/ProjbridgeCli"
  # Short, readable paths: they show in the pictures.
  demo=/tmp/demo
  typed_demo=$demo
  shot_prefix=
fi
[ -f "$wizard" ] && [ -f "$converter" ] || {
  echo "build Projbridge and ProjbridgeCli into $build first" >&2
  exit 1
}

rm -rf "$demo"
mkdir -p "$demo/VisualDSP 5.0" "$demo/Tavric" "$demo/personalities"
cp -r "$root/examples/dsp-filter" "$demo/"
touch "$demo/personalities/messages.p_s" "$demo/personalities/MISRA.p_a" "$demo/personalities/compiler.p_c"
typed() { # a path below the demo folder, as the user types it
  if $windows; then echo "$typed_demo\\${1//\//\\}"; else echo "$typed_demo/$1"; fi
}

display=:97
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
wizard_pid=
cleanup() {
  [ -n "$wizard_pid" ] && kill "$wizard_pid" 2>/dev/null
  ! $windows || "$root/cmake/wine-run.sh" "$prefix" --stop
  kill "$xvfb" 2>/dev/null
  [ -z "${slow:-}" ] || rm -rf "$slow"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# The wizard finds the converter beside itself; settings.txt goes to the demo folder.
if $windows; then
  wineboot --init >/dev/null 2>&1
  # Wine has no Windows fonts of its own here: the dialog font, which line edits
  # use, would fall to a font whose letters do not show.
  for font in 'MS Shell Dlg' 'MS Shell Dlg 2'; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "$font" /d 'DejaVu Sans' /f >/dev/null 2>&1
  done
  (cd "$demo" && exec wine "$wizard") &
else
  # The bundled example converts in a blink; beside a copy of the wizard, a converter that passes on the real
  # one's lines a little apart keeps the run going long enough to show it running.
  slow=$(mktemp -d)
  cp "$wizard" "$slow/Projbridge"
  printf '#!/usr/bin/env bash\nset -o pipefail\n"%s" "$@" | while IFS= read -r line; do\n  printf "%%s\\n" "$line"; sleep 0.4\ndone\n' \
    "$converter" >"$slow/ProjbridgeCli"
  chmod +x "$slow/ProjbridgeCli"
  (cd "$demo" && QT_QPA_PLATFORM=xcb exec "$slow/Projbridge") &
fi
wizard_pid=$!
window=$(xdotool search --sync --name '^Projbridge 1.2$' | head -1)
xdotool windowmove --sync "$window" 0 0
sleep 1

xdotool windowfocus --sync "$window"

# Where the pages start inside the window.
page_x=11
page_y=11

click() { # x y, relative to the page
  xdotool mousemove --sync $((page_x + $1)) $((page_y + $2)) click 1
}
# The fields are filled from the keyboard, as each page starts on its first field and Tab goes to the next one.
type_here() { # text
  xdotool key ctrl+a
  xdotool type --delay 2 "$1"
}
tab() { # times
  xdotool key --repeat "${1:-1}" Tab
}
next_page() { # a click sent at once lands before the next page takes input
  xdotool key alt+n
  sleep 0.5
}
shot() { # file name without extension
  sleep 0.5
  xwd -silent -id "$window" | convert xwd:- "$out/$shot_prefix$1.png"
  echo "$out/$shot_prefix$1.png"
}

# Page 1: the project, the installation and the destination (centres of the line edits); the name follows the
# project. A destination not made yet shows the hint line first.
type_here "$(typed dsp-filter/dsp-filter.dpj)"
tab
type_here "$(typed "VisualDSP 5.0")"
tab
type_here "$(typed "Tavric projects")"
shot page0-hint
type_here "$(typed Tavric)"
shot page0-project
next_page

type_here "$(typed personalities/messages.p_s)"
tab
type_here "$(typed personalities/MISRA.p_a)"
tab
type_here "$(typed personalities/compiler.p_c)"
shot page1-personalities
next_page

tab 3
xdotool key space # *.c
tab
xdotool key space # *.h
shot page2-extensions
# Under Wine the run would have to be clicked on Windows' own positions: the Linux pictures show it.
! $windows || exit 0
next_page

click 300 411 # Write compile_commands.json
sleep 1
shot page3-summary
# The rest of the summary, as the wheel shows it.
xdotool mousemove --sync $((page_x + 260)) $((page_y + 200)) click --repeat 15 5
sleep 1
shot page3-summary-end
xdotool key alt+f
sleep 2
shot page3-busy
sleep 4
shot page3-run
