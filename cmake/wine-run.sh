#!/bin/sh
# Windows programs of the cross build run through here, in a throwaway Wine
# prefix inside the build folder.
#   wine-run.sh PREFIX PROGRAM [ARGUMENT...]  start the prefix if needed, run PROGRAM
#   wine-run.sh PREFIX --start                start the prefix if needed
#   wine-run.sh PREFIX --stop                 stop the prefix's server, remove the prefix
set -eu

prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all
# No browser or .NET runtime to install, no desktop menus to write.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
# Wine hands no QT_ variable to a Windows program, taking them for the host's
# Qt; WINEQT_X reaches the program as QT_X.
for setting in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$setting=\"\$$setting\""
done

# Seconds the server outlives its last program: long enough to carry a whole
# test run, short enough that an interrupted run leaves nothing behind for long.
server_idle_seconds=600

# Wine's server and services outlive the program that started them; started by
# a test, they would inherit CTest's pipes and hold each test open. So they are
# started here, under a lock, with every standard stream closed.
start_prefix() {
    mkdir -p "$prefix"
    exec 9>"$prefix.lock"
    flock 9
    # The lock's descriptor is closed for them too, or they would hold the lock.
    if wineserver -p"$server_idle_seconds" </dev/null >/dev/null 2>&1 9>&-; then
        if [ -e "$prefix/.booted" ]; then
            wineboot </dev/null >/dev/null 2>&1 9>&-
        else
            wineboot --init </dev/null >/dev/null 2>&1 9>&-
            touch "$prefix/.booted"
        fi
    fi
    exec 9>&-
}

case "${1:-}" in
--stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    rm -rf "$prefix" "$prefix.lock"
    ;;
--start)
    start_prefix
    test -e "$prefix/.booted"
    ;;
*)
    start_prefix
    exec wine "$@"
    ;;
esac
