#!/usr/bin/env bash
# Sets up, builds and runs the project's main job: the viewer plays the demo
# project the build packed (examples/demo) for 100 frames, prints the watched
# value "Position" per frame and writes it to a CSV file. Further arguments go
# to the viewer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VARNEL_BUILD_DIR:-$root/build}"
jobs="${VARNEL_JOBS:-$(nproc)}"

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNEL_BUILD_TESTS=OFF
cmake --build "$build" -j "$jobs"
"$build/bin/varnel-viewer" "$build/examples/demo/demo.vnl" --frames 100 --watch Position \
  --csv "$build/examples/demo/position.csv" --plot "$build/examples/demo/position.svg" "$@"
