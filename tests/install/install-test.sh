#!/usr/bin/env bash
# Brindle installed as a user installs it, then used through its launcher inside an X display
# (the test command runs this under Xvfb). Everything happens in a scratch HOME; the real ~/.local
# is never touched. The bundled store of the installation gets a free port through Servers.ini,
# so the test runs beside others that use the store's default port.
#
#   install-test.sh UserPrefix BUILD SOURCE SHOTS
#     cmake --install into "$HOME/.local" (make install's command; the path holds a space): the
#     desktop entry and the AppStream data validate, the icons have their sizes. The launcher, started
#     from another folder, starts the store, and Brindle shows its home page. A skin change restarts
#     Brindle, which finds the store still there. A second launcher uses that store and leaves it
#     running. Closing Brindle ends the first launcher and the store.
#     make uninstall removes the program and keeps the data (and a skin the user added); installing
#     again keeps the edited Servers.ini; make uninstall PURGE=1 leaves no file behind.
#   install-test.sh Tarball BUILD SOURCE SHOTS
#     The package unpacked into a folder with a space: its launcher shows the home page the same way.
set -euo pipefail
mode=$1 build=$(cd "$2" && pwd) source=$(cd "$3" && pwd) shots=$4
mkdir -p "$shots"
lib="$source/scripts/lib"
. "$lib/brindle-process.sh"
. "$lib/wait-until.sh"

