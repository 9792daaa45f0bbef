#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) in a
# build folder of their own, writes their seed corpora with the sample generators and runs each
# target for a bounded time. Fails on a crash, a failed check or a sanitizer report.
# Usage: scripts/fuzz.sh [seconds-per-target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
case "$seconds" in
'' | *[!0-9]*) echo "fuzz.sh: give the seconds per target as a whole number" >&2; exit 2 ;;
esac

scripts/install-deps.sh test
build=${VOCAFETCH_FUZZ_BUILD_DIR:-build-fuzz}
targets=(fuzz_container fuzz_frames fuzz_headerless fuzz_theme fuzz_phone fuzz_message fuzz_stream
    fuzz_name)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVOCAFETCH_FUZZ=ON -DVOCAFETCH_SANITIZE=ON \
    -DVOCAFETCH_BUILD_TESTS=OFF -DVOCAFETCH_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" vocafetch-fuzz-seeds vocafetch-message-seeds \
    vocafetch-artgen

# Inputs stay small: a few KiB reach every reader's paths, and a larger input only costs time.
declare -A max_len=([fuzz_container]=4096 [fuzz_frames]=4096 [fuzz_headerless]=1536
    [fuzz_theme]=16384 [fuzz_phone]=2048 [fuzz_message]=4096 [fuzz_stream]=4096 [fuzz_name]=2048)
# A target's own flags. The headerless search's slowest inputs (frames of silence that chain
# on from every offset) take fifty times the others: scheduling inputs by their time runs about
# twice as many in a run, with the coverage the default schedule reached.
declare -A flags=([fuzz_headerless]=-entropic_scale_per_exec_time=1)
# The targets that write files do so in memory where the system has a memory file system: a
# flush to disk per input would be most of the run.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=suppressions=$PWD/tests/common/lsan.supp

root=$PWD
work="$root/$build/fuzz-run"
rm -rf "$work"
mkdir -p "$work/sample-theme"
"$build/tools/artgen/vocafetch-artgen" --theme "$work/sample-theme" >/dev/null
"$build/fuzz/vocafetch-fuzz-seeds" "$work/seeds" "$work/sample-theme"
"$build/fuzz/vocafetch-message-seeds" "$work/seeds/message"

failed=()
summary=()
for target in "${targets[@]}"; do
    corpus="$work/corpus/${target#fuzz_}"
    mkdir -p "$corpus" "$work/artifacts"
    log="$work/$target.log"
    echo "== $target: ${seconds}s"
    status=0
    (cd "$work" && "$root/$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -max_len="${max_len[$target]}" ${flags[$target]:-} \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" \
        "$corpus" "$work/seeds/${target#fuzz_}") >"$log" 2>&1 || status=$?
    # The last status line gives the executions and the coverage reached.
    line=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    runs=$(grep -E '^stat::number_of_executed_units:' "$log" | awk '{print $2}' || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$line")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$line")
    summary+=("$(printf '%-15s executions: %-8s cov: %-6s ft: %s' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}")")
    if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
        failed+=("$target")
        echo "-- $target failed (exit $status); the end of $log:" >&2
        tail -n 40 "$log" >&2
    fi
done

echo "== fuzzing summary (${seconds}s per target)"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz.sh: failed: ${failed[*]} (crashing inputs in $work/artifacts)" >&2
    exit 1
fi
