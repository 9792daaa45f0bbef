#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display and saves a picture of its window to
# docs/screenshots/main-window.png (or the path given as the first argument). Builds the
# program first when needed. With xdotool present the picture shows a container opened
# through the Open dialog, scanned, and its first recording selected; without it, the window
# as it starts. With xdotool, three more pictures go beside it: title-bar-hover.png (the
# mouse over the close button), menu-open.png (the "Файл" menu dropped down) and
# popup-menu.png (the recording list's pop-up menu). QT_SCALE_FACTOR=2 takes them at twice the
# size, as on a high-density screen. VOCAFETCH_SHOT_LANG=en shows the window in English.
set -euo pipefail

# Second stage, run by xvfb-run on the virtual display.
if [ "${1:-}" = "--on-display" ]; then
    program=$2
    out=$3
    scale=${QT_SCALE_FACTOR:-1}
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    # A small container: twelve recordings, each after a content-type marker, enough to scroll.
    {
        for k in $(seq 1 12); do
            printf 'container header %s ' "$k"
            printf '\006\037\042audio/amr'
            printf '#!AMR\n'
            head -c 200 /dev/zero | tr '\0' '<'
        done
    } >"Диктофон.drf"
    "$program" --lang "${VOCAFETCH_SHOT_LANG:-ru}" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
    if command -v xdotool >/dev/null; then
        window=$(xdotool search --sync --onlyvisible --name '^Vocafetch$' | head -1)
        eval "$(xdotool getwindowgeometry --shell "$window")" # sets X, Y, WIDTH, HEIGHT
        sleep 1
        # Controls sit on the frame at (3, 0): "Открыть" at (8, 184), the lists at y 64.
        xdotool mousemove $((X + (3 + 80) * scale)) $((Y + (184 + 13) * scale)) click 1
        xdotool search --sync --onlyvisible --name '^(Открыть|Open)$' >/dev/null
        sleep 1
        xdotool type --delay 30 "Диктофон.drf"
        xdotool key Return
        sleep 1
        xdotool mousemove $((X + (3 + 40) * scale)) $((Y + (64 + 10) * scale)) click 1
        sleep 1
        xdotool mousemove $((X + (3 + 200) * scale)) $((Y + (64 + 10) * scale)) click 1
        xdotool mousemove $((X + (3 + 220) * scale)) $((Y + (140) * scale))
        sleep 1
        margin=$((8 * scale))
        # shoot FILE [EXTRA]: the window with a margin, EXTRA more pixels on the right for a menu
        # that reaches past the window.
        shoot() {
            import -window root -crop "$((WIDTH + 2 * margin + ${2:-0} * scale))x$((HEIGHT + 2 * margin))+$((X - margin))+$((Y - margin))" +repage "$1"
        }
        shoot "$out"
        dir=$(dirname "$out")
        # The title bar sits at the top of the frame: close button at x 288, y 5, 21 x 21.
        xdotool mousemove $((X + (3 + 298) * scale)) $((Y + (15) * scale))
        sleep 1
        shoot "$dir/title-bar-hover.png"
        # "Файл" is the first button of the menu bar under the 29-pixel title bar.
        xdotool mousemove $((X + (3 + 15) * scale)) $((Y + (29 + 11) * scale)) click 1
        sleep 1
        xdotool mousemove $((X + (3 + 60) * scale)) $((Y + (29 + 22 + 3 + 21 + 10) * scale))
        sleep 1
        shoot "$dir/menu-open.png"
        xdotool key Escape
        sleep 1
        # Right click on the selected recording.
        xdotool mousemove $((X + (3 + 200) * scale)) $((Y + (64 + 10) * scale)) click 3
        sleep 1
        xdotool mousemove $((X + (3 + 230) * scale)) $((Y + (64 + 10 + 3 + 10) * scale))
        sleep 1
        shoot "$dir/popup-menu.png" 60
        xdotool key Escape
    else
        sleep "${VOCAFETCH_SHOT_DELAY:-3}"
        import -window root "$out"
    fi
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

# A whole-number QT_SCALE_FACTOR (2 for a high-density screen) scales the window and the
# points the mouse is moved to.
scale=${QT_SCALE_FACTOR:-1}
case "$scale" in
[1-4]) ;;
*) echo "screenshot.sh: QT_SCALE_FACTOR must be a whole number from 1 to 4" >&2; exit 2 ;;
esac
# Room for the Open dialog; the window centres itself on the screen.
xvfb-run --auto-servernum --server-args="-screen 0 $((800 * scale))x$((600 * scale))x24" \
    "$(realpath "$0")" --on-display "$program" "$out"
echo "Saved $out"
