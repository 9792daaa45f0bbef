#!/usr/bin/env bash
# Starts the real program on a virtual X display and saves a picture of the screen to
# docs/screenshots/main-window.png (or the path given as the first argument).
# Builds the program first when needed.
set -euo pipefail

# Second stage, run by xvfb-run on the virtual display: start the window, let it paint,
# grab the screen, end the program.
if [ "${1:-}" = "--on-display" ]; then
    program=$2
    out=$3
    "$program" &
    pid=$!
    sleep "${VOCAFETCH_SHOT_DELAY:-3}"
    import -window root "$out"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    exit 0
fi

cd "$(dirname "$0")/.."
scripts/install-deps.sh screenshot
build=${VOCAFETCH_BUILD_DIR:-build}
out=${1:-docs/screenshots/main-window.png}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOCAFETCH_BUILD_TESTS=OFF \
        -DVOCAFETCH_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" --target vocafetch -j"$(nproc)" >/dev/null
mkdir -p "$(dirname "$out")"
program=$(realpath "$build/app/vocafetch")
out=$(realpath -m "$out")

# A screen just larger than the window, which centres itself on it.
xvfb-run --auto-servernum --server-args="-screen 0 360x320x24" \
    "$(realpath "$0")" --on-display "$program" "$out"
echo "Saved $out"
