#!/bin/sh
# Flash saves with real processes: Brindle under Xvfb against the bundled store, which serves the
# tests' play counter (plays.swf) in place of every store game, so the first two apps of the home
# page (A and B) both play it, each with saves of its own. The counter keeps its plays twice: in
# "plays", flushed at its start and then on a timer every 100 ms, and in "kept", never flushed, which
# only the save at the movie's end keeps.
#
# - kept: A's count is on disk as 1 once B has replaced A's viewer (before B's movie started), 2
#   after 重载应用 (before A started again), 3 after Brindle ended on SIGTERM, and 4 after it started
#   again and A's viewer was closed.
# - timer: B and A are clicked quickly one after the other ten times; A's count only ever grows, on
#   disk as read while it happens and after Brindle is killed (SIGKILL) at the end: no movie that is
#   going away writes an older count over a newer one, and every play reads the newest.
# Screenshots: plays-N.png (A showing N plays), and Brindle's standard error brindle.log, in the
# output folder. MOVIE names another counter of the tests' movies, KEPT the name of its never flushed
# object; an empty KEPT leaves out the checks of that object (plays-as2.swf, the ActionScript 2
# counter, has none).
# flash-saves-process.sh <build folder> <output folder>
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4
    kept=${KEPT-kept}
    # The start buttons of the home page's first two apps (A and B), and where the viewer's frame
    # has its close button.
    app_a=442 app_b=928 close_x=976 close_y=12
    folder_a="" folder_b=""
    # value FOLDER OBJECT FIELD: the field of a movie's shared object as saved now, or nothing.
    value() {
        [ -z "$1" ] || sol_field "$app/Saves/$1/$2.sol" "$3"
    }
    # expect FOLDER OBJECT COUNT READ: the object holds count COUNT that read READ, now.
    expect() {
        [ -n "$2" ] || return 0
        if [ "$(value "$1" "$2" count)" != "$3" ] || [ "$(value "$1" "$2" read)" != "$4" ]; then
            fail "$2 of $1: expected count $3 that read $4; saved: count $(value "$1" "$2" count)," \
                "read $(value "$1" "$2" read)"
        fi
        echo "$2: $3"
    }
    # wait_count FOLDER OBJECT COUNT: waits up to 60 s for the object to hold count COUNT.
    wait_count() {
        for _ in $(seq 600); do [ "$(value "$1" "$2" count)" = "$3" ] && return 0; sleep 0.1; done
        fail "$2 of $1 never held count $3; saved: count $(value "$1" "$2" count)"
    }
    # open_app X: clicks the app at X until a new viewer shows; $viewer is that viewer.
    open_app() { open_at "$1" 350; }
    # The folder of saves that appeared last, once there is one other than those named.
    new_folder() {
        for _ in $(seq 300); do
            for folder in "$app"/Saves/*/; do
                name=$(basename "$folder")
                [ -d "$folder" ] && [ "$name" != "$folder_a" ] && [ "$name" != "$folder_b" ] &&
                    echo "$name" && return 0
            done
            sleep 0.1
        done
        fail "no saves of a new movie"
    }
    shoot() {
        sleep 1 # the counter draws its squares
        shot "plays-$1"
    }

    start_brindle "$out/brindle.log"
    open_app "$app_a"
    folder_a=$(new_folder)
    wait_count "$folder_a" plays 1
    shoot 1
    open_app "$app_b"
    folder_b=$(new_folder)
    wait_count "$folder_b" plays 1
    expect "$folder_a" "$kept" 1 0
    open_app "$app_a"
    wait_count "$folder_a" plays 2
    shoot 2
    # 重载应用, the fourth tab of the viewer.
    xdotool mousemove --window "$viewer" 529 46 click 1
    wait_count "$folder_a" plays 3
    expect "$folder_a" "$kept" 2 1
    shoot 3
    end_brindle TERM
    expect "$folder_a" "$kept" 3 2
    start_brindle "$out/brindle.log"
    open_app "$app_a"
    wait_count "$folder_a" plays 4
    shoot 4
    xdotool mousemove --window "$viewer" "$close_x" "$close_y" click 1
    for _ in $(seq 100); do [ -z "$(viewers)" ] && break; sleep 0.1; done
    [ -z "$(viewers)" ] || fail "the viewer did not close"
    expect "$folder_a" "$kept" 4 3

    # A's count as saved, read over and over while the apps are switched quickly.
    (while :; do value "$folder_a" plays count; sleep 0.05; done) >"$out/timer-counts" 2>/dev/null &
    sampler=$!
    plays=4
    for round in $(seq 10); do
        click_at "$app_b" 350
        sleep 0.2
        # A is clicked until it has started again (B's viewer may show after this click).
        for _ in $(seq 10); do
            click_at "$app_a" 350
            for _ in $(seq 100); do
                [ "$(value "$folder_a" plays count)" -gt "$plays" ] 2>/dev/null && break 2
                sleep 0.1
            done
        done
        [ "$(value "$folder_a" plays count)" -gt "$plays" ] || fail "A did not start again in round $round"
        plays=$(value "$folder_a" plays count)
        echo "timer round $round: plays $plays"
    done
    sleep 1 # the last movie ticks a few times
    end_brindle KILL
    kill "$sampler"
    wait "$sampler" 2>/dev/null || true
    awk 'NF && $1 + 0 < last { print "count went back from " last " to " $1; bad = 1 } NF { last = $1 + 0 }
         END { exit bad }' "$out/timer-counts" || fail "A's count went back while the apps were switched"
    [ "$(value "$folder_a" plays count)" = "$plays" ] || fail "A's count after the kill: $(value "$folder_a" plays count)"
    # Every play of A but the killed one saved its kept count at its end, each on the one before.
    if [ -n "$kept" ] && [ "$(value "$folder_a" "$kept" count)" != $((plays - 1)) ]; then
        fail "A's kept count after the rounds: $(value "$folder_a" "$kept" count)"
    fi
    echo "timer: A's count only grew, $plays in the end"
    exit
fi

begin_script_session "$1" "$2"
rm -f "$out/brindle.log"
play_counter_app "$build" "${MOVIE:-plays.swf}"
run_in_xvfb 1000x728x24 --inside "$app" "$out" "$build/app/solread"
echo "saves: $(find "$app/Saves" -type f | sed "s|^$app/||")"
