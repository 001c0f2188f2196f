#!/bin/bash
# The guide's pictures of the Windows build (scripts/guide-shots.sh runs
# this): lx47-config.exe under Wine, in a Wine desktop of its own on a
# virtual display so that its windows carry the Windows frame, against
# lx47-sim on the device side of the private namespaces (the wineserver runs
# in there too); then the installer's pages and the uninstaller's. Each
# picture is the Wine desktop cut down to its window.
#   windows_main_window.png   the main window after a search
#   windows_window_menu.png   its system menu with the tool's two entries
#   windows_installer.png     the installer's folder page
#   windows_installer_done.png  the installer's last page
#   windows_uninstaller.png   the uninstaller's question
# Usage: scripts/shots/windows-shots.sh OUT WIN_BUILD LINUX_SIM
#   (from the machine side; it enters the namespaces itself)
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SELF=$ROOT/scripts/shots/windows-shots.sh

if [ "${1:-}" = --inner ]; then
  out=$2 win=$3 sim=$4
  . "$ROOT/scripts/windows/wine-lib.sh"
  work=$(mktemp -d /tmp/lx47-winshots.XXXXXX) || exit 1
  mkdir "$work/prefix"
  pids=()
  finish() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    end_prefix "$work/prefix"
    if [ "${keep:-0}" = 1 ]; then echo "windows-shots: kept $work"; else rm -rf "$work"; fi
  }
  trap finish EXIT
  new_prefix "$work/prefix" "$work/wineboot.log" || exit 1
  export WINEPREFIX=$work/prefix
  # The glyphs of the window frames' buttons.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  start_xvfb "$work/xvfb.log" || exit 1
  pids+=("$XVFB_PID")
  # The desktop cut down to what is drawn on its plain background, once a
  # window is drawn there (a first start in a new prefix takes a while).
  drawn() {
    local _ size
    for _ in $(seq 1 60); do
      import -window root "$work/full.png" 2>/dev/null &&
        convert "$work/full.png" -fuzz 3% -trim +repage "$work/cut.png" 2>/dev/null &&
        size=$(identify -format '%w %h' "$work/cut.png") && [ "${size% *}" -gt 200 ] && [ "${size#* }" -gt 150 ] &&
        return 0
      sleep 0.5
    done
    echo "windows-shots: nothing drawn within 30 s" >&2
    keep=1
    return 1
  }
  shot() { drawn && cp "$work/cut.png" "$out/$1"; }
  # Windows open in the middle of the desktop: a click there gives the one
  # just opened the keyboard, on a blank part of it.
  focus_middle() { xdotool mousemove 640 400 click 1; sleep 0.5; }
  # A desktop of its own per program: one whose owner was ended cannot be
  # taken over.
  desktops=0
  desktop() {
    desktops=$((desktops + 1))
    "$WINE" explorer /desktop=lx47-$desktops,1280x800 "$@" >>"$work/wine.log" 2>&1 &
    pids+=($!)
  }

  nsenter --net="$LX47_DEVICE_NETNS" -- "$sim" --devices 3 --quiet --ready-file "$work/ready" --max-runtime 600 &
  pids+=($!)
  for _ in $(seq 1 100); do [ -f "$work/ready" ] && break; sleep 0.1; done
  # Every device is asked for.
  "$WINE" reg add 'HKCU\Software\Orvane Systems\lx47-config\Setting' /v OneDevice /t REG_DWORD /d 0 /f >/dev/null 2>&1
  WINEPATH=$(dll_path "$win/dll-dirs.txt") desktop "$win/src/app/lx47-config.exe"
  tool=${pids[-1]}
  drawn || exit 1
  sleep 2
  # The main window's title bar: the keyboard goes to the window, and Enter
  # to its default button.
  xdotool mousemove 640 100 click 1; sleep 0.5
  # Enter: the search dialog; Enter: the search (12.8 s).
  xdotool key Return; sleep 2; xdotool key Return; sleep 16
  shot windows_main_window.png
  xdotool key alt+space; sleep 1
  shot windows_window_menu.png
  xdotool key Escape; sleep 0.5
  kill "$tool"; wait "$tool" 2>/dev/null
  sleep 2

  setup=$(ls "$win"/lx47-config-*-setup.exe | head -n 1)
  desktop "$setup"
  installer=${pids[-1]}
  drawn || exit 1
  sleep 1
  shot windows_installer.png
  focus_middle
  xdotool key Return; sleep 12
  shot windows_installer_done.png
  kill "$installer"; wait "$installer" 2>/dev/null
  sleep 2
  desktop "C:\\Program Files\\Orvane Systems\\LX47 Configuration Tool\\uninstall.exe"
  drawn || exit 1
  sleep 1
  shot windows_uninstaller.png
  exit 0
fi

out=$(readlink -f "${1:?OUT}") win=$(readlink -f "${2:?WIN_BUILD}") sim=$(readlink -f "${3:?LINUX_SIM}")
[ -x "$sim" ] || { echo "windows-shots: no lx47-sim at $sim" >&2; exit 1; }
ls "$win"/lx47-config-*-setup.exe >/dev/null 2>&1 || { echo "windows-shots: no installer in $win (build the target windows-package)" >&2; exit 1; }
"$ROOT/scripts/netns/netns-run.sh" --links 1 --device-addrs 3 --timeout 600 -- "$SELF" --inner "$out" "$win" "$sim"
