#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: check_mime_types.sh MIME_XML SAMPLE_CONTAINER [SHARED_DATA_FOLDER]
# Builds a MIME database from the system's types and ours in a scratch folder and asks GLib
# (gio, which xdg-mime asks on GLib desktops) for the type of files a desktop meets: only
# recording containers may be typed as ours, whatever their names, and plain AMR recordings
# keep their own type. Skipped when shared-mime-info or gio are missing.
set -euo pipefail
mime_xml=$1
sample=$2
shared=${3:-}
ours=application/x-vocafetch-container
system_xml=/usr/share/mime/packages/freedesktop.org.xml
for tool in update-mime-database gio; do
    if ! command -v "$tool" >/dev/null || [ ! -f "$system_xml" ]; then
        echo "SKIPPED: $tool or the shared MIME database is missing"
        exit 0
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/share/mime/packages" "$work/home" "$work/files"
cp "$system_xml" "$work/share/mime/packages/"
cp "$mime_xml" "$work/share/mime/packages/vocafetch.xml"
update-mime-database "$work/share/mime" 2>/dev/null

type_of() {
    XDG_DATA_DIRS="$work/share" XDG_DATA_HOME="$work/home" \
        gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'
}

# Bytes from a fixed generator, so a failure can be repeated: nothing a container starts with.
noise() {
    local n=$1 x=12345 out="" byte
    for ((i = 0; i < n; i++)); do
        x=$(((x * 1103515245 + 12345) % 2147483648))
        printf -v byte '\\x%02x' $(((x >> 16) % 256))
        out+=$byte
    done
    printf "$out"
}

f=$work/files
amr_frames() { printf '\x3c'; noise 31; printf '\x3c'; noise 31; }
noise 3000 >"$f/camera.drf"
{ printf 'II*\x00\x08\x00\x00\x00'; noise 1000; } >"$f/raw-image.drf"
{ printf '#!AMR\n'; amr_frames; } >"$f/voice.amr"
cp "$f/voice.amr" "$f/voice"
cp "$f/voice.amr" "$f/voice-named-as-container.drf"
{ noise 600; printf '#!AMR\n'; amr_frames; noise 200; printf '#!AMR\n'; amr_frames; } >"$f/dump.bin"
{ printf '#!AMR\n'; amr_frames; noise 100; printf '#!AMR\n'; amr_frames; } >"$f/two-recordings"
{ printf '\x8c\x80\x98T1\x00\x8d\x92'; noise 300; } >"$f/sent-message"
{ printf '\x8c\x82\x98N1\x00\x8d\x92'; noise 300; } >"$f/notification.drf"
cp "$sample" "$f/sample.drf"
cp "$sample" "$f/sample-without-extension"

expect=(
    "camera.drf application/octet-stream"
    "raw-image.drf image/tiff"
    "voice.amr audio/AMR"
    "voice audio/AMR"
    "voice-named-as-container.drf audio/AMR"
    "notification.drf application/octet-stream"
    "dump.bin $ours"
    "two-recordings $ours"
    "sent-message $ours"
    "sample.drf $ours"
    "sample-without-extension $ours"
)
if [ -n "$shared" ] && [ -d "$shared/realworld-amr" ]; then
    for m in "$shared"/realworld-amr/mms/*; do
        cp "$m" "$f/real-$(basename "$m")"
        expect+=("real-$(basename "$m") $ours")
    done
    cp "$shared/realworld-amr/amr/nb_filetype_fixture.amr" "$f/real-recording"
    expect+=("real-recording audio/AMR")
fi

failed=0
for line in "${expect[@]}"; do
    name=${line% *}
    want=${line##* }
    got=$(type_of "$f/$name")
    # Type names compare without case: the database spells AMR in capitals.
    if [ "${got,,}" != "${want,,}" ]; then
        echo "FAIL: $name is typed $got, expected $want"
        failed=1
    else
        echo "ok: $name is $got"
    fi
done
exit $failed
