#!/usr/bin/env bash
# Downloads a 200 MB file from a loopback server with the download control and with the curl
# command-line tool, best of five runs each, and prints the control's throughput as a share of
# curl's (goal: at least 0.9) and its peak memory growth (goal: under 20 MB). Files go to /dev/shm
# when it exists, so the disk does not enter the figures.
set -euo pipefail
build=$(realpath "${1:-build}")
bin=$build/bench/controls
size_mb=200
runs=5

work=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )/download-bench.XXXXXX")
server_pid=
# The server ends on the signal, so its status (143) says nothing about the benchmark.
cleanup() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

"$bin/download_bench_server" "$size_mb" "$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
url="http://127.0.0.1:$(cat "$work/port")/file.bin"

# The two downloads take turns, so that both meet the same load on the machine.
best_curl=
best_control=
growth=
mkdir -p "$work/control"
for _ in $(seq $runs); do
    t=$(curl -s -o "$work/curl.bin" -w '%{time_total}' "$url")
    rm -f "$work/curl.bin"
    best_curl=$(awk -v a="$t" -v b="${best_curl:-$t}" 'BEGIN { print (a < b ? a : b) }')

    out=$("$bin/download_bench" "$url" "$work/control")
    rm -f "$work/control/file.bin"
    t=$(awk '/^seconds/ { print $2 }' <<<"$out")
    g=$(awk '/^peak_growth_mb/ { print $2 }' <<<"$out")
    best_control=$(awk -v a="$t" -v b="${best_control:-$t}" 'BEGIN { print (a < b ? a : b) }')
    growth=$(awk -v a="$g" -v b="${growth:-$g}" 'BEGIN { print (a > b ? a : b) }')
done

awk -v mb="$size_mb" -v c="$best_curl" -v d="$best_control" -v g="$growth" 'BEGIN {
    printf "download %d MB: curl %.0f MB/s, control %.0f MB/s\n", mb, mb / c, mb / d
    printf "throughput ratio (control / curl): %.2f (goal >= 0.9)\n", c / d
    printf "control peak memory growth: %.1f MB (goal < 20)\n", g
}'
