#!/usr/bin/env bash
# The app viewer against the bundled store, each figure beside its floor from the same run:
# - click on a movie app whose movie is cached to the movie's first frame in the viewer, the click a
#   second after a page listing movie apps showed (which makes the player ready), beside a bare web
#   view playing the same movie with Ruffle (medians of 5 runs, taking turns; goal: at most 500 ms
#   and at most 0.5 of the bare view), the same click with no player ready (a new player page
#   starts Ruffle after the click), the click once the ready player is warm, with the time it
#   took to get warm, and the click 15 s after that (a player who reads the page first);
# - with the store answering after 50 ms, click to the viewer shown, as a multiple of one store
#   request (goal: at most the requests it needs, entry and detail page, plus the frame page for a
#   page app, and at most 300 ms);
# - PSS of all processes with a movie playing, beside the bare web view's (goal: at most 1.3 times);
#   the catalogue window as Brindle runs it, idle on its home page and again after a game page was
#   shown and left for the idle time, beside the catalogue window without anything of the viewers
#   (medians of 3 runs; goal: at most 1.2 times), and with the player ready on a game page;
# - with the store stopped, click on the movie app opened before to its first frame, beside the
#   cached opening with the store up (goal: at most 1.2 times), and click on an app never opened to
#   the note that the store cannot be reached, with the store stopped and with a store that accepts
#   and never answers (goal: at most 5 s);
# - a movie that saves four times a second: from each save to its .sol file on disk (goal: under
#   100 ms).
set -euo pipefail
build=$(realpath "${1:-build}")
app="$build/app"
bench="$build/bench/viewer/viewer_bench"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
. "$(dirname "$0")/../../scripts/lib/store-session.sh"
begin_store_session
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
value() { awk -v k="$1" '$1 == k { print $2 }'; }

# The application folder: the built player and skins, an empty Game.
mkdir -p "$work/app/Game"
ln -s "$app/player" "$work/app/player"
ln -s "$app/Skin" "$work/app/Skin"

start_store "$app/appstore"
# The first movie app and the first page app of the store (their links without the site, which
# changes with each start of the store).
movie_link="" page_link=""
for id in $(seq 1 60); do
    target=$(curl -s "$site/appweb/app?id=$id" | grep -o 'href = "[^"]*"' || true)
    case "$target" in
    *"$site/widget/"*) [ -n "$movie_link" ] || movie_link="/appweb/app?id=$id" ;;
    *"$site/appweb/detail"*) [ -n "$page_link" ] || page_link="/appweb/app?id=$id" ;;
    esac
    [ -n "$movie_link" ] && [ -n "$page_link" ] && break
done
[ -n "$movie_link" ] && [ -n "$page_link" ] || { echo "no movie app or page app in the store" >&2; exit 1; }

# A first opening downloads the movie into Game; the runs below play it from there.
"$bench" viewer "$work/app" "$site" "$site$movie_link" >/dev/null
movie=$(find "$work/app/Game" -name '*.swf' | head -1)
[ -n "$movie" ] || { echo "the movie was not downloaded" >&2; exit 1; }

