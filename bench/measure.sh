#!/usr/bin/env bash
# Measures the performance figures of the extraction core and the command-line tool, whole
# processes side by side with their peers on the same files, medians of several runs
# (hyperfine), output always written to a file (grep stops at its first match on /dev/null):
#   1. the scan benchmark (two passes over a 256 MiB container, target >= 1 GB/s each);
#   2. `vocafetch-cli list` on a 512 MiB container against `LC_ALL=C grep -c -F '#!AMR'`
#      (target ratio <= 1.0), and `list --headerless` against `list` (target <= 1.5);
#   3. the headerless search: `list --headerless` against `list` on 256 MiB card images of
#      zeros, 0xFF and random bytes with a few signed recordings and a few without their
#      signature (target <= 1.5, every one of those found), the search in process over each
#      filler (target >= 2 GB/s) and over DTX silence (time linear in its length), a recording
#      without its signature across the 256 MiB window edge (found whole), and the peak memory
#      of `list --headerless` on 25 MB of signatures each followed by a frame (target: as `list`);
#   4. `vocafetch-cli extract` of a 64 MiB container with 2,824 recordings against the generic
#      carvers foremost and scalpel carving at each signature, each followed by `sync -f` on its
#      output folder (target ratio to foremost <= 1.0), and the sync calls of the extraction
#      (strace -c);
#   5. peak memory (GNU time) of `list` and `extract` on a 6 GiB sparse disk image with
#      recordings beyond 4 GiB (target <= 320 MiB), and of `list` / `list --json` on 10 MB of
#      signatures (target <= container + 32 bytes per recording + 64 MiB);
#   6. `list --json` of 2,000,000 recordings of one frame each (target <= 1.5 s, flat memory).
# Usage: bench/measure.sh [build-dir]   (default: build-release, configured as Release)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh bench
build=${1:-build-release}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOCAFETCH_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target vocafetch-cli vocafetch-samplegen vocafetch_scan_bench \
    vocafetch_headerless_bench vocafetch_card_image -j"$(nproc)" >/dev/null
build=$(realpath "$build")
cli=$build/cli/vocafetch-cli
gen=$build/tools/samplegen/vocafetch-samplegen
card=$build/bench/vocafetch_card_image

work=$(mktemp -d "${TMPDIR:-/tmp}/vocafetch-measure.XXXXXX")
trap 'rm -rf "$work"' EXIT

