#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates every screenshot into a temporary folder with scripts/screenshot.sh and
# scripts/screenshot-controls.sh and compares each with its counterpart in docs/screenshots/
# pixel by pixel (ImageMagick `compare -metric AE`). Prints one line per picture and exits
# non-zero when any picture differs or is missing. The build folder is VOCAFETCH_BUILD_DIR
# (build-screenshots by default), configured with the demonstration form.
set -euo pipefail

cd "$(dirname "$0")/.."
scripts/install-deps.sh screenshot
export VOCAFETCH_BUILD_DIR=${VOCAFETCH_BUILD_DIR:-build-screenshots}
if [ ! -f "$VOCAFETCH_BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$VOCAFETCH_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
        -DVOCAFETCH_BUILD_BENCHMARKS=OFF >/dev/null
fi

fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
scripts/screenshot.sh "$fresh/main-window.png" >/dev/null
scripts/screenshot-controls.sh "$fresh" >/dev/null

status=0
for reference in docs/screenshots/*.png; do
    name=$(basename "$reference")
    if [ ! -f "$fresh/$name" ]; then
        echo "$name: not regenerated"
        status=1
        continue
    fi
    # compare looks only at the area both pictures cover: the sizes are checked first.
    size=$(identify -format '%wx%h' "$reference")
    fresh_size=$(identify -format '%wx%h' "$fresh/$name")
    if [ "$size" != "$fresh_size" ]; then
        echo "$name: $fresh_size instead of $size"
        status=1
        continue
    fi
    # compare prints the count of differing pixels on stderr (exit status 1 when it is not 0).
    differing=$(compare -metric AE "$reference" "$fresh/$name" null: 2>&1) || true
    if [ "$differing" = "0" ]; then
        echo "$name: identical"
    else
        echo "$name: $differing pixels differ"
        status=1
    fi
done
for picture in "$fresh"/*.png; do
    [ -f "docs/screenshots/$(basename "$picture")" ] ||
        echo "$(basename "$picture"): new, no reference to compare with"
done
exit "$status"
