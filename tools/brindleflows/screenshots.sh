#!/bin/sh
# The skin change and the update of Brindle clicked through under Xvfb against the bundled store,
# with screenshots: screenshots.sh <build folder> <output folder> [maker's private key]
#
# Second start: with the catalogue window covered by another window (second-start-covered.png), a
# second Brindle in the same folder must end within a few seconds without starting Sorrel, and the
# first window must be on top again (second-start-raised.png).
#
# Skins: Brindle starts with Default (Sorrel beside it); the skin button opens the skin menu
# (skin-menu.png); choosing Graphite restarts the program with it (skin-Graphite.png), and choosing
# Default from there restarts it again (skin-Default.png). The script checks that each old
# instance has ended, that a new one runs and what the settings file says.
#
# Update (only with the private key of the key pair that the build's public key belongs to): the
# store announces version 2 with a small script as the new version, signed with that key; both
# messages are shot (update-found.png, update-done.png) and confirmed with Return, and the script
# must have run once Brindle has ended. Then the same with a signature over other bytes: the
# refusal is shot (update-refused.png), no script runs and Brindle keeps running. Last, an update
# that hands over while the tests' play counter plays: the maker's server holds the new version's
# file until the counter has started (update-playing.png); once Brindle has ended for the update,
# the counter's never flushed count is on disk.
#
# Keys: the store's first game (俄罗斯方块) has the tests' keys movie as its file in Game/, which
# takes the colour of the last arrow key pressed. Opened from the games area, it turns green on
# Right without a click (keys-movie.png); F11 puts the viewer in full screen (keys-full-screen.png)
# and Escape takes it back. A page app (三国争霸, the store's 2048) answers Right and Left without a
# click (keys-page.png). Then, in a new start, the keys movie's ActionScript 2 twin turns green on
# Right without a click (keys-movie-as2.png).
#
# Environment: FLOWS="skins update keys" (the default) picks the flows; BRINDLE names another build of
# the program to copy (default: the application folder's); UPDATE_PUBLIC_KEY is copied into each
# application folder as update-public-key.pem, where the tests' build of Brindle reads its key.
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.

# A second start in the folder $app while the catalogue window runs there; $store_log is the store's
# request log, where a second Sorrel would show as a second round of page requests.
second_start() {
    catalogue=$(wait_window "^Lumora")
    xmessage -geometry 700x500+150+110 -title cover "a window over the catalogue" &
    cover=$!
    wait_window "^cover$" >/dev/null
    covered 500 360 "$catalogue" || fail "the cover is not over the catalogue window"
    import -window root "$out/second-start-covered.png"
    flock "$app/Sorrel.lock" true # the first start's Sorrel is done
    pages=$(grep -c "^GET " "$store_log" || true)
    started=$(date +%s%N)
    QTWEBENGINE_DISABLE_SANDBOX=1 timeout 20 "$app/Brindle" 2>/dev/null || { echo "the second start failed" >&2; exit 1; }
    echo "the second start ended after $(( ($(date +%s%N) - started) / 1000000 )) ms"
    on_top 500 360 "$catalogue" || fail "the catalogue window was not brought to the front"
    import -window root "$out/second-start-raised.png"
    [ "$(grep -c "^GET " "$store_log" || true)" = "$pages" ] || { echo "the second start asked the store for something" >&2; exit 1; }
    kill "$cover"
    wait "$cover" 2>/dev/null || true
}

if [ "${1:-}" = --skins ]; then
    app=$2 out=$3 store_log=$4
    start_brindle
    home_shown
    shot skin-start
    second_start
    kill -0 "$pid" || fail "the first instance ended"
    # The skins are listed by name: Default, Graphite.
    for skin in Graphite Default; do
        if [ "$skin" = Graphite ]; then change_skin 2 skin-menu; else change_skin 1; fi
        grep -q "SkinName = $skin" "$app/Brindle.ini" || fail "settings not written for $skin"
        home_shown
        shot "skin-$skin"
    done
    end_brindle TERM
    exit
