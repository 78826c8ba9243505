#!/usr/bin/env bash
# The main job: starts the bundled store on the port that Servers.ini names (8780 by default) unless
# a store already answers there or Servers.ini names another store, rebuilds the page cache with
# Sorrel in the application folder and prints what was written, then opens Brindle on it. A store
# started here ends once no program of the folder runs any more (a skin change restarts Brindle).
# With a display Brindle runs until its window is closed; without one it runs under Xvfb until its
# first page is shown, a screenshot of the window is saved, and it ends.
set -euo pipefail
app=$(realpath "${1:-build/app}")
. "$(dirname "$0")/lib/store-session.sh"
trap 'end_bundled_store "$app"' EXIT

port=$(bundled_store_port "$app")
if [ -z "$port" ]; then
    echo "Using the store that Servers.ini names: $(servers_ini_site "$app")"
elif ! serve_bundled_store "$app" "$port"; then
    echo "appstore could not start:" >&2
    cat "$app/appstore.log" >&2
    exit 1
elif [ -z "$store" ]; then
    echo "Using the store that already answers on http://127.0.0.1:$port"
else
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