median() { # json-file command-index
    python3 -c "import json,sys; print('%.3f' % json.load(open(sys.argv[1]))['results'][int(sys.argv[2])]['median'])" "$1" "$2"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "== Scan passes over 256 MiB"
"$build/bench/vocafetch_scan_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

echo
echo "== list on 512 MiB against grep (medians of 9)"
"$gen" --size-mib 512 --spacing-kib 64 "$work/big.drf" >/dev/null
hyperfine -w 2 -r 9 --export-json "$work/list.json" \
    "'$cli' list '$work/big.drf' >'$work/list.out'" \
    "LC_ALL=C grep -c -F '#!AMR' '$work/big.drf' >'$work/grep.out'" \
    "'$cli' list --headerless '$work/big.drf' >'$work/headerless.out'" >/dev/null
list_s=$(median "$work/list.json" 0)
grep_s=$(median "$work/list.json" 1)
headerless_s=$(median "$work/list.json" 2)
echo "list ${list_s} s, grep -c ${grep_s} s: ratio $(ratio "$list_s" "$grep_s") (target <= 1.0)"
echo "list --headerless ${headerless_s} s: $(ratio "$headerless_s" "$list_s") x list (target <= 1.5)"
rm -f "$work/big.drf"

echo
echo "== list --headerless against list on 256 MiB card images (medians of 7)"
for fill in zeros ones random; do
    "$card" --fill "$fill" --size-mib 256 "$work/card.img" >"$work/card.layout"
    hyperfine -w 2 -r 7 --export-json "$work/card.json" \
        "'$cli' list '$work/card.img' >'$work/card-list.out'" \
        "'$cli' list --headerless '$work/card.img' >'$work/card-headerless.out'" >/dev/null
    list_s=$(median "$work/card.json" 0)
    headerless_s=$(median "$work/card.json" 1)
    placed=$(grep -c '^headerless' "$work/card.layout")
    found=$("$cli" list -q --headerless --json "$work/card.img" | python3 -c "import json,sys; print(sum(r['headerless'] for r in json.load(sys.stdin)['containers'][0]['recordings']))")
    echo "$fill: list ${list_s} s, list --headerless ${headerless_s} s: $(ratio "$headerless_s" "$list_s") x (target <= 1.5); $found of $placed recordings without a signature found"
done
rm -f "$work/card.img"

echo
echo "== The headerless search in process (target >= 2 GB/s over each filler; DTX silence linear)"
"$build/bench/vocafetch_headerless_bench" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_median|^Benchmark'

echo
echo "== A recording without its signature across the 256 MiB window edge"
across=$("$card" --fill random --size-mib 300 --across 256 "$work/across.img" | tail -n 1)
echo "placed: $across"
offset=$(sed 's/^headerless at \([0-9]*\),.*/\1/' <<<"$across")
"$cli" list -q --headerless "$work/across.img" | grep -E "offset +$offset " || echo "not found"
rm -f "$work/across.img"

echo
echo "== Peak memory on 25 MB of signatures, each followed by a frame (list --headerless as list)"
# A NO_DATA frame after each: 3.6 million recordings.
python3 -c "import sys; sys.stdout.buffer.write((b'#!AMR\n' + b'\x7c') * (25000000 // 7))" >"$work/sigframes.drf"
for headerless in "" --headerless; do
    /usr/bin/time -f '%M %e' -o "$work/rss" "$cli" list -q $headerless "$work/sigframes.drf" >"$work/sig.out"
    read -r kib seconds <"$work/rss"
    echo "list $headerless: peak $((kib / 1024)) MiB, ${seconds} s"
done
rm -f "$work/sigframes.drf"

echo
echo "== extract of 64 MiB, 2,824 recordings, against a carver and sync -f (medians of 7)"
"$gen" --size-mib 64 --spacing-kib 23 "$work/voice.drf" >/dev/null
recordings=$("$cli" list --json "$work/voice.drf" | python3 -c "import json,sys; print(len(json.load(sys.stdin)['containers'][0]['recordings']))")
largest=$("$cli" list --json "$work/voice.drf" | python3 -c "import json,sys; print(max(r['size'] for r in json.load(sys.stdin)['containers'][0]['recordings']))")
printf 'amr y %d \\x23\\x21\\x41\\x4d\\x52\n' "$largest" >"$work/carve.conf"
hyperfine -w 1 -r 7 --export-json "$work/extract.json" \
    --prepare "rm -rf '$work/ours' '$work/carved' '$work/foremost'" \
    "'$cli' extract -q -o '$work/ours' '$work/voice.drf' >'$work/extract.out'" \
    "foremost -Q -c '$work/carve.conf' -o '$work/foremost' -i '$work/voice.drf' >'$work/foremost.out' && sync -f '$work/foremost'" \
    "scalpel -c '$work/carve.conf' -o '$work/carved' '$work/voice.drf' >'$work/carve.out' && sync -f '$work/carved'" \
    >/dev/null
ours_s=$(median "$work/extract.json" 0)
foremost_s=$(median "$work/extract.json" 1)
carver_s=$(median "$work/extract.json" 2)
echo "$recordings recordings: extract ${ours_s} s, foremost + sync -f ${foremost_s} s: ratio $(ratio "$ours_s" "$foremost_s") (target <= 1.0)"
# Each command's preparation removes every output folder: foremost once more for its count.
rm -rf "$work/foremost"
foremost -Q -c "$work/carve.conf" -o "$work/foremost" -i "$work/voice.drf" >"$work/foremost.out"
echo "  scalpel + sync -f ${carver_s} s: ratio $(ratio "$ours_s" "$carver_s"); foremost wrote $(find "$work/foremost" -type f -name '*.amr' | wc -l) files"
rm -rf "$work/ours"
strace -f -c -e trace=fsync,fdatasync,syncfs,sync_file_range -o "$work/strace.txt" \
    "$cli" extract -q -o "$work/ours" "$work/voice.drf" >/dev/null
echo "sync calls of one extraction:"
grep -E 'fsync|fdatasync|syncfs|total' "$work/strace.txt" || echo "  (none)"
rm -rf "$work/ours" "$work/carved" "$work/foremost" "$work/voice.drf"

echo
echo "== Peak memory on a 6 GiB sparse image with recordings beyond 4 GiB"
"$gen" --size-mib 8 --spacing-kib 64 "$work/part.drf" >/dev/null
truncate -s 6G "$work/image.img"
for at in 1 4097 5000 6000; do # MiB
    dd if="$work/part.drf" of="$work/image.img" bs=1M seek="$at" conv=notrunc status=none
done
/usr/bin/time -f '%M' -o "$work/rss" "$cli" list -q "$work/image.img" >"$work/image.out"
echo "list: $(grep -c offset "$work/image.out") recordings, peak $(( $(cat "$work/rss") / 1024 )) MiB (target <= 320)"
/usr/bin/time -f '%M' -o "$work/rss" "$cli" extract -q -o "$work/image.d" "$work/image.img" >/dev/null
echo "extract: $(ls "$work/image.d" | wc -l) files, peak $(( $(cat "$work/rss") / 1024 )) MiB (target <= 320)"
rm -rf "$work/image.d" "$work/image.img" "$work/part.drf"

echo
echo "== Peak memory on 10 MB of signatures (2,000,000 recordings; target <= 140 MiB)"
python3 -c "import sys; sys.stdout.buffer.write(b'#!AMR' * 2000000)" >"$work/sig.drf"
for json in "" --json; do
    /usr/bin/time -f '%M %e' -o "$work/rss" "$cli" list -q $json "$work/sig.drf" >"$work/sig.out"
    read -r kib seconds <"$work/rss"
    echo "list $json: peak $((kib / 1024)) MiB, ${seconds} s"
done

echo
echo "== list --json of 2,000,000 recordings of one frame each (76 MB; target <= 1.5 s, flat memory)"
python3 -c "import sys; sys.stdout.buffer.write((b'#!AMR\n' + bytes([0x3c]) + bytes(range(1, 32))) * 2000000)" \
    >"$work/frames.drf"
hyperfine -w 1 -r 5 --export-json "$work/json.json" \
    "'$cli' list -q --json '$work/frames.drf' >'$work/frames.json'" \
    "'$cli' list -q '$work/frames.drf' >'$work/frames.txt'" >/dev/null
/usr/bin/time -f '%M' -o "$work/rss" "$cli" list -q --json "$work/frames.drf" >"$work/frames.json"
echo "list --json: $(median "$work/json.json" 0) s (text listing $(median "$work/json.json" 1) s)," \
    "$(( $(stat -c %s "$work/frames.json") / 1048576 )) MiB written, peak $(( $(cat "$work/rss") / 1024 )) MiB"
rm -f "$work/frames.drf" "$work/frames.json" "$work/frames.txt"
