#!/usr/bin/env bash
# Inside a (virtual) X display: starts Brindle from the application folder, waits until its window
# shows the first page (the page's style sheet has been fetched from the store), saves a screenshot
# of the window and ends Brindle.  screenshot-first-page.sh APP_FOLDER PNG_FILE
set -euo pipefail
app=$1 shot=$2
log="$app/appstore.log"
seen=$(wc -l <"$log" 2>/dev/null || echo 0)
"$app/Brindle" 2>"$app/brindle.log" &
brindle=$!
trap 'kill "$brindle" 2>/dev/null; wait "$brindle" 2>/dev/null || true' EXIT
window=$(timeout 30 xdotool search --sync --name "^Lumora")
for _ in $(seq 300); do
    tail -n +"$((seen + 1))" "$log" 2>/dev/null | grep -q "GET /static/" && break
    sleep 0.1
done
sleep 1.5 # the page's pictures
import -window "$window" "$shot"
