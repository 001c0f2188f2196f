#!/bin/sh
# Builds everything and runs every test: unit, widget (offscreen) and the
# real-socket tests inside private network namespaces.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD=${LX47_BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD"
ctest --test-dir "$BUILD" --output-on-failure -j2
LX47_BUILD_DIR="$BUILD" scripts/package-check.sh
scripts/sanitize.sh
