#!/bin/bash
# Retakes the screenshots of docs/guide-ja.md that only the running tool can
# give: its message boxes and its window menu. The installed-as-built tool
# runs under xvfb-run against lx47-sim, both in the private namespaces of
# scripts/netns/netns-run.sh, and is driven with xdotool; each picture is the
# window's part of the virtual screen. (The dialogs and pages themselves are
# grabbed by the widget and net tests that run with LX47_SCREENSHOT_DIR or
# LX47_SHOT_DIR set.)
#
# Usage: scripts/guide-shots.sh [output folder]   (default docs/screenshots)
# Needs root (the namespaces), xdotool, xvfb-run and ImageMagick's import.
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${LX47_BUILD_DIR:-$ROOT/build}
SELF=$ROOT/scripts/guide-shots.sh

# ------------------------------------------------- on the virtual display
if [ "${1:-}" = "--drive" ]; then
  scene=$2 out=$3 work=$4
  win_by_name() {  # regex, seconds -> the last visible window of that title
    local i id
    for i in $(seq 1 $(( $2 * 5 ))); do
      id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1)
      [ -n "$id" ] && ! xdotool getwindowgeometry "$id" >/dev/null 2>&1 && id=""
      [ -n "$id" ] && { echo "$id"; return 0; }
      sleep 0.2
    done
    echo "guide-shots: no window \"$1\" ($scene); the screen is in $work/failed-$scene.png" >&2
    import -window root "$work/failed-$scene.png"
    return 1
  }
  geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
  shot() { geometry "$1"; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$2"; }
  click_in() { geometry "$1"; xdotool mousemove $((X + $2)) $((Y + $3)) click 1; }
  box='^Orvane LX47 Configuration Tool$'   # the message boxes' caption

  cd "$work" || exit 1
  HOME=$work/home "$BUILD/src/app/lx47-config" &
  tool=$!
  trap 'kill -TERM $tool 2>/dev/null; wait $tool 2>/dev/null' EXIT
  main=$(win_by_name 'Orvane LX47 Configuration Tool  Ver' 30) || exit 1
  sleep 0.5
  geometry "$main"; MW=$WIDTH; MH=$HEIGHT
  # The buttons along the bottom, from the window's right edge (Return would
  # press whichever button had the focus last). The search dialog's OK is its
  # default button.
  search() { click_in "$main" $((MW - 355)) $((MH - 27)); sleep 1; xdotool key Return; }
  case "$scene" in
    not-found)
      search
      b=$(win_by_name "$box" 120) || exit 1
      sleep 0.5; shot "$b" msg_not_found.png; xdotool key Return ;;
    devices)
      search; sleep 4
      click_in "$main" $((MW - 252)) $((MH - 27))          # 設定
      b=$(win_by_name "$box" 60) || exit 1
      sleep 0.5; shot "$b" msg_write_done.png; xdotool key Return; sleep 2
      # The window menu, with the top right corner of the window around it.
      xdotool windowfocus --sync "$main"; xdotool key alt+space; sleep 1
      geometry "$main"
      import -window root -crop "397x100+$((X + WIDTH - 292))+$Y" +repage "$out/window_menu.png"
      xdotool key Escape; sleep 0.5
      # Factory reset of the shown device: the question defaults to No.
      xdotool windowfocus --sync "$main"; xdotool key alt+space; sleep 0.7; xdotool key Down Return
      d=$(win_by_name '^LX47 の初期化$' 10) || exit 1
      sleep 0.5; xdotool key Return
      b=$(win_by_name "$box" 10) || exit 1
      sleep 0.5; shot "$b" reset_confirm.png; xdotool key shift+Tab space; sleep 0.3
      b=$(win_by_name "$box" 60) || exit 1
      sleep 0.5; shot "$b" reset_done.png; xdotool key Return; sleep 6
      # Firmware update: the question defaults to Yes.
      search; sleep 4
      click_in "$main" $((MW - 157)) $((MH - 27))          # ファーム更新
      win_by_name 'ファームファイルを選択' 10 >/dev/null || exit 1
      sleep 1; xdotool key ctrl+a; xdotool type --delay 20 "$work/LX47_test.bin"; xdotool key Return
      b=$(win_by_name "$box" 10) || exit 1
      sleep 0.5; shot "$b" fw_confirm.png; xdotool key Return
      b=$(win_by_name "$box" 120) || exit 1
      sleep 0.5; shot "$b" fw_done.png; xdotool key Return; sleep 6 ;;
  esac
  exit 0
fi

# ------------------------------------------------ inside the namespaces
if [ "${1:-}" = "--inner" ]; then
  out=$2
  : "${LX47_DEVICE_NETNS:?started by netns-run.sh}"
  work=$(mktemp -d /tmp/lx47-shots.XXXXXX) || exit 1
  mkdir -p "$work/home"
  printf 'LX47' > "$work/LX47_test.bin"
  head -c 200000 /dev/zero >> "$work/LX47_test.bin"
  rc=0
  # One simulator per scene: first devices that want a password the tool
  # does not send, then devices that answer.
  for scene in not-found devices; do
    args=(--devices 3 --wifi-mode 0)
    [ "$scene" = not-found ] && args+=(--password secret)
    rm -f "$work/ready"
    nsenter --net="$LX47_DEVICE_NETNS" -- "$BUILD/sim/lx47-sim" "${args[@]}" \
      --log "$work/sim-$scene.log" --ready-file "$work/ready" --max-runtime 300 &
    sim=$!
    for _ in $(seq 1 100); do [ -f "$work/ready" ] && break; sleep 0.1; done
    # A second try: the virtual display can be lost to another xvfb-run
    # starting at the same moment.
    ok=0
    for _ in 1 2; do
      env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 280 \
        xvfb-run -a -s "-screen 0 1280x900x24" "$SELF" --drive "$scene" "$out" "$work" && { ok=1; break; }
    done
    [ $ok = 1 ] || rc=1
    kill -TERM "$sim" 2>/dev/null
    wait "$sim" 2>/dev/null
  done
  if [ $rc = 0 ]; then rm -rf "$work"; else echo "guide-shots: kept $work"; fi
  exit $rc
fi

# ---------------------------------------------------------- machine side
out=$(readlink -f "${1:-$ROOT/docs/screenshots}")
for tool in xdotool xvfb-run import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "guide-shots: $tool is missing" >&2; exit 1; }
done
[ "$(id -u)" -eq 0 ] || { echo "guide-shots: run as root (private network namespaces)" >&2; exit 1; }
mkdir -p "$out" || exit 1
cmake --build "$BUILD" --target lx47-config lx47-sim || exit 1
exec "$ROOT/scripts/netns/netns-run.sh" --links 1 --device-addrs 3 --timeout 900 -- "$SELF" --inner "$out"
