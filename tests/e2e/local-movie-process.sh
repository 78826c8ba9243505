#!/bin/sh
# Movie files of the player's own with real processes: Brindle under Xvfb against the bundled store,
# with the tests' movies copied into a folder of games outside the application folder:
#   games/plays-as2.swf                     the play counter (shared object "plays");
#   games/a/files-as2.swf, games/b/...      the same movie in two folders, which keeps what it
#                                           loads in the shared object "files": config.txt beside
#                                           it ("A" or "B"), data/sub.txt in a subfolder, gbk.txt (in
#                                           the Chinese code page) and ../secret.txt outside its folder.
# - Started in games/ as `Brindle plays-as2.swf a/files-as2.swf` (relative paths), Brindle opens a
#   viewer for each, named after its file: the counter counts 1; a/ loads its config "A", the file
#   in its subfolder and the Chinese text, but not the file outside its folder.
# - A second start with b/'s file:// address, from another folder, hands it to the running Brindle
#   and ends; b/ plays with saves of its own (config "B"), a/'s stay as they were.
# - Brindle ends on SIGTERM and starts again with the counter: it counts 2, its saves kept. The
#   games played are listed by --list-played with their addresses. Nothing was copied into Game/.
# Screenshot: local-movies.png, the viewers of the first start.
# local-movie-process.sh <build folder> <output folder>
set -eu
lib=$(dirname "$0")/../../scripts/lib
. "$lib/brindle-process.sh"

# Inside the virtual X server.
if [ "${1:-}" = --inside ]; then
    app=$2 out=$3 solread=$4 games=$5
    log=$out/brindle.log
    # brindle FOLDER ARGS...: starts Brindle in FOLDER with ARGS ($pid), as the file manager would.
    brindle() {
        _folder=$1
        shift
        (cd "$_folder" && QTWEBENGINE_DISABLE_SANDBOX=1 exec "$app/Brindle" "$@" 2>>"$log") &
        pid=$!
    }
    # saved NAME OBJECT FIELD [MATCH]: waits up to a minute for a saves folder of the movie file
    # NAME whose OBJECT holds FIELD (matching MATCH when given) and prints the folder.
    saved() {
        for _ in $(seq 600); do
            for _folder in "$app"/Saves/local~*~"$1"; do
                _value=$(sol_field "$_folder/$2.sol" "$3")
                [ -n "$_value" ] && [ -z "${4:-}" -o "$_value" = "${4:-}" ] && echo "$_folder" && return 0
            done
            sleep 0.1
        done
        fail "no saves of $1 with $2.$3 ${4:-}"
    }
    # expect FOLDER OBJECT FIELD VALUE: the field as saved, once it is there.
    expect() {
        for _ in $(seq 300); do [ "$(sol_field "$1/$2.sol" "$3")" = "$4" ] && return 0; sleep 0.1; done
        fail "$3 of $1/$2: expected $4, saved $(sol_field "$1/$2.sol" "$3")"
    }

    brindle "$games" plays-as2.swf a/files-as2.swf
    wait_window "^Lumora" >/dev/null || fail "no catalogue window"
    wait_window "^plays-as2$" >/dev/null || fail "no viewer named after plays-as2.swf"
    wait_window "^files-as2$" >/dev/null || fail "no viewer named after files-as2.swf"
    counter=$(saved plays-as2.swf plays count 1)
    a=$(saved files-as2.swf files config '"A"')
    expect "$a" files sub '"text in a subfolder"'
    expect "$a" files gbk '"中文游戏"'
    expect "$a" files outside '"error"'
    shot local-movies

    # Through the running instance, from elsewhere, by address.
    first=$pid
    brindle / "file://$games/b/files-as2.swf"
    for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the second start did not end"
    pid=$first
    b=$(saved files-as2.swf files config '"B"')
    [ "$a" != "$b" ] || fail "two files of one name share their saves"
    expect "$a" files config '"A"'

    end_brindle TERM
    brindle "$games" plays-as2.swf
    wait_window "^plays-as2$" >/dev/null || fail "no viewer after the restart"
    expect "$counter" plays count 2
    listed=$("$app/Brindle" --list-played | cut -f1 | sort | tr '\n' ' ')
    expected=$(printf '%s\n' "file://$games/a/files-as2.swf" "file://$games/b/files-as2.swf" \
        "file://$games/plays-as2.swf" 地址 | sort | tr '\n' ' ')
    [ "$listed" = "$expected" ] || fail "--list-played lists $listed, expected $expected"
    [ -z "$(ls -A "$app/Game" 2>/dev/null)" ] || fail "files were copied into Game: $(ls -R "$app/Game")"
    end_brindle TERM
    exit
fi

begin_script_session "$1" "$2"
start_store "$build/app/appstore"
app="$work/app"
new_app_folder "$app" "$build"
movies=$build/tests/viewer/movies
games=$work/games
mkdir -p "$games/a/data" "$games/b"
cp "$movies/plays-as2.swf" "$movies/secret.txt" "$games/"
cp "$movies/a/files-as2.swf" "$movies/a/config.txt" "$movies/a/gbk.txt" "$games/a/"
cp "$movies/a/data/sub.txt" "$games/a/data/"
cp "$movies/b/files-as2.swf" "$movies/b/config.txt" "$games/b/"
run_in_xvfb 1000x728x24 --inside "$app" "$out" "$build/app/solread" "$games"
