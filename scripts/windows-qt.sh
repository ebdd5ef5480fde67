#!/usr/bin/env bash
# Builds the static Qt for 64-bit Windows that Projbridge.exe links: Debian ships
# no Qt for mingw-w64, so it is built from Debian's source package of the Qt the
# Linux build uses, with the cross compilers of the converter, and only the parts
# the wizard and its tests need. Source, build and installation live in a cache
# folder outside the repository; an installation already there is reused.
# Usage: windows-qt.sh [--cached|--describe]   Prints the path of a CMake
# initial-cache file for a build with cmake/mingw-w64-x86_64.cmake:
# cmake -C <that file> ...   With --cached, builds nothing and fails when no Qt
# was built before. With --describe, builds nothing and prints what the Qt's
# licence asks its users to be told: the source package's version on the first
# line, then the configure options that shape the build, one a line.
# PROJBRIDGE_CACHE overrides the cache folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${PROJBRIDGE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/projbridge}

mode=${1:-build}
case "$mode" in
  build) bash "$root/scripts/install-deps.sh" windows-wizard >&2 ;;
  --cached|--describe) ;;
  *) echo "usage: $0 [--cached|--describe]" >&2; exit 2 ;;
esac

# The same Debian revision as the host's Qt, whose tools (moc, uic, rcc) the
# cross build runs.
debian_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null || true)

# Every module, plugin and library the wizard does not use stays out: the build
# takes long enough with Core, Gui, Widgets and Test alone. The offscreen
# platform plugin (it needs FreeType) lets the wizard's tests run without a
# display; no system libraries exist for the target, so the bundled ones are used.
# Debian's source leaves out the tablet headers (their licence forbids changes),
# so the Windows platform plugin is built without tablet events. DirectWrite
# needs Direct2D in this Qt; only the Direct2D platform plugin stays out.
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_androiddeployqt=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF
  -DFEATURE_printsupport=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF
  -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF
  -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_pdf=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_sessionmanager=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF
  -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON -DFEATURE_png=ON
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON
)
if [ "$mode" = --describe ]; then
  [ -n "$debian_version" ] || { echo "windows-qt.sh: qt6-base-dev is not installed" >&2; exit 1; }
  echo "$debian_version"
  printf '%s\n' "${options[@]}"
  exit 0
fi
install=$cache/qt-$debian_version-win64
# Written last, so that it names only a complete installation.
initial_cache=$install/projbridge-windows-qt.cmake
if [ -e "$initial_cache" ]; then
  echo "$initial_cache"
  exit 0
fi
[ "$mode" != --cached ] || exit 1
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake

mkdir -p "$cache"
source_archive=$cache/qt6-base_$debian_version.dsc
if [ ! -e "$source_archive" ]; then
  (cd "$cache" && apt-get source --download-only "qt6-base=$debian_version") >&2
fi

# Debian's patches (security fixes among them) applied, as in its own build.
source=$cache/qt6-base-$debian_version
if [ ! -e "$source/.unpacked" ]; then
  rm -rf "$source"
  dpkg-source -x "$source_archive" "$source" >&2
  touch "$source/.unpacked"
fi

# An interrupted build resumes where it stopped.
build=$cache/qt-$debian_version-win64-build
rm -rf "$install"
TIMEFORMAT='Qt configuration and build: %R s wall, %U s user, %S s system'
time {
cmake -S "$source" -B "$build" -G Ninja "${options[@]}" >&2 \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$install" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
cmake --build "$build" -j"$(nproc)" >&2
}
cmake --install "$build" >/dev/null
rm -rf "$build"
cat > "$initial_cache" <<EOF
set(PROJBRIDGE_WINDOWS_QT "$install" CACHE PATH "")
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR "$host_cmake_dir" CACHE PATH "")
EOF
echo "$initial_cache"
