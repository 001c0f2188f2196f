#!/bin/bash
# The real-socket tests: lx47_net_tests on the PC side of the private
# namespaces; the tests start lx47-sim on the device side themselves.
# Usage: run-net-tests.sh <lx47_net_tests> <lx47-sim> [gtest options...]
set -u
[ $# -ge 2 ] || { echo "usage: run-net-tests.sh <lx47_net_tests> <lx47-sim> [gtest options]" >&2; exit 2; }
tests=$(readlink -f "$1"); sim=$(readlink -f "$2"); shift 2
[ -x "$tests" ] || { echo "run-net-tests: $tests is not executable" >&2; exit 2; }
[ -x "$sim" ] || { echo "run-net-tests: $sim is not executable" >&2; exit 2; }
exec "$(dirname "$0")/netns-run.sh" --links 2 --timeout 600 -- env LX47_SIM="$sim" "$tests" "$@"
