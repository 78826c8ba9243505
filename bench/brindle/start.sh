#!/usr/bin/env bash
# How long Brindle takes to start from the Debian package (its data in the user's own folders, which
# the launcher asks Brindle --folders for) and from a portable install (make install into a folder
# of the user's own, its data beside the programs): from starting the launcher to the catalogue
# window on the screen, under Xvfb, both against one store. Every round starts with an empty data
# folder; the two installs take turns, ROUNDS times each (default 7); median and slowest. The goal:
# the package within 5 % of the portable install.
# Installs the package into this machine and removes it again, so it needs root (skipped otherwise).
#   start.sh BUILD [ROUNDS]
set -euo pipefail
if [ "${1:-}" = --inside ]; then
    work=$2 rounds=$3 site=$4
    . "$(dirname "$0")/../../scripts/lib/x-window.sh"
    portable="$work/portable/share/brindle"
    export HOME="$work/home"
    # One start of the launcher $2 with fresh data in $3 (settings in $4); appends milliseconds to $1.txt.
    round() {
        rm -rf "$3" "$work/home/.cache/brindle"
        mkdir -p "$3" "$4"
        printf '[Store]\nSite = %s\nStatic = %s\n[Maker]\nServer = %s\n' "$site" "$site" "$site" >"$4/Servers.ini"
        begin=$(date +%s%N)
        "$2" 2>>"$work/$1.log" &
        pid=$!
        wait_window "^Lumora" >/dev/null || { echo "no window from $2" >&2; exit 1; }
        end=$(date +%s%N)
        echo $(((end - begin) / 1000000)) >>"$work/$1.txt"
        kill -TERM "$pid"
        wait "$pid" || true
        while pgrep -x Sorrel >/dev/null; do sleep 0.1; done
    }
    package() { round package /usr/bin/brindle "$HOME/.local/share/brindle" "$HOME/.config/brindle"; }
    portable() {
        # The portable install keeps its programs, skins and player beside its data.
        find "$portable" -mindepth 1 -maxdepth 1 ! -name Brindle ! -name Sorrel ! -name appstore ! -name Skin \
            ! -name player -exec rm -rf {} +
        round portable "$work/portable/bin/brindle" "$portable/Html" "$portable"
    }
    # The install that starts right after the other's start pays for what that one still ends in
    # the background, so they take turns at going first.
    for round in $(seq "$rounds"); do
        if [ $((round % 2)) = 1 ]; then package; portable; else portable; package; fi
    done
    exit 0
fi

build=$(cd "$1" && pwd)
rounds=${2:-7}
source=$(cd "$(dirname "$0")/../.." && pwd)
[ "$(id -u)" = 0 ] || { echo "start.sh: installing the package needs root; skipped"; exit 0; }
. "$source/scripts/lib/store-session.sh"
begin_store_session
trap 'dpkg -r brindle >/dev/null 2>&1 || true; end_store_session' EXIT
"$source/scripts/make-deb.sh" "$build" >"$work/make-deb.log"
deb=$(head -1 "$work/make-deb.log")
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >/dev/null 2>&1
cmake --install "$build" --prefix "$work/portable" --strip >/dev/null
start_store "$build/app/appstore"
mkdir -p "$work/home"
xvfb-run -a -n $((100 + $$ % 800)) -s "-screen 0 1100x800x24 -noreset" \
    bash "$0" --inside "$work" "$rounds" "$site"
echo "load: $(uptime)"
for install in package portable; do
    sort -n "$work/$install.txt" | awk -v name="$install" '{ v[NR] = $1 }
        END { printf "%-9s median %d ms, slowest %d ms (%d starts)\n", name, v[int((NR + 1) / 2)], v[NR], NR }'
done
