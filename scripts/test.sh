#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VARNEL_TEST_BUILD_DIR:-$root/build-test}"
jobs="${VARNEL_JOBS:-$(nproc)}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVARNEL_SANITIZE=ON -DVARNEL_BUILD_TESTS=ON
cmake --build "$build" -j "$jobs"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
