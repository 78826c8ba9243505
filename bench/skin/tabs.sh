#!/usr/bin/env bash
# Skinned tab row: one redraw of the catalogue's main row (eight 80 x 75 tabs with pictures on a
# 992 x 680 control; it runs at every hover change) and one resize (background rebuilt, then a
# redraw). A redraw must stay well under 16 ms (one frame at 60 Hz); it is expected near 1 ms.
set -euo pipefail
. "$(dirname "$0")/../gbench.sh"

gbench_run "$(realpath "${1:-build}")/bench/skin/skin_tabs_bench"
gbench_report Redraw Resize <<'END'
BEGIN {
    r = t["Redraw"]; s = t["Resize"]
    printf "tab row redraw, 8 tabs on 992 x 680: %9.1f us\n", r
    printf "tab row resize and redraw:           %9.1f us\n", s
    if (r >= 16000) { print "FAIL: a tab row redraw takes 16 ms or more"; exit 1 }
}
END