fi
if [ "${1:-}" = --keys ]; then
    app=$2 out=$3 movie_only=${4:-}
    board=$(mktemp --suffix=.png)
    start_brindle
    home_shown
    # The games area, then the button of its first app.
    click_at 124 65
    open_at 450 228
    wait_window "^俄罗斯方块$" >/dev/null
    wait_colour 500 400 '#808080'
    caption=$(colour_at 500 12)
    xdotool key Right
    wait_colour 500 400 '#00FF00'
    shot "keys-movie$movie_only"
    if [ -n "$movie_only" ]; then
        rm -f "$board"
        end_brindle TERM
        echo "keys reach the movie ($movie_only)"
        exit
    fi
    xdotool key F11
    for _ in $(seq 50); do [ "$(colour_at 500 12)" != "$caption" ] && break; sleep 0.2; done
    [ "$(colour_at 500 12)" != "$caption" ] || fail "F11 did not go full screen"
    shot keys-full-screen
    xdotool key Escape
    wait_colour 500 12 "$caption"
    xdotool key Up
    wait_colour 500 400 '#0000FF'

    # A page app of the games area: its board changes on Right and Left.
    xdotool mousemove 977 12 click 1
    for _ in $(seq 100); do [ -z "$(viewers)" ] && break; sleep 0.1; done
    open_at 450 370
    wait_window "^三国争霸$" >/dev/null
    # The board as a hash, once it is drawn (more than a few colours) and the same twice running.
    board_at_rest() {
        _last=""
        for _ in $(seq 100); do
            import -window root -crop 400x400+300+150 +repage "$board"
            if [ "$(identify -format %k "$board")" -gt 8 ]; then
                _now=$(convert "$board" -format '%#' info:)
                [ "$_now" = "$_last" ] && echo "$_now" && return 0
                _last=$_now
            fi
            sleep 0.2
        done
        fail "the page app's board did not come to rest"
    }
    before=$(board_at_rest)
    xdotool key Right Left
    for _ in $(seq 10); do [ "$(board_at_rest)" != "$before" ] && break; done
    shot keys-page
    [ "$(board_at_rest)" != "$before" ] || fail "the page app's board did not move"
    rm -f "$board"
    end_brindle TERM
    echo "keys reach the movie and the page app; F11 and Escape switch full screen"
    exit
fi
# answer_message NAME: waits for Brindle's next message box, shoots it as NAME.png and confirms it.
# Each box is a window of its own (without a name): the next one is a shown window of Brindle
# other than the catalogue and not seen before.
seen=""
answer_message() {
    [ -n "$seen" ] || seen=" $(xdotool search --name "^Lumora" 2>/dev/null | tr '\n' ' ')"
    box=""
    for _ in $(seq 600); do
        for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            case "$seen" in *" $window "*) ;; *) box=$window ;; esac
        done
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message for $1"
    seen="$seen$box "
    wait_painted "$box" || fail "the message for $1 is not drawn"
    shot "$1"
    xdotool key Return
}

# The update check's outcome, once it has ended (Brindle's standard error in $log).
update_outcome() {
    for _ in $(seq 600); do grep -q "update check ended: " "$log" && break; sleep 0.1; done
    sed -n 's/^Brindle: update check ended: //p' "$log"
}

if [ "${1:-}" = --update-playing ]; then
    app=$2 out=$3 marker=$4 release=$5 solread=$6
    log="$out/brindle-$(basename "$app").log"
    rm -f "$log"
    start_brindle "$log"
    answer_message update-playing-found
    # The new version's file is held back: the first app of the home page plays meanwhile.
    open_at 442 350
    for _ in $(seq 600); do
        save=$(find "$app/Saves" -name plays.sol 2>/dev/null | head -1)
        [ -n "$save" ] && [ "$(sol_field "$save" count)" = 1 ] && break
        sleep 0.1
    done
    [ -n "$save" ] || fail "the counter did not start"
    viewer_shows '#203040'
    shot update-playing
    seen="$seen$(viewers | tr '\n' ' ') "
    touch "$release"
    answer_message update-playing-done
    outcome=$(update_outcome)
    [ "$outcome" = "update offered, the new version starts once Brindle has ended" ] ||
        fail "the update check ended with \"$outcome\""
    for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "Brindle did not end for the update"
    kept="$(dirname "$save")/kept.sol"
    [ "$(sol_field "$kept" count)" = 1 ] && [ "$(sol_field "$kept" read)" = 0 ] ||
        fail "the counter's never flushed count after the update: $(sol_field "$kept" count)"
    for _ in $(seq 100); do [ -e "$marker" ] && break; sleep 0.1; done
    [ -e "$marker" ] || fail "the new version did not start"
    echo "Brindle ended for the update while the counter played, its never flushed count on disk"
    exit
fi
if [ "${1:-}" = --update ]; then
    app=$2 out=$3 shots=$4 marker=$5
    log="$out/brindle-$(basename "$app").log"
    rm -f "$log"
    start_brindle "$log"
    wait_painted "$(wait_window "^Lumora")" || fail "the catalogue is not drawn"
    for name in $shots; do answer_message "$name"; done
    outcome=$(update_outcome)
    case "$outcome" in
    *"the new version starts once Brindle has ended")
        for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -0 "$pid" 2>/dev/null && fail "Brindle did not end for the update"
        for _ in $(seq 100); do [ -e "$marker" ] && break; sleep 0.1; done
        [ -e "$marker" ] || fail "the new version did not start"
        echo "Brindle ended and the new version ran"
        ;;
    *"its file was not the maker's and was deleted")
        kill -0 "$pid" 2>/dev/null || fail "Brindle ended"
        [ ! -e "$marker" ] || fail "an unverified update ran"
        echo "Brindle keeps running"
        end_brindle TERM
        ;;
    *) fail "the update check ended with \"$outcome\"" ;;
    esac
    exit
