#!/usr/bin/env bash
# The main job: starts the bundled store on its default port (unless one already answers there),
# rebuilds the page cache with Sorrel in the application folder and prints what was written.
set -euo pipefail
app=$(realpath "${1:-build/app}")
port=8780
store_pid=""
if ! curl -s -o /dev/null "http://127.0.0.1:$port/"; then
    "$app/appstore" --port "$port" --data "$app/store-data" >"$app/appstore.log" 2>&1 &
    store_pid=$!
    trap '[ -n "$store_pid" ] && kill "$store_pid" 2>/dev/null' EXIT
    for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
fi
start=$(date +%s.%N)
"$app/Sorrel"
end=$(date +%s.%N)
pages=$(find "$app/Html" -maxdepth 1 -name '*.html' ! -name '*Page.html' | wc -l)
paging=$(find "$app/Html" -maxdepth 1 -name '*Page.html' | wc -l)
printf 'Sorrel rebuilt the page cache in %.2f s: %d page files and %d paging files in %s\n' \
    "$(echo "$end - $start" | bc)" "$pages" "$paging" "$app/Html"
