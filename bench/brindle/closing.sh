#!/usr/bin/env bash
# How quickly Brindle ends on SIGTERM, from the signal to the end of its process, under Xvfb against
# the bundled store whose games are all one of this benchmark's movies (see ManySaves.hx):
#   catalogue    the catalogue window alone, no app opened
#   no saves     the first app's movie playing, with one flushed shared object
#   100 x 1 KB   the movie playing with 100 shared objects of 1 KB never flushed, which Brindle
#   100 x 10 KB  writes as the movie ends (and of 10 KB)
# Each case runs ROUNDS times (default 7), the cases taking turns so that a busy machine weighs on
# all of them alike; median and slowest. The movie's saves must all be on disk after each end, and
# Brindle must end with status 0. The goal: the movies with many saves end at most 300 ms later
# than the one without.
# With OTHER_BUILD, that build's Brindle runs too, in the same rounds, for comparison with an older
# commit (built in a folder of its own); its saves are not checked.
#   closing.sh BUILD [ROUNDS] [OTHER_BUILD]
set -euo pipefail

cases=(catalogue saves0 saves1k saves10k)
declare -A count=([catalogue]=catalogue [saves0]=0 [saves1k]=100 [saves10k]=100)

# Inside the virtual X server: every round, appending to $work/<build>-<case>.txt the milliseconds
# from SIGTERM to the end and, for a movie, how many of its never flushed saves were written then.
if [ "${1:-}" = --inside ]; then
    work=$2 rounds=$3 movies=$4 ours=$5
    shift 5
    . "$(dirname "$0")/../../scripts/lib/x-window.sh"
    fail() {
        echo "$*; the end of Brindle's standard error:" >&2
        tail -5 "$app/brindle.log" >&2
        exit 1
    }
    # One round in the application folder $app with $1 never flushed saves (or the catalogue alone).
    round() {
        QTWEBENGINE_DISABLE_SANDBOX=1 "$app/Brindle" 2>>"$app/brindle.log" &
        pid=$!
        wait_window "^Lumora" >/dev/null || fail "no catalogue window"
        for _ in $(seq 300); do [ -e "$app/Html/HomeAll.html" ] && break; sleep 0.1; done
        if [ "$1" = catalogue ]; then
            sleep 2 # the catalogue settles
        else
            # The first app of the home page, clicked until its movie has flushed its sign.
            rm -f "$app"/Saves/*/started.sol
            started=""
            for _ in $(seq 20); do
                xdotool search --name "^Lumora" windowraise >/dev/null 2>&1 || true
                xdotool mousemove 442 350 click 1
                for _ in $(seq 50); do
                    started=$(find "$app/Saves" -name started.sol 2>/dev/null | head -1 || true)
                    [ -n "$started" ] && break 2
                    sleep 0.1
                done
            done
            [ -n "$started" ] || fail "the movie did not start"
            sleep 1 # the movie shows
        fi
        touch "$app/before-end"
        begin=$(date +%s%N)
        kill -TERM "$pid"
        status=0
        wait "$pid" || status=$?
        end=$(date +%s%N)
        echo "end_ms $(((end - begin) / 1000000))"
        [ "$status" = 0 ] || fail "Brindle ended with status $status"
        if [ "$1" != catalogue ]; then
            echo "written $(find "$(dirname "$started")" -name 'save*.sol' -newer "$app/before-end" | wc -l)"
        fi
    }
    for _ in $(seq "$rounds"); do
        for case in "${cases[@]}"; do
            # Every game of the store is this case's movie.
            if [ "$case" != catalogue ]; then
                for game in "$movies"/*.swf; do cp "$ours/$case.swf" "$game"; done
            fi
            for which in "$@"; do
                app="$work/$which-$case"
                round "${count[$case]}" >>"$work/$which-$case.txt"
            done
        done
    done
    exit
fi

build=$(realpath "${1:-build}")
rounds=${2:-7}
other=${3:+$(realpath "$3")}
. "$(dirname "$0")/../../scripts/lib/store-session.sh"
begin_store_session

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
slowest() { sort -n | tail -1; }

ours="$build/bench/brindle"
mkdir "$work/movies"
for game in "$build"/games/*.swf; do cp "$ours/saves0.swf" "$work/movies/$(basename "$game")"; done
start_store "$build/app/appstore" --movies "$work/movies"

# An application folder for each build and case, with that build's programs, player and skins and
# a page cache made by its Sorrel.
builds=(own)
[ -n "$other" ] && builds+=(other)
for which in "${builds[@]}"; do
    from=$build
    [ "$which" = other ] && from=$other
    for case in "${cases[@]}"; do
        folder="$work/$which-$case"
        mkdir -p "$folder"
        cp "$from/app/Brindle" "$from/app/Sorrel" "$folder/"
        cp -r "$from/app/Skin" "$from/app/player" "$folder/"
        write_servers_ini "$folder"
        "$folder/Sorrel"
        : >"$work/$which-$case.txt"
    done
done

# One X server for every round; a server number of its own, so that scripts running side by side
# do not race for the first free one.
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1000x728x24" \
    bash "$(realpath "$0")" --inside "$work" "$rounds" "$work/movies" "$ours" "${builds[@]}"

label() {
    case $1 in
    catalogue) echo "catalogue alone" ;;
    saves0) echo "movie, no saves" ;;
    saves1k) echo "movie, 100 x 1 KB" ;;
    saves10k) echo "movie, 100 x 10 KB" ;;
    esac
}
value() { awk -v k="$2" '$1 == k { print $2 }' "$work/$1.txt"; }
echo "Brindle's end on SIGTERM, signal to process end (median and slowest of $rounds rounds):"
lost=0
for case in "${cases[@]}"; do
    line=$(printf '  %-20s %5d ms, slowest %5d ms' "$(label "$case")" \
        "$(value "own-$case" end_ms | median)" "$(value "own-$case" end_ms | slowest)")
    if [ -n "$other" ]; then
        line+=$(printf ';  other build %5d ms, slowest %5d ms' \
            "$(value "other-$case" end_ms | median)" "$(value "other-$case" end_ms | slowest)")
    fi
    echo "$line"
    if [ "${count[$case]}" != catalogue ]; then
        short=$(value "own-$case" written | awk -v n="${count[$case]}" '$1 != n' | wc -l)
        [ "$short" = 0 ] || { echo "    rounds in which saves were not written at the end: $short" >&2; lost=1; }
    fi
done
base=$(value own-saves0 end_ms | median)
for case in saves1k saves10k; do
    printf '  %s ends %+d ms after the movie without saves (goal <= 300 ms)\n' "$(label "$case" | sed 's/^movie, //')" \
        $(($(value "own-$case" end_ms | median) - base))
done
exit "$lost"
