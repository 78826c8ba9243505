#!/usr/bin/env bash
# Skinned tab row: one redraw of the catalogue's main row (eight 80 x 75 tabs with pictures on a
# 992 x 680 control; it runs at every hover change) and one resize (background rebuilt, then a
# redraw). A redraw must stay well under 16 ms (one frame at 60 Hz); it is expected near 1 ms.
set -euo pipefail
build=$(realpath "${1:-build}")
bench="$build/bench/skin/skin_tabs_bench"
[ -x "$bench" ] || { echo "missing $bench (build the target skin_tabs_bench)" >&2; exit 1; }

csv=$(QT_QPA_PLATFORM=offscreen "$bench" --benchmark_format=csv --benchmark_min_time=0.3 2>/dev/null)
time_of() { printf '%s\n' "$csv" | awk -F, -v n="\"$1\"" '$1 == n { print $3 }'; }
redraw=$(time_of Redraw)
resize=$(time_of Resize)
awk -v r="$redraw" -v s="$resize" 'BEGIN {
    printf "tab row redraw, 8 tabs on 992 x 680: %9.1f us\n", r
    printf "tab row resize and redraw:           %9.1f us\n", s
    if (r >= 16000) { print "FAIL: a tab row redraw takes 16 ms or more"; exit 1 }
}'
