#!/bin/bash
# Runs a command on the PC side of two private network namespaces joined by
# veth pairs, so that real datagrams (broadcasts included) reach lx47-sim and
# nothing else:
#
#   PC side (unshare -n -m, /sys remounted)     device side (holder process)
#   lo                                          lo
#   lx0 10.47.0.1/24  <-------- veth ------->   lx1 10.47.0.100 .. (devices)
#   lx2 10.48.0.1/24  <-------- veth ------->   lx3 10.48.0.100 .. (--links 2)
#
# The command sees:
#   LX47_NETNS=1                  it runs inside the harness
#   LX47_DEVICE_NETNS=/proc/N/ns/net
#                                 the device side; start lx47-sim there with
#                                 nsenter --net="$LX47_DEVICE_NETNS" -- lx47-sim ...
#   LX47_PC_ADDRS="10.47.0.1 10.48.0.1"
#   LX47_LINKS=1|2
#   LX47_INITIAL_NETNS=net:[N]    the machine's own namespace, which the
#                                 command checks it is not in
#
# Usage: netns-run.sh [--links 1|2] [--device-addrs N] [--timeout S] -- COMMAND [ARG...]
# Exit status: the command's; 77 when namespaces cannot be made here (not
# root, tools missing); 124 when the command ran out of time.
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
SKIP=77

links=2
naddrs=32
limit=600
inner=0
while [ $# -gt 0 ]; do
  case "$1" in
    --links) links=$2; shift 2 ;;
    --device-addrs) naddrs=$2; shift 2 ;;
    --timeout) limit=$2; shift 2 ;;
    --inner) inner=1; shift ;;
    --) shift; break ;;
    *) echo "netns-run: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: netns-run.sh [--links 1|2] [--device-addrs N] [--timeout S] -- COMMAND..." >&2; exit 2; }
case "$links" in 1|2) ;; *) echo "netns-run: --links is 1 or 2" >&2; exit 2 ;; esac
case "$naddrs" in ''|*[!0-9]*) echo "netns-run: --device-addrs wants a number" >&2; exit 2 ;; esac
[ "$naddrs" -ge 1 ] && [ "$naddrs" -le 150 ] || { echo "netns-run: --device-addrs is 1..150" >&2; exit 2; }

