#!/bin/bash
# Benchmark of discovery and every exchange over real sockets against
# lx47-sim, inside private network namespaces, with the tool's default
# settings. Prints, per exchange, the wall time, the sum of the pauses the
# protocol asks for, their ratio (target <= 1.03) and the CPU time used
# (target < 2 % of the wall time). About 45 s; --quick runs each once.
# Usage: scripts/bench.sh [--quick]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${LX47_BUILD_DIR:-$ROOT/build}
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  "$ROOT/scripts/setup.sh"
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" --target lx47_bench lx47-sim >/dev/null
exec "$ROOT/scripts/netns/netns-run.sh" --links 1 --device-addrs 3 --timeout 300 -- \
  env LX47_SIM="$BUILD/sim/lx47-sim" "$BUILD/bench/lx47_bench" "$@"
