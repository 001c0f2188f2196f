#!/bin/bash
# Runs the tool against three simulated devices. lx47-sim runs in a private
# network namespace of its own and the tool in another, the two joined by a
# veth pair (scripts/netns/netns-run.sh), so a search finds the simulated
# devices at once and nothing reaches the machine's real network.
#
# Usage: scripts/run.sh [--devices N] [--hours H] [--ctl] [-- lx47-sim options...]
#   --devices N   simulated devices (default 3)
#   --hours H     bound on the whole run (default 12)
#   --ctl         a shell instead of the window, with lx47ctl on its PATH
#   options after -- go to lx47-sim as they are (see lx47-sim --help)
#
# The window opens on the user's display ($WAYLAND_DISPLAY or $DISPLAY); with
# no display it runs under xvfb-run and says so. The tool starts from default
# settings of its own, not the user's stored ones. Namespaces and the
# simulator are removed when the tool exits (or on Ctrl-C).
set -u
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${LX47_BUILD_DIR:-$ROOT/build}
case "$BUILD" in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac

# --------------------------------------------- inside the PC-side namespace
if [ "${1:-}" = "--in-namespace" ]; then
  shift
  devices=$1 seconds=$2 display_mode=$3; shift 3
  : "${LX47_DEVICE_NETNS:?run.sh --in-namespace is started by netns-run.sh}"
  sim_bin=$BUILD/sim/lx47-sim
  tool_bin=$BUILD/src/app/lx47-config
  work=$(mktemp -d /tmp/lx47-run.XXXXXX) || exit 1
  sim_pid=""
  tool_pid=""
  finish() {
    trap - EXIT INT TERM
    if [ -n "$tool_pid" ] && kill -0 "$tool_pid" 2>/dev/null; then
      kill -TERM "$tool_pid" 2>/dev/null
      for _ in $(seq 1 30); do kill -0 "$tool_pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$tool_pid" 2>/dev/null
    fi
    if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
      kill -TERM "$sim_pid" 2>/dev/null
      for _ in $(seq 1 30); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
      kill -KILL "$sim_pid" 2>/dev/null
    fi
    # The run's settings and the simulator's files go with it.
    if [ "${LX47_KEEP_RUN:-0}" = 1 ]; then
      echo "run: kept $work (LX47_KEEP_RUN=1)"
    else
      rm -rf "$work"
    fi
  }
  trap finish EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  nsenter --net="$LX47_DEVICE_NETNS" -- "$sim_bin" --devices "$devices" \
    --log "$work/sim.log" --ready-file "$work/ready" --state-dir "$work" \
    --max-runtime "$seconds" "$@" &
  sim_pid=$!
  ok=0
  for _ in $(seq 1 100); do
    [ -f "$work/ready" ] && { ok=1; break; }
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ $ok != 1 ]; then
    echo "run: lx47-sim did not start; its log:" >&2
    cat "$work/sim.log" >&2 2>/dev/null
    exit 1
  fi
  sim_pid=$(sed -n 's/^ready pid=\([0-9]*\)$/\1/p' "$work/ready")
  echo "run: $devices simulated devices at 10.47.0.100 and up (lx47-sim pid $sim_pid);"
  echo "run: this PC side holds 10.47.0.1 only: a search finds them and nothing else"
  echo "run: the simulator logs to $work/sim.log (removed at the end unless LX47_KEEP_RUN=1)"

  # The tool gets settings, a lock and a hand-over socket of its own: a
  # window already open on the real network must neither take this start
  # over nor find this run's adapter (lx0) in its stored settings.
  mkdir -p "$work/config" "$work/runtime" "$work/tmp" && chmod 700 "$work/runtime" || exit 1
  if [ -n "${WAYLAND_DISPLAY:-}" ] && [ "${WAYLAND_DISPLAY#/}" = "$WAYLAND_DISPLAY" ]; then
    export WAYLAND_DISPLAY="${XDG_RUNTIME_DIR:-}/$WAYLAND_DISPLAY"
  fi
  export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp"
  # The search dialog starts with every device asked for, so that the list
  # shows all the simulated ones.
  mkdir -p "$work/config/Orvane Systems" &&
    printf '[Setting]\nOneDevice=0\n' > "$work/config/Orvane Systems/lx47-config.ini" || exit 1

  # The tool runs as the user who asked for it (sudo), so that the display's
  # authority is that user's.
  as_user=()
  if [ -n "${SUDO_UID:-}" ] && [ "${SUDO_UID}" != 0 ]; then
    user_home=$(getent passwd "$SUDO_UID" | cut -d: -f6)
    chown "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$work"; chown -R "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$work/config" "$work/runtime" "$work/tmp"
    as_user=(setpriv --reuid="$SUDO_UID" --regid="${SUDO_GID:-$SUDO_UID}" --init-groups
             env HOME="${user_home:-/tmp}" USER="${SUDO_USER:-}" LOGNAME="${SUDO_USER:-}")
  fi
  cd "$work" || exit 1
  if [ "$display_mode" = ctl ]; then
    echo "run: a shell with lx47ctl on its PATH; try: lx47ctl search (exit ends the run)"
    "${as_user[@]}" env PATH="$BUILD/src/ctl:$PATH" PS1='lx47-sim$ ' bash --norc -i &
    tool_pid=$!
    wait "$tool_pid"
    rc=$?
    tool_pid=""
    exit $rc
  elif [ "$display_mode" = xvfb ]; then
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "${as_user[@]}" xvfb-run -a -s "-screen 0 1280x900x24" "$tool_bin" &
  elif [ "$display_mode" = x11 ]; then
    env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "${as_user[@]}" "$tool_bin" &
  else
    "${as_user[@]}" "$tool_bin" &
  fi
  tool_pid=$!
  wait "$tool_pid"
  rc=$?
  tool_pid=""
  echo "run: the tool exited (status $rc)"
  exit $rc
