#!/usr/bin/env bash
# The main job: starts the bundled store on its default port (unless a store already answers
# there), rebuilds the page cache with Sorrel in the application folder and prints what was written,
# then opens Brindle on it. With a display Brindle runs until its window is closed; without one it
# runs under Xvfb until its first page is shown, a screenshot of the window is saved, and it ends.
set -euo pipefail
app=$(realpath "${1:-build/app}")
port=8780
site="http://127.0.0.1:$port"
store_pid=""
cleanup() { [ -n "$store_pid" ] && kill "$store_pid" 2>/dev/null && wait "$store_pid" 2>/dev/null || true; }
trap cleanup EXIT

if curl -s -o /dev/null "$site/"; then
    echo "Using the store that already answers on $site"
else
    "$app/appstore" --port "$port" --data "$app/store-data" >"$app/appstore.out" 2>"$app/appstore.log" &
    store_pid=$!
    for _ in $(seq 100); do
        grep -q "listening" "$app/appstore.out" 2>/dev/null && break
        if ! kill -0 "$store_pid" 2>/dev/null; then
            echo "appstore could not start:" >&2
            cat "$app/appstore.log" >&2
            store_pid=""
            exit 1
        fi
        sleep 0.05
    done
    echo "Started $(cat "$app/appstore.out") (log: $app/appstore.log)"
fi

start=$(date +%s%N)
"$app/Sorrel"
elapsed_ms=$((($(date +%s%N) - start) / 1000000))

html="$app/Html"
pages=$(find "$html" -maxdepth 1 -name '*.html' ! -name '*Page.html' ! -name 'SouSuo.html' ! -name 'NextPage.html' | wc -l)
paging=$(find "$html" -maxdepth 1 -name '*Page.html' ! -name 'NextPage.html' | wc -l)
echo "Sorrel rebuilt the page cache in ${elapsed_ms} ms: $pages page files and $paging paging files in $html"
# One entry per page: key, apps on its first page and, for paged categories, the number of pages.
for file in "$html"/*.html; do
    key=$(basename "$file" .html)
    case "$key" in *Page | SouSuo | NextPage) continue ;; esac
    apps=$(grep -o 'class="app-item"' "$file" | wc -l)
    entry="$key:$apps"
    if [ -f "$html/${key}Page.html" ]; then
        entry="$entry/$(grep -o 'class="item' "$html/${key}Page.html" | wc -l)p"
    fi
    printf '%s\n' "$entry"
done | awk '{ printf "%-15s", $0; if (NR % 6 == 0) printf "\n" } END { if (NR % 6) printf "\n" }'
echo "(key:apps on the first page[/pages]; Brindle shows these pages from $html)"

# As root the web engine's sandbox cannot start.
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "Opening Brindle on $DISPLAY; close its window to end."
    "$app/Brindle" 2>"$app/brindle.log"
else
    mkdir -p "$app/screenshots"
    shot="$app/screenshots/first-page.png"
    xvfb-run -a -s "-screen 0 1100x800x24" "$(dirname "$0")/screenshot-first-page.sh" "$app" "$shot"
    echo "No display: Brindle ran under Xvfb; its first page is in $shot"
fi
