#!/bin/bash
# The Windows build: cross-compiles the Qt-free libraries, lx47-sim and the
# tests with MinGW-w64, then runs them under Wine inside private network
# namespaces (scripts/netns/netns-run.sh):
#   - the protocol unit tests and the fuzz corpus replays (fake network);
#   - the real-socket tests, the Windows protocol code against the Linux
#     lx47-sim on the device side of the veth links;
#   - the Linux real-socket tests against the Windows lx47-sim, which Wine
#     runs on the device side.
# Wine's sockets are made by its wineserver, so the wineserver of a fresh
# Wine prefix is started inside the namespace and checked to be there before
# any test runs.
#
# Usage: scripts/windows-check.sh            (from the README's test command)
# Environment: LX47_BUILD_DIR (Linux build with lx47-sim, default build),
#              LX47_WIN_BUILD_DIR (default build-win).
# Exit status 0 when everything passed; the last line counts the tests.
set -u

if [ "${1:-}" = --inner ]; then
  # ------------------------------------------- inside the private namespaces
  win=$2; sim=$3; linuxtests=$4; logs=$5
  : "${LX47_NETNS:?}" "${LX47_INITIAL_NETNS:?}"
  [ "$(readlink /proc/self/ns/net)" != "$LX47_INITIAL_NETNS" ] || { echo "windows-check: not in a private namespace" >&2; exit 1; }
  WINE=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
  WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
  export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
  WINEPREFIX=$(mktemp -d /tmp/lx47-wine.XXXXXX) || exit 1
  export WINEPREFIX
  simtmp=$(mktemp -d /tmp/lx47-winsim.XXXXXX) || exit 1
  devprefix=""
  done_inner() {
    WINEPREFIX=$WINEPREFIX timeout 20 "$WINESERVER" -k 2>/dev/null
    [ -z "$devprefix" ] || { WINEPREFIX=$devprefix timeout 20 "$WINESERVER" -k 2>/dev/null; rm -rf "$devprefix"; }
    rm -rf "$WINEPREFIX" "$simtmp"
  }
  trap done_inner EXIT

  # Our own wineserver, started here, kept for the whole run.
  "$WINESERVER" -p || { echo "windows-check: wineserver did not start" >&2; exit 1; }
  timeout 240 "$WINE" wineboot -i >"$logs/wineboot.log" 2>&1 || { echo "windows-check: wineboot failed" >&2; exit 1; }
  # A wineserver works in a folder named after its prefix's device and inode:
  # the one of prefix $1 must exist and live in the network namespace $2.
  check_wineserver() {
    local serverdir found=0 p
    serverdir=server-$(printf '%x' "$(stat -c %d "$1")")-$(printf '%x' "$(stat -c %i "$1")")
    for p in /proc/[0-9]*; do
      case "$(readlink "$p/exe" 2>/dev/null)" in *wineserver*) ;; *) continue ;; esac
      case "$(readlink "$p/cwd" 2>/dev/null)" in */"$serverdir") ;; *) continue ;; esac
      if [ "$(readlink "$p/ns/net" 2>/dev/null)" != "$2" ]; then
        echo "windows-check: the wineserver ${p#/proc/} is not in the namespace it must be in; refusing" >&2
        return 1
      fi
      found=$((found + 1))
    done
    [ "$found" -ge 1 ] || { echo "windows-check: cannot find the wineserver of $1; refusing" >&2; return 1; }
  }
  check_wineserver "$WINEPREFIX" "$(readlink /proc/self/ns/net)" || exit 1

  passed=0 failed=0
  # gtest's summary lines of one run: adds to the counts.
  count_gtest() {
    local log=$1 rc=$2 p f
    p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -1)
    f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -1)
    p=${p:-0} f=${f:-0}
    if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi  # crashed or timed out
    passed=$((passed + p)) failed=$((failed + f))
    echo "windows-check: $(basename "$log" .log): $p passed, $f failed (exit $rc)"
    [ "$f" -eq 0 ] || grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -40
  }

  timeout 300 "$WINE" "$win/tests/lx47_unit_tests.exe" >"$logs/unit.log" 2>&1
  count_gtest "$logs/unit.log" $?
  if [ -e "$win/tests/lx47_sim_tests.exe" ]; then
    timeout 120 "$WINE" "$win/tests/lx47_sim_tests.exe" >"$logs/sim.log" 2>&1
    count_gtest "$logs/sim.log" $?
  fi

  # Every fuzz corpus replayed through the Windows build of the exchanges.
  for exe in "$win"/tests/fuzz/replay_*.exe; do
    [ -e "$exe" ] || continue
    name=$(basename "$exe" .exe); name=${name#replay_}
    corpus=$(pwd)/tests/fuzz/corpus/$name
    if timeout 120 "$WINE" "$exe" "Z:$corpus" >"$logs/replay_$name.log" 2>&1; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1)); echo "windows-check: replay $name failed"; tail -5 "$logs/replay_$name.log"
    fi
  done
  echo "windows-check: fuzz replays done"

  # A Windows process takes its time zone from the system, not from TZ: Wine
  # runs the tests nine hours from UTC, so a clock sent in UTC would show.
  TZ=JST-9 LX47_SIM=$sim LX47_SIM_TMP=$simtmp timeout 600 "$WINE" "$win/tests/lx47_net_tests.exe" >"$logs/net.log" 2>&1
  count_gtest "$logs/net.log" $?

  # The other way round: the Linux real-socket tests against the Windows
  # lx47-sim, run by Wine on the device side with a wineserver of its own there.
  devprefix=$(mktemp -d /tmp/lx47-wine-dev.XXXXXX) || exit 1
  devwine() { timeout 240 nsenter --net="$LX47_DEVICE_NETNS" -- env WINEPREFIX="$devprefix" "$@"; }
  devwine "$WINESERVER" -p || { echo "windows-check: device-side wineserver did not start" >&2; exit 1; }
  devwine "$WINE" wineboot -i >"$logs/wineboot-device.log" 2>&1 ||
    { echo "windows-check: device-side wineboot failed" >&2; exit 1; }
  check_wineserver "$devprefix" "$(readlink "$LX47_DEVICE_NETNS")" || exit 1
  simexe=$simtmp/lx47-sim-wine.sh
  printf '#!/bin/sh\nexec env WINEPREFIX=%s WINEDEBUG=-all %s %s "$@"\n' "$devprefix" "$WINE" "$win/sim/lx47-sim.exe" >"$simexe"
  chmod +x "$simexe"
  LX47_SIM=$simexe timeout 600 "$linuxtests" >"$logs/net-sim.log" 2>&1
  count_gtest "$logs/net-sim.log" $?
  WINEPREFIX=$devprefix timeout 20 "$WINESERVER" -k 2>/dev/null
  rm -rf "$devprefix"; devprefix=""

  echo "windows: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