fi

# ---------------------------------------------------------- machine side
devices=3
hours=12
ctl=0
while [ $# -gt 0 ]; do
  case "$1" in
    --devices) devices=${2:?}; shift 2 ;;
    --ctl) ctl=1; shift ;;
    --hours) hours=${2:?}; shift 2 ;;
    --) shift; break ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "run: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
case "$devices" in ''|*[!0-9]*) echo "run: --devices wants a number" >&2; exit 2 ;; esac
case "$hours" in ''|*[!0-9]*) echo "run: --hours wants a whole number" >&2; exit 2 ;; esac
[ "$devices" -ge 1 ] && [ "$devices" -le 64 ] || { echo "run: --devices is 1..64" >&2; exit 2; }
[ "$hours" -ge 1 ] && [ "$hours" -le 168 ] || { echo "run: --hours is 1..168" >&2; exit 2; }

"$ROOT/scripts/setup.sh" || exit 1

# Build as whoever started the script, so that the build folder stays theirs.
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
cmake --build "$BUILD" --target lx47-config lx47-sim lx47ctl || exit 1

# The display the window goes to. Both sockets are files, which a network
# namespace does not hide (an X display over TCP would be hidden: no such
# display is used, the window then goes to xvfb-run).
display_mode=none
if [ $ctl = 1 ]; then
  display_mode=ctl
elif [ -n "${WAYLAND_DISPLAY:-}" ] && [ -n "${XDG_RUNTIME_DIR:-}" ] &&
   { [ -S "$WAYLAND_DISPLAY" ] || [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; }; then
  display_mode=wayland
elif [ -n "${DISPLAY:-}" ]; then
  case "$DISPLAY" in
    :*|unix:*) n=${DISPLAY#unix}; n=${n#:}; n=${n%%.*}
               [ -S "/tmp/.X11-unix/X$n" ] && display_mode=x11 ;;
  esac
  [ "$display_mode" = none ] &&
    echo "run: DISPLAY=$DISPLAY is not a local display this namespace can reach"
fi
if [ "$display_mode" = ctl ]; then
  :
elif [ "$display_mode" = none ]; then
  command -v xvfb-run >/dev/null 2>&1 || { echo "run: no display and no xvfb-run" >&2; exit 1; }
  echo "run: no display found: the tool runs under xvfb-run, its window is not visible (Ctrl-C ends it)"
  display_mode=xvfb
else
  echo "run: the window opens on the $display_mode display"
fi

seconds=$((hours * 3600))
ns_cmd=("$ROOT/scripts/netns/netns-run.sh" --links 1 --device-addrs "$devices" --timeout "$seconds"
        -- env LX47_BUILD_DIR="$BUILD" "$ROOT/scripts/run.sh" --in-namespace "$devices" "$seconds" "$display_mode" "$@")
if [ "$(id -u)" -eq 0 ]; then
  exec "${ns_cmd[@]}"
fi
# Private network namespaces need root; the display's variables go along.
command -v sudo >/dev/null 2>&1 || { echo "run: private network namespaces need root (run as root, or install sudo)" >&2; exit 1; }
echo "run: asking sudo for the network namespaces"
exec sudo env DISPLAY="${DISPLAY:-}" WAYLAND_DISPLAY="${WAYLAND_DISPLAY:-}" XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-}" \
  XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}" SUDO_UID="$(id -u)" SUDO_GID="$(id -g)" SUDO_USER="$(id -un)" \
  "${ns_cmd[@]}"
