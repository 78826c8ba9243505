#!/bin/sh
# Flash saves with real processes: Brindle under Xvfb against the bundled store, which serves the
# tests' play counter (plays.swf) in place of every store game, so whichever game the first app of
# the home page is, the counter plays. Opened with a click, the counter's save must read 1; 2 after
# the same app, opened again from the catalogue, replaced the viewer; 3 after Brindle was closed
# (SIGTERM) and started again; 4 after Brindle was killed (SIGKILL) 3 seconds after the counter
# saved 3, and started again. Each time the counter also saved the count it read back, one less.
# Screenshots: plays-N.png in the output folder. MOVIE names another counter of the tests' movies
# that saves the same (plays-as2.swf, its ActionScript 2 twin).
# flash-saves-process.sh <build folder> <output folder>
set -eu
. "$(dirname "$0")/../../scripts/lib/x-window.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4
    pid=""
    saved() {
        file=$(find "$app/Saves" -name plays.sol 2>/dev/null | head -1)
        [ -n "$file" ] && "$solread" "$file" 2>/dev/null | sed -n "s/^$1 = //p"
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
    # Clicks the first app of the home page (its button) until a new viewer shows, then waits for
    # the count of plays to be n.
    play_until() {
        n=$1
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
        [ -n "$opened" ] || { echo "no viewer opened for play $n" >&2; exit 1; }
        for _ in $(seq 300); do [ "$(saved count)" = "$n" ] && break; sleep 0.1; done
        if [ "$(saved count)" != "$n" ] || [ "$(saved read)" != "$((n - 1))" ]; then
            echo "expected $n plays that read $((n - 1)); saved: count $(saved count), read $(saved read)" >&2
            exit 1
        fi
        sleep 1 # the counter draws its squares
        import -window root "$out/plays-$n.png"
        echo "plays: $n"
    }

    start_brindle
    play_until 1
    play_until 2
    kill -TERM "$pid"
    for _ in $(seq 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then echo "Brindle did not end on SIGTERM" >&2; exit 1; fi
    start_brindle
    play_until 3
    sleep 3
    engine=$(pgrep -P "$pid" || true)
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    for child in $engine; do kill -KILL "$child" 2>/dev/null || true; done
    start_brindle
    play_until 4
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

play_counter_app "$build" "${MOVIE:-plays.swf}"
# A server number of its own, so that tests running side by side do not race for the first free one.
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1000x728x24" sh -eu "$self" --inside "$app" "$out" \
    "$build/app/solread"
echo "saves: $(find "$app/Saves" -type f | sed "s|^$app/||")"
