#!/usr/bin/env bash
# The catalogue window beside the web engine's floor (a bare QWebEngineView showing the same page
# files in the same run), under Xvfb against the bundled store:
#   start   process start to the home page loaded, with a warm page cache (goal < 2 s, <= 1.5 x floor)
#   tab     a click on a cached category's tab to its page loaded (goal <= 1.5 x floor)
#   memory  PSS of the process and its web-engine processes with the home page shown (goal <= 1.5 x)
# Medians of several runs; the two kinds alternate, so both see the same machine load.
#   catalogue.sh BUILD_FOLDER [RUNS]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-5}
bench="$build/bench/catalogue/catalogue_bench"
. "$(dirname "$0")/../../scripts/lib/store-session.sh"
begin_store_session
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1

start_store "$build/app/appstore"
app="$work/app"
mkdir -p "$app"
cp "$build/app/Sorrel" "$app/"
cp -r "$build/app/Skin" "$app/"
write_servers_ini "$app"
"$app/Sorrel" # the warm cache

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
for kind in window bare; do : >"$work/$kind"; done
for _ in $(seq "$runs"); do
    for kind in window bare; do
        xvfb-run -a -s "-screen 0 1280x800x24" "$bench" "--$kind" "$app" 2>/dev/null >>"$work/$kind"
    done
done
value() { grep "^$2 " "$work/$1" | cut -d' ' -f2 | median; }
report() {
    local name=$1 key=$2 unit=$3 goal=$4
    local w b
    w=$(value window "$key")
    b=$(value bare "$key")
    awk -v n="$name" -v w="$w" -v b="$b" -v u="$unit" -v g="$goal" \
        'BEGIN { printf "%-7s catalogue %6d %s   bare view %6d %s   ratio %.2f (goal <= %s)\n", n, w, u, b, u, w / b, g }'
}
report start start_ms ms "1.5, and < 2000 ms"
report tab tab_ms ms 1.5
report memory pss_kib KiB 1.5
