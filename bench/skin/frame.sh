#!/usr/bin/env bash
# Skinned frame drawing: one layout and redraw of a 1000 x 728 frame and one fade step, against the
# floor of copying the finished frame once to the screen. A redraw must stay well under 16 ms (one
# frame at 60 Hz).
set -euo pipefail
build=$(realpath "${1:-build}")
bench="$build/bench/skin/skin_frame_bench"
[ -x "$bench" ] || { echo "missing $bench (build the target skin_frame_bench)" >&2; exit 1; }

csv=$(QT_QPA_PLATFORM=offscreen "$bench" --benchmark_format=csv --benchmark_min_time=0.3 2>/dev/null)
# Column 3 is the real time, in microseconds (the benchmarks' unit).
time_of() { printf '%s\n' "$csv" | awk -F, -v n="\"$1\"" '$1 == n { print $3 }'; }
layout=$(time_of LayoutAndRedraw)
redraw=$(time_of Redraw)
fade=$(time_of FadeTick)
floor=$(time_of CopyToScreen)
awk -v l="$layout" -v r="$redraw" -v f="$fade" -v c="$floor" 'BEGIN {
    printf "layout and redraw, 1000 x 728: %9.1f us\n", l
    printf "redraw, 1000 x 728:            %9.1f us\n", r
    printf "one fade step:                 %9.1f us\n", f
    printf "copy to the screen (floor):    %9.1f us\n", c
    printf "layout and redraw / floor:     %9.1f\n", l / c
    printf "redraw / floor:                %9.1f\n", r / c
    if (l >= 16000) { print "FAIL: a layout and redraw takes 16 ms or more"; exit 1 }
}'
