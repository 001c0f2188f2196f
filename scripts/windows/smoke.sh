#!/bin/bash
# The real lx47-config.exe under Wine on a virtual display, against the Linux
# lx47-sim on the device side, driven as a user would with keys and clicks:
# a search for every device lists the three simulated devices; the third is
# chosen, its default gateway changed to 10.47.0.254 and written; the device
# then holds exactly that change; the tool exits cleanly.
# Runs inside the private namespaces (wine-tests.sh) with WINEPREFIX,
# WINEPATH and DISPLAY set. With LX47_SHOT_DIR set it keeps screenshots
# there (windows_main_window.png, windows_write_done.png).
# Usage: smoke.sh WIN_BUILD LINUX_SIM LOGS
set -u
win=$1; sim=$2; logs=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-lib.sh"
: "${LX47_DEVICE_NETNS:?}" "${DISPLAY:?}" "${WINEPREFIX:?}"

work=$(mktemp -d /tmp/lx47-smoke.XXXXXX) || exit 1
sim_pid="" tool=""
finish() {
  [ -z "$tool" ] || { kill "$tool" 2>/dev/null; wait "$tool" 2>/dev/null; }
  [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "smoke: FAILED: $*"; [ -f "$work/sim.log" ] && grep -v " SEND " "$work/sim.log" | cut -c1-160; exit 1; }
shot() { [ -z "${LX47_SHOT_DIR:-}" ] || import -window root "$LX47_SHOT_DIR/$1"; }
# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local n=$1 i; shift
  for i in $(seq 1 "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}

nsenter --net="$LX47_DEVICE_NETNS" -- "$sim" --devices 3 --log "$work/sim.log" --ready-file "$work/ready" \
  --state-dir "$work" --max-runtime 300 &
wait_for 100 test -f "$work/ready" || fail "lx47-sim did not start"
sim_pid=$(sed -n 's/^ready pid=\([0-9]*\)$/\1/p' "$work/ready")

# The tool's default settings, whatever an earlier run stored.
timeout 60 "$WINE" reg delete 'HKCU\Software\Orvane Systems\lx47-config' /f >/dev/null 2>&1
"$WINE" "$win/src/app/lx47-config.exe" >"$work/tool.log" 2>&1 &
tool=$!
title='Orvane LX47 Configuration Tool  Ver 1.0.0'
window=""
find_window() { window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1); [ -n "$window" ]; }
wait_for 600 find_window || fail "no window titled \"$title\""
echo "smoke: the window \"$title\" is open"
sleep 1
xdotool windowfocus --sync "$window"

# A window of the tool's other than the main window: the dialog just opened.
dialog=""
find_dialog() {
  dialog=$(xdotool search --onlyvisible --class 'lx47-config.exe' 2>/dev/null | grep -vx "$window" | tail -n 1)
  [ -n "$dialog" ]
}

# The search: Enter presses the default button; in the search dialog
# "1台のみ検出" is unticked and Enter runs the search.
xdotool key Return
wait_for 100 find_dialog || fail "the search dialog did not open"
sleep 1
xdotool windowfocus --sync "$dialog"
xdotool mousemove --window "$dialog" 22 144 click 1
sleep 0.3
xdotool key Return
# A search for every device takes its whole 12.8 s of pauses from each host
# address (two when the harness made two links).
searched() { [ "$(grep -c 'cmd=FOND' "$work/sim.log")" -ge 10 ]; }
wait_for 300 searched || fail "the search did not send its ten requests"
# The progress window closes when the worker ends.
no_dialog() { ! find_dialog; }
sleep 1
wait_for 400 no_dialog || fail "the progress window did not close"
sleep 0.5
for d in 0 1 2; do
  grep -q "SEND dev=$d cmd=IAMI" "$work/sim.log" || fail "device $d was not answered"
done
shot windows_main_window.png
cp "$work/device-2.block" "$work/before.block"

[ -z "${LX47_SMOKE_STOP:-}" ] || exit 0
# The third device's row of the list.
xdotool mousemove --window "$window" 133 120 click 1
sleep 1
# From the list, six tabs reach the Network page's default gateway (the tab
# bar, the two mode buttons, the local address, the subnet mask), and "."
# moves on to its last field, as in the platform's address control. The
# buttons by their places from the window's bottom right corner.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool key --delay 150 Tab Tab Tab Tab Tab Tab period period period ctrl+a
xdotool type 254
xdotool mousemove --window "$window" $((WIDTH - 252)) $((HEIGHT - 28)) click 1
written() { grep -q 'RECV .*cmd=SETS' "$work/sim.log"; }
wait_for 100 written || fail "no write reached the devices"
# The write's message box carries the tool's caption.
message_box() { xdotool search --onlyvisible --name '^Orvane LX47 Configuration Tool$' >/dev/null 2>&1; }
wait_for 100 message_box || fail "no message box after the write"
sleep 0.5
shot windows_write_done.png
# Exactly the gateway changed, on the third device.
cmp -l "$work/before.block" "$work/device-2.block" >"$work/diff" 2>/dev/null
changed=$(awk '{printf "%s:%s ", $1, $3}' "$work/diff")
[ "$changed" = "24:376 " ] || fail "the third device's block changed at (offset:octal byte) \"$changed\", expected 24:376"
echo "smoke: the third device's default gateway is now 10.47.0.254, and nothing else changed"
xdotool key Return
wait_for 50 eval '! message_box' || fail "the message box did not close"

# 終了: no edits are left, so the tool closes without a question.
xdotool mousemove --window "$window" $((WIDTH - 55)) $((HEIGHT - 28)) click 1
wait_for 100 eval '! kill -0 "$tool" 2>/dev/null' || fail "the tool did not close"
wait "$tool"; rc=$?; tool=""
[ "$rc" -eq 0 ] || fail "the tool exited with $rc"
echo "smoke: lx47-config.exe searched, listed three devices, wrote one setting and closed"
