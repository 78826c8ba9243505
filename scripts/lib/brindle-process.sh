# Brindle run as a process inside an X server, for the scripts that click through it. Works in sh
# and bash, also under set -eu. Source it as "$lib/brindle-process.sh" with $lib naming this folder:
# it brings x-window.sh and store-session.sh along. Inside the X server, set $app (the application
# folder) and $out (the folder for screenshots), then:
#
#   fail MESSAGE...          screenshot of the screen as $out/failed.png, MESSAGE on standard error, exit 1
#   start_brindle [LOG]      starts $app/Brindle ($pid), its standard error appended to LOG (default:
#                            dropped); waits for the catalogue window, then for the home page's file
#   end_brindle SIGNAL       sends SIGNAL (TERM, KILL) to Brindle and waits until it has ended; a
#                            killed one takes its web-engine processes along; fails after 60 s
#   viewers                  the ids of Brindle's shown windows other than the catalogue: its viewer
#   click_at X Y             raises the catalogue window and clicks at X Y
#   open_at X Y              clicks at X Y until a new viewer shows; $viewer is that viewer
#   viewer_shows COLOUR [BEFORE]
#                            waits up to a minute until the movie's area in the viewer shows COLOUR
#                            (#RRGGBB), in another picture than BEFORE; $picture: that picture as a hash
#   sol_field FILE FIELD     the value of FIELD in the saved shared object FILE as solread prints it
#                            ($solread: the build's solread), nothing when there is no such file or field
#   home_shown               waits until the home page shows its first app's picture
#   change_skin N [SHOT]     picks the Nth skin of the skin menu (1: the first; SHOT: a screenshot
#                            of the open menu), waits until Brindle has ended for the change and the
#                            new instance shows its window; $pid is then that instance
#   shot NAME                screenshot of the screen as $out/NAME.png

. "$lib/x-window.sh"
. "$lib/store-session.sh"

fail() {
    import -window root "$out/failed.png" 2>/dev/null || true
    echo "$*" >&2
    exit 1
}

start_brindle() {
    QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>>"${1:-/dev/null}" &
    pid=$!
    wait_window "^Lumora" >/dev/null || fail "no catalogue window"
    for _ in $(seq 300); do [ -e "$app/Html/HomeAll.html" ] && return 0; sleep 0.1; done
    fail "no home page in $app/Html"
}

end_brindle() {
    _engine=""
    [ "$1" != KILL ] || _engine=$(pgrep -P "$pid" || true)
    kill "-$1" "$pid"
    for _ in $(seq 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "Brindle did not end on SIG$1"
    wait "$pid" 2>/dev/null || true
    for _child in $_engine; do kill -KILL "$_child" 2>/dev/null || true; done
}

viewers() {
    for _window in $(xdotool search --onlyvisible --pid "$pid" --name . 2>/dev/null); do
        case "$(xdotool getwindowname "$_window" 2>/dev/null)" in "Lumora"* | "") ;; *) echo "$_window" ;; esac
    done
}

click_at() {
    xdotool search --name "^Lumora" windowraise >/dev/null 2>&1 || true
    xdotool mousemove "$1" "$2" click 1
}

open_at() {
    _before=$(viewers | tr '\n' ' ')
    viewer=""
    for _ in $(seq 10); do
        click_at "$1" "$2"
        for _ in $(seq 30); do
            for _window in $(viewers); do
                case " $_before " in *" $_window "*) ;; *) viewer=$_window ;; esac
            done
            [ -n "$viewer" ] && return 0
            sleep 0.1
        done
    done
    fail "no viewer opened after a click at $1 $2"
}

viewer_shows() {
    _frame=$(mktemp --suffix=.png)
    _until=$(($(date +%s) + 60))
    while [ "$(date +%s)" -lt "$_until" ]; do
        # The movie's area: below the viewer's caption and tabs.
        # Colours within 2% count, as a movie's text is drawn a shade off its colour.
        if import -window "$viewer" -crop 846x634+6+64 +repage "$_frame" 2>/dev/null &&
            convert "$_frame" -fuzz 2% -fill '#FF00FE' -opaque "$1" -format %c histogram:info:- |
            grep -qi '#FF00FE'; then
            picture=$(convert "$_frame" -format '%#' info:)
            [ "$picture" = "${2:-}" ] || break
        fi
        picture=""
        sleep 0.1
    done
    rm -f "$_frame"
    [ -n "$picture" ] || fail "the viewer did not show $1"
}

sol_field() {
    [ -f "$1" ] && "$solread" "$1" 2>/dev/null | sed -n "s/^$2 = //p"
    return 0
}

shot() {
    import -window root "$out/$1.png"
}

home_shown() {
    # The window sits at the screen's corner; the picture is the first app's icon.
    wait_colour 40 355 '#DEC461' 30 || fail "the home page's first picture did not show"
}

change_skin() {
    _old=$pid
    _windows=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
    # The skin button is the leftmost caption button of the catalogue; its menu opens at the mouse.
    click_at 880 12
    for _ in $(seq 100); do
        [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -gt "$_windows" ] && break
        sleep 0.1
    done
    [ -z "${2:-}" ] || shot "$2"
    # The menu's first entry is a heading that Down passes over.
    _keys=$(seq "$1" | sed 's/.*/Down/' | tr '\n' ' ')
    # shellcheck disable=SC2086 # one key a word
    xdotool key $_keys Return
    for _ in $(seq 300); do kill -0 "$_old" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$_old" 2>/dev/null && fail "Brindle did not end for the skin change"
    wait "$_old" 2>/dev/null || true
    for _ in $(seq 600); do
        for _window in $(xdotool search --onlyvisible --name "^Lumora" 2>/dev/null); do
            pid=$(xdotool getwindowpid "$_window" 2>/dev/null || true)
            [ -n "$pid" ] && [ "$pid" != "$_old" ] && return 0
        done
        sleep 0.1
    done
    fail "no Brindle came back after the skin change"
}
