#!/usr/bin/env bash
# Counts the headerless runs `vocafetch-cli list --headerless` finds in files that hold no AMR
# recording, and the bytes it searched: the program libraries, fonts, icons and compressed
# documentation of this system, and (with --media) audio and video that ffmpeg encodes in every
# other codec it has, speech codecs included. The goal is none: each run found is listed.
# Usage: bench/headerless-false-runs.sh [--media] [build-dir] [-- FILE-OR-FOLDER...]
set -euo pipefail
cd "$(dirname "$0")/.."
media=0
if [ "${1:-}" = --media ]; then
    media=1
    shift
fi
build=build-release
if [ $# -gt 0 ] && [ "$1" != -- ]; then
    build=$1
    shift
fi
[ "${1:-}" = -- ] && shift
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOCAFETCH_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target vocafetch-cli -j"$(nproc)" >/dev/null
cli=$(realpath "$build/cli/vocafetch-cli")

work=$(mktemp -d "${TMPDIR:-/tmp}/vocafetch-false-runs.XXXXXX")
trap 'rm -rf "$work"' EXIT

# What is searched: the given files and folders, else the system's.
list="$work/files"
if [ $# -gt 0 ]; then
    find "$@" -type f >"$list"
else
    multiarch=$(gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)
    {
        find "/usr/lib/$multiarch" -type f
        find /usr/share/fonts /usr/share/icons /usr/share/pixmaps -type f 2>/dev/null || true
        find /usr/share/doc -type f -name '*.gz'
    } >"$list"
fi

if [ "$media" = 1 ]; then
    # Tones, noise and a voice-like buzz in every audio codec; moving pictures in every video
    # codec; 16-bit PCM besides.
    mkdir -p "$work/media"
    voice="aevalsrc=exprs='0.4*sin(2*PI*(120+30*sin(2*PI*3*t))*t)*(1+sin(2*PI*0.7*t))*sin(2*PI*1200*t+sin(2*PI*120*t))':s=8000:d=120"
    for source in "sine=frequency=440:duration=120" "anoisesrc=d=120:c=pink" "$voice"; do
        name=$(echo "$source" | cut -c1-5)
        for codec in "libmp3lame mp3" "aac m4a" "libopus opus" "libvorbis ogg" "flac flac" \
            "libspeex spx" "libgsm gsm" "libcodec2 c2" "pcm_s16le wav"; do
            set -- $codec
            extra=()
            case "$1" in
            libgsm | libspeex) extra=(-ar 8000 -ac 1) ;;
            libcodec2) extra=(-ar 8000 -ac 1 -mode 3200) ;;
            esac
            ffmpeg -nostdin -loglevel error -f lavfi -i "$source" "${extra[@]}" -c:a "$1" \
                "$work/media/$name-$1.$2" || echo "ffmpeg: no $1 here" >&2
        done
    done
    for codec in "libx264 mp4" "libx265 mkv" "libvpx-vp9 webm" "libtheora ogv" "mjpeg avi"; do
        set -- $codec
        ffmpeg -nostdin -loglevel error -f lavfi -i "testsrc2=duration=20:size=640x360" \
            -f lavfi -i "sine=duration=20" -c:v "$1" -shortest "$work/media/video-$1.$2" ||
            echo "ffmpeg: no $1 here" >&2
    done
    find "$work/media" -type f >>"$list"
fi

# The listing, a few hundred files at a time, as JSON.
: >"$work/listing.jsonl"
xargs -d '\n' -n 200 -a "$list" \
    "$cli" list -q --headerless --json >>"$work/listing.jsonl" 2>"$work/errors" || true
python3 - "$work/listing.jsonl" <<'EOF'
import json, sys
decoder = json.JSONDecoder()
text = open(sys.argv[1]).read()
files = searched = signed = 0
runs = []
at = 0
while True:
    while at < len(text) and text[at].isspace():
        at += 1
    if at >= len(text):
        break
    document, at = decoder.raw_decode(text, at)
    for container in document.get("containers", []):
        if "size" not in container:
            continue
        files += 1
        searched += container["size"]
        for recording in container.get("recordings", []):
            if recording.get("headerless"):
                runs.append((container["path"], recording))
            else:
                signed += 1
print(f"{files} files, {searched} bytes ({searched / 2**30:.2f} GiB) searched, "
      f"{signed} signatures: {len(runs)} headerless runs")
for path, run in runs:
    print(f"  {path}: offset {run['offset']}, {run['format']}, {run['frames']} frames")
EOF
if [ -s "$work/errors" ]; then
    echo "files the listing could not read: $(grep -c . "$work/errors")"
fi