# Kills, by pid, every process inside the network namespace whose link text
# is $1 (they all descend from this harness: nobody else knows the namespace).
kill_in_netns() {
  local ns=$1 pids="" p link i
  [ -n "$ns" ] || return 0
  for p in /proc/[0-9]*; do
    p=${p#/proc/}
    [ "$p" = "$$" ] && continue
    link=$(readlink "/proc/$p/ns/net" 2>/dev/null) || continue
    [ "$link" = "$ns" ] && pids="$pids $p"
  done
  [ -n "$pids" ] || return 0
  kill -TERM $pids 2>/dev/null
  for i in $(seq 1 30); do
    local alive=""
    for p in $pids; do kill -0 "$p" 2>/dev/null && alive="$alive $p"; done
    [ -z "$alive" ] && return 0
    pids=$alive
    sleep 0.1
  done
  kill -KILL $pids 2>/dev/null
  return 0
}

# ------------------------------------------------------------------ PC side
if [ "$inner" = 1 ]; then
  : "${LX47_HOLDER_PID:?}" "${LX47_INITIAL_NETNS:?}"
  here_ns=$(readlink /proc/self/ns/net)
  if [ "$here_ns" = "$LX47_INITIAL_NETNS" ]; then
    echo "netns-run: still in the machine's own network namespace; refusing" >&2
    exit 1
  fi
  dev_ns_path=/proc/$LX47_HOLDER_PID/ns/net
  dev_ns=$(readlink "$dev_ns_path") || { echo "netns-run: device side is gone" >&2; exit 1; }
  [ "$dev_ns" != "$LX47_INITIAL_NETNS" ] || { echo "netns-run: device side is not private; refusing" >&2; exit 1; }
  devns() { nsenter --net="$dev_ns_path" -- "$@"; }

  cleanup_inner() {
    # A second signal (the outer side's, a second Ctrl-C) must not cut the
    # clean-up short and leave the namespaces' processes running.
    trap - EXIT
    trap '' INT TERM
    kill_in_netns "$dev_ns"
    kill_in_netns "$here_ns"
  }
  trap cleanup_inner EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM

  # /sys must describe this namespace's links (the tool reads /sys/class/net).
  mount --make-rprivate / 2>/dev/null
  mount -t sysfs sysfs /sys || { echo "netns-run: cannot remount /sys" >&2; exit 1; }

  ip link set lo up || exit 1
  devns ip link set lo up || exit 1
  pc_addrs=""
  for l in $(seq 1 "$links"); do
    pc_if=lx$(( (l - 1) * 2 )); dev_if=lx$(( (l - 1) * 2 + 1 )); net=10.$((46 + l)).0
    ip link add "$pc_if" type veth peer name "$dev_if" netns "$LX47_HOLDER_PID" || exit 1
    ip addr add "$net.1/24" dev "$pc_if" || exit 1
    ip link set "$pc_if" up || exit 1
    batch=""
    for i in $(seq 0 $((naddrs - 1))); do batch="${batch}addr add $net.$((100 + i))/24 dev $dev_if
"; done
    printf '%s' "$batch" | devns ip -batch - || exit 1
    devns ip link set "$dev_if" up || exit 1
    pc_addrs="$pc_addrs $net.1"
  done
  # Bounded wait for the links to carry traffic.
  for l in $(seq 1 "$links"); do
    pc_if=lx$(( (l - 1) * 2 )); ok=0
    for i in $(seq 1 50); do
      [ "$(cat /sys/class/net/$pc_if/operstate 2>/dev/null)" = up ] && { ok=1; break; }
      sleep 0.1
    done
    [ $ok = 1 ] || { echo "netns-run: $pc_if did not come up" >&2; exit 1; }
  done
  # The PC side holds no device address: unicast requests must cross the link.
  if ip -4 -o addr show | grep -q ' 10\.4[78]\.0\.1[0-9][0-9]/'; then
    echo "netns-run: PC side holds a device address; refusing" >&2; exit 1
  fi

  export LX47_NETNS=1 LX47_DEVICE_NETNS="$dev_ns_path" LX47_PC_ADDRS="${pc_addrs# }" LX47_LINKS="$links"
  unset LX47_HOLDER_PID
  timeout --kill-after=10 "$limit" "$@" &
  child=$!
  wait "$child"
  rc=$?
  exit $rc
fi

# ------------------------------------------------------------ machine side
if [ "$(id -u)" -ne 0 ]; then
  echo "netns-run: SKIPPED: private network namespaces need root (run as root to use real sockets)"
  exit $SKIP
fi
for tool in unshare nsenter ip timeout mount; do
  command -v "$tool" >/dev/null 2>&1 || { echo "netns-run: SKIPPED: '$tool' is not available"; exit $SKIP; }
done
if ! unshare -n -m true 2>/dev/null; then
  echo "netns-run: SKIPPED: unshare -n -m is not permitted here"
  [ "${CI:-}" = true ] && { echo "netns-run: on CI the namespaces must work" >&2; exit 1; }
  exit $SKIP
fi

initial_ns=$(readlink /proc/self/ns/net)
holder=""
pc=""
cleanup() {
  trap - EXIT
  trap '' INT TERM
  if [ -n "$pc" ] && kill -0 "$pc" 2>/dev/null; then
    kill -TERM "$pc" 2>/dev/null
    for i in $(seq 1 50); do kill -0 "$pc" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pc" 2>/dev/null
  fi
  if [ -n "$holder" ]; then
    dev_ns=$(readlink "/proc/$holder/ns/net" 2>/dev/null)
    [ -n "$dev_ns" ] && [ "$dev_ns" != "$initial_ns" ] && kill_in_netns "$dev_ns"
    kill -KILL "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The device side lives as long as this holder (bounded, like everything).
unshare -n sleep $((limit + 120)) &
holder=$!
for i in $(seq 1 50); do
  ns=$(readlink "/proc/$holder/ns/net" 2>/dev/null)
  [ -n "$ns" ] && [ "$ns" != "$initial_ns" ] && break
  sleep 0.05
done
[ "$(readlink "/proc/$holder/ns/net" 2>/dev/null)" != "$initial_ns" ] || { echo "netns-run: device namespace not made" >&2; exit 1; }

LX47_HOLDER_PID=$holder LX47_INITIAL_NETNS=$initial_ns \
  unshare -n -m -- bash "$HERE/netns-run.sh" --inner --links "$links" --device-addrs "$naddrs" --timeout "$limit" -- "$@" &
pc=$!
wait "$pc"
rc=$?
pc=""
exit $rc
