#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and starts the window; without a display it says so and
# shows the command-line tool on the sample container instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
build=${VOCAFETCH_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOCAFETCH_BUILD_TESTS=OFF -DVOCAFETCH_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
if [ -x "$build/app/vocafetch" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
    exec "$build/app/vocafetch"
fi
if [ -x "$build/app/vocafetch" ]; then
    echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open."
    echo "The command-line tool does the same work; here it lists the sample container:"
    echo "  $build/cli/vocafetch-cli list samples/sample.drf"
fi
exec "$build/cli/vocafetch-cli" list samples/sample.drf