fi

begin_script_session "$1" "$2"
key=${3:-}

# A fresh application folder $app for the store.
new_app() {
    app="$work/app-$1"
    new_app_folder "$app" "$build"
    [ -z "${BRINDLE:-}" ] || cp "$BRINDLE" "$app/Brindle"
    [ -z "${UPDATE_PUBLIC_KEY:-}" ] || cp "$UPDATE_PUBLIC_KEY" "$app/update-public-key.pem"
}

xvfb() { run_in_xvfb 1000x728x24 "$@"; }

flows=${FLOWS:-skins update keys}
case " $flows " in *" skins "*)
    start_store "$build/app/appstore"
    new_app skins
    xvfb --skins "$app" "$out" "$work/store.log"
    echo "settings after the changes:"
    tr -d '\r' <"$app/Brindle.ini"
esac

case " $flows " in *" keys "*)
    start_store "$build/app/appstore"
    new_app keys
    mkdir -p "$app/Game"
    cp "$build/tests/viewer/movies/keys.swf" "$app/Game/blocks.swf"
    xvfb --keys "$app" "$out"
    cp "$build/tests/viewer/movies/keys-as2.swf" "$app/Game/blocks.swf"
    xvfb --keys "$app" "$out" -as2
esac

if [ -n "$key" ] && case " $flows " in *" update "*) true ;; *) false ;; esac; then
    marker="$work/new-version-ran"
    printf '#!/bin/sh\necho ran > "%s"\n' "$marker" >"$work/new-version"
    signer="$build/tools/signupdate/signupdate"
    signature() { "$signer" sign "$key" "$1" --version 2 --ftp x | sed -n 's/^Signature = //p' | tr -d '\r'; }

    start_store "$build/app/appstore" --update-version 2 --update-file "$work/new-version" --update-signature "$(signature "$work/new-version")"
    new_app signed
    xvfb --update "$app" "$out" "update-found update-done" "$marker"

    printf 'other bytes' >"$work/other"
    start_store "$build/app/appstore" --update-version 2 --update-file "$work/new-version" --update-signature "$(signature "$work/other")"
    new_app forged
    rm -f "$marker"
    xvfb --update "$app" "$out" "update-found update-refused" "$marker"
    if [ -e "$app/Update" ]; then
        echo "the refused update left $app/Update behind" >&2
        exit 1
    fi

    # The maker's server: the update page at once, the new version's file once $release exists.
    release="$work/release"
    python3 - "$work/maker-page" "$work/new-version" "$release" "$work/maker-port" <<'EOF' >/dev/null 2>&1 &
import http.server, os, sys, time
page, new_version, release, port_file = sys.argv[1:5]
class Maker(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = b"ok"
        if self.path == "/box/update.html":
            body = open(page, "rb").read()
        elif self.path == "/box/download/BrindleSetup.bin":
            while not os.path.exists(release):
                time.sleep(0.05)
            body = open(new_version, "rb").read()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Maker)
open(port_file, "w").write(str(server.server_address[1]))
server.serve_forever()
EOF
    maker=$!
    for _ in $(seq 100); do [ -s "$work/maker-port" ] && break; sleep 0.1; done
    maker_site="http://127.0.0.1:$(cat "$work/maker-port")"
    "$signer" sign "$key" "$work/new-version" --version 2 --ftp "$maker_site/box/download/BrindleSetup.bin" \
        >"$work/maker-page"
    stop_store
    play_counter_app "$build"
    [ -z "${BRINDLE:-}" ] || cp "$BRINDLE" "$app/Brindle"
    [ -z "${UPDATE_PUBLIC_KEY:-}" ] || cp "$UPDATE_PUBLIC_KEY" "$app/update-public-key.pem"
    printf '[Store]\nSite = %s\nStatic = %s\n[Maker]\nServer = %s\n' "$site" "$site" "$maker_site" >"$app/Servers.ini"
    rm -f "$marker"
    status=0
    xvfb --update-playing "$app" "$out" "$marker" "$release" "$build/app/solread" || status=$?
    kill "$maker"
    [ "$status" = 0 ] || exit "$status"
fi
echo "screenshots in $out"
