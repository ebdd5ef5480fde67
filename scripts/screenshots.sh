#!/usr/bin/env bash
# Takes the README's screenshots of the wizard in an X window under Xvfb, filling
# every page with mouse and keyboard as a user does, and the last page before and
# after converting the bundled example. With --windows, the same of the Windows
# build under Wine, in a throwaway prefix.
#   scripts/screenshots.sh [--windows] [BUILD_FOLDER] [OUTPUT_FOLDER]
# Needs Xvfb, xdotool, xwd and ImageMagick (apt-get install xvfb xdotool x11-apps imagemagick);
# with --windows also Wine and x86_64-w64-mingw32-g++.
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

# The bundled example converts in a blink; beside a copy of the wizard, which finds the converter beside itself,
# a converter that passes on the real one's lines a little apart keeps the run going long enough to show it running.
# settings.txt goes to the demo folder.
slow=$(mktemp -d)
cp "$wizard" "$slow/"
if $windows; then
  # Windows starts no script as the converter: the stand-in is a small program, run with the real one in real\.
  mkdir "$slow/real"
  cp "$converter" "$slow/real/"
  x86_64-w64-mingw32-g++ -std=c++20 -O2 -static -o "$slow/ProjbridgeCli.exe" -x c++ - <<'EOF'
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH];
    std::wstring real(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    real.insert(real.rfind(L'\\') + 1, L"real\\");
    // The arguments keep their quoting: the command line as given, less this program's name.
    const wchar_t* arguments = GetCommandLineW();
    for (bool quoted = false; *arguments && (quoted || (*arguments != L' ' && *arguments != L'\t')); ++arguments)
        quoted ^= *arguments == L'"';
    std::wstring command = L"\"" + real + L"\"" + arguments;

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE fromChild, toParent;
    if (!CreatePipe(&fromChild, &toParent, &inheritable, 0))
        return 127;
    SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = toParent;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &child))
        return 127;
    CloseHandle(toParent);

    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    char byte;
    DWORD count;
    while (ReadFile(fromChild, &byte, 1, &count, nullptr) && count == 1) {
        WriteFile(out, &byte, 1, &count, nullptr);
        if (byte == '\n')
            Sleep(400);
    }
    DWORD status = 127;
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &status);
    return static_cast<int>(status);
}
EOF
  wineboot --init >/dev/null 2>&1
  # Wine has no Windows fonts of its own here: the dialog font, which line edits
  # use, would fall to a font whose letters do not show.
  for font in 'MS Shell Dlg' 'MS Shell Dlg 2'; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "$font" /d 'DejaVu Sans' /f >/dev/null 2>&1
  done
  (cd "$demo" && exec wine "$slow/Projbridge.exe") &
else
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

# The fields are filled from the keyboard, as each page starts on its first field and Tab goes to the next one.
type_here() { # text
  xdotool key ctrl+a
  xdotool type --delay 2 "$1"
}
tab() { # times
  xdotool key --repeat "${1:-1}" Tab
}
grab() { # convert's arguments that follow the window's picture
  xwd -silent -id "$window" | convert xwd:- "$@"
}
looks() { # [crop geometry]: a checksum of what the window shows
  grab ${1:+-crop "$1"} rgb:- | md5sum
}
# Keys sent before the next page shows land on the one before (under Wine a page takes a while): this waits
# until the text at the page's top, where no cursor blinks, has changed.
next_page() {
  local before
  before=$(looks 500x40+20+55)
  xdotool key alt+n
  for _ in $(seq 100); do
    sleep 0.1
    [ "$(looks 500x40+20+55)" = "$before" ] || return 0
  done
  echo "the next page did not show" >&2
  exit 1
}
# On a busy machine Wine draws typed keys late: this waits until the window shows at most two pictures for 1.5 s,
# the text cursor's blink and nothing else. The row of buttons is left out: Windows' default button pulses.
settle() {
  local recent=()
  for _ in $(seq 240); do
    recent=("$(looks 100%x90%+0+0)" "${recent[@]:0:5}")
    [ ${#recent[@]} -lt 6 ] || [ "$(printf '%s\n' "${recent[@]}" | sort -u | wc -l)" -gt 2 ] || return 0
    sleep 0.25
  done
  echo "the window did not settle" >&2
  exit 1
}
shot() { # file name without extension
  settle
  grab "$out/$shot_prefix$1.png"
  echo "$out/$shot_prefix$1.png"
}
# Under Windows the busy bar's glow runs along it and leaves it empty between passes: this takes the picture when
# the window shows strong colour, which only the bar has then.
busy_shot() { # file name without extension
  local file=$out/$shot_prefix$1.png
  for _ in $(seq 50); do
    grab "$file"
    if [ "$(convert "$file" -colorspace HSB -channel G -separate +channel -threshold 50% \
      -format '%[fx:mean > 0.0015]' info:)" = 1 ]; then
      echo "$file"
      return
    fi
    sleep 0.1
  done
  echo "the busy bar did not show" >&2
  exit 1
}

# Page 1: the project, the installation and the destination; the name follows the project. A destination not
# made yet shows the hint line first.
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
next_page

# The summary pane has the focus; the two check boxes follow it.
tab 2
xdotool key space # Write compile_commands.json
shot page3-summary
# The rest of the summary, as the wheel shows it.
xdotool mousemove --sync 270 210 click --repeat 15 5
shot page3-summary-end
xdotool key alt+f
sleep 2
busy_shot page3-busy
settle # the run is over
shot page3-run
