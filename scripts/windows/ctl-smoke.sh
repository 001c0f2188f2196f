#!/bin/bash
# lx47ctl.exe under Wine against the Linux lx47-sim on the device side: it
# reads its timing from the registry as the window's store keeps it, lists
# the three simulated devices as JSON, and writes two settings given on its
# command line, one of them Japanese (the wide command line and the code
# page); the device then holds exactly those bytes.
# Runs inside the private namespaces (wine-tests.sh) with WINEPREFIX and
# WINEPATH set.
# Usage: ctl-smoke.sh WIN_BUILD LINUX_SIM
set -u
win=$1; sim=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-lib.sh"
: "${LX47_DEVICE_NETNS:?}" "${WINEPREFIX:?}"

work=$(mktemp -d /tmp/lx47-ctl-smoke.XXXXXX) || exit 1
sim_pid=""
finish() {
  [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "ctl-smoke: FAILED: $*"; exit 1; }

nsenter --net="$LX47_DEVICE_NETNS" -- "$sim" --devices 3 --wifi-mode 0 --quiet --ready-file "$work/ready" \
  --state-dir "$work" --max-runtime 300 &
for _ in $(seq 1 100); do [ -f "$work/ready" ] && break; sleep 0.1; done
[ -f "$work/ready" ] || fail "lx47-sim did not start"
sim_pid=$(sed -n 's/^ready pid=\([0-9]*\)$/\1/p' "$work/ready")

key='HKCU\Software\Orvane Systems\lx47-config\Setting'
timeout 60 "$WINE" reg delete 'HKCU\Software\Orvane Systems\lx47-config' /f >/dev/null 2>&1
for v in MaxSendCmdLoopCount=2 MaxRecvLoopCount=10 RecvDelay_msec=20; do
  timeout 60 "$WINE" reg add "$key" /v "${v%=*}" /t REG_DWORD /d "${v#*=}" /f >/dev/null 2>&1 || fail "reg add $v"
done
ctl() { timeout 120 "$WINE" "$win/src/ctl/lx47ctl.exe" "$@"; }

ctl search --json >"$work/search.json" 2>"$work/search.err" || fail "search: $(cat "$work/search.err")"
for mac in 02:47:00:00:00:01 02:47:00:00:00:02 02:47:00:00:00:03; do
  grep -q "\"mac\": \"$mac\"" "$work/search.json" || fail "search --json does not list $mac"
done
echo "ctl-smoke: lx47ctl.exe search --json lists the three devices"

cp "$work/device-1.block" "$work/before.block"
ctl set 02:47:00:00:00:02 Serial_Baud_Rate=115200 Wifi_Infra_SSID=会社 >"$work/set.out" 2>&1 ||
  fail "set: $(cat "$work/set.out")"
grep -q "Serial_Baud_Rate：9600 → 115200" "$work/set.out" || fail "set did not say what changed: $(cat "$work/set.out")"
# Outside the SSID's 32 bytes only the baud code changed (offset 33 from 1,
# to 0xFF); the SSID is its CP932 bytes, zeros after them.
cmp -l "$work/before.block" "$work/device-1.block" | awk '$1 < 113 || $1 > 144 {printf "%s:%s ", $1, $3}' >"$work/diff"
[ "$(cat "$work/diff")" = "33:377 " ] || fail "the device's block changed at (offset:octal byte) \"$(cat "$work/diff")\""
ssid=$(od -An -tx1 -j112 -N32 "$work/device-1.block" | tr -d ' \n')
[ "$ssid" = "89ef8ed0$(printf '0%.0s' $(seq 1 56))" ] || fail "the SSID's bytes are $ssid"
ctl set 02:47:00:00:00:02 Local_Port=0 >/dev/null 2>&1; rc=$?
[ "$rc" -eq 3 ] || fail "a refused value ended with $rc, not 3"
echo "ctl-smoke: lx47ctl.exe set wrote the baud rate and a Japanese SSID, and refused a port of 0 with status 3"
