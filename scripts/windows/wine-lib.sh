# Shared by the Windows test scripts (sourced, bash): Wine's programs, a
# fresh prefix whose wineserver is checked to run in the expected network
# namespace, and gtest result counting.

WINE=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
# ja_JP: Wine's ANSI code page follows the locale and becomes CP932, the code
# page of the device texts, as on a Japanese PC.
export WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="

# A wineserver works in a folder named after its prefix's device and inode:
# the one of prefix $1 must exist and live in the network namespace $2.
check_wineserver() {
  local serverdir found=0 p
  serverdir=server-$(printf '%x' "$(stat -c %d "$1")")-$(printf '%x' "$(stat -c %i "$1")")
  for p in /proc/[0-9]*; do
    case "$(readlink "$p/exe" 2>/dev/null)" in *wineserver*) ;; *) continue ;; esac
    case "$(readlink "$p/cwd" 2>/dev/null)" in */"$serverdir") ;; *) continue ;; esac
    if [ "$(readlink "$p/ns/net" 2>/dev/null)" != "$2" ]; then
      echo "windows: the wineserver ${p#/proc/} is not in the namespace it must be in; refusing" >&2
      return 1
    fi
    found=$((found + 1))
  done
  [ "$found" -ge 1 ] || { echo "windows: cannot find the wineserver of $1; refusing" >&2; return 1; }
}

# new_prefix DIR LOG: makes a Wine prefix in DIR (which must exist, empty)
# with its wineserver started here, in this process's network namespace.
new_prefix() {
  local dir=$1 log=$2
  WINEPREFIX=$dir "$WINESERVER" -p || { echo "windows: wineserver did not start" >&2; return 1; }
  WINEPREFIX=$dir timeout 240 "$WINE" wineboot -i >"$log" 2>&1 || { echo "windows: wineboot failed (see $log)" >&2; return 1; }
  check_wineserver "$dir" "$(readlink /proc/self/ns/net)" || return 1
  # The Japanese glyph forms: Wine's fallback for the Windows UI font
  # otherwise picks another CJK variant.
  WINEPREFIX=$dir timeout 60 "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS UI Gothic" /d "Noto Sans CJK JP" /f >>"$log" 2>&1
  WINEPREFIX=$dir timeout 60 "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Yu Gothic UI" /d "Noto Sans CJK JP" /f >>"$log" 2>&1
  return 0
}

end_prefix() {
  [ -n "${1:-}" ] || return 0
  WINEPREFIX=$1 timeout 20 "$WINESERVER" -k 2>/dev/null
  rm -rf "$1"
}

# Folders of DLLs that the build's programs load, as one WINEPATH.
dll_path() {
  local d out=""
  while IFS= read -r d; do [ -n "$d" ] && out="$out;Z:$d"; done <"$1"
  echo "${out#;}"
}

passed=0 failed=0
# count_gtest LOG RC: adds one gtest run's summary lines to the counts.
count_gtest() {
  local log=$1 rc=$2 p f
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -1)
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below:.*/\1/p' "$log" | tail -1)
  p=${p:-0} f=${f:-0}
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi  # crashed or timed out
  passed=$((passed + p)) failed=$((failed + f))
  echo "windows-check: $(basename "$log" .log): $p passed, $f failed (exit $rc)"
  [ "$f" -eq 0 ] || grep -E '^\[  FAILED  \]|Failure|error' "$log" | head -40
}

# start_xvfb LOG: a virtual display of 1280x800 on a display number nobody
# uses (Xvfb picks it); sets DISPLAY and XVFB_PID.
start_xvfb() {
  local numfile n i
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$numfile" >"$1" 2>&1 &
  XVFB_PID=$!
  for i in $(seq 1 100); do
    n=$(head -n 1 "$numfile" 2>/dev/null)
    [ -n "$n" ] && break
    sleep 0.1
  done
  rm -f "$numfile"
  [ -n "$n" ] && kill -0 "$XVFB_PID" 2>/dev/null || { echo "windows: Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$n
  # Taking clients: the display answers a query. Then a pause: a Wine
  # session whose first window came within about 2 s of Xvfb's start had
  # window handles that were not windows for the rest of its life (measured
  # here: every run without the pause, none with it).
  for i in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && { sleep 2; return 0; }; sleep 0.1; done
  echo "windows: Xvfb on $DISPLAY does not answer" >&2
  return 1
}
