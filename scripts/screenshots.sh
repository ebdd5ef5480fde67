#!/usr/bin/env bash
# Takes the README's screenshots of the wizard in an X window under Xvfb, filling
# every page with mouse and keyboard as a user does, and the last page before and
# after converting the bundled example.
#   scripts/screenshots.sh [BUILD_FOLDER] [OUTPUT_FOLDER]
# Needs Xvfb, xdotool, xwd and ImageMagick (apt-get install xvfb xdotool x11-apps imagemagick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$(mkdir -p "${2:-$root/docs/screenshots}" && cd "${2:-$root/docs/screenshots}" && pwd)
wizard="$build/converter/Projbridge"
[ -x "$wizard" ] && [ -x "$build/converter/ProjbridgeCli" ] || {
  echo "build Projbridge and ProjbridgeCli into $build first" >&2
  exit 1
}

# Short, readable paths: they show in the pictures.
demo=/tmp/demo
rm -rf "$demo"
mkdir -p "$demo/VisualDSP 5.0" "$demo/Tavric" "$demo/personalities"
cp -r "$root/examples/dsp-filter" "$demo/"
touch "$demo/personalities/messages.p_s" "$demo/personalities/MISRA.p_a" "$demo/personalities/compiler.p_c"

display=:97
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
wizard_pid=
cleanup() {
  [ -n "$wizard_pid" ] && kill "$wizard_pid" 2>/dev/null
  kill "$xvfb" 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# The wizard finds the converter beside itself; settings.txt goes to the demo folder.
(cd "$demo" && QT_QPA_PLATFORM=xcb exec "$wizard") &
wizard_pid=$!
window=$(xdotool search --sync --name '^Projbridge 1.2$' | head -1)
xdotool windowmove --sync "$window" 0 0
sleep 1

# Where the pages start inside the window: the form's widgets sit at fixed positions from there.
page_x=11
page_y=11

click() { # x y, relative to the page
  xdotool mousemove --sync $((page_x + $1)) $((page_y + $2)) click 1
}
type_into() { # x y text
  click "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 2 "$3"
}
next_page() { # a click sent at once lands before the next page takes input
  xdotool key alt+n
  sleep 0.5
}
shot() { # file name without extension
  sleep 0.5
  xwd -silent -id "$window" | convert xwd:- "$out/$1.png"
  echo "$out/$1.png"
}

# Page 1: the project, the installation and the destination (centres of the line edits).
type_into 265 222 "$demo/dsp-filter/dsp-filter.dpj"
type_into 265 257 "$demo/VisualDSP 5.0"
type_into 265 322 "$demo/Tavric"
type_into 265 357 "dsp-filter"
shot page0-project
next_page

type_into 225 182 "$demo/personalities/messages.p_s"
type_into 225 252 "$demo/personalities/MISRA.p_a"
type_into 225 322 "$demo/personalities/compiler.p_c"
shot page1-personalities
next_page

click 330 205 # *.c
click 110 245 # *.h
shot page2-extensions
next_page

shot page3-summary
xdotool key alt+f
sleep 3
shot page3-run
