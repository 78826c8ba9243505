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
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 zip=$5
    # The count of the counter's save (or of OBJECT's) now, or nothing.
    count() { sol_field "$(find "$app/Saves" -name "${1:-plays}.sol" 2>/dev/null | head -1)" count; }
    # A command of Brindle's, without a display; its exit status in $status.
    command() {
        status=0
        env -u DISPLAY "$app/Brindle" "$@" >"$out/command.out" 2>"$out/command.err" || status=$?
    }
    # Clicks the first app of the home page until a new viewer shows, then waits for the count n.
    play_until() {
        open_at 442 350
        for _ in $(seq 300); do [ "$(count)" = "$1" ] && break; sleep 0.1; done
        [ "$(count)" = "$1" ] || fail "expected the count $1, saved: $(count)"
        viewer_shows '#20C040' # its squares
        shot "plays-$1"
        echo "plays: $1"
    }

    start_brindle
    play_until 1
    play_until 2
    command --backup-saves "$zip"
    [ "$status" = 0 ] || fail "backup while Brindle runs: status $status, $(cat "$out/command.err")"
    # The first play saved its never flushed count as it stopped; from then on the running counter
    # changes only its ticks, which it flushes every 100 ms: the saves are the same when their files
    # and every value but the ticks are.
    for _ in $(seq 100); do [ "$(count kept)" = 1 ] && break; sleep 0.1; done
    [ "$(count kept)" = 1 ] || fail "the first play did not save its never flushed count: $(count kept)"
    # The counter's ticks go to disk through a hidden temporary file renamed over the save; one
    # caught between its creation and its rename is not a save.
    saves() {
        find "$app/Saves" -type f ! -name '.*.tmp' | sort | while read -r file; do
            echo "$file"
            "$solread" "$file" 2>&1 | grep -v '^ticks = '
        done
    }
    before=$(saves)
    command --restore-saves "$zip"
    [ "$status" = 4 ] || fail "restore while Brindle runs: status $status, expected 4"
    after=$(saves)
    [ "$after" = "$before" ] ||
        fail "a refused restore changed saves: $(printf '%s\n' "$before" >"$out/before"
            printf '%s\n' "$after" | diff "$out/before" - || true)"
    end_brindle TERM

    rm -rf "$app/Saves"/*
    start_brindle
    play_until 1
    end_brindle TERM

    command --restore-saves "$zip"
    [ "$status" = 0 ] || fail "restore: status $status, $(cat "$out/command.err")"
    echo "restored: $(cat "$out/command.out")"
    start_brindle
    play_until 3
    end_brindle TERM

    command --list-played
    [ "$status" = 0 ] || fail "list: status $status"
    line=$(grep -c "	[0-9][0-9]*	[0-9][0-9]*	[0-9-]*T[0-9:]*Z$" "$out/command.out" || true)
    [ "$line" -ge 1 ] || fail "no app listed: $(cat "$out/command.out")"
    echo "listed: $(cat "$out/command.out")"
    exit
fi

begin_script_session "$1" "$2"
play_counter_app "$build"
run_in_xvfb 1000x728x24 --inside "$app" "$out" "$build/app/solread" "$work/saves.zip"
