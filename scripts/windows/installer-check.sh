#!/bin/bash
# The Windows installer in a fresh Wine prefix of its own: a silent install
# puts the tool, its DLLs and plug-ins and lx47-sim.exe under Program Files
# and the Start-menu entry "LX47 設定ツール" in place; the installed tool
# starts and opens its window; the zip's copy starts from another folder; a
# silent uninstall leaves nothing of what the install added.
# Runs inside the private namespaces (wine-tests.sh), with DISPLAY set.
# Usage: installer-check.sh WIN_BUILD LOGS
set -u
win=$1; logs=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-lib.sh"
setup=$(ls "$win"/lx47-config-*-setup.exe 2>/dev/null | head -n 1)
zip=$(ls "$win"/lx47-config-*-win64.zip 2>/dev/null | head -n 1)
[ -n "$setup" ] && [ -n "$zip" ] || { echo "installer-check: no installer or zip in $win"; exit 1; }

prefix=$(mktemp -d /tmp/lx47-wine-inst.XXXXXX) || exit 1
unzipped=$(mktemp -d /tmp/lx47-zip.XXXXXX) || exit 1
tool=""
finish() {
  [ -z "$tool" ] || { kill "$tool" 2>/dev/null; wait "$tool" 2>/dev/null; }
  end_prefix "$prefix"
  rm -rf "$unzipped"
}
trap finish EXIT
fail() { echo "installer-check: FAILED: $*"; exit 1; }
t0=$(date +%s)
lap() { echo "installer-check: $1 ($(( $(date +%s) - t0 )) s)"; }

new_prefix "$prefix" "$logs/wineboot-installer.log" || exit 1
lap "fresh prefix"
export WINEPREFIX=$prefix
unset WINEPATH  # the installed tool must find everything it needs beside it
drive_c=$prefix/drive_c

# Every file and registry key before the install, to compare after the uninstall.
snapshot() {
  (cd "$drive_c" && find . -path ./windows -prune -o -path './users/*/Temp' -prune -o -path './users/*/AppData/Local/Temp' -prune -o -print | sort) >"$1.files"
  rm -f "$1.reg"
  timeout 60 "$WINE" reg export 'HKLM\Software' "Z:$1.reg" /y </dev/null >/dev/null 2>&1
  iconv -f UTF-16 -t UTF-8 "$1.reg" 2>/dev/null | grep '^\[' | sort >"$1.keys"
}
snapshot "$logs/before"
lap "snapshot"

timeout 300 "$WINE" "$setup" /S || fail "the silent install ended with $?"
lap "installed"
dir="$drive_c/Program Files/Orvane Systems/LX47 Configuration Tool"
for f in lx47-config.exe lx47ctl.exe lx47-sim.exe uninstall.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll \
         platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_ja.qm libstdc++-6.dll; do
  [ -f "$dir/$f" ] || fail "the install has no $f"
done
link=$(find "$drive_c" -name 'LX47 設定ツール.lnk' | head -n 1)
[ -n "$link" ] || fail "no Start-menu entry named LX47 設定ツール"
case "$link" in *"Start Menu/Programs/"*) ;; *) fail "the entry is not in the Start menu: $link" ;; esac
echo "installer-check: installed $(find "$dir" -type f | wc -l) files, $(du -sm "$dir" | cut -f1) MB; Start-menu entry: ${link#$drive_c/}"

# The installed tool starts and shows its window (no lx47-sim: nothing is
# searched, so it may stay idle until it is ended).
title_of() { xdotool search --name "$1" 2>/dev/null | head -n 1; }
started() {
  local i
  for i in $(seq 1 120); do
    [ -n "$(title_of 'Orvane LX47 Configuration Tool  Ver 1.0.0')" ] && return 0
    sleep 0.5
  done
  return 1
}
(cd "$dir" && exec "$WINE" "C:\\Program Files\\Orvane Systems\\LX47 Configuration Tool\\lx47-config.exe") >"$logs/installed-tool.log" 2>&1 &
tool=$!
started || fail "the installed tool did not open its window"
echo "installer-check: the installed tool opened its window"
[ -z "${LX47_SHOT_DIR:-}" ] || import -window root "$LX47_SHOT_DIR/windows_installed_tool.png"
kill "$tool" 2>/dev/null; wait "$tool" 2>/dev/null; tool=""

# The zip runs from any folder.
(cd "$unzipped" && unzip -q "$zip") || fail "the zip does not unpack"
exe=$(find "$unzipped" -name lx47-config.exe | head -n 1)
("$WINE" "$exe" >"$logs/zip-tool.log" 2>&1) &
tool=$!
started || fail "the tool from the zip did not open its window"
echo "installer-check: the tool from the zip opened its window"
kill "$tool" 2>/dev/null; wait "$tool" 2>/dev/null; tool=""

# The uninstaller copies itself to the temporary folder and runs from there,
# so that it can remove its own folder: its end shows as the folder's.
timeout 300 "$WINE" "$dir/uninstall.exe" /S || fail "the silent uninstall ended with $?"
for _ in $(seq 1 600); do [ -e "$dir" ] || break; sleep 0.1; done
[ ! -e "$dir" ] || fail "the uninstall did not remove $dir within 60 s"
lap "uninstalled"
snapshot "$logs/after"
if ! diff "$logs/before.files" "$logs/after.files" >"$logs/left-files.diff"; then
  cat "$logs/left-files.diff"; fail "the uninstall left files behind or removed others"
fi
if ! diff "$logs/before.keys" "$logs/after.keys" >"$logs/left-keys.diff"; then
  cat "$logs/left-keys.diff"; fail "the uninstall left registry keys behind"
fi
echo "installer-check: the uninstall left nothing behind ($(wc -l <"$logs/before.files") paths and $(wc -l <"$logs/before.keys") keys as before)"
