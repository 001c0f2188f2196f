#!/bin/bash
# The Windows programs under Wine, inside the private network namespaces of
# scripts/netns/netns-run.sh (run by scripts/windows-check.sh):
#   - the unit tests, the simulator's option tests and the fuzz corpus replays;
#   - the widget tests, on Qt's offscreen platform;
#   - the real-socket tests and the widget tests over real sockets, the
#     Windows code against the Linux lx47-sim on the device side;
#   - the Linux real-socket tests against the Windows lx47-sim, which Wine
#     runs on the device side with a wineserver of its own there;
#   - the benchmark's quick run, with and without the fine-pause request;
#   - the real lx47-config.exe on a virtual display (scripts/windows/smoke.sh);
#   - lx47ctl.exe searching and writing (scripts/windows/ctl-smoke.sh);
#   - the installer: install, start, uninstall (scripts/windows/installer-check.sh).
# Usage: wine-tests.sh WIN_BUILD LINUX_SIM LINUX_NET_TESTS LOGS
set -u
win=$1; sim=$2; linuxtests=$3; logs=$4
here=$(cd "$(dirname "$0")" && pwd)
: "${LX47_NETNS:?}" "${LX47_INITIAL_NETNS:?}"
[ "$(readlink /proc/self/ns/net)" != "$LX47_INITIAL_NETNS" ] || { echo "windows-check: not in a private namespace" >&2; exit 1; }
. "$here/wine-lib.sh"

prefix=$(mktemp -d /tmp/lx47-wine.XXXXXX) || exit 1
simtmp=$(mktemp -d /tmp/lx47-winsim.XXXXXX) || exit 1
devprefix=""
xvfb=""
done_all() {
  [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
  end_prefix "$prefix"
  [ -z "$devprefix" ] || end_prefix "$devprefix"
  rm -rf "$simtmp"
}
trap done_all EXIT

new_prefix "$prefix" "$logs/wineboot.log" || exit 1
export WINEPREFIX=$prefix
WINEPATH=$(dll_path "$win/dll-dirs.txt")
export WINEPATH

# A virtual display of this run's own for the windows platform runs.
start_xvfb "$logs/xvfb.log" || exit 1
xvfb=$XVFB_PID

run_gtest() {  # NAME TIMEOUT EXE [ARGS...]
  local name=$1 limit=$2; shift 2
  timeout "$limit" "$WINE" "$@" >"$logs/$name.log" 2>&1
  count_gtest "$logs/$name.log" $?
}

run_gtest unit 300 "$win/tests/lx47_unit_tests.exe"
run_gtest ctl 120 "$win/tests/lx47_ctl_tests.exe"
run_gtest sim 120 "$win/tests/lx47_sim_tests.exe"
for exe in "$win"/tests/fuzz/replay_*.exe; do
  [ -e "$exe" ] || continue
  name=$(basename "$exe" .exe); name=${name#replay_}
  if timeout 120 "$WINE" "$exe" "Z:$(pwd)/tests/fuzz/corpus/$name" >"$logs/replay_$name.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "windows-check: replay $name failed"; tail -5 "$logs/replay_$name.log"
  fi
done
echo "windows-check: fuzz replays done"
run_gtest gui 900 "$win/tests/lx47_gui_tests.exe" -platform offscreen
# What needs a native window (the system menu) on the windows platform, on
# the virtual display.
run_gtest gui-native 300 "$win/tests/lx47_gui_tests.exe" -platform windows --gtest_filter='*.Native*'

# A Windows process takes its time zone from the system, not from TZ: Wine
# runs the tests nine hours from UTC, so a clock sent in UTC would show.
export TZ=JST-9 LX47_SIM=$sim LX47_SIM_TMP=$simtmp
run_gtest net 600 "$win/tests/lx47_net_tests.exe"
run_gtest net_gui 600 "$win/tests/lx47_net_gui_tests.exe" -platform offscreen

# The benchmark: what the fine-pause request is worth. Wine does not model
# the Windows timer tick, so under Wine both runs keep the pace; on Windows
# the coarse one stretches every 20 ms pause to about 31 ms.
for mode in fine coarse; do
  args=(--quick)
  [ "$mode" = coarse ] && args+=(--coarse-pauses)
  if timeout 300 "$WINE" "$win/bench/lx47_bench.exe" "${args[@]}" >"$logs/bench-$mode.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "windows-check: benchmark ($mode) failed"; tail -5 "$logs/bench-$mode.log"
  fi
  echo "windows-check: benchmark, $(head -1 "$logs/bench-$mode.log")"
  grep -E '^(discovery|all) ' "$logs/bench-$mode.log" | sed 's/^/windows-check:   /'
done
unset TZ

# The real tool on the virtual display against the Linux lx47-sim.
if bash "$here/smoke.sh" "$win" "$sim" "$logs" >"$logs/smoke.log" 2>&1; then
  passed=$((passed + 1)); tail -3 "$logs/smoke.log"
else
  failed=$((failed + 1)); echo "windows-check: smoke run of lx47-config.exe failed"; tail -20 "$logs/smoke.log"
fi

# lx47ctl.exe against the Linux lx47-sim.
if bash "$here/ctl-smoke.sh" "$win" "$sim" >"$logs/ctl-smoke.log" 2>&1; then
  passed=$((passed + 1)); tail -2 "$logs/ctl-smoke.log"
else
  failed=$((failed + 1)); echo "windows-check: lx47ctl.exe run failed"; tail -20 "$logs/ctl-smoke.log"
fi

# The installer, into a fresh prefix of its own.
if bash "$here/installer-check.sh" "$win" "$logs" >"$logs/installer.log" 2>&1; then
  passed=$((passed + 1)); tail -3 "$logs/installer.log"
else
  failed=$((failed + 1)); echo "windows-check: installer check failed"; tail -20 "$logs/installer.log"
fi

# The other way round: the Linux real-socket tests against the Windows
# lx47-sim, run by Wine on the device side with a wineserver of its own there.
devprefix=$(mktemp -d /tmp/lx47-wine-dev.XXXXXX) || exit 1
devwine() { timeout 240 nsenter --net="$LX47_DEVICE_NETNS" -- env WINEPREFIX="$devprefix" "$@"; }
devwine "$WINESERVER" -p || { echo "windows-check: device-side wineserver did not start" >&2; exit 1; }
devwine "$WINE" wineboot -i >"$logs/wineboot-device.log" 2>&1 ||
  { echo "windows-check: device-side wineboot failed" >&2; exit 1; }
check_wineserver "$devprefix" "$(readlink "$LX47_DEVICE_NETNS")" || exit 1
simexe=$simtmp/lx47-sim-wine.sh
printf '#!/bin/sh\nexec env WINEPREFIX=%s WINEPATH="%s" WINEDEBUG=-all %s %s "$@"\n' "$devprefix" "$WINEPATH" "$WINE" "$win/sim/lx47-sim.exe" >"$simexe"
chmod +x "$simexe"
LX47_SIM=$simexe timeout 600 "$linuxtests" >"$logs/net-sim.log" 2>&1
count_gtest "$logs/net-sim.log" $?
end_prefix "$devprefix"; devprefix=""

echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