scratch=$(mktemp -d)
launchers=()
cleanup() {
    # shellcheck disable=SC2046 # one process id a word
    [ -z "${app:-}" ] || kill $(brindle_pids) 2>/dev/null || true
    for pid in "${launchers[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${launchers[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
export HOME="$scratch/home dir"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Processes that run the program PATH (find also complains of processes that end meanwhile).
running() { find /proc/[0-9]*/exe -maxdepth 0 -lname "$1" 2>/dev/null || true; }
count_running() { running "$1" | wc -l; }
brindle_pids() { running "$app/Brindle" | cut -d/ -f3; }
# A process has ended, also when it is a child of this script not yet waited for.
ended() { [ "$(sed 's/.*) \(.\).*/\1/' "/proc/$1/stat" 2>/dev/null || echo Z)" = Z ]; }

# Points the installation's store at a free port outside the kernel's range for port 0.
use_free_port() {
    port=$((20000 + RANDOM % 12000))
    while store_answers "$port"; do port=$((20000 + RANDOM % 12000)); done
    site="http://127.0.0.1:$port"
    write_servers_ini "$1"
}

# start_launcher LAUNCHER: started from another folder; its process id is appended to $launchers.
start_launcher() {
    bash -c 'cd / && exec "$0"' "$1" 2>>"$scratch/launcher.log" &
    launchers+=($!)
}

# show_home_page LAUNCHER APP SHOT: the launcher's store is up and Brindle's window shows the home
# page (its style sheet came from the store); SHOT is a screenshot of the window.
show_home_page() {
    start_launcher "$1"
    local window
    window=$(wait_window "^Lumora") || fail "no Brindle window"
    page_shown() { grep -q "GET /static/.*main.css" "$2/appstore.log" 2>/dev/null; }
    wait_until 60 page_shown "$@" || fail "the home page was not shown: $(cat "$scratch/launcher.log")"
    store_answers "$port" || fail "no store on port $port"
    home_shown
    import -window "$window" "$3"
    [ "$(identify -format %k "$3")" -gt 100 ] || fail "the window in $3 is blank"
}

# stop_launcher PID APP: ending the launcher ends Brindle, then the store it started.
stop_launcher() {
    kill "$1"
    wait "$1" 2>/dev/null || true
    [ "$(count_running "$2/Brindle")" = 0 ] || fail "Brindle still runs after its launcher ended"
    [ "$(count_running "$2/appstore")" = 0 ] || fail "the store still runs after its launcher ended"
    ! store_answers "$port" || fail "port $port still answers"
}

if [ "$mode" = Tarball ]; then
    cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null
    mkdir "$scratch/un packed"
    tar -xzf "$scratch/package"/brindle-*.tar.gz -C "$scratch/un packed"
    root=$(echo "$scratch/un packed"/brindle-*)
    app="$root/share/brindle"
    for file in bin/brindle share/brindle/Brindle share/brindle/Sorrel share/brindle/appstore \
        share/brindle/Servers.ini share/brindle/Skin/Default/Skin.ini share/brindle/player/ruffle.js; do
        [ -e "$root/$file" ] || fail "the tarball lacks $file"
    done
    use_free_port "$app"
    show_home_page "$root/bin/brindle" "$app" "$shots/tarball-home.png"
    stop_launcher "${launchers[0]}" "$app"
    echo "The unpacked tarball ran from $root"
    exit 0
fi

prefix="$HOME/.local"
app="$prefix/share/brindle"
id=org.brindle.Brindle
cmake --install "$build" --prefix "$prefix" --strip >/dev/null
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -qx "Exec=\"$prefix/bin/brindle\" %F" "$prefix/share/applications/$id.desktop" || fail "Exec line"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null || fail "AppStream data"
for size in 48 64 128 256; do
    [ "$(identify -format %wx%h "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png")" = "${size}x$size" ] ||
        fail "icon of $size pixels"
done
[ -w "$app" ] || fail "the application folder is not writable"

use_free_port "$app"
show_home_page "$prefix/bin/brindle" "$app" "$shots/user-home.png"
first=${launchers[0]}
log="$app/appstore.log"

# The skin menu's Graphite restarts Brindle; the store stays for the new instance.
old=$(brindle_pids)
xdotool mousemove 880 12 click 1
menu_shown() { [ "$(xdotool search --onlyvisible --pid "$old" | wc -l)" -ge 2 ]; }
wait_until 10 menu_shown || fail "no skin menu"
xdotool key Down Down Return
wait_until 30 ended "$old" || fail "Brindle did not end for the skin change"
# The new instance's page-cache rebuild asks the store again; its style sheet may come from the
# catalogue's HTTP cache, so the store need not see that request.
requests=$(grep -c "GET " "$log")
restarted() { [ -n "$(brindle_pids)" ] && [ "$(grep -c "GET " "$log")" -gt "$requests" ]; }
wait_until 60 restarted || fail "the restarted Brindle showed no page from the store"
grep -q "SkinName = Graphite" "$app/Brindle.ini" || fail "the skin change was not saved"
home_shown
import -window "$(wait_window "^Lumora")" "$shots/user-graphite.png"

# A second launcher: its Brindle runs beside the first or hands over to it and ends. It starts no
# store and leaves the first one's running.
start_launcher "$prefix/bin/brindle"
second=${launchers[1]}
second_started() { ended "$second" || [ "$(brindle_pids | wc -l)" -ge 2 ]; }
wait_until 60 second_started || fail "the second launcher started no Brindle"
[ "$(count_running "$app/appstore")" = 1 ] || fail "the second launcher started another store"
kill "$second" 2>/dev/null || true
wait "$second" 2>/dev/null || true
store_answers "$port" || fail "the second launcher stopped the store of the first"

# Closing the restarted Brindle ends the first launcher and its store.
# shellcheck disable=SC2046
kill $(brindle_pids)
wait_until 30 ended "$first" || fail "the launcher still runs after Brindle ended"
[ "$(count_running "$app/appstore")" = 0 ] && ! store_answers "$port" || fail "the store outlived Brindle"

# Uninstall keeps the user's data, among it a skin of their own.
mkdir -p "$app/Skin/Mine" && cp "$app/Skin/Default/Skin.ini" "$app/Skin/Mine/"
make -s -C "$source" uninstall PREFIX="$prefix" >/dev/null
for file in bin/brindle share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
    share/brindle/Brindle share/brindle/appstore share/brindle/player share/brindle/Skin/Default \
    share/brindle/install_manifest.txt; do
    [ ! -e "$prefix/$file" ] || fail "uninstall left $file"
done
for file in Brindle.ini Servers.ini Html/HomeAll.html Game store-data/appstore.db Skin/Mine/Skin.ini; do
    [ -e "$app/$file" ] || fail "uninstall removed the user's $file"
done

cmake --install "$build" --prefix "$prefix" >/dev/null
grep -q "127.0.0.1:$port" "$app/Servers.ini" || fail "installing again replaced the edited Servers.ini"
make -s -C "$source" uninstall PREFIX="$prefix" PURGE=1 >/dev/null
[ ! -e "$app" ] || fail "PURGE left the application folder"
[ -z "$(find "$prefix" -type f)" ] || fail "PURGE left files: $(find "$prefix" -type f)"
echo "Installed, ran, uninstalled and purged in $prefix"
