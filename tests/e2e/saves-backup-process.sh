#!/bin/sh
# Saves backed up and restored through Brindle's command line, with real processes: Brindle under
# Xvfb against the bundled store, which serves the tests' play counter (plays.swf) in place of every
# store game. The first app of the home page is played twice (its save counts 2); while Brindle
# runs, a backup works and a restore is refused (status 4, saves unchanged). With Brindle closed,
# its saves are deleted: the next play starts afresh (1). The backup restored, the next play
# continues from the backed-up count (3). --list-played lists the app. The commands run without a
# display. Screenshots: plays-N.png in the output folder.
# saves-backup-process.sh <build folder> <output folder>
set -eu
. "$(dirname "$0")/../../scripts/lib/x-window.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 zip=$5
    pid=""
    fail() {
        import -window root "$out/failed.png" 2>/dev/null || true
        echo "$*" >&2
        exit 1
    }
    # The count of the counter's save now, or nothing.
    count() {
        file=$(find "$app/Saves" -name plays.sol 2>/dev/null | head -1)
        [ -n "$file" ] && "$solread" "$file" 2>/dev/null | sed -n "s/^count = //p"
        return 0
    }
    # A command of Brindle's, without a display; its exit status in $status.
    command() {
        status=0
        env -u DISPLAY "$app/Brindle" "$@" >"$out/command.out" 2>"$out/command.err" || status=$?
    }
    start_brindle() {
        QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>/dev/null &
        pid=$!
        wait_window "^Lumora" >/dev/null || fail "no catalogue window"
        for _ in $(seq 300); do [ -e "$app/Html/HomeAll.html" ] && break; sleep 0.1; done
    }
    end_brindle() {
        kill -TERM "$pid"
        for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -0 "$pid" 2>/dev/null && fail "Brindle did not end on SIGTERM"
        wait "$pid" 2>/dev/null || true
    }
    # Brindle's shown windows other than the catalogue: its viewer.
    viewers() {
        for window in $(xdotool search --onlyvisible --pid "$pid" --name . 2>/dev/null); do
            case "$(xdotool getwindowname "$window" 2>/dev/null)" in "Lumora"* | "") ;; *) echo "$window" ;; esac
        done
    }
    # Clicks the first app of the home page until a new viewer shows, then waits for the count n.
    play_until() {
        before=$(viewers)
        opened=""
        for _ in $(seq 10); do
            xdotool search --name "^Lumora" windowraise >/dev/null 2>&1 || true
            xdotool mousemove 442 350 click 1
            for _ in $(seq 30); do
                for window in $(viewers); do
                    case " $before " in *" $window "*) ;; *) opened=$window ;; esac
                done
                [ -n "$opened" ] && break 2
                sleep 0.1
            done
        done
        [ -n "$opened" ] || fail "no viewer opened for play $1"
        for _ in $(seq 300); do [ "$(count)" = "$1" ] && break; sleep 0.1; done
        [ "$(count)" = "$1" ] || fail "expected the count $1, saved: $(count)"
        sleep 1 # the counter draws its squares
        import -window root "$out/plays-$1.png"
        echo "plays: $1"
    }

    start_brindle
    play_until 1
    play_until 2
    command --backup-saves "$zip"
    [ "$status" = 0 ] || fail "backup while Brindle runs: status $status, $(cat "$out/command.err")"
    # The running counter flushes its ticks every 100 ms: the saves are the same when their files and
    # every value but the ticks are.
    saves() {
        find "$app/Saves" -type f | sort | while read -r file; do
            echo "$file"
            "$solread" "$file" 2>&1 | grep -v '^ticks = '
        done
    }
    before=$(saves)
    command --restore-saves "$zip"
    [ "$status" = 4 ] || fail "restore while Brindle runs: status $status, expected 4"
    [ "$(saves)" = "$before" ] || fail "a refused restore changed saves"
    end_brindle

    rm -rf "$app/Saves"/*
    start_brindle
    play_until 1
    end_brindle

    command --restore-saves "$zip"
    [ "$status" = 0 ] || fail "restore: status $status, $(cat "$out/command.err")"
    echo "restored: $(cat "$out/command.out")"
    start_brindle
    play_until 3
    end_brindle

    command --list-played
    [ "$status" = 0 ] || fail "list: status $status"
    line=$(grep -c "	[0-9][0-9]*	[0-9][0-9]*	[0-9-]*T[0-9:]*Z$" "$out/command.out" || true)
    [ "$line" -ge 1 ] || fail "no app listed: $(cat "$out/command.out")"
    echo "listed: $(cat "$out/command.out")"
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
    "$build/app/solread" "$work/saves.zip"
