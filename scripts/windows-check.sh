#!/bin/bash
# The Windows build: Qt for Windows (scripts/qt-windows.sh, cached after the
# first run), the whole tool, lx47-sim and every test cross-compiled with
# MinGW-w64, the installer and the portable zip; then everything runs under
# Wine inside private network namespaces (scripts/windows/wine-tests.sh).
# Wine makes its sockets in its wineserver, so every wineserver is started
# inside the namespace and checked to be there before anything runs.
#
# Usage: scripts/windows-check.sh            (from the README's test command)
# Environment: LX47_BUILD_DIR (Linux build with lx47-sim, default build),
#              LX47_WIN_BUILD_DIR (default build-win),
#              LX47_QT_CACHE (where Qt for Windows is kept, default ~/.cache/lx47).
# Exit status 0 when everything passed; the last lines count the tests and
# give the step's times and the sizes of the installer and the zip.
set -u
cd "$(dirname "$0")/.."
start=$(date +%s)
BUILD=${LX47_BUILD_DIR:-build}
WIN=${LX47_WIN_BUILD_DIR:-build-win}

PACKAGES="g++-mingw-w64-x86-64-posix wine64 googletest locales cmake ninja-build iproute2 util-linux
nsis xvfb xauth xdotool x11-apps imagemagick fonts-noto-cjk fonts-wine qt6-translations-l10n"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ -n "$missing" ]; then
  echo "windows-check: installing$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null || exit 1
fi
# Wine takes its ANSI code page from the locale: ja_JP gives CP932, the code
# page of the device texts.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\{0,1\}8$'; then
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || { echo "windows-check: cannot make the ja_JP.UTF-8 locale" >&2; exit 1; }
fi

# Qt for Windows (built once, then taken from the cache), the tool, the
# tests, the installer and the zip.
# With LX47_DEADLINE (seconds since the epoch, from the test command), a Qt
# that is not cached gets what is left of the time after the cross-build and
# the Wine runs (about 17 minutes, kept back); a build that cannot finish by
# then leaves the whole step out, and says so.
if [ -n "${LX47_DEADLINE:-}" ] && [ ! -f "$(scripts/qt-windows.sh --path)/.complete" ]; then
  left=$(( LX47_DEADLINE - $(date +%s) - 1020 ))
  if [ "$left" -lt 300 ]; then
    echo "windows-check: SKIPPED (time): Qt for Windows is not cached and the test command's time is nearly up; nothing was built or run for Windows"
    exit 0
  fi
  export LX47_QT_BUILD_SECONDS=$left
  echo "windows-check: Qt for Windows is not cached: it gets $left s to build"
fi
build_log=$(mktemp)
scripts/windows/build.sh "$WIN" | tee "$build_log"
rc=${PIPESTATUS[0]}
if [ "$rc" = 75 ]; then
  rm -f "$build_log"
  echo "windows-check: SKIPPED (time): Qt for Windows did not finish building within the test command's time; its partial build is kept and the next run goes on from it; nothing ran under Wine"
  exit 0
elif [ "$rc" != 0 ]; then
  rm -f "$build_log"
  echo "windows-check: FAILED: the Windows build failed (see above); nothing ran under Wine"
  exit 1
fi
qt_seconds=$(sed -n 's/^qt-seconds //p' "$build_log")
rm -f "$build_log"
# The Linux simulator for the device side and the Linux real-socket tests.
if [ ! -x "$BUILD/sim/lx47-sim" ] || [ ! -x "$BUILD/tests/lx47_net_tests" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
  cmake --build "$BUILD" --target lx47-sim lx47_net_tests || exit 1
fi
built=$(date +%s)

logs=$(pwd)/$WIN/wine-logs
rm -rf "$logs"; mkdir -p "$logs"
scripts/netns/netns-run.sh --links 2 --timeout 2400 -- \
  bash "$(pwd)/scripts/windows/wine-tests.sh" "$(pwd)/$WIN" "$(readlink -f "$BUILD/sim/lx47-sim")" \
  "$(readlink -f "$BUILD/tests/lx47_net_tests")" "$logs"
rc=$?
end=$(date +%s)
size() { [ -e "$1" ] && echo "$(basename "$1") $(( ($(stat -c %s "$1") + 524288) / 1048576 )) MB"; }
echo "windows-check: $(size "$WIN"/lx47-config-*-setup.exe), $(size "$WIN"/lx47-config-*-win64.zip)"
echo "windows-check: Qt for Windows $qt_seconds s, cross-build and packages $((built - start - qt_seconds)) s, Wine runs $((end - built)) s; logs in $logs"
if [ "$rc" -eq 77 ]; then
  echo "windows-check: SKIPPED: the Wine runs need private network namespaces (see above)"
  exit 0
fi
exit $rc
