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
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 storepid=$5
    # The value name of the save of the movie folder $2 ("count"), or nothing.
    saved() { sol_field "$app/Saves/$2/plays.sol" "$1"; }
    # Waits until the play counter of movie folder $1 saved the count $2.
    counted() {
        for _ in $(seq 300); do [ "$(saved count "$1")" = "$2" ] && return 0; sleep 0.1; done
        fail "expected $1 to count $2; saved: $(saved count "$1")"
    }
    # Waits for the saves folder of a movie other than $1 and prints its name.
    save_folder_besides() {
        for _ in $(seq 300); do
            folder=$(ls "$app/Saves" 2>/dev/null | grep -vx "$1" | head -1 || true)
            [ -n "$folder" ] && echo "$folder" && return 0
            sleep 0.1
        done
        fail "no saves of a second movie"
    }
    # The library as the command line lists it (after its header line): name and plays of each app,
    # most recent first.
    played() { "$app/Brindle" --list-played | tail -n +2 | cut -f2,3 | tr '\t\n' ' ;'; }
    wait_played() {
        for _ in $(seq 100); do [ "$(played)" = "$1" ] && return 0; sleep 0.1; done
        fail "the library lists \"$(played)\", expected \"$1\""
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
    names=$("$app/Brindle" --list-played | tail -n +2 | cut -f2)
    second_name=$(echo "$names" | sed -n 1p)
    first_name=$(echo "$names" | sed -n 2p)
    wait_played "$second_name 3;$first_name 1;"

    end_brindle KILL
    start_brindle
    wait_played "$second_name 3;$first_name 1;"
    click_at 940 50
    wait_colour 300 200 '#308CC6' || fail "the page does not show the last played app first, chosen"
    shot library-page

    # Offline: the second row (the first app) opens from Game/ and plays on.
    kill "$storepid"
    open_at 947 238
    counted "$first" 2
    for _ in $(seq 100); do [ "$(played | cut -d';' -f1)" = "$first_name 2" ] && break; sleep 0.1; done
    [ "$(played | cut -d';' -f1)" = "$first_name 2" ] || fail "not listed first after the offline play: $(played)"
    shot library-offline
    end_brindle TERM
    exit
fi

begin_script_session "$1" "$2"
play_counter_app "$build"
run_in_xvfb 1000x728x24 --inside "$app" "$out" "$build/app/solread" "$store"