: >"$work/viewer.txt"
: >"$work/cold.txt"
: >"$work/warm.txt"
: >"$work/late.txt"
: >"$work/bare.txt"
: >"$work/offline.txt"
: >"$work/note.txt"
# Taking turns, so that a busy machine weighs on all of them alike. Without the store (stopped, and
# started again on its port) the movie app opens from what was kept when it last opened.
port=${site##*:}
for _ in 1 2 3 4 5; do
    "$bench" viewer "$work/app" "$site" "$site$movie_link" >>"$work/viewer.txt"
    "$bench" bare "$app/player" "$movie" >>"$work/bare.txt"
    "$bench" cold "$work/app" "$site" "$site$movie_link" >>"$work/cold.txt"
    "$bench" warm "$work/app" "$site" "$site$movie_link" >>"$work/warm.txt"
    "$bench" late "$work/app" "$site" "$site$movie_link" >>"$work/late.txt"
    stop_store
    "$bench" viewer "$work/app" "$site" "$site$movie_link" >>"$work/offline.txt"
    "$bench" note "$work/app" "$site" "$site$page_link" >>"$work/note.txt"
    start_store "$app/appstore" --port "$port"
done
# The catalogue window with its page cache filled from the store, alone and with the ready player.
catalogue="$work/catalogue"
mkdir -p "$catalogue"
cp "$app/Sorrel" "$catalogue/"
ln -s "$app/Skin" "$catalogue/Skin"
ln -s "$app/player" "$catalogue/player"
write_servers_ini "$catalogue"
"$catalogue/Sorrel"
: >"$work/catalogue-plain.txt"
: >"$work/catalogue-window.txt"
for _ in 1 2 3; do
    "$build/bench/catalogue/catalogue_bench" --plain "$catalogue" 2>/dev/null >>"$work/catalogue-plain.txt"
    "$build/bench/catalogue/catalogue_bench" --window "$catalogue" 2>/dev/null >>"$work/catalogue-window.txt"
done
plain_pss=$(value pss_kib <"$work/catalogue-plain.txt" | median)
plain_ready=$(value ready_pss_kib <"$work/catalogue-plain.txt" | median)
plain_released=$(value released_pss_kib <"$work/catalogue-plain.txt" | median)
window_pss=$(value pss_kib <"$work/catalogue-window.txt" | median)
window_ready=$(value ready_pss_kib <"$work/catalogue-window.txt" | median)
window_released=$(value released_pss_kib <"$work/catalogue-window.txt" | median)

viewer_ms=$(value first_frame_ms <"$work/viewer.txt" | median)
cold_ms=$(value first_frame_ms <"$work/cold.txt" | median)
warm_ms=$(value first_frame_ms <"$work/warm.txt" | median)
warm_after=$(value warm_ms <"$work/warm.txt" | median)
late_ms=$(value first_frame_ms <"$work/late.txt" | median)
warm_clicks=$(value warm_at_click <"$work/viewer.txt" | awk '{ n += $1 } END { print n + 0 }')
bare_ms=$(value first_frame_ms <"$work/bare.txt" | median)
viewer_pss=$(value pss_mib <"$work/viewer.txt" | median)
bare_pss=$(value pss_mib <"$work/bare.txt" | median)
offline_ms=$(value first_frame_ms <"$work/offline.txt" | median)
note_ms=$(value note_ms <"$work/note.txt" | median)
stop_store

# A store that accepts and never answers.
start_store "$app/appstore" --delay-ms 600000
silent_ms=$("$bench" note "$work/app" "$site" "$site$page_link" | value note_ms)
kill -KILL "$store" # a clean stop would wait for the requests it holds
stop_store

start_store "$app/appstore" --delay-ms 50
latency=$(for _ in $(seq 7); do curl -s -o /dev/null -w '%{time_total}\n' "$site$movie_link"; done | median)
# Five openings of the same app in one process: the first, and the median of the others.
"$bench" open "$work/app" "$site" "$site$movie_link" 5 | value open_ms >"$work/movie_open.txt"
"$bench" open "$work/app" "$site" "$site$page_link" 5 | value open_ms >"$work/page_open.txt"
movie_first=$(head -1 "$work/movie_open.txt")
movie_open=$(tail -n +2 "$work/movie_open.txt" | median)
page_first=$(head -1 "$work/page_open.txt")
page_open=$(tail -n +2 "$work/page_open.txt" | median)

stop_store

mkdir -p "$work/saves/Game"
ln -s "$app/player" "$work/saves/player"
cp "$build/bench/viewer/flusher.swf" "$work/saves/Game/"
"$bench" flush "$work/saves" "$work/saves/Game/flusher.swf" 40 >"$work/flush.txt"
save_ms=$(value save_to_disk_ms <"$work/flush.txt")
save_max=$(value save_to_disk_max_ms <"$work/flush.txt")

awk -v v="$viewer_ms" -v b="$bare_ms" -v vp="$viewer_pss" -v bp="$bare_pss" -v l="$latency" \
    -v c="$cold_ms" -v wc="$warm_clicks" -v w="$warm_ms" -v wa="$warm_after" -v lt="$late_ms" -v pp="$plain_pss" -v cp="$window_pss" -v pr="$plain_ready" -v cr="$window_ready" \
    -v pl="$plain_released" -v cl="$window_released" \
    -v mo="$movie_open" -v po="$page_open" -v mf="$movie_first" -v pf="$page_first" \
    -v off="$offline_ms" -v n="$note_ms" -v sn="$silent_ms" -v sm="$save_ms" -v sx="$save_max" 'BEGIN {
    printf "click to first frame (cached movie), a second after a game page showed: viewer %d ms, bare web view %d ms, ratio %.2f\n", v, b, v / b
    printf "  the player was warm at %d of the clicks (of all the viewer runs, the store up and stopped)\n", wc
    printf "  goal: at most 500 ms and ratio <= 0.5; with no player ready (a new page after the click): %d ms, ratio %.2f\n", c, c / b
    printf "  the ready player got warm %d ms after the game page showed; a click then: %d ms, ratio %.2f\n", wa, w, w / b
    printf "  a click 15 s after the player got warm: %d ms, ratio %.2f\n", lt, lt / b
    printf "store stopped, movie app opened before: %d ms to first frame, %.2f of the cached opening (goal <= 1.2)\n", off, off / v
    printf "store stopped, app never opened: note after %d ms; store silent: note after %d ms (goal <= 5000)\n", n, sn
    printf "store request: %.0f ms\n", l * 1000
    r = l * 1000
    printf "click to viewer, movie app: first %d ms = %.2f requests, then %d ms = %.2f requests (goal <= 2 and <= 300 ms)\n", mf, mf / r, mo, mo / r
    printf "click to viewer, page app: first %d ms = %.2f requests, then %d ms = %.2f requests (goal <= 3 and <= 300 ms)\n", pf, pf / r, po, po / r
    printf "PSS with a movie playing: viewer %.0f MiB, bare web view %.0f MiB, ratio %.2f (goal <= 1.3)\n", vp, bp, vp / bp
    printf "PSS with the catalogue as Brindle runs it, beside the catalogue without the viewers'"'"' player:\n"
    printf "  idle on the home page %.0f MiB against %.0f MiB, ratio %.2f (goal <= 1.2)\n", cp / 1024, pp / 1024, cp / pp
    printf "  home page again after a game page and the idle time %.0f MiB against %.0f MiB, ratio %.2f (goal <= 1.2)\n", cl / 1024, pl / 1024, cl / pl
    printf "  on a game page, the player ready %.0f MiB against %.0f MiB, ratio %.2f\n", cr / 1024, pr / 1024, cr / pr
    printf "a movie'"'"'s save to its file on disk: median %.1f ms, slowest %.1f ms of 40 (goal < 100 ms)\n", sm, sx
}'
