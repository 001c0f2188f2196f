#!/bin/bash
# Builds the whole tool for Windows: Qt for Windows (scripts/qt-windows.sh,
# cached after the first run), then the tool, lx47-sim and every test
# cross-compiled with MinGW-w64 against it, then the installer and the zip.
# Usage: scripts/windows/build.sh [WIN_BUILD]     (default build-win)
# Prints "qt-seconds N" on its last line: how long getting Qt took. Exit
# status 75 when Qt's build ran out of LX47_QT_BUILD_SECONDS.
set -u
cd "$(dirname "$0")/../.."
WIN=${1:-build-win}
start=$(date +%s)
qt_log=$(mktemp)
scripts/qt-windows.sh | tee "$qt_log"
rc=${PIPESTATUS[0]}
if [ "$rc" != 0 ]; then
  rm -f "$qt_log"
  [ "$rc" = 75 ] && exit 75  # out of time; the partial Qt build is kept
  echo "windows-build: Qt for Windows could not be built (see above)" >&2
  exit 1
fi
QT=$(tail -n 1 "$qt_log")
rm -f "$qt_log"
qt_done=$(date +%s)
echo "windows-build: cross-building into $WIN"
cmake -S . -B "$WIN" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$QT/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$(pwd)/cmake/mingw-w64.cmake" -DLX47_BUILD_GUI=ON >/dev/null || exit 1
cmake --build "$WIN" || exit 1
cmake --build "$WIN" --target windows-package || exit 1
echo "qt-seconds $((qt_done - start))"
