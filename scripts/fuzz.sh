#!/bin/sh
# Runs every libFuzzer binary of a build for a fixed time each, on a copy of
# its seed corpus (the repository's corpus stays as it is; crash inputs land
# in fuzz-out/<target>/ and should be added to the corpus as regressions).
# Usage: scripts/fuzz.sh [build-dir] [seconds-per-target]
set -eu
cd "$(dirname "$0")/.."
BUILD=${1:-build-asan}
SECONDS_EACH=${2:-60}
OUT=fuzz-out
status=0
found=0
for bin in "$BUILD"/tests/fuzz/fuzz_*; do
  [ -f "$bin" ] && [ -x "$bin" ] || continue
  found=1
  name=$(basename "$bin" | sed 's/^fuzz_//')
  mkdir -p "$OUT/$name/corpus"
  cp -n tests/fuzz/corpus/"$name"/* "$OUT/$name/corpus/" 2>/dev/null || true
  log="$OUT/$name/log.txt"
  if "$bin" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$OUT/$name/" "$OUT/$name/corpus" >"$log" 2>&1; then
    execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    echo "fuzz: $name ok, ${execs:-?} executions in ${SECONDS_EACH} s"
  else
    echo "fuzz: $name FAILED, see $log"; tail -30 "$log"; status=1
  fi
done
[ "$found" = 1 ] || { echo "fuzz: no fuzz binaries in $BUILD (configure with -DLX47_FUZZ=ON and clang)"; exit 1; }
exit $status
