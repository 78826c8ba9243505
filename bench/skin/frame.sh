#!/usr/bin/env bash
# Skinned frame drawing: one layout and redraw of a 1000 x 728 frame and one fade step, against the
# floor of copying the finished frame once to the screen. A redraw must stay well under 16 ms (one
# frame at 60 Hz).
set -euo pipefail
. "$(dirname "$0")/../gbench.sh"

gbench_run "$(realpath "${1:-build}")/bench/skin/skin_frame_bench"
# Times in microseconds (the benchmarks' unit).
gbench_report LayoutAndRedraw Redraw FadeTick CopyToScreen <<'END'
BEGIN {
    l = t["LayoutAndRedraw"]; r = t["Redraw"]; f = t["FadeTick"]; c = t["CopyToScreen"]
    printf "layout and redraw, 1000 x 728: %9.1f us\n", l
    printf "redraw, 1000 x 728:            %9.1f us\n", r
    printf "one fade step:                 %9.1f us\n", f
    printf "copy to the screen (floor):    %9.1f us\n", c
    printf "layout and redraw / floor:     %9.1f\n", l / c
    printf "redraw / floor:                %9.1f\n", r / c
    if (l >= 16000) { print "FAIL: a layout and redraw takes 16 ms or more"; exit 1 }
}
END