fi

# ------------------------------------------------------------ machine side
cd "$(dirname "$0")/.."
start=$(date +%s)
BUILD=${LX47_BUILD_DIR:-build}
WIN=${LX47_WIN_BUILD_DIR:-build-win}

PACKAGES="g++-mingw-w64-x86-64-posix wine64 googletest locales cmake ninja-build iproute2 util-linux"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "windows-check: installing$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null || exit 1
fi
# Wine takes its ANSI code page from the locale: ja_JP gives CP932, the code
# page of the device texts.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\{0,1\}8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || { echo "windows-check: cannot make the ja_JP.UTF-8 locale" >&2; exit 1; }
fi

echo "windows-check: cross-building into $WIN"
cmake -S . -B "$WIN" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null || exit 1
cmake --build "$WIN" || exit 1
# The Linux simulator for the device side and the Linux real-socket tests.
if [ ! -x "$BUILD/sim/lx47-sim" ] || [ ! -x "$BUILD/tests/lx47_net_tests" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
  cmake --build "$BUILD" --target lx47-sim lx47_net_tests || exit 1
fi
# Qt for Windows is not available here, so the widget code's Windows parts
# (the *_win32.cpp files and the _WIN32 branches) are compiled by the cross
# compiler for syntax only, against this machine's Qt headers: it catches a
# typo or a wrong call, not a link or run fault.
qt_inc=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || true)
if [ -n "$qt_inc" ] && [ -d "$qt_inc/QtWidgets" ]; then
  cxx=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++)
  qtfiles=$( (ls src/app/*_win32.cpp src/ui/*_win32.cpp src/pages/*_win32.cpp src/controls/*_win32.cpp 2>/dev/null
              grep -l '_WIN32' src/app/*.cpp src/ui/*.cpp src/pages/*.cpp src/controls/*.cpp 2>/dev/null) |
             sort -u)
  qtbad=0
  for f in $qtfiles; do
    "$cxx" -std=c++20 -fsyntax-only -w -Isrc -I"$qt_inc" -I"$qt_inc/QtCore" -I"$qt_inc/QtGui" -I"$qt_inc/QtWidgets" \
      -I"$qt_inc/QtNetwork" -DLX47_PRODUCT_VERSION='"0"' "$f" || { echo "windows-check: $f does not compile for Windows"; qtbad=1; }
  done
  [ "$qtbad" = 0 ] || exit 1
  echo "windows-check: Windows parts of the widget code compile (syntax only):" $qtfiles
else
  echo "windows-check: no Qt headers here; the widget code's Windows parts were not compiled"
fi
built=$(date +%s)

logs=$(pwd)/$WIN/wine-logs
rm -rf "$logs"; mkdir -p "$logs"
scripts/netns/netns-run.sh --links 2 --timeout 1200 -- \
  bash "$(pwd)/scripts/windows-check.sh" --inner "$(pwd)/$WIN" "$(readlink -f "$BUILD/sim/lx47-sim")" \
  "$(readlink -f "$BUILD/tests/lx47_net_tests")" "$logs"
rc=$?
end=$(date +%s)
echo "windows-check: build $((built - start)) s, Wine tests $((end - built)) s, logs in $logs"
if [ "$rc" -eq 77 ]; then
  echo "windows-check: SKIPPED: the Wine runs need private network namespaces (see above)"
  exit 0
fi
exit $rc
