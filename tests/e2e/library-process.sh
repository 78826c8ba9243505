#!/bin/sh
# The 我的游戏 page with real processes: Brindle under Xvfb against the bundled store, which serves the
# tests' play counter (plays.swf) in place of every store game. The first two apps of the home page
# (俄罗斯方块 and 连连看) are opened with clicks, the second one three times; the library then lists
# both, the second first, with 3 and 1 plays, and it still does after Brindle was killed (SIGKILL)
# and started again, where the 我的游戏 button shows the page (library-page.png). With the store
# stopped, a click on the start cell of the first app's row opens it from Game/: its counter goes on
# to 2 and it is listed first (library-offline.png).
# library-process.sh <build folder> <output folder>
set -eu
. "$(dirname "$0")/../../scripts/lib/x-window.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 storepid=$5
    pid=""
    # The value name of the save of the movie folder $2 ("count"), or nothing.
    saved() {
        file="$app/Saves/$2/plays.sol"
        [ -f "$file" ] && "$solread" "$file" 2>/dev/null | sed -n "s/^$1 = //p"
        return 0
    }
    start_brindle() {
        QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>/dev/null &
        pid=$!
        wait_window "^Lumora" >/dev/null || { echo "no catalogue window" >&2; exit 1; }
        for _ in $(seq 300); do [ -e "$app/Html/HomeAll.html" ] && break; sleep 0.1; done
    }
    # The shown windows of Brindle other than the catalogue: its viewer.
    viewers() {
        for window in $(xdotool search --onlyvisible --pid "$pid" --name . 2>/dev/null); do
            case "$(xdotool getwindowname "$window" 2>/dev/null)" in "Lumora"* | "") ;; *) echo "$window" ;; esac
        done
    }
    # Clicks at x y in the catalogue window until a new viewer shows.
    open_at() {
        before=$(viewers)
        opened=""
        for _ in $(seq 10); do
            xdotool search --name "^Lumora" windowraise >/dev/null 2>&1 || true
            xdotool mousemove "$1" "$2" click 1
            for _ in $(seq 30); do
                for window in $(viewers); do
                    case " $before " in *" $window "*) ;; *) opened=$window ;; esac
                done
                [ -n "$opened" ] && return 0
                sleep 0.1
            done
        done
        echo "no viewer opened after a click at $1 $2" >&2
        exit 1
    }
    # Waits until the play counter of movie folder $1 saved the count $2.
    counted() {
        for _ in $(seq 300); do [ "$(saved count "$1")" = "$2" ] && return 0; sleep 0.1; done
        echo "expected $1 to count $2; saved: $(saved count "$1")" >&2
        exit 1
    }
    # Waits for the saves folder of a movie other than $1 and prints its name.
    save_folder_besides() {
        for _ in $(seq 300); do
            folder=$(ls "$app/Saves" 2>/dev/null | grep -vx "$1" | head -1 || true)
            [ -n "$folder" ] && echo "$folder" && return 0
            sleep 0.1
        done
        echo "no saves of a second movie" >&2
        exit 1
    }
    # The library as the command line lists it: name and plays of each app, most recent first.
    played() { "$app/Brindle" --list-played | cut -f2,3 | tr '\t\n' ' ;'; }
    wait_played() {
        for _ in $(seq 100); do [ "$(played)" = "$1" ] && return 0; sleep 0.1; done
        echo "the library lists \"$(played)\", expected \"$1\"" >&2
        exit 1
    }

    start_brindle
    open_at 442 350
    first=$(save_folder_besides "")
    counted "$first" 1
    for n in 1 2 3; do
        open_at 928 350
        second=$(save_folder_besides "$first")
        counted "$second" "$n"
    done
    names=$("$app/Brindle" --list-played | cut -f2)
    second_name=$(echo "$names" | sed -n 1p)
    first_name=$(echo "$names" | sed -n 2p)
    wait_played "$second_name 3;$first_name 1;"

    engine=$(pgrep -P "$pid" || true)
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    for child in $engine; do kill -KILL "$child" 2>/dev/null || true; done
    start_brindle
    wait_played "$second_name 3;$first_name 1;"
    xdotool search --name "^Lumora" windowraise >/dev/null 2>&1 || true
    xdotool mousemove 940 50 click 1
    sleep 1
    import -window root "$out/library-page.png"

    # Offline: the second row (the first app) opens from Game/ and plays on.
    kill "$storepid"
    open_at 947 238
    counted "$first" 2
    for _ in $(seq 100); do [ "$(played | cut -d';' -f1)" = "$first_name 2" ] && break; sleep 0.1; done
    [ "$(played | cut -d';' -f1)" = "$first_name 2" ] || { echo "not listed first after the offline play: $(played)" >&2; exit 1; }
    import -window root "$out/library-offline.png"
    kill -TERM "$pid"
    for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    exit
fi

build=$(cd "$1" && pwd)
out=$2
mkdir -p "$out"
out=$(cd "$out" && pwd)
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/store-session.sh"
begin_store_session

play_counter_app "$build"
# A server number of its own, so that tests running side by side do not race for the first free one.
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1000x728x24" sh -eu "$self" --inside "$app" "$out" \
    "$build/app/solread" "$store"
