#!/usr/bin/env bash
# Measures the performance figures of the extraction core and the command-line tool:
#   1. the scan benchmark (two passes over a 256 MiB container, target >= 1 GB/s each);
#   2. `vocafetch-cli list` on a 512 MiB container against `LC_ALL=C grep -c -F '#!AMR'`
#      (whole processes, best of five, target ratio <= 1);
#   3. peak memory of `vocafetch-cli extract` (target <= container + 2 x largest recording
#      + 40 MiB).
# Usage: bench/measure.sh [build-dir]   (default: build-release, configured as Release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOCAFETCH_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target vocafetch-cli vocafetch-samplegen vocafetch_scan_bench -j"$(nproc)" >/dev/null
cli="$build/cli/vocafetch-cli"
gen="$build/tools/samplegen/vocafetch-samplegen"
[ -x /usr/bin/time ] || { echo "measure.sh: needs GNU time (Debian package 'time')" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== Scan passes over 256 MiB"
"$build/bench/vocafetch_scan_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

# Seconds taken by the command, best of five runs, output kept out of /dev/null so that
# grep cannot stop at its first match.
best_of_five() {
    local best=
    for _ in 1 2 3 4 5; do
        local start end took
        start=$(date +%s.%N)
        "$@" >"$work/out"
        end=$(date +%s.%N)
        took=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
        if [ -z "$best" ] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
    done
    printf '%.3f' "$best"
}

echo
echo "== list on 512 MiB vs grep"
"$gen" --size-mib 512 --spacing-kib 64 "$work/big.drf" >/dev/null
cat "$work/big.drf" >/dev/null # both read from the page cache
list_s=$(best_of_five "$cli" list "$work/big.drf")
grep_s=$(LC_ALL=C best_of_five grep -c -F '#!AMR' "$work/big.drf")
echo "vocafetch-cli list: ${list_s} s   grep -c: ${grep_s} s   ratio: $(awk -v l="$list_s" -v g="$grep_s" 'BEGIN { printf "%.2f", l / g }')"

peak() { # container-MiB spacing-KiB
    local container="$work/peak.drf"
    "$gen" --size-mib "$1" --spacing-kib "$2" "$container" >/dev/null
    # The second largest "size" of the listing: the largest is the container's own.
    local largest
    largest=$("$cli" list --json "$container" | grep -o '"size": [0-9]*' | awk '{print $2}' | sort -n | tail -2 | head -1)
    rm -rf "$work/out.d"
    /usr/bin/time -f '%M' -o "$work/rss" "$cli" extract -o "$work/out.d" "$container" >/dev/null
    local rss_kib limit_kib
    rss_kib=$(cat "$work/rss")
    limit_kib=$(( ($1 << 10) + 2 * largest / 1024 + 40 * 1024 ))
    echo "extract ${1} MiB, largest recording $((largest / 1024)) KiB: peak ${rss_kib} KiB, limit ${limit_kib} KiB"
    rm -rf "$work/out.d" "$container"
}

echo
echo "== Peak memory of extract"
rm -f "$work/big.drf"
peak 512 1024
peak 256 65536
