#!/bin/sh
# Flash saves with real processes: Brindle under Xvfb against the bundled store, which serves one of
# the tests' play counters in place of every store game, so the first two apps of the home page (A
# and B) both play it, each with saves of its own. The counters keep their plays in shared objects:
#   plays.swf                "plays", flushed at its start and then on a timer every 100 ms, and
#                            "kept", never flushed, which only the save at the movie's end keeps;
#   plays-as2.swf            (ActionScript 2) "plays", flushed at its start;
#   plays-as2-unflushed.swf  (ActionScript 2) "plays", never flushed.
#
# - never flushed: A's count is on disk as 1 once B has replaced A's viewer (for a counter that
#   flushes, before B's movie started), 2 after 重载应用 (before A started again), 3 after Brindle
#   ended on SIGTERM, 4 after it started again and A's viewer was closed, 5 after a skin change
#   restarted Brindle while A played, and 6 after A played once more and its viewer was closed.
# - timer (counters that flush): B and A are clicked quickly one after the other ten times; A's
#   count only ever grows, on disk as read while it happens and after Brindle is killed (SIGKILL) at
#   the end: no movie that is going away writes an older count over a newer one, and every play
#   reads the newest.
# Screenshots: plays-N.png (A showing N plays), and Brindle's standard error brindle.log, in the
# output folder.
# flash-saves-process.sh <build folder> <output folder> [counter, default plays.swf]
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 movie=$5
    # The counter's objects: the one flushed at its start, and the one never flushed.
    case "$movie" in
    plays.swf) flushed=plays kept=kept ;;
    plays-as2.swf) flushed=plays kept="" ;;
    plays-as2-unflushed.swf) flushed="" kept=plays ;;
    *) fail "no counter $movie" ;;
    esac
    # The start buttons of the home page's first two apps (A and B), and where the viewer's frame
    # has its close button and its tab 重载应用.
    app_a=442 app_b=928 close_x=976 close_y=12 reload_x=529 reload_y=46
    folder_a="" folder_b=""
    # value FOLDER OBJECT FIELD: the field of a movie's shared object as saved now, or nothing.
    value() {
        [ -z "$1" ] || [ -z "$2" ] || sol_field "$app/Saves/$1/$2.sol" "$3"
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
        [ -n "$2" ] || return 0
        for _ in $(seq 600); do [ "$(value "$1" "$2" count)" = "$3" ] && return 0; sleep 0.1; done
        fail "$2 of $1 never held count $3; saved: count $(value "$1" "$2" count)"
    }
    # played N [BEFORE]: A's Nth play has started: the counter has flushed count N, and the viewer
    # shows it (#203040: the stage of the ActionScript 3 counter, the text of the ActionScript 2
    # one), in another picture than BEFORE; screenshot plays-N.png.
    played() {
        wait_count "$folder_a" "$flushed" "$1"
        viewer_shows '#203040' "${2:-}"
        shot "plays-$1"
    }
    # The folder of saves that appeared last, once there is one other than those named.
    new_folder() {
        for _ in $(seq 600); do
            for folder in "$app"/Saves/*/; do
                name=$(basename "$folder")
                [ -d "$folder" ] && [ "$name" != "$folder_a" ] && [ "$name" != "$folder_b" ] &&
                    echo "$name" && return 0
            done
            sleep 0.1
        done
        fail "no saves of a new movie"
    }
    # close_viewer: closes the viewer with its frame's button and waits until it has gone.
    close_viewer() {
        xdotool mousemove --window "$viewer" "$close_x" "$close_y" click 1
        for _ in $(seq 100); do [ -z "$(viewers)" ] && return 0; sleep 0.1; done
        fail "the viewer did not close"
    }

    start_brindle "$out/brindle.log"
    open_at "$app_a" 350
    [ -z "$flushed" ] || folder_a=$(new_folder)
    played 1
    open_at "$app_b" 350
    if [ -n "$flushed" ]; then
        folder_b=$(new_folder)
        wait_count "$folder_b" "$flushed" 1
        expect "$folder_a" "$kept" 1 0 # before B's movie started
    else
        folder_a=$(new_folder)
        wait_count "$folder_a" "$kept" 1
        expect "$folder_a" "$kept" 1 0
    fi
    viewer_shows '#203040'
    open_at "$app_a" 350
    played 2
    xdotool mousemove --window "$viewer" "$reload_x" "$reload_y" click 1
    [ -n "$flushed" ] || wait_count "$folder_a" "$kept" 2
    played 3 "$picture"
    expect "$folder_a" "$kept" 2 1 # before A started again
    end_brindle TERM
    expect "$folder_a" "$kept" 3 2
    start_brindle "$out/brindle.log"
    open_at "$app_a" 350
    played 4
    close_viewer
    wait_count "$folder_a" "$kept" 4 # the closed viewer's movie saves as it stops
    expect "$folder_a" "$kept" 4 3

    # A skin change restarts Brindle while A plays: its count goes on from where it was.
    open_at "$app_a" 350
    played 5
    change_skin 2
    expect "$folder_a" "$kept" 5 4
    open_at "$app_a" 350
    played 6
    close_viewer
    wait_count "$folder_a" "$kept" 6
    expect "$folder_a" "$kept" 6 5
    plays=6

    if [ -z "$flushed" ]; then
        end_brindle TERM
        exit
    fi
    # A's count as saved, read over and over while the apps are switched quickly.
    (while :; do value "$folder_a" plays count; sleep 0.05; done) >"$out/timer-counts" 2>/dev/null &
    sampler=$!
    for round in $(seq 10); do
        click_at "$app_b" 350
        sleep 0.2 # not longer: B's viewer is to be going or coming when A is clicked
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
    # The last movie ticks a few times (the ActionScript 2 counter has no timer).
    ticks=$(value "$folder_a" plays ticks)
    if [ -n "$ticks" ]; then
        for _ in $(seq 100); do [ "$(value "$folder_a" plays ticks)" -ge $((ticks + 3)) ] 2>/dev/null && break; sleep 0.1; done
        [ "$(value "$folder_a" plays ticks)" -ge $((ticks + 3)) ] || fail "A's counter did not tick"
    fi
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
movie=${3:-plays.swf}
play_counter_app "$build" "$movie"
run_in_xvfb 1000x728x24 --inside "$app" "$out" "$build/app/solread" "$movie"
echo "saves: $(find "$app/Saves" -type f | sed "s|^$app/||")"
