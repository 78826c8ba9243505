# The bundled store, for the scripts that run the programs against it. Works in sh and bash, also
# under set -eu; source it, then use one of the two groups below.
#
# A scratch session (benchmarks, screenshots, flows):
#   begin_store_session                    # $work: a scratch folder, removed at exit with the store
#   begin_script_session BUILD OUT         # the same for a script run as SCRIPT BUILD OUT: $build, and $out
#                                          # (created), as absolute paths, and $self: the script itself
#   start_store APPSTORE [options...]      # (re)starts the store on a free port; sets $site, fails when it cannot
#   write_servers_ini FOLDER               # FOLDER/Servers.ini pointing every server at $site
#   new_app_folder FOLDER BUILD            # FOLDER: an application folder with BUILD's Brindle and Sorrel, skins
#                                          # and player, pointing at $site
#   play_counter_app BUILD [MOVIE]         # the store serving the tests' play counter (MOVIE of the tests'
#                                          # movies, default plays.swf) in place of every game, and $app: an
#                                          # application folder of BUILD's Brindle for it
#
# The store of an application folder APP (make run, the installed launcher); CONFIG and DATA are the
# folders of the user's settings and data, APP itself unless the installation is shared:
#   bundled_store_port CONFIG              # prints the loopback port of the store site that CONFIG/Servers.ini
#                                          # names (8780 when the file or key is missing); nothing for a store elsewhere
#   serve_bundled_store APP PORT [DATA]    # uses a store that answers on 127.0.0.1:PORT or starts APP/appstore
#                                          # there (data in DATA/store-data, log in DATA/appstore.log); sets $store
#                                          # to its process only when it started it, fails when neither works
#   end_bundled_store APP                  # once no program of APP runs any more, stops the store started here

begin_store_session() {
    work=$(mktemp -d)
    store=""
    trap end_store_session EXIT
}

begin_script_session() {
    build=$(cd "$1" && pwd)
    mkdir -p "$2"
    out=$(cd "$2" && pwd)
    self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
    begin_store_session
}

end_store_session() {
    stop_store
    rm -rf "$work"
}

stop_store() {
    if [ -n "${store:-}" ]; then
        kill "$store" 2>/dev/null || true
        wait "$store" 2>/dev/null || true
    fi
    store=""
}

# Waits until the store started as $store has written its "listening" line into FILE; fails when
# the store ended first or did not get that far within ten seconds.
wait_for_store() {
    for _ in $(seq 200); do
        grep -q listening "$1" 2>/dev/null && return 0
        kill -0 "$store" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

start_store() {
    stop_store
    appstore_program=$1
    shift
    rm -f "$work/store.out"
    "$appstore_program" --port 0 --data "$work/store-data" "$@" >"$work/store.out" 2>"$work/store.log" &
    store=$!
    wait_for_store "$work/store.out" || true
    site=$(sed -n 's/^appstore listening on //p' "$work/store.out")
    if [ -z "$site" ]; then
        echo "appstore did not start" >&2
        return 1
    fi
}

write_servers_ini() {
    printf '[Store]\nSite = %s\nStatic = %s\n[Maker]\nServer = %s\n' "$site" "$site" "$site" >"$1/Servers.ini"
}

new_app_folder() {
    mkdir -p "$1"
    cp "$2/app/Brindle" "$2/app/Sorrel" "$1/"
    cp -r "$2/app/Skin" "$2/app/player" "$1/"
    write_servers_ini "$1"
}

play_counter_app() {
    mkdir "$work/movies"
    for game in "$1"/games/*.swf; do
        cp "$1/tests/viewer/movies/${2:-plays.swf}" "$work/movies/$(basename "$game")"
    done
    start_store "$1/app/appstore" --movies "$work/movies"
    app="$work/app"
    new_app_folder "$app" "$1"
}

# The value of [Store] Site in APP/Servers.ini as the programs read it: names without regard to
# letter case, spaces around the value and one pair of quotes dropped, the first match counts,
# trailing "/" dropped.
servers_ini_site() {
    [ -f "$1/Servers.ini" ] || return 0
    awk '
        function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
        /^[ \t]*\[/ { name = $0; sub(/^[ \t]*\[/, "", name); sub(/\].*/, "", name)
                      in_store = tolower(trim(name)) == "store"; next }
        in_store && index($0, "=") {
            if (tolower(trim(substr($0, 1, index($0, "=") - 1))) != "site") next
            value = trim(substr($0, index($0, "=") + 1))
            if (value ~ /^".*"$/) value = substr(value, 2, length(value) - 2)
            sub(/\/+$/, "", value)
            print value
            exit
        }' "$1/Servers.ini"
}

bundled_store_port() {
    store_site=$(servers_ini_site "$1")
    store_site=${store_site:-http://127.0.0.1:8780}
    case "$store_site" in
    http://127.0.0.1:* | http://localhost:*) echo "${store_site##*:}" | grep -x '[0-9][0-9]*' || true ;;
    http://127.0.0.1 | http://localhost) echo 80 ;;
    esac
}

# Something accepts connections on 127.0.0.1:PORT.
store_answers() {
    bash -c 'exec 3<>"/dev/tcp/127.0.0.1/$0"' "$1" 2>/dev/null
}

serve_bundled_store() {
    store=""
    store_data=${3:-$1}
    # One caller at a time checks the port and starts the store (lock DATA/appstore.lock), so two
    # launchers started together start one store, and neither overwrites the other's log.
    exec 9>"$store_data/appstore.lock"
    flock -w 20 9 || true
    if ! store_answers "$2"; then
        "$1/appstore" --port "$2" --data "$store_data/store-data" >"$store_data/appstore.out" \
            2>"$store_data/appstore.log" 9>&- &
        store=$!
        wait_for_store "$store_data/appstore.out" || stop_store
    fi
    exec 9>&-
    [ -n "$store" ] || store_answers "$2"
}

# Some process other than the store runs a program of folder APP (Brindle, the Brindle that a skin
# change or a second start runs, Sorrel).
app_program_runs() {
    folder=$(printf '%s' "$1" | sed 's/[][*?\\]/\\&/g') # a pattern matching the folder's name as it is
    [ -n "$(find /proc/[0-9]*/exe -maxdepth 0 -lname "$folder/*" ! -lname "$folder/appstore*" -print -quit 2>/dev/null)" ]
}

end_bundled_store() {
    [ -n "${store:-}" ] || return 0
    while app_program_runs "$1"; do sleep 1; done
    stop_store
}
