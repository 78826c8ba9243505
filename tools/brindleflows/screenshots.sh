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
# refusal is shot (update-refused.png), no script runs and Brindle keeps running.
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
. "$lib/x-window.sh"
. "$lib/store-session.sh"

# Inside the virtual X server.

# The top-level window under the point x y.
window_at() {
    xdotool mousemove "$1" "$2"
    xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p'
}

# A second start in the folder $app while the catalogue window runs there; $store_log is the store's
# request log, where a second Sorrel would show as a second round of page requests.
second_start() {
    catalogue=$(wait_window "^Lumora")
    xmessage -geometry 700x500+150+110 -title cover "a window over the catalogue" &
    cover=$!
    wait_window "^cover$" >/dev/null
    sleep 1
    [ "$(window_at 500 360)" != "$catalogue" ] || { echo "the cover is not over the catalogue window" >&2; exit 1; }
    import -window root "$out/second-start-covered.png"
    flock "$app/Sorrel.lock" true # the first start's Sorrel is done
    pages=$(grep -c "^GET " "$store_log" || true)
    started=$(date +%s%N)
    QTWEBENGINE_DISABLE_SANDBOX=1 timeout 20 "$app/Brindle" 2>/dev/null || { echo "the second start failed" >&2; exit 1; }
    echo "the second start ended after $(( ($(date +%s%N) - started) / 1000000 )) ms"
    sleep 1
    [ "$(window_at 500 360)" = "$catalogue" ] || { echo "the catalogue window was not brought to the front" >&2; exit 1; }
    import -window root "$out/second-start-raised.png"
    [ "$(grep -c "^GET " "$store_log" || true)" = "$pages" ] || { echo "the second start asked the store for something" >&2; exit 1; }
    kill "$cover"
    wait "$cover" 2>/dev/null || true
}

if [ "${1:-}" = --skins ]; then
    app=$2 out=$3 store_log=$4
    QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>/dev/null &
    old=$!
    wait_window "^Lumora" >/dev/null
    sleep 4
    import -window root "$out/skin-start.png"
    second_start
    kill -0 "$old" || { echo "the first instance ended" >&2; exit 1; }
    for skin in Graphite Default; do
        # The skin button is the leftmost caption button; the menu opens at the mouse.
        xdotool mousemove 880 12 click 1
        sleep 2
        [ "$skin" = Graphite ] && import -window root "$out/skin-menu.png"
        # Down moves past the disabled heading to the first skin; the skins are listed by name.
        if [ "$skin" = Graphite ]; then xdotool key Down Down Return; else xdotool key Down Return; fi
        for _ in $(seq 300); do kill -0 "$old" 2>/dev/null || break; sleep 0.1; done
        if kill -0 "$old" 2>/dev/null; then echo "the old instance did not end" >&2; exit 1; fi
        wait "$old" 2>/dev/null || true
        grep -q "SkinName = $skin" "$app/Brindle.ini" || { echo "settings not written for $skin" >&2; exit 1; }
        wait_window "^Lumora" >/dev/null
        sleep 5
        old=$(xdotool getwindowpid "$(wait_window "^Lumora")")
        import -window root "$out/skin-$skin.png"
    done
    kill "$old"
    for _ in $(seq 100); do kill -0 "$old" 2>/dev/null || break; sleep 0.1; done
    exit
fi
if [ "${1:-}" = --keys ]; then
    app=$2 out=$3 movie_only=${4:-}
    shot=$(mktemp --suffix=.png)
    # The colour at x, y of the screen, as #RRGGBB.
    colour_at() {
        import -window root "$shot"
        convert "$shot" -crop "1x1+$1+$2" txt:- | grep -o '#[0-9A-F]\{6\}' | head -1
    }
    # Waits up to ten seconds until the colour at x, y is the given one.
    wait_colour() {
        for _ in $(seq 50); do [ "$(colour_at "$1" "$2")" = "$3" ] && return 0; sleep 0.2; done
        echo "the colour at $1,$2 is $(colour_at "$1" "$2"), not $3" >&2
        return 1
    }
    QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>/dev/null &
    pid=$!
    wait_window "^Lumora" >/dev/null
    sleep 4
    # The games area, then the button of its first app.
    xdotool mousemove 124 65 click 1
    sleep 3
    xdotool mousemove 450 228 click 1
    wait_window "^俄罗斯方块$" >/dev/null
    wait_colour 500 400 '#808080'
    caption=$(colour_at 500 12)
    xdotool key Right
    wait_colour 500 400 '#00FF00'
    import -window root "$out/keys-movie$movie_only.png"
    if [ -n "$movie_only" ]; then
        rm -f "$shot"
        kill "$pid"
        for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        echo "keys reach the movie ($movie_only)"
        exit
    fi
    xdotool key F11
    for _ in $(seq 50); do [ "$(colour_at 500 12)" != "$caption" ] && break; sleep 0.2; done
    [ "$(colour_at 500 12)" != "$caption" ] || { echo "F11 did not go full screen" >&2; exit 1; }
    import -window root "$out/keys-full-screen.png"
    xdotool key Escape
    wait_colour 500 12 "$caption"
    xdotool key Up
    wait_colour 500 400 '#0000FF'

    # A page app of the games area: its board changes on Right and Left.
    xdotool mousemove 977 12 click 1
    sleep 2
    xdotool mousemove 450 370 click 1
    wait_window "^三国争霸$" >/dev/null
    sleep 4
    import -window root "$shot"
    before=$(convert "$shot" -crop 400x400+300+150 +repage -format '%#' info:)
    xdotool key Right Left
    sleep 1
    import -window root "$out/keys-page.png"
    after=$(convert "$out/keys-page.png" -crop 400x400+300+150 +repage -format '%#' info:)
    [ "$before" != "$after" ] || { echo "the page app's board did not move" >&2; exit 1; }
    rm -f "$shot"
    kill "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    echo "keys reach the movie and the page app; F11 and Escape switch full screen"
    exit
fi
if [ "${1:-}" = --update ]; then
    app=$2 out=$3 shot=$4 marker=$5
    QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>/dev/null &
    pid=$!
    wait_window "^Lumora" >/dev/null
    for name in $shot; do
        # Each message box is a window of its own, named after the program.
        wait_window "^Brindle$" >/dev/null
        sleep 1
        import -window root "$out/$name.png"
        xdotool search --name "^Brindle$" windowactivate --sync key Return 2>/dev/null ||
            xdotool key Return
        sleep 1
    done
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        [ -e "$marker" ] && { echo "an unverified update ran" >&2; exit 1; }
        echo "Brindle keeps running"
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    else
        for _ in $(seq 50); do [ -e "$marker" ] && break; sleep 0.1; done
        [ -e "$marker" ] || { echo "the new version did not start" >&2; exit 1; }
        echo "Brindle ended and the new version ran"
    fi
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
fi
echo "screenshots in $out"
