#!/usr/bin/env bash
# Sorrel's rebuild time against a store that answers every request after 50 ms, compared with the
# latency of one request. The rebuild fetches 32 pages; one after the other they would cost 32
# latencies, the goal is at most 2 (all of them at once: one latency plus the start of the program).
set -euo pipefail
build=$(realpath "${1:-build}")
app="$build/app"
delay_ms=50
. "$(dirname "$0")/../../scripts/lib/store-session.sh"
begin_store_session
start_store "$app/appstore" --delay-ms "$delay_ms"

mkdir "$work/app"
cp "$app/Sorrel" "$work/app/"
write_servers_ini "$work/app"

median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# One request: the median of 7 fetches of a category page.
latency=$(for _ in $(seq 7); do
    curl -s -o /dev/null -w '%{time_total}\n' "$site/appweb/c?cid=games"
done | median)

# The rebuild: the median of 5 runs, timed by the shell's own clock: starting `date` around each run
# would add two program starts to every figure (10 to 20 ms on 2 busy cores), where the request's
# figure is curl's own.
rebuild=$(for _ in $(seq 5); do
    start=${EPOCHREALTIME/[.,]/}
    "$work/app/Sorrel"
    end=${EPOCHREALTIME/[.,]/}
    echo "$((end - start))" | awk '{ print $1 / 1e6 }'
done | median)

pages=$(find "$work/app/Html" -maxdepth 1 -name '*.html' ! -name '*Page.html' | wc -l)
awk -v latency="$latency" -v rebuild="$rebuild" -v pages="$pages" -v delay="$delay_ms" 'BEGIN {
    printf "store delay per request: %d ms\n", delay
    printf "one request (median of 7):      %7.1f ms\n", latency * 1000
    printf "Sorrel rebuild (median of 5):   %7.1f ms  (%d page files)\n", rebuild * 1000, pages
    printf "rebuild / request:              %7.2f  (goal: at most 2; one by one: 32)\n", rebuild / latency
}'
