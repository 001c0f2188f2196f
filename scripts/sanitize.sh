#!/bin/sh
# The sanitizer runs of the test command:
#  1. the whole suite under AddressSanitizer + UndefinedBehaviorSanitizer
#     (clang, halting on the first report), with the libFuzzer binaries;
#  2. the Qt-free core under ThreadSanitizer (Debian's Qt is not built for
#     it and would only report noise), with the worker hand-off tests and
#     the command line's runner;
#  3. every fuzz target for a short fixed time (LX47_FUZZ_SECONDS, default 10).
# Skipped as a whole with LX47_SKIP_SANITIZERS=1.
set -eu
cd "$(dirname "$0")/.."
if [ "${LX47_SKIP_SANITIZERS:-0}" = 1 ]; then
  echo "sanitize: skipped (LX47_SKIP_SANITIZERS=1)"
  exit 0
fi

step() { printf '\n== %s\n' "$*"; }
elapsed() { echo "sanitize: $1 took $(( $(date +%s) - $2 )) s"; }

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(pwd)/tests/sanitizer/lsan.supp:print_suppressions=0"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

t=$(date +%s)
step "AddressSanitizer + UndefinedBehaviorSanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DLX47_SANITIZE=address -DLX47_FUZZ=ON >/dev/null
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2
elapsed "asan+ubsan" "$t"

t=$(date +%s)
step "ThreadSanitizer build of the Qt-free core"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DLX47_SANITIZE=thread -DLX47_BUILD_GUI=OFF >/dev/null
cmake --build build-tsan --target lx47_unit_tests lx47_ctl_tests
build-tsan/tests/lx47_unit_tests --gtest_brief=1
build-tsan/tests/lx47_ctl_tests --gtest_brief=1
elapsed "tsan" "$t"

t=$(date +%s)
step "fuzzing each target for ${LX47_FUZZ_SECONDS:-10} s"
scripts/fuzz.sh build-asan "${LX47_FUZZ_SECONDS:-10}"
elapsed "fuzz" "$t"
