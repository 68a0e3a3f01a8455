#!/usr/bin/env bash
# Sets up, builds and runs the project's main job: the demo host drives the
# engine for a number of frames and reports what happened.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VARNEL_BUILD_DIR:-$root/build}"
jobs="${VARNEL_JOBS:-$(nproc)}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_TESTS=OFF
cmake --build "$build" -j "$jobs"
"$build/bin/varnel-demo" "$@"
