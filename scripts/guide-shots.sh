#!/bin/bash
# Retakes every screenshot of the user's guide (docs/guide-ja.md) from the
# running tool, so that none can show an older tool than the one built. The
# tool runs as built on a virtual display (Xvfb, 1280x800, the desktop's
# default fonts) against lx47-sim, both in the private namespaces of
# scripts/netns/netns-run.sh; scripts/shots/drive.py drives it like a user
# (found through its accessibility tree, clicked and typed into with xdotool)
# and cuts each window or control out of the screen. At the end the guide
# must name only pictures that exist, and every picture must be named.
#
# Usage: scripts/guide-shots.sh [--review DIR PREFIX] [output folder]
#   output folder   default docs/screenshots
#   --review        also the pictures of the look review (device list,
#                   address edits, dialogs...), as DIR/PREFIX<name>.png
# LX47_TOOL_BIN runs another build of the tool (e.g. an older one for a
# before-and-after review). Needs root (the namespaces), xvfb-run, xdotool,
# dbus-run-session, python3-pyatspi and ImageMagick's import.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${LX47_BUILD_DIR:-$ROOT/build}
case "$BUILD" in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
SELF=$ROOT/scripts/guide-shots.sh
DRIVE=$ROOT/scripts/shots/drive.py
TOOL=${LX47_TOOL_BIN:-$BUILD/src/app/lx47-config}
SIM=$BUILD/sim/lx47-sim

# ------------------------------------------ on the virtual display (Linux)
if [ "${1:-}" = "--display" ]; then
  scene=$2 out=$3 work=$4 review=$5 prefix=$6
  # The accessibility bus of this display's session; Qt finds it through
  # D-Bus and reports every window and control on it.
  /usr/libexec/at-spi-bus-launcher --launch-immediately &
  bus=$!
  sleep 1
  cd "$work" || exit 1
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$TOOL" &
  tool=$!
  trap 'kill -TERM $tool 2>/dev/null; wait $tool 2>/dev/null; kill -TERM $bus 2>/dev/null' EXIT
  args=("$scene" "$out" "$work")
  [ -n "$review" ] && args+=("$review" "$prefix")
  timeout 600 /usr/bin/python3 "$DRIVE" "${args[@]}"
  exit $?
fi

# ------------------------------------------------ inside the namespaces
if [ "${1:-}" = "--inner" ]; then
  out=$2 review=$3 prefix=$4
  : "${LX47_DEVICE_NETNS:?started by netns-run.sh}"
  work=$(mktemp -d /tmp/lx47-shots.XXXXXX) || exit 1
  # A firmware file that takes a few seconds to send, so that its progress
  # can be seen.
  printf 'LX47' > "$work/LX47_test.bin"
  head -c 60000 /dev/zero >> "$work/LX47_test.bin"
  rc=0
  # One simulator and one fresh tool per scene: first devices that want a
  # password the tool does not send, then devices that answer.
  for scene in not-found devices; do
    home=$work/$scene
    mkdir -p "$home/config/Orvane Systems" "$home/runtime" "$home/tmp" && chmod 700 "$home/runtime"
    # Every device is asked for, as scripts/run.sh asks, so the list shows
    # all three.
    printf '[Setting]\nOneDevice=0\n' > "$home/config/Orvane Systems/lx47-config.ini"
    args=(--devices 3 --wifi-mode 0 --firmware 2.5.7)
    [ "$scene" = not-found ] && args+=(--password secret)
    rm -f "$work/ready"
    nsenter --net="$LX47_DEVICE_NETNS" -- "$SIM" "${args[@]}" \
      --log "$work/sim-$scene.log" --ready-file "$work/ready" --max-runtime 900 &
    sim=$!
    for _ in $(seq 1 100); do [ -f "$work/ready" ] && break; sleep 0.1; done
    # A second try: the virtual display can be lost to another xvfb-run
    # starting at the same moment.
    ok=0
    for _ in 1 2; do
      env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" TOOL="$TOOL" \
        xvfb-run -a -s "-screen 0 1280x800x24" dbus-run-session -- \
        "$SELF" --display "$scene" "$out" "$work" "$review" "$prefix" && { ok=1; break; }
    done
    [ $ok = 1 ] || rc=1
    kill -TERM "$sim" 2>/dev/null
    wait "$sim" 2>/dev/null
  done
  if [ $rc = 0 ]; then rm -rf "$work"; else echo "guide-shots: kept $work"; fi
  exit $rc
fi

# ---------------------------------------------------------- machine side
review="" prefix=""
if [ "${1:-}" = "--review" ]; then
  review=$(readlink -f "${2:?--review DIR PREFIX}") prefix=${3?--review DIR PREFIX}
  shift 3
  mkdir -p "$review" || exit 1
fi
out=$(readlink -f "${1:-$ROOT/docs/screenshots}")
for tool in xdotool xvfb-run import dbus-run-session; do
  command -v "$tool" >/dev/null 2>&1 || { echo "guide-shots: $tool is missing" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "guide-shots: python3-pyatspi is missing" >&2; exit 1; }
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "guide-shots: at-spi2-core is missing" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "guide-shots: run as root (private network namespaces)" >&2; exit 1; }
mkdir -p "$out" || exit 1
cmake --build "$BUILD" --target lx47-config lx47-sim || exit 1
LX47_TOOL_BIN=$TOOL "$ROOT/scripts/netns/netns-run.sh" --links 1 --device-addrs 3 --timeout 1500 -- \
  "$SELF" --inner "$out" "$review" "$prefix" || exit 1

# ------------------------------------------------ the Windows build's shots
# The tool for Windows under Wine, in the same kind of namespaces, its
# windows with the Windows frame (scripts/shots/windows-shots.sh); the
# Windows build is made first when it is missing (LX47_WIN_BUILD_DIR).
windows_shots() {
  local win=${LX47_WIN_BUILD_DIR:-$ROOT/build-win}
  if ! ls "$win"/lx47-config-*-setup.exe >/dev/null 2>&1; then
    "$ROOT/scripts/windows/build.sh" "$win" || return 1
  fi
  "$ROOT/scripts/shots/windows-shots.sh" "$1" "$win" "$SIM"
}
windows_shots "$out" || exit 1

# The guide names only pictures that exist, and every picture is named.
if [ "$out" = "$(readlink -f "$ROOT/docs/screenshots")" ]; then
  named=$(grep -o 'screenshots/[A-Za-z0-9_.-]*\.png' "$ROOT/docs/guide-ja.md" | sed 's|screenshots/||' | sort -u)
  status=0
  for f in $named; do
    [ -f "$out/$f" ] || { echo "guide-shots: the guide names $f, which is missing" >&2; status=1; }
  done
  for f in "$out"/*.png; do
    echo "$named" | grep -qx "$(basename "$f")" || { echo "guide-shots: $(basename "$f") is in no page of the guide" >&2; status=1; }
  done
  exit $status
fi
