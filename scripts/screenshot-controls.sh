#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the skinned controls on a virtual X display, driven by xdotool, saved under
# docs/screenshots/ (or the folder given as the first argument):
#   main-window-disabled.png  a container opened and scanned, recordings listed, "Сохранить"
#                             disabled, "Открыть" focused
#   main-window-hot.png       a recording selected, the mouse over "Открыть"
#   main-window-pressed.png   "Считать с телефона" held down
#   main-window-focused.png   the mouse dragged off "Считать с телефона" and released there (no
#                             click, no focus), then "Открыть" clicked and its dialog
#                             cancelled: that button focused
#   controls-demo.png         the demonstration form: skinned bars linked to a list view and a
#                             list box
#   controls-demo-scrolled.png  the same after dragging and stepping the bars
# Builds the program and the demonstration form first when needed.
set -euo pipefail

shot() { # window-x window-y width height file
    local margin=8
    import -window root -crop "$(($3 + 2 * margin))x$(($4 + 2 * margin))+$(($1 - margin))+$(($2 - margin))" \
        +repage "$5"
}

window_geometry() { # name -> sets X, Y, WIDTH, HEIGHT
    local window
    window=$(xdotool search --sync --onlyvisible --name "$1" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

main_window_shots() {
    local program=$1 out=$2 work pid
    work=$(mktemp -d)
    cd "$work"
    # A small container: three recordings, each after a content-type marker.
    {
        for k in 1 2 3; do
            printf 'container header %s ' "$k"
            printf '\006\037\042audio/amr'
            printf '#!AMR\n'
            head -c 200 /dev/zero | tr '\0' '<'
        done
    } >"Диктофон.drf"
    "$program" &
    pid=$!
    window_geometry '^Vocafetch$'
    sleep 1
    # Controls sit on the frame at (3, 0): "Открыть" (8, 184), "Считать с телефона" (8, 216),
    # the lists at y 64.
    local fx=$((X + 3)) fy=$Y
    xdotool mousemove $((fx + 80)) $((fy + 184 + 13)) click 1
    xdotool search --sync --onlyvisible --name '^Открыть$' >/dev/null
    sleep 1
    xdotool type --delay 30 "Диктофон.drf"
    xdotool key Return
    sleep 1
    xdotool mousemove $((fx + 40)) $((fy + 64 + 10)) click 1
    xdotool mousemove $((fx + 150)) $((fy + 40))
    sleep 1
    shot "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/main-window-disabled.png"

    xdotool mousemove $((fx + 200)) $((fy + 64 + 10)) click 1
    xdotool mousemove $((fx + 60)) $((fy + 184 + 13))
    sleep 1
    shot "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/main-window-hot.png"

    xdotool mousemove $((fx + 80)) $((fy + 216 + 13)) mousedown 1
    sleep 1
    shot "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/main-window-pressed.png"
    xdotool mousemove $((fx + 230)) $((fy + 40))
    sleep 0.3
    xdotool mouseup 1
    sleep 1
    xdotool mousemove $((fx + 80)) $((fy + 184 + 13)) click 1
    xdotool search --sync --onlyvisible --name '^(Открыть|Open)$' >/dev/null
    sleep 1
    xdotool key Escape
    sleep 1
    # Without a window manager nothing gives the window the keyboard back.
    xdotool search --onlyvisible --name '^Vocafetch$' windowfocus
    xdotool mousemove $((fx + 230)) $((fy + 40))
    sleep 1
    shot "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/main-window-focused.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    cd /
    rm -rf "$work"
}

demo_shots() {
    local program=$1 out=$2 pid
    "$program" &
    pid=$!
    window_geometry '^Vocafetch controls$'
    sleep 1
    shot "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/controls-demo.png"
    # The list view's vertical bar lies along its right edge (list at 8, 8, 145 x 113): drag its
    # slider down from the top of the track, then step the horizontal bar right three times.
    xdotool mousemove $((X + 143)) $((Y + 9 + 17 + 6)) mousedown 1
    xdotool mousemove $((X + 143)) $((Y + 9 + 17 + 30))
    xdotool mousemove $((X + 143)) $((Y + 9 + 17 + 45)) mouseup 1
    for _ in 1 2 3; do
        xdotool mousemove $((X + 8 + 145 - 2 - 16 - 9)) $((Y + 8 + 113 - 2 - 8)) click 1
    done
    # The list box's bar: one press on the track below the slider.
    xdotool mousemove $((X + 167 + 145 - 2 - 8)) $((Y + 8 + 90)) click 1
    xdotool mousemove $((X + 167 + 145 - 2 - 8)) $((Y + 8 + 113 - 2 - 8))
    sleep 1
    shot "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/controls-demo-scrolled.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Second stage, run by xvfb-run on the virtual display.
if [ "${1:-}" = "--on-display" ]; then
    main_window_shots "$2" "$4"
    demo_shots "$3" "$4"
    exit 0
fi

cd "$(dirname "$0")/.."
scripts/install-deps.sh screenshot
build=${VOCAFETCH_BUILD_DIR:-build}
out=${1:-docs/screenshots}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOCAFETCH_BUILD_BENCHMARKS=OFF >/dev/null
fi
cmake --build "$build" --target vocafetch vocafetch_controls_demo -j"$(nproc)" >/dev/null
mkdir -p "$out"
program=$(realpath "$build/app/vocafetch")
demo=$(realpath "$build/tests/skin/controls/vocafetch_controls_demo")
out=$(realpath "$out")

# Room for the Open dialog; the windows centre themselves on the screen.
xvfb-run --auto-servernum --server-args="-screen 0 800x600x24" \
    "$(realpath "$0")" --on-display "$program" "$demo" "$out"
echo "Saved the pictures in $out"
