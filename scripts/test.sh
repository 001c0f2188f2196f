#!/bin/bash
# Builds everything and runs every test: unit, widget (offscreen), the
# real-socket tests inside private network namespaces, the Debian package,
# the Windows build under Wine (scripts/windows-check.sh) and the sanitizer
# and fuzz runs. The last lines give each step's time and name every step
# or part of one that did not run.
# Leave parts out with LX47_SKIP_PACKAGE=1, LX47_SKIP_WINDOWS=1,
# LX47_SKIP_SANITIZERS=1. The whole command keeps within LX47_TIME_BUDGET
# seconds (default 60 minutes): the Windows step comes last, and a Qt for
# Windows that is not cached yet gets only the time left (see
# scripts/windows-check.sh).
set -eu -o pipefail
cd "$(dirname "$0")/.."
BUILD=${LX47_BUILD_DIR:-build}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
summary=()
export LX47_DEADLINE=$(( $(date +%s) + ${LX47_TIME_BUDGET:-3600} ))
# step NAME COMMAND...: runs it, keeps its output for the summary's skip lines.
step() {
  local name=$1 t0=$SECONDS; shift
  "$@" 2>&1 | tee "$logs/$name.log"
  summary+=("$(printf '%-16s %5d s' "$name" $((SECONDS - t0)))")
}

step setup scripts/setup.sh
step build sh -c "cmake -S . -B '$BUILD' -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && cmake --build '$BUILD'"
step ctest ctest --test-dir "$BUILD" --output-on-failure -j2
step package env LX47_BUILD_DIR="$BUILD" scripts/package-check.sh
step sanitizers scripts/sanitize.sh
if [ "${LX47_SKIP_WINDOWS:-0}" = 1 ]; then
  echo "windows-check: SKIPPED (LX47_SKIP_WINDOWS=1): no Windows build, no Wine tests" | tee "$logs/windows.log"
else
  step windows env LX47_BUILD_DIR="$BUILD" scripts/windows-check.sh
fi

echo
echo "test: every step passed; time per step:"
printf '  %s\n' "${summary[@]}"
skipped=$(cat "$logs"/*.log | grep -E 'SKIPPED|[Ss]kipped \(|\*\*\*Skipped' | sort -u || true)
if [ -n "$skipped" ]; then
  echo "test: NOT RUN:"
  printf '%s\n' "$skipped" | sed 's/^/  /'
else
  echo "test: nothing was skipped"
fi
