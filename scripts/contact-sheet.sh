#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders docs/styles-contact-sheet.png from the skin bitmaps stored in skin/resources.
# With --regenerate the bitmaps (and skin/resources/skin.qrc) are first drawn anew by the
# artwork generator, so a change to tools/artgen can be looked at and committed in one go.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VOCAFETCH_BUILD_DIR:-build-artgen}
cmake -S . -B "$build" -DVOCAFETCH_BUILD_TESTS=OFF -DVOCAFETCH_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" --target vocafetch-artgen -j"$(nproc)"
artgen="$build/tools/artgen/vocafetch-artgen"
if [ "${1:-}" = "--regenerate" ]; then
    "$artgen" --out skin/resources
fi
"$artgen" --contact-sheet docs/styles-contact-sheet.png --from skin/resources
