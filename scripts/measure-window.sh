#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How fast the window shows a large container, and how much memory it takes: makes a 512 MiB
# container (about 23,000 recordings), starts the Release build of the program with it on a
# virtual X display, has it load the container as a click would (VOCAFETCH_MEASURE_LOAD=1) and
# reports the milliseconds until the status line changed and the first recording was painted,
# and the peak resident memory (GNU time). Usage: scripts/measure-window.sh [size-MiB] [spacing-KiB]
set -euo pipefail

size_mib=${1:-512}
spacing_kib=${2:-22}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target vocafetch vocafetch-samplegen >/dev/null
program=$(find "$build" -type f -name vocafetch -perm -u+x | head -1)
samplegen=$(find "$build" -type f -name vocafetch-samplegen -perm -u+x | head -1)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
container="$work/large.drf"
"$samplegen" --size-mib "$size_mib" --spacing-kib "$spacing_kib" "$container" >/dev/null
cat "$container" >/dev/null # read from the page cache, as a container opened a second time is
echo "container: $(stat -c %s "$container") bytes"

VOCAFETCH_MEASURE_LOAD=1 xvfb-run -a /usr/bin/time -f 'peak RSS: %M KiB' -o "$work/time.txt" \
    "$program" "$container"
cat "$work/time.txt"
